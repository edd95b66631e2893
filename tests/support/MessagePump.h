// Running the GUI thread's messages with a bound, so tests and benchmarks wait on events
// instead of sleeping.
#pragma once

#include <windows.h>

#include <chrono>

// Pumps until done() holds or the bound passes; false when the bound passed.
template <class Pred>
bool PumpUntil(Pred done, int timeoutMs = 5000)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (!done())
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

inline void PumpFor(int ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    PumpUntil([&] { return std::chrono::steady_clock::now() >= until; }, ms + 1000);
}
