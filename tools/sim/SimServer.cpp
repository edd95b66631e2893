// Receive, wait out the silence, answer at the line's pace, follow rate changes.
#include "tools/sim/SimServer.h"

#include <cstdio>

namespace {
// Wakes the loop this often while the line is idle, so a stop request is seen.
constexpr TSimTime kIdleWait = std::chrono::milliseconds(100);
} // namespace

TSimServer::TSimServer(TSensorBus& bus, TSimPort& port, TSimClock& clock, std::ostream* log)
    : FBus(bus), FLine(bus), FPort(port), FClock(clock), FLog(log), FPortBaud(bus.BaudRate())
{
}

bool TSimServer::Run(const std::atomic<bool>& stop)
{
    while (!stop.load())
        if (!Step(FClock.Now() + kIdleWait))
            return false;
    return true;
}

bool TSimServer::Step(TSimTime until)
{
    if (const auto end = FLine.FrameEnd(); end && *end < until)
        until = *end;
    std::uint8_t buffer[256];
    const long count = FPort.Read(buffer, sizeof buffer, until);
    if (count < 0)
        return false;
    const TSimTime now = FClock.Now();
    FLine.Receive(buffer, static_cast<size_t>(count), now);
    const unsigned framesBefore = FBus.Stats().Frames;
    const auto answer = FLine.Poll(now);
    if (FBus.Stats().Frames == framesBefore)
        return true;
    LogFrame("RX", FLine.LastFrame(), now);
    TBytes sent;
    for (const TTimedByte& byte : answer) {
        FClock.SleepUntil(byte.At);
        if (!FPort.Write(byte.Value))
            return false;
        sent.push_back(byte.Value);
    }
    // Counts first, then the log line: whoever watches the log finds the counts current.
    if (OnFrame)
        OnFrame(FBus.Stats());
    if (!sent.empty())
        LogFrame("TX", sent, FClock.Now());
    if (FBus.BaudRate() != FPortBaud) {
        FPortBaud = FBus.BaudRate();
        FPort.SetBaudRate(FPortBaud);
        if (FLog)
            *FLog << "line rate now " << FPortBaud << '\n' << std::flush;
    }
    return true;
}

void TSimServer::LogFrame(const char* direction, const TBytes& bytes, TSimTime at)
{
    if (!FLog)
        return;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%10.3f ", static_cast<double>(at.count()) / 1000.0);
    *FLog << stamp << direction << ':';
    for (const std::uint8_t byte : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", byte);
        *FLog << hex;
    }
    *FLog << '\n' << std::flush;
}
