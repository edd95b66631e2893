// The serial port component: line settings as properties, the open device, its two worker
// threads, and the hidden window through which the threads raise its events on the GUI thread.
#pragma once

#include "comm/CommSettings.h"
#include "comm/CommTypes.h"
#include "toolkit/Component.h"
#include "toolkit/Exception.h"
#include "toolkit/WinHandle.h"

#include <atomic>
#include <memory>
#include <string>

class TReadThread;
class TWriteThread;

class ECommsError : public Exception {
public:
    using Exception::Exception;
};

class TComm : public TComponent {
    TK_CLASS(TComm)
public:
    // Makes the notify window on the calling thread, which becomes the thread of every event;
    // touches no device. The api is copied; tests pass one that fails on purpose.
    explicit TComm(TComponent* owner, const TCommApi& api = TCommApi{});
    // Closes a port still open, so the threads never outlive the handles and flag they borrow,
    // then frees the blocks of notifications nobody will handle.
    ~TComm() override;

    // Opens CommName and starts both threads; raises ECommsError and leaves nothing open on failure.
    void OpenPort();
    // Stops both threads and closes the device; nothing when closed.
    void ClosePort() noexcept;
    // Copies Length bytes and queues them for the writer; the caller may reuse its buffer at once.
    // True means queued, not sent. False, with nothing queued, for a Length of 0, a closed port,
    // a writer that has ended after a failure, or a queue that is full.
    bool WriteData(const void* Buffer, uint16_t Length) noexcept;

    // The open device, nullptr while closed; the port counts as open exactly while it is set.
    HANDLE ComHandle() const noexcept { return FComHandle ? FComHandle.get() : nullptr; }
    HWND NotifyWindow() const noexcept { return FNotifyWindow.get(); }
    bool TxQueueEmpty() const noexcept { return FTxQueueEmpty.load(); }

    // Stored only: a change while open reaches the line at the next OpenPort.
    const std::wstring& CommName() const noexcept { return FSettings.CommName; }
    void SetCommName(const std::wstring& value);
    TParity Parity() const noexcept { return FSettings.Parity; }
    void SetParity(TParity value) noexcept;

    // Applied to the open device at once.
    uint32_t BaudRate() const noexcept { return FSettings.BaudRate; }
    void SetBaudRate(uint32_t value) noexcept;
    bool ParityCheck() const noexcept { return FSettings.ParityCheck; }
    void SetParityCheck(bool value) noexcept;
    bool Outx_CtsFlow() const noexcept { return FSettings.Outx_CtsFlow; }
    void SetOutx_CtsFlow(bool value) noexcept;
    bool Outx_DsrFlow() const noexcept { return FSettings.Outx_DsrFlow; }
    void SetOutx_DsrFlow(bool value) noexcept;
    TDtrControl DtrControl() const noexcept { return FSettings.DtrControl; }
    void SetDtrControl(TDtrControl value) noexcept;
    bool DsrSensitivity() const noexcept { return FSettings.DsrSensitivity; }
    void SetDsrSensitivity(bool value) noexcept;
    bool TxContinueOnXoff() const noexcept { return FSettings.TxContinueOnXoff; }
    void SetTxContinueOnXoff(bool value) noexcept;
    bool Outx_XonXoffFlow() const noexcept { return FSettings.Outx_XonXoffFlow; }
    void SetOutx_XonXoffFlow(bool value) noexcept;
    bool Inx_XonXoffFlow() const noexcept { return FSettings.Inx_XonXoffFlow; }
    void SetInx_XonXoffFlow(bool value) noexcept;
    bool ReplaceWhenParityError() const noexcept { return FSettings.ReplaceWhenParityError; }
    void SetReplaceWhenParityError(bool value) noexcept;
    bool IgnoreNullChar() const noexcept { return FSettings.IgnoreNullChar; }
    void SetIgnoreNullChar(bool value) noexcept;
    TRtsControl RtsControl() const noexcept { return FSettings.RtsControl; }
    void SetRtsControl(TRtsControl value) noexcept;
    uint16_t XonLimit() const noexcept { return FSettings.XonLimit; }
    void SetXonLimit(uint16_t value) noexcept;
    uint16_t XoffLimit() const noexcept { return FSettings.XoffLimit; }
    void SetXoffLimit(uint16_t value) noexcept;
    TByteSize ByteSize() const noexcept { return FSettings.ByteSize; }
    void SetByteSize(TByteSize value) noexcept;
    TStopBits StopBits() const noexcept { return FSettings.StopBits; }
    void SetStopBits(TStopBits value) noexcept;
    char XonChar() const noexcept { return FSettings.XonChar; }
    void SetXonChar(char value) noexcept;
    char XoffChar() const noexcept { return FSettings.XoffChar; }
    void SetXoffChar(char value) noexcept;
    char ReplacedChar() const noexcept { return FSettings.ReplacedChar; }
    void SetReplacedChar(char value) noexcept;
    uint32_t ReadIntervalTimeout() const noexcept { return FSettings.ReadIntervalTimeout; }
    void SetReadIntervalTimeout(uint32_t value) noexcept;
    uint32_t ReadTotalTimeoutMultiplier() const noexcept { return FSettings.ReadTotalTimeoutMultiplier; }
    void SetReadTotalTimeoutMultiplier(uint32_t value) noexcept;
    uint32_t ReadTotalTimeoutConstant() const noexcept { return FSettings.ReadTotalTimeoutConstant; }
    void SetReadTotalTimeoutConstant(uint32_t value) noexcept;
    uint32_t WriteTotalTimeoutMultiplier() const noexcept { return FSettings.WriteTotalTimeoutMultiplier; }
    void SetWriteTotalTimeoutMultiplier(uint32_t value) noexcept;
    uint32_t WriteTotalTimeoutConstant() const noexcept { return FSettings.WriteTotalTimeoutConstant; }
    void SetWriteTotalTimeoutConstant(uint32_t value) noexcept;

    // Raised on the GUI thread, one at a time, in the order the threads posted them; what a
    // handler throws goes to the application's error box, never through the window procedure.
    TReceiveDataEvent OnReceiveData;
    TNotifyEvent OnRequestHangup;
    TReceiveErrorEvent OnReceiveError;
    TModemStateChangeEvent OnModemStateChange;
    TSendDataEmptyEvent OnSendDataEmpty;

private:
    static LRESULT CALLBACK NotifyTrampoline(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT NotifyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void CommData(WPARAM wParam, LPARAM lParam);
    void DrainNotifications() noexcept;

    void ApplyCommState() noexcept;
    void ApplyTimeouts() noexcept;
    void StopReader() noexcept;
    void StopWriter() noexcept;

    // Stores a setting and, while open, re-applies the group it belongs to.
    template <class T>
    void ChangeState(T TCommSettings::*field, T value) noexcept;
    template <class T>
    void ChangeTimeout(T TCommSettings::*field, T value) noexcept;

    // Declared so that the threads go before every handle and the flag they borrow.
    const TCommApi FApi;
    TCommSettings FSettings;
    std::atomic<bool> FTxQueueEmpty{true}; // written by the writer too; nothing here decides on it
    std::atomic<bool> FHangupRaised{false}; // one hang-up notice per open, whichever thread fails first
    win::Window FNotifyWindow;
    win::FileHandle FComHandle;
    win::Handle FCloseEvent;
    std::unique_ptr<TReadThread> FReaderThread;
    std::unique_ptr<TWriteThread> FWriterThread;
};
