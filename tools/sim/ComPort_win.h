// A Windows COM port, 8N1 without flow control, as the simulator's port.
#pragma once

#include "tools/sim/SimServer.h"

#include <windows.h>

#include <string>

class TComPort : public TSimPort {
public:
    // Opens "\\.\" + name (COM3, COM12 ...); throws ESimPortError with the system's reason.
    TComPort(const std::string& name, int baudRate, TSimClock& clock);
    ~TComPort() override;
    TComPort(const TComPort&) = delete;
    TComPort& operator=(const TComPort&) = delete;

    long Read(std::uint8_t* buffer, size_t capacity, TSimTime until) override;
    bool Write(std::uint8_t byte) override;
    void SetBaudRate(int baudRate) override;

private:
    bool ApplyState(int baudRate);

    const std::string FName;
    TSimClock& FClock;
    HANDLE FHandle = INVALID_HANDLE_VALUE;
    DWORD FReadTimeoutMs = 0; // the total time-out last set, so it is set only when it changes
};
