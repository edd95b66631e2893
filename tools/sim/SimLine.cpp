// Frame detection by silence and answer pacing for the simulated line.
#include "tools/sim/SimLine.h"

#include <algorithm>

namespace {
// A frame longer than any Modbus RTU frame is noise: keep its end, not its start.
constexpr size_t kMaxFrame = 256;
} // namespace

void TSimLine::Receive(const std::uint8_t* bytes, size_t count, TSimTime at)
{
    if (count == 0)
        return;
    if (FFrame.empty()) {
        FFrameBaud = FBus.BaudRate();
        FLastByte = at;
    }
    // A terminal hands over a whole burst at once, but on a wire each byte takes its
    // character time: the frame is complete only when its last byte could have arrived.
    FLastByte = std::max(FLastByte, at) + static_cast<std::int64_t>(count) * CharacterTime(FFrameBaud);
    FFrame.insert(FFrame.end(), bytes, bytes + count);
    if (FFrame.size() > kMaxFrame)
        FFrame.erase(FFrame.begin(), FFrame.end() - kMaxFrame);
}

std::optional<TSimTime> TSimLine::FrameEnd() const
{
    if (FFrame.empty())
        return std::nullopt;
    return FLastByte + FrameSilence(FFrameBaud);
}

std::vector<TTimedByte> TSimLine::Poll(TSimTime now)
{
    const auto end = FrameEnd();
    if (!end || now < *end)
        return {};
    FLastFrame = std::move(FFrame);
    FFrame.clear();
    // The answer leaves at the rate the sensor had while the request came in; a new rate
    // takes effect only after that echo.
    const TSimTime character = CharacterTime(FFrameBaud);
    std::vector<TTimedByte> out;
    TSimTime at = now;
    for (const TAnswerPiece& piece : FBus.Handle(FLastFrame)) {
        at += std::chrono::milliseconds(piece.GapBeforeMs);
        for (const std::uint8_t byte : piece.Bytes) {
            at += character;
            out.push_back({byte, at});
        }
    }
    return out;
}
