// Vocabulary shared by the serial port component and its threads: line-setting enumerations,
// event types, notification messages, the owner of a received block and the platform-call seam.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <new>

#include "toolkit/Component.h"

// Ordinals of TParity and TStopBits are the platform's own codes; TDtrControl and TRtsControl
// are not (DtrEnable is 0 here but 1 on the line), so they go through the flag mapping.
enum class TByteSize : uint8_t { _5, _6, _7, _8 };
enum class TParity : uint8_t { None, Odd, Even, Mark, Space };
enum class TStopBits : uint8_t { _1, _1_5, _2 };
enum class TDtrControl : uint8_t { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl : uint8_t { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };

// Buffer is valid only while the handler runs; one 0 byte follows its BufferLength bytes.
using TReceiveDataEvent = std::function<void(TObject* Sender, void* Buffer, uint16_t BufferLength)>;
using TReceiveErrorEvent = std::function<void(TObject* Sender, uint32_t EventMask)>;
using TModemStateChangeEvent = std::function<void(TObject* Sender, uint32_t ModemEvent)>;
using TSendDataEmptyEvent = std::function<void(TObject* Sender)>;

// Posted by the worker threads to the component's notify window, handled there in posting order.
constexpr UINT MSG_COMM_DATA = WM_USER + 1;    // reader; wParam: byte count, lParam: a TCommBlock the window frees
constexpr UINT MSG_COMM_ERROR = WM_USER + 2;   // reader; wParam: 0, lParam: CE_ line-error flags
constexpr UINT MSG_COMM_HANGUP = WM_USER + 3;  // reader or writer; wParam: 0, lParam: 0
constexpr UINT MSG_COMM_MODEM = WM_USER + 4;   // reader; wParam: 0, lParam: 8 carrier-detect change + 4 ring
constexpr UINT MSG_COMM_TXEMPTY = WM_USER + 5; // writer; wParam: 0, lParam: 0

// Posted by WriteData to the writer thread's own queue.
constexpr UINT MSG_COMM_WRITE = WM_USER + 1; // wParam: byte count 1..65535, lParam: a TCommBlock the writer frees

// A byte block crossing threads: its bytes, then one 0 byte so a handler may treat it as text.
using TCommBlock = std::unique_ptr<uint8_t[]>;

// A zero-filled copy of count bytes plus the trailing 0; empty when memory runs out, because
// the worker threads that make blocks must not throw.
inline TCommBlock MakeCommBlock(const void* bytes, size_t count) noexcept
{
    try {
        TCommBlock block = std::make_unique<uint8_t[]>(count + 1);
        if (count != 0)
            std::memcpy(block.get(), bytes, count);
        return block;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Hands the block to the window with the message; it stays ours unless the post succeeded.
inline bool PostCommBlock(HWND notifyWindow, TCommBlock& block, size_t count) noexcept
{
    if (!::PostMessageW(notifyWindow, MSG_COMM_DATA, count, reinterpret_cast<LPARAM>(block.get())))
        return false;
    (void)block.release();
    return true;
}

// The receiver's first step, so that no path through its handling can leak the block.
inline TCommBlock AdoptCommBlock(LPARAM lParam) noexcept
{
    return TCommBlock{reinterpret_cast<uint8_t*>(lParam)};
}

// A worker's only way to report that it has given up; if even this post fails there is no one left to tell.
inline void RequestHangup(HWND notifyWindow) noexcept
{
    ::PostMessageW(notifyWindow, MSG_COMM_HANGUP, 0, 0);
}

// The platform calls whose failures and events cannot be provoked with a real device, plus
// those whose calls a caller may want to count. A component takes a copy at construction and
// lends it to its threads, which make the last three calls.
struct TCommApi {
    decltype(&::CreateFileW) CreateFileW = &::CreateFileW;
    decltype(&::GetFileType) GetFileType = &::GetFileType;
    decltype(&::SetupComm) SetupComm = &::SetupComm;
    decltype(&::SetCommState) SetCommState = &::SetCommState;
    decltype(&::SetCommTimeouts) SetCommTimeouts = &::SetCommTimeouts;
    decltype(&::CreateEventW) CreateEventW = &::CreateEventW;
    decltype(&::CreateThread) CreateThread = &::CreateThread;
    decltype(&::SetCommMask) SetCommMask = &::SetCommMask;
    decltype(&::WaitCommEvent) WaitCommEvent = &::WaitCommEvent;
    decltype(&::WriteFile) WriteFile = &::WriteFile;
};
