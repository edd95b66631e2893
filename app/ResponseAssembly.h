// What the sensor sent back: joining the blocks of the line into a frame, checking it and
// sorting it into the answer it is, without touching the window.
#pragma once

#include "app/ModbusRequests.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The largest frame the tool examines; the assembly never holds more.
constexpr int kMaxFrameLength = 255;

// The frame under examination: its bytes from index 0, zero beyond Length.
struct TReceivedFrame {
    TFrameBuffer Bytes{};
    int Length = 0;

    // The last two bytes are the CRC-16 of those before them, low byte first.
    bool CrcGood() const noexcept;
    std::uint8_t Address() const noexcept { return Bytes[0]; }
    std::uint8_t Function() const noexcept { return Bytes[1]; }
    // Register fields behind "address, function, byte count", high byte first.
    std::uint16_t FirstRegister() const noexcept { return Word(3); }
    std::uint16_t SecondRegister() const noexcept { return Word(5); }

    // What the answers carry in those registers.
    std::uint16_t DeviceAddress() const noexcept { return FirstRegister(); }
    int TemperatureTenths() const noexcept { return static_cast<std::int16_t>(FirstRegister()); }
    int HumidityTenths() const noexcept { return SecondRegister(); }
    // Only the low byte of the second register names a rate.
    int BaudCode() const noexcept { return Bytes[6]; }

private:
    std::uint16_t Word(size_t at) const noexcept
    {
        return static_cast<std::uint16_t>(Bytes[at] << 8 | Bytes[at + 1]);
    }
};

// Takes in one block as it came off the line; assemblyBuffer and assemblyCount carry the
// pieces of an answer from one block to the next, never more than kMaxFrameLength bytes. A block that checks on its own is a whole
// frame and drops older pieces; one that does not is appended to them, unless together they
// would not fit, in which case the pieces go and the block alone is examined. Blocks of one
// byte take no part. Only the first kMaxFrameLength bytes of a longer block are looked at.
TReceivedFrame TakeInBlock(TFrameBuffer& assemblyBuffer, int& assemblyCount, const std::uint8_t* block,
                           size_t length) noexcept;

// The answers the window understands, tried in this order.
enum class TAnswerClass {
    None,       // dropped without a trace
    ShortRead,  // 7-byte read answer, from any address: the address query's
    Refusal,    // the addressed device refused the request
    WriteEcho,  // a write was carried out
    ReadAnswer, // the registers asked for
};

TAnswerClass ClassifyAnswer(const TReceivedFrame& frame, std::uint8_t requestAddress, TPendingRequest pending) noexcept;

// Tenths as the reading fields show them: -10 gives "-1.0", 253 gives "25.3".
std::wstring FormatTenths(int tenths);
