// The simulator's clock in the program: the monotonic clock, and real sleeps.
#pragma once

#include "tools/sim/SimServer.h"

#include <thread>

class TSteadyClock : public TSimClock {
public:
    TSimTime Now() override
    {
        return std::chrono::duration_cast<TSimTime>(std::chrono::steady_clock::now() - FStart);
    }
    void SleepUntil(TSimTime at) override { std::this_thread::sleep_until(FStart + at); }

private:
    const std::chrono::steady_clock::time_point FStart = std::chrono::steady_clock::now();
};
