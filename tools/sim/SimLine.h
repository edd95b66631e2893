// The line side of the simulator: frames cut from the byte stream by the Modbus inter-frame
// silence, and answers paced byte by byte at the line's rate.
#pragma once

#include "tools/sim/SensorBus.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

using TSimTime = std::chrono::microseconds; // since any fixed moment

// One character on the line: start bit, 8 data bits, stop bit.
constexpr int kBitsPerCharacter = 10;

constexpr TSimTime CharacterTime(int baudRate)
{
    return TSimTime{std::int64_t{kBitsPerCharacter} * 1'000'000 / baudRate};
}

// 3.5 character times: the silence that ends a Modbus RTU frame.
constexpr TSimTime FrameSilence(int baudRate)
{
    return TSimTime{std::int64_t{kBitsPerCharacter} * 3'500'000 / baudRate};
}

// A byte and the moment its stop bit ends, which is when the far end has it.
struct TTimedByte {
    std::uint8_t Value;
    TSimTime At;
};

class TSimLine {
public:
    explicit TSimLine(TSensorBus& bus) : FBus(bus) {}

    // Bytes taken off the line at `at` (a pseudo-terminal hands several at one moment; they
    // count as arriving one character time apart).
    void Receive(const std::uint8_t* bytes, size_t count, TSimTime at);
    // When the frame being received is complete, if one is.
    std::optional<TSimTime> FrameEnd() const;
    // At or after FrameEnd: hands the frame to the sensors and returns their answer, each
    // byte with its moment; empty when the frame is not complete yet or nothing answers.
    std::vector<TTimedByte> Poll(TSimTime now);

    // The last frame taken off the line, for the log.
    const TBytes& LastFrame() const { return FLastFrame; }

private:
    TSensorBus& FBus;
    TBytes FFrame;
    TBytes FLastFrame;
    TSimTime FLastByte{}; // when the last byte of the frame in progress is in, on a wire
    int FFrameBaud = 0; // the rate the frame in progress is received at
};
