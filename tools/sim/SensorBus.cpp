// Several sensors behind one line: who answers, the order they are plugged in, the faults.
#include "tools/sim/SensorBus.h"

#include <algorithm>
#include <utility>

TSensorBus::TSensorBus(const TSensorSettings& settings, size_t count, const TFaultPlan& faults)
    : FFaults(faults), FBaudRate(BaudRateOfCode(settings.BaudCode))
{
    for (size_t i = 0; i < std::max<size_t>(count, 1); ++i)
        FSensors.emplace_back(settings, static_cast<unsigned>(i + 1));
}

std::vector<TAnswerPiece> TSensorBus::Handle(const TBytes& frame)
{
    ++FStats.Frames;
    if (!CrcGood(frame)) {
        ++FStats.BadFrames;
        return {};
    }
    ++FStats.Requests;
    if (FFaults.SilentAfter != 0 && FStats.Answers >= FFaults.SilentAfter) {
        ++FStats.Silenced;
        return {};
    }
    if (Due(FFaults.DropEvery, FStats.Requests)) {
        ++FStats.Dropped;
        return {};
    }
    auto answer = AnswerOfSensors(frame);
    if (!answer)
        return {};
    return Shape(std::move(*answer));
}

std::optional<TBytes> TSensorBus::AnswerOfSensors(const TBytes& request)
{
    // Every plugged sensor that listens carries the request out; on a real line several
    // answers at once would collide, so only the first plugged one is heard.
    std::optional<TBytes> heard;
    std::optional<size_t> speaker;
    for (size_t i = 0; i < FPlugged; ++i) {
        auto answer = FSensors[i].Answer(request);
        if (answer && !heard) {
            heard = std::move(answer);
            speaker = i;
        }
    }
    for (size_t i = 0; i < FPlugged; ++i)
        FSensors[i].CommitWrites();
    if (speaker)
        FBaudRate = BaudRateOfCode(FSensors[*speaker].BaudCode());
    // The newest sensor left address 1: the next one may now be plugged in.
    if (FPlugged < FSensors.size() && FSensors[FPlugged - 1].Address() != kMinSensorAddress)
        ++FPlugged;
    return heard;
}

std::vector<TAnswerPiece> TSensorBus::Shape(TBytes answer)
{
    const unsigned n = ++FStats.Answers;
    if (Due(FFaults.CorruptEvery, n)) {
        answer.back() ^= 0x5A;
        ++FStats.Corrupted;
    }
    std::vector<TAnswerPiece> pieces;
    const int delay = Due(FFaults.DelayEvery, n) ? FFaults.DelayMs : 0;
    if (Due(FFaults.NoiseEvery, n)) {
        TBytes noise;
        for (unsigned i = 0; i < FFaults.NoiseBytes; ++i)
            noise.push_back(static_cast<std::uint8_t>(0xA5 ^ (i * 0x3D) ^ n));
        pieces.push_back({delay, std::move(noise)});
        pieces.push_back({FFaults.NoiseGapMs, std::move(answer)});
    } else {
        pieces.push_back({delay, std::move(answer)});
    }
    if (Due(FFaults.SplitEvery, n) && pieces.back().Bytes.size() > 1) {
        TBytes& whole = pieces.back().Bytes;
        const auto half = static_cast<std::ptrdiff_t>(whole.size() / 2);
        TBytes second(whole.begin() + half, whole.end());
        whole.resize(static_cast<size_t>(half));
        pieces.push_back({FFaults.SplitGapMs, std::move(second)});
    }
    return pieces;
}
