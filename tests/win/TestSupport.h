// Shared helpers of the Windows tests: an application whose boxes are recorded instead of
// shown, message pumping with a bound, and the rig's serial line pairs.
#pragma once

#include "tests/support/MessagePump.h"
#include "tests/support/RigLines.h"
#include "toolkit/Application.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#define REQUIRE_RIG_PORTS(n)                                                         \
    if (RigPortPairs().size() < (n))                                                 \
    GTEST_SKIP() << "needs " << (n) << " serial line pairs from the rig (QM27K_PORT_PAIRS)"

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
