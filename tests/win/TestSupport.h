// Shared helpers of the Windows tests: an application whose boxes are recorded instead of
// shown, message pumping with a bound, and the rig's serial line pairs.
#pragma once

#include "toolkit/Application.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

struct TPortPair {
    std::wstring Port;   // the side the program opens
    std::wstring Device; // the crossed side, for whoever plays the sensor
};

// The rig's crossed lines, from QM27K_PORT_PAIRS ("COM3:COM4 COM5:COM6 ...").
inline std::vector<TPortPair> RigPortPairs()
{
    std::vector<TPortPair> pairs;
    const char* env = std::getenv("QM27K_PORT_PAIRS");
    if (!env)
        return pairs;
    std::string text = env;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = std::min(text.find(' ', pos), text.size());
        const std::string item = text.substr(pos, end - pos);
        const size_t colon = item.find(':');
        if (colon != std::string::npos)
            pairs.push_back({std::wstring(item.begin(), item.begin() + colon),
                             std::wstring(item.begin() + colon + 1, item.end())});
        pos = end + 1;
    }
    return pairs;
}

#define REQUIRE_RIG_PORTS(n)                                                         \
    if (RigPortPairs().size() < (n))                                                 \
    GTEST_SKIP() << "needs " << (n) << " serial line pairs from the rig (QM27K_PORT_PAIRS)"

// Pumps the GUI thread's messages until done() holds or the bound passes.
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
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

inline void PumpFor(int ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    PumpUntil([&] { return std::chrono::steady_clock::now() >= until; }, ms + 1000);
}

class TAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        App.Initialize();
        App.OnMessageBox = [this](const std::wstring& text, const std::wstring&, unsigned) {
            Boxes.push_back(text);
            return IDOK;
        };
        App.OnException = [this](const std::wstring& message) { Errors.push_back(message); };
    }

    TApplication App;
    std::vector<std::wstring> Boxes;  // texts of message boxes that would have been shown
    std::vector<std::wstring> Errors; // messages of exceptions that left a handler
};

inline std::string Narrow(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}
