// A sensor at address 1 played on the far end of a rig line from inside the driving program,
// so that after the line is dropped it can be plugged in again on the fresh one the rig makes
// (a simulator on the host side would stay on the terminal that went away).
#pragma once

#include "tools/sim/ComPort_win.h"
#include "tools/sim/SteadyClock.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

class TFarEndSensor {
public:
    // Opens the device at 9600 8N1 and serves it; throws ESimPortError when it cannot be opened.
    explicit TFarEndSensor(const std::wstring& device)
        : FPort(std::string(device.begin(), device.end()), 9600, FClock), FServer(FBus, FPort, FClock),
          FThread([this] { FServer.Run(FStop); })
    {
    }
    // The loop ends on its own when the line fails, and at the next turn otherwise.
    ~TFarEndSensor()
    {
        FStop = true;
        FThread.join();
    }
    TFarEndSensor(const TFarEndSensor&) = delete;
    TFarEndSensor& operator=(const TFarEndSensor&) = delete;

private:
    TSteadyClock FClock;
    TSensorBus FBus{TSensorSettings{}};
    TComPort FPort;
    TSimServer FServer;
    std::atomic<bool> FStop{false};
    std::thread FThread; // last: it starts once everything it uses is made
};
