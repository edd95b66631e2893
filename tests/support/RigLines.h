// The rig's crossed serial lines, as the wrapper hands them to every program it runs.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

struct TPortPair {
    std::wstring Port;   // the side the program opens
    std::wstring Device; // the crossed side, for whoever plays the sensor
};

// From QM27K_PORT_PAIRS ("COM3:COM4 COM5:COM6 ..."); empty outside the rig.
inline std::vector<TPortPair> RigPortPairs()
{
    std::vector<TPortPair> pairs;
    const char* env = std::getenv("QM27K_PORT_PAIRS");
    const std::string text = env ? env : "";
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = std::min(text.find(' ', pos), text.size());
        const std::string item = text.substr(pos, end - pos);
        const size_t colon = item.find(':');
        if (colon != std::string::npos)
            pairs.push_back({std::wstring(item.begin(), item.begin() + static_cast<std::ptrdiff_t>(colon)),
                             std::wstring(item.begin() + static_cast<std::ptrdiff_t>(colon) + 1, item.end())});
        pos = end + 1;
    }
    return pairs;
}
