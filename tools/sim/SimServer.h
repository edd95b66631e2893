// The simulator's serve loop over a port and a clock, both seams, so that it runs against
// a real terminal in the program and against a scripted line in the tests.
#pragma once

#include "tools/sim/SimLine.h"

#include <atomic>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

class TSimClock {
public:
    virtual ~TSimClock() = default;
    virtual TSimTime Now() = 0;
    virtual void SleepUntil(TSimTime at) = 0;
};

// A device that cannot be opened or set up, with the system's reason.
class ESimPortError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TSimPort {
public:
    virtual ~TSimPort() = default;
    // Waits until bytes arrive or the clock reaches `until`; the bytes read (0 when none).
    // A negative result is a line that failed.
    virtual long Read(std::uint8_t* buffer, size_t capacity, TSimTime until) = 0;
    virtual bool Write(std::uint8_t byte) = 0;
    // Follows the sensor to a new line rate once it has sent its echo.
    virtual void SetBaudRate(int baudRate) = 0;
};

// The platform's edge, one file per platform: the serial device (throws ESimPortError) and
// the requests to stop (SIGINT and SIGTERM, or the console's Ctrl+C and close).
std::unique_ptr<TSimPort> OpenSimPort(const std::string& device, int baudRate, TSimClock& clock);
void InstallStopHandlers(std::atomic<bool>& stop);

class TSimServer {
public:
    TSimServer(TSensorBus& bus, TSimPort& port, TSimClock& clock, std::ostream* log = nullptr);

    // Serves until `stop` is set or the line fails; false when the line failed.
    bool Run(const std::atomic<bool>& stop);
    // One turn of the loop: waits for bytes at most until `until`, answers a complete frame.
    bool Step(TSimTime until);

    // Called after each frame taken off the line, with the bus's counts.
    std::function<void(const TSimStats&)> OnFrame;

private:
    void LogFrame(const char* direction, const TBytes& bytes, TSimTime at);

    TSensorBus& FBus;
    TSimLine FLine;
    TSimPort& FPort;
    TSimClock& FClock;
    std::ostream* FLog;
    int FPortBaud;
};
