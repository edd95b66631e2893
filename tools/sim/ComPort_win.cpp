// Synchronous reads that return what has arrived or end at a time-out; the console's stop.
#include "tools/sim/ComPort_win.h"

namespace {

std::string SystemMessage(DWORD code)
{
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "error " + std::to_string(code);
    ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

} // namespace

TComPort::TComPort(const std::string& name, int baudRate, TSimClock& clock) : FName(name), FClock(clock)
{
    const std::string path = name.rfind("\\\\.\\", 0) == 0 ? name : "\\\\.\\" + name;
    FHandle = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        throw ESimPortError("cannot open " + name + ": " + SystemMessage(error));
    }
    if (!ApplyState(baudRate)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(FHandle);
        throw ESimPortError("cannot set " + name + " to 8N1 at " + std::to_string(baudRate) + ": " +
                            SystemMessage(error));
    }
    ::PurgeComm(FHandle, PURGE_RXCLEAR | PURGE_TXCLEAR); // left-overs of an earlier program are no request
}

TComPort::~TComPort()
{
    ::CloseHandle(FHandle);
}

bool TComPort::ApplyState(int baudRate)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(FHandle, &dcb))
        return false;
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    return ::SetCommState(FHandle, &dcb) != FALSE;
}

long TComPort::Read(std::uint8_t* buffer, size_t capacity, TSimTime until)
{
    const TSimTime left = until - FClock.Now();
    const DWORD timeoutMs = left.count() <= 0 ? 1 : static_cast<DWORD>((left.count() + 999) / 1000);
    if (timeoutMs != FReadTimeoutMs) {
        // MAXDWORD interval and multiplier: return as soon as any byte is there, or when the
        // total time-out ends with none.
        COMMTIMEOUTS timeouts{MAXDWORD, MAXDWORD, timeoutMs, 0, 1000};
        if (!::SetCommTimeouts(FHandle, &timeouts))
            return -1;
        FReadTimeoutMs = timeoutMs;
    }
    DWORD read = 0;
    if (!::ReadFile(FHandle, buffer, static_cast<DWORD>(capacity), &read, nullptr))
        return -1;
    return static_cast<long>(read);
}

bool TComPort::Write(std::uint8_t byte)
{
    DWORD written = 0;
    return ::WriteFile(FHandle, &byte, 1, &written, nullptr) && written == 1;
}

void TComPort::SetBaudRate(int baudRate)
{
    // A port that refuses the rate keeps the old one; the far end notices as silence.
    ApplyState(baudRate);
}

std::unique_ptr<TSimPort> OpenSimPort(const std::string& device, int baudRate, TSimClock& clock)
{
    return std::make_unique<TComPort>(device, baudRate, clock);
}

namespace {
std::atomic<bool>* gStop = nullptr;
BOOL WINAPI RequestStop(DWORD) noexcept
{
    gStop->store(true);
    return TRUE; // the serve loop wakes within its idle wait and ends cleanly
}
} // namespace

void InstallStopHandlers(std::atomic<bool>& stop)
{
    gStop = &stop;
    ::SetConsoleCtrlHandler(RequestStop, TRUE);
}
