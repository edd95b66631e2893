// A POSIX serial device or pseudo-terminal in raw mode, as the simulator's port.
#pragma once

#include "tools/sim/SimServer.h"

#include <string>

class TTtyPort : public TSimPort {
public:
    // Opens the device raw, 8N1, at the rate; throws ESimPortError with the system's reason.
    TTtyPort(const std::string& device, int baudRate, TSimClock& clock);
    ~TTtyPort() override;
    TTtyPort(const TTtyPort&) = delete;
    TTtyPort& operator=(const TTtyPort&) = delete;

    long Read(std::uint8_t* buffer, size_t capacity, TSimTime until) override;
    bool Write(std::uint8_t byte) override;
    void SetBaudRate(int baudRate) override;

private:
    void Configure(int baudRate);

    const std::string FDevice;
    TSimClock& FClock;
    int FFd = -1;
};
