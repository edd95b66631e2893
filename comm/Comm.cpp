// Opening, configuring and closing the port, and turning the threads' notifications into events.
#include "comm/Comm.h"

#include "comm/ReadThread.h"
#include "comm/WriteThread.h"
#include "toolkit/CallbackGuard.h"
#include "toolkit/SysUtils.h"

#include <iterator>
#include <limits>
#include <new>
#include <type_traits>

namespace {

constexpr DWORD kReceiveQueueSize = 2048;
constexpr DWORD kTransmitQueueSize = 1024;
// Setting the stop event and purging ends every wait a thread can be in, so this is only
// reached by a thread that is stuck in the driver.
constexpr DWORD kThreadStopPatienceMs = 10000;
constexpr wchar_t kNotifyClassName[] = L"QM27K.TCommNotify";

template <class T, class... Args>
std::unique_ptr<T> MakeOrNull(Args&&... args) noexcept
{
    try {
        return std::make_unique<T>(std::forward<Args>(args)...);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

ATOM RegisterNotifyClass(WNDPROC proc) noexcept
{
    static const ATOM atom = [proc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kNotifyClassName;
        return ::RegisterClassExW(&wc);
    }();
    return atom;
}

// Published properties as text.

const TComm& Self(const TObject& o) { return static_cast<const TComm&>(o); }
TComm& Self(TObject& o) { return static_cast<TComm&>(o); }

// StrToInt's hexadecimal form spells the full 32-bit range; a minus sign never makes sense here.
uint32_t ToUnsigned(std::wstring_view text, uint32_t max)
{
    const int value = StrToInt(text);
    const auto result = static_cast<uint32_t>(value);
    if ((value < 0 && text.find(L'-') != std::wstring_view::npos) || result > max)
        throw EConvertError(L"'" + std::wstring(text) + L"' is not within 0.." + IntToStr(max));
    return result;
}

template <class E>
struct TEnumNames;
template <>
struct TEnumNames<TByteSize> {
    static constexpr const wchar_t* Type = L"TByteSize";
    static constexpr const wchar_t* Names[] = {L"_5", L"_6", L"_7", L"_8"};
};
template <>
struct TEnumNames<TParity> {
    static constexpr const wchar_t* Type = L"TParity";
    static constexpr const wchar_t* Names[] = {L"None", L"Odd", L"Even", L"Mark", L"Space"};
};
template <>
struct TEnumNames<TStopBits> {
    static constexpr const wchar_t* Type = L"TStopBits";
    static constexpr const wchar_t* Names[] = {L"_1", L"_1_5", L"_2"};
};
template <>
struct TEnumNames<TDtrControl> {
    static constexpr const wchar_t* Type = L"TDtrControl";
    static constexpr const wchar_t* Names[] = {L"DtrEnable", L"DtrDisable", L"DtrHandshake"};
};
template <>
struct TEnumNames<TRtsControl> {
    static constexpr const wchar_t* Type = L"TRtsControl";
    static constexpr const wchar_t* Names[] = {L"RtsEnable", L"RtsDisable", L"RtsHandshake",
                                               L"RtsTransmissionAvailable"};
};

template <class E>
std::wstring EnumToStr(E value)
{
    const auto ordinal = static_cast<size_t>(value);
    const auto& names = TEnumNames<E>::Names;
    return ordinal < std::size(names) ? names[ordinal] : IntToStr(static_cast<long long>(ordinal));
}

template <class E>
E StrToEnum(std::wstring_view text)
{
    const auto& names = TEnumNames<E>::Names;
    for (size_t i = 0; i < std::size(names); ++i)
        if (SameText(names[i], text))
            return static_cast<E>(i);
    throw EConvertError(L"'" + std::wstring(text) + L"' is not a valid " + TEnumNames<E>::Type + L" value");
}

template <bool (TComm::*Get)() const noexcept, void (TComm::*Set)(bool) noexcept>
TPropertyInfo BoolProp(const wchar_t* name)
{
    return {name, [](const TObject& o) { return BoolToStr((Self(o).*Get)()); },
            [](TObject& o, std::wstring_view v) { (Self(o).*Set)(StrToBool(v)); }};
}

template <class T, T (TComm::*Get)() const noexcept, void (TComm::*Set)(T) noexcept>
TPropertyInfo NumberProp(const wchar_t* name)
{
    using TUnsigned = std::make_unsigned_t<T>; // char publishes as its byte value 0..255
    return {name, [](const TObject& o) { return IntToStr(static_cast<TUnsigned>((Self(o).*Get)())); },
            [](TObject& o, std::wstring_view v) {
                (Self(o).*Set)(static_cast<T>(ToUnsigned(v, std::numeric_limits<TUnsigned>::max())));
            }};
}

template <class E, E (TComm::*Get)() const noexcept, void (TComm::*Set)(E) noexcept>
TPropertyInfo EnumProp(const wchar_t* name)
{
    return {name, [](const TObject& o) { return EnumToStr((Self(o).*Get)()); },
            [](TObject& o, std::wstring_view v) { (Self(o).*Set)(StrToEnum<E>(v)); }};
}

const TPropertyInfo kCommProps[] = {
    {L"ComHandle",
     [](const TObject& o) { return IntToStr(static_cast<long long>(reinterpret_cast<uintptr_t>(Self(o).ComHandle()))); },
     nullptr},
    {L"CommName", [](const TObject& o) { return Self(o).CommName(); },
     [](TObject& o, std::wstring_view v) { Self(o).SetCommName(std::wstring(v)); }},
    NumberProp<uint32_t, &TComm::BaudRate, &TComm::SetBaudRate>(L"BaudRate"),
    BoolProp<&TComm::ParityCheck, &TComm::SetParityCheck>(L"ParityCheck"),
    BoolProp<&TComm::Outx_CtsFlow, &TComm::SetOutx_CtsFlow>(L"Outx_CtsFlow"),
    BoolProp<&TComm::Outx_DsrFlow, &TComm::SetOutx_DsrFlow>(L"Outx_DsrFlow"),
    EnumProp<TDtrControl, &TComm::DtrControl, &TComm::SetDtrControl>(L"DtrControl"),
    BoolProp<&TComm::DsrSensitivity, &TComm::SetDsrSensitivity>(L"DsrSensitivity"),
    BoolProp<&TComm::TxContinueOnXoff, &TComm::SetTxContinueOnXoff>(L"TxContinueOnXoff"),
    BoolProp<&TComm::Outx_XonXoffFlow, &TComm::SetOutx_XonXoffFlow>(L"Outx_XonXoffFlow"),
    BoolProp<&TComm::Inx_XonXoffFlow, &TComm::SetInx_XonXoffFlow>(L"Inx_XonXoffFlow"),
    BoolProp<&TComm::ReplaceWhenParityError, &TComm::SetReplaceWhenParityError>(L"ReplaceWhenParityError"),
    BoolProp<&TComm::IgnoreNullChar, &TComm::SetIgnoreNullChar>(L"IgnoreNullChar"),
    EnumProp<TRtsControl, &TComm::RtsControl, &TComm::SetRtsControl>(L"RtsControl"),
    NumberProp<uint16_t, &TComm::XonLimit, &TComm::SetXonLimit>(L"XonLimit"),
    NumberProp<uint16_t, &TComm::XoffLimit, &TComm::SetXoffLimit>(L"XoffLimit"),
    EnumProp<TByteSize, &TComm::ByteSize, &TComm::SetByteSize>(L"ByteSize"),
    EnumProp<TParity, &TComm::Parity, &TComm::SetParity>(L"Parity"),
    EnumProp<TStopBits, &TComm::StopBits, &TComm::SetStopBits>(L"StopBits"),
    NumberProp<char, &TComm::XonChar, &TComm::SetXonChar>(L"XonChar"),
    NumberProp<char, &TComm::XoffChar, &TComm::SetXoffChar>(L"XoffChar"),
    NumberProp<char, &TComm::ReplacedChar, &TComm::SetReplacedChar>(L"ReplacedChar"),
    NumberProp<uint32_t, &TComm::ReadIntervalTimeout, &TComm::SetReadIntervalTimeout>(L"ReadIntervalTimeout"),
    NumberProp<uint32_t, &TComm::ReadTotalTimeoutMultiplier, &TComm::SetReadTotalTimeoutMultiplier>(
        L"ReadTotalTimeoutMultiplier"),
    NumberProp<uint32_t, &TComm::ReadTotalTimeoutConstant, &TComm::SetReadTotalTimeoutConstant>(
        L"ReadTotalTimeoutConstant"),
    NumberProp<uint32_t, &TComm::WriteTotalTimeoutMultiplier, &TComm::SetWriteTotalTimeoutMultiplier>(
        L"WriteTotalTimeoutMultiplier"),
    NumberProp<uint32_t, &TComm::WriteTotalTimeoutConstant, &TComm::SetWriteTotalTimeoutConstant>(
        L"WriteTotalTimeoutConstant"),
};

} // namespace

const TClassInfo TComm::StaticClass{L"TComm", &TComponent::StaticClass, kCommProps};

// Construction and destruction.

TComm::TComm(TComponent* owner, const TCommApi& api) : TComponent(owner), FApi(api)
{
    const ATOM windowClass = RegisterNotifyClass(&TComm::NotifyTrampoline);
    const HWND window = windowClass ? ::CreateWindowExW(0, MAKEINTATOM(windowClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                        nullptr, ::GetModuleHandleW(nullptr), this)
                                    : nullptr;
    if (!window)
        throw ECommsError(L"Unable to create the notify window");
    FNotifyWindow.reset(window);
}

TComm::~TComm()
{
    ClosePort();
    if (!FNotifyWindow)
        return;
    DrainNotifications();
    // Destroying the window sends it messages of its own; none may reach a half-destroyed component.
    ::SetWindowLongPtrW(FNotifyWindow.get(), GWLP_USERDATA, 0);
    FNotifyWindow.reset();
}

void TComm::DrainNotifications() noexcept
{
    // Only data notifications own memory; the others carry values and may go with the window.
    MSG msg;
    while (::PeekMessageW(&msg, FNotifyWindow.get(), MSG_COMM_DATA, MSG_COMM_DATA, PM_REMOVE)) {
        const TCommBlock unhandled = AdoptCommBlock(msg.lParam);
    }
}

// Opening and closing.

void TComm::OpenPort()
{
    if (FComHandle)
        throw ECommsError(L"This serial port already opened");

    // The device namespace path; the plain name works only for COM1..COM9.
    const std::wstring path = L"\\\\.\\" + FSettings.CommName;
    win::FileHandle device{FApi.CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr)};
    // The device closes with `device` on each failure below.
    if (!device)
        throw ECommsError(L"Error opening serial port");
    if (FApi.GetFileType(device.get()) != FILE_TYPE_CHAR)
        throw ECommsError(L"File handle is not a comm handle ");
    if (!FApi.SetupComm(device.get(), kReceiveQueueSize, kTransmitQueueSize))
        throw ECommsError(L"Cannot setup comm buffer");

    FComHandle = std::move(device);
    FHangupRaised = false;
    ::PurgeComm(FComHandle.get(), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    FTxQueueEmpty = true;
    // A device that refuses a setting stays open with what it had; the owner sees the line's behaviour.
    ApplyTimeouts();
    ApplyCommState();

    FCloseEvent.reset(FApi.CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!FCloseEvent) {
        FComHandle.reset();
        throw ECommsError(L"Unable to create event");
    }

    // Running out of memory for the thread object counts as the platform refusing the thread.
    auto reader =
        MakeOrNull<TReadThread>(FApi, FComHandle.get(), FCloseEvent.get(), FNotifyWindow.get(), FHangupRaised);
    if (!reader || !reader->Create()) {
        reader.reset();
        FCloseEvent.reset();
        FComHandle.reset();
        throw ECommsError(L"Unable to create read thread");
    }
    reader->Thread().SetPriority(THREAD_PRIORITY_HIGHEST);
    FReaderThread = std::move(reader);

    auto writer = MakeOrNull<TWriteThread>(FApi, FComHandle.get(), FCloseEvent.get(), FNotifyWindow.get(), FTxQueueEmpty,
                                           FHangupRaised);
    if (!writer || !writer->Create()) {
        writer.reset();
        StopReader(); // the reader never ran; stopping starts it so that it can see the stop signal
        FCloseEvent.reset();
        FComHandle.reset();
        throw ECommsError(L"Unable to create write thread");
    }
    writer->Thread().SetPriority(THREAD_PRIORITY_ABOVE_NORMAL);
    FWriterThread = std::move(writer);

    FReaderThread->Thread().Start();
    FWriterThread->Thread().Start();
    // Bytes that come from now on meet a pending read, and a block written from now on a queue.
    FReaderThread->WaitForRead();
    FWriterThread->WaitForQueue();
}

void TComm::ClosePort() noexcept
{
    if (!FComHandle)
        return;
    StopReader();
    StopWriter();
    FCloseEvent.reset();
    FComHandle.reset();
}

bool TComm::WriteData(const void* Buffer, uint16_t Length) noexcept
{
    if (!FWriterThread || Length == 0 || Buffer == nullptr)
        return false;
    TCommBlock block = MakeCommBlock(Buffer, Length);
    if (!block)
        return false;
    return FWriterThread->Enqueue(block, Length); // a block refused is freed here
}

void TComm::StopReader() noexcept
{
    if (!FReaderThread)
        return;
    ::SetEvent(FCloseEvent.get());
    ::PurgeComm(FComHandle.get(), PURGE_RXABORT | PURGE_RXCLEAR); // ends the pending read
    FReaderThread->Thread().Join(kThreadStopPatienceMs);
    FReaderThread.reset();
}

void TComm::StopWriter() noexcept
{
    if (!FWriterThread)
        return;
    ::SetEvent(FCloseEvent.get());
    ::PurgeComm(FComHandle.get(), PURGE_TXABORT | PURGE_TXCLEAR); // ends a write in progress
    FTxQueueEmpty = true;
    FWriterThread->Thread().Join(kThreadStopPatienceMs);
    FWriterThread.reset();
}

// Device settings.

void TComm::ApplyCommState() noexcept
{
    DCB current{};
    current.DCBlength = sizeof current;
    ::GetCommState(FComHandle.get(), &current);
    DCB wanted = ApplySettings(current, FSettings);
    wanted.DCBlength = sizeof wanted;
    FApi.SetCommState(FComHandle.get(), &wanted);
}

void TComm::ApplyTimeouts() noexcept
{
    COMMTIMEOUTS timeouts = CommTimeouts(FSettings);
    FApi.SetCommTimeouts(FComHandle.get(), &timeouts);
}

template <class T>
void TComm::ChangeState(T TCommSettings::*field, T value) noexcept
{
    if (FSettings.*field == value)
        return;
    FSettings.*field = value;
    if (FComHandle)
        ApplyCommState();
}

template <class T>
void TComm::ChangeTimeout(T TCommSettings::*field, T value) noexcept
{
    if (FSettings.*field == value)
        return;
    FSettings.*field = value;
    if (FComHandle)
        ApplyTimeouts();
}

void TComm::SetCommName(const std::wstring& value)
{
    if (FSettings.CommName != value)
        FSettings.CommName = value;
}

void TComm::SetParity(TParity value) noexcept { FSettings.Parity = value; }

void TComm::SetBaudRate(uint32_t value) noexcept { ChangeState(&TCommSettings::BaudRate, value); }
void TComm::SetParityCheck(bool value) noexcept { ChangeState(&TCommSettings::ParityCheck, value); }
void TComm::SetOutx_CtsFlow(bool value) noexcept { ChangeState(&TCommSettings::Outx_CtsFlow, value); }
void TComm::SetOutx_DsrFlow(bool value) noexcept { ChangeState(&TCommSettings::Outx_DsrFlow, value); }
void TComm::SetDtrControl(TDtrControl value) noexcept { ChangeState(&TCommSettings::DtrControl, value); }
void TComm::SetDsrSensitivity(bool value) noexcept { ChangeState(&TCommSettings::DsrSensitivity, value); }
void TComm::SetTxContinueOnXoff(bool value) noexcept { ChangeState(&TCommSettings::TxContinueOnXoff, value); }
void TComm::SetOutx_XonXoffFlow(bool value) noexcept { ChangeState(&TCommSettings::Outx_XonXoffFlow, value); }
void TComm::SetInx_XonXoffFlow(bool value) noexcept { ChangeState(&TCommSettings::Inx_XonXoffFlow, value); }
void TComm::SetReplaceWhenParityError(bool value) noexcept
{
    ChangeState(&TCommSettings::ReplaceWhenParityError, value);
}
void TComm::SetIgnoreNullChar(bool value) noexcept { ChangeState(&TCommSettings::IgnoreNullChar, value); }
void TComm::SetRtsControl(TRtsControl value) noexcept { ChangeState(&TCommSettings::RtsControl, value); }
void TComm::SetXonLimit(uint16_t value) noexcept { ChangeState(&TCommSettings::XonLimit, value); }
void TComm::SetXoffLimit(uint16_t value) noexcept { ChangeState(&TCommSettings::XoffLimit, value); }
void TComm::SetByteSize(TByteSize value) noexcept { ChangeState(&TCommSettings::ByteSize, value); }
void TComm::SetStopBits(TStopBits value) noexcept { ChangeState(&TCommSettings::StopBits, value); }
void TComm::SetXonChar(char value) noexcept { ChangeState(&TCommSettings::XonChar, value); }
void TComm::SetXoffChar(char value) noexcept { ChangeState(&TCommSettings::XoffChar, value); }
void TComm::SetReplacedChar(char value) noexcept { ChangeState(&TCommSettings::ReplacedChar, value); }

void TComm::SetReadIntervalTimeout(uint32_t value) noexcept
{
    ChangeTimeout(&TCommSettings::ReadIntervalTimeout, value);
}
void TComm::SetReadTotalTimeoutMultiplier(uint32_t value) noexcept
{
    ChangeTimeout(&TCommSettings::ReadTotalTimeoutMultiplier, value);
}
void TComm::SetReadTotalTimeoutConstant(uint32_t value) noexcept
{
    ChangeTimeout(&TCommSettings::ReadTotalTimeoutConstant, value);
}
void TComm::SetWriteTotalTimeoutMultiplier(uint32_t value) noexcept
{
    ChangeTimeout(&TCommSettings::WriteTotalTimeoutMultiplier, value);
}
void TComm::SetWriteTotalTimeoutConstant(uint32_t value) noexcept
{
    ChangeTimeout(&TCommSettings::WriteTotalTimeoutConstant, value);
}

// Notifications.

LRESULT CALLBACK TComm::NotifyTrampoline(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    // The window class is ours alone, so its user data slot is free to hold the component.
    auto* self = reinterpret_cast<TComm*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) {
        if (msg == MSG_COMM_DATA) {
            const TCommBlock orphan = AdoptCommBlock(lParam);
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    LRESULT result = 0;
    GuardCallback([&] { result = self->NotifyWindowProc(hwnd, msg, wParam, lParam); });
    return result;
}

LRESULT TComm::NotifyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case MSG_COMM_DATA: CommData(wParam, lParam); return 0;
    case MSG_COMM_ERROR: if (OnReceiveError) OnReceiveError(this, static_cast<uint32_t>(lParam)); return 0;
    case MSG_COMM_HANGUP: if (OnRequestHangup) OnRequestHangup(this); return 0;
    case MSG_COMM_MODEM: if (OnModemStateChange) OnModemStateChange(this, static_cast<uint32_t>(lParam)); return 0;
    case MSG_COMM_TXEMPTY: if (OnSendDataEmpty) OnSendDataEmpty(this); return 0;
    default: return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void TComm::CommData(WPARAM wParam, LPARAM lParam)
{
    // Owned before the handler runs, so the block goes even when the handler throws.
    const TCommBlock block = AdoptCommBlock(lParam);
    if (OnReceiveData)
        OnReceiveData(this, block.get(), static_cast<uint16_t>(wParam & 0xFFFF));
}
