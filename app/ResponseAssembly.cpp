// Reassembly and classification of the sensor's answers; the window applies what they mean.
#include "app/ResponseAssembly.h"

#include "app/Crc16.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
constexpr std::uint8_t kReadInputRegisters = 0x04;
} // namespace

bool TReceivedFrame::CrcGood() const noexcept
{
    if (Length < 2)
        return false;
    const size_t body = static_cast<size_t>(Length) - 2;
    const std::uint16_t crc = Crc16(Bytes.data(), body);
    return Bytes[body] == (crc & 0xFF) && Bytes[body + 1] == (crc >> 8);
}

TReceivedFrame TakeInBlock(TFrameBuffer& assemblyBuffer, int& assemblyCount, const std::uint8_t* block,
                           size_t length) noexcept
{
    TReceivedFrame frame;
    const size_t examined = std::min(length, static_cast<size_t>(kMaxFrameLength));
    if (examined != 0)
        std::memcpy(frame.Bytes.data(), block, examined);
    frame.Length = static_cast<int>(examined);
    // A lone byte cannot be told from line noise, so it is not kept.
    if (frame.Length < 2)
        return frame;
    if (frame.CrcGood()) {
        assemblyCount = 0;
        return frame;
    }
    // A count from outside the bounds would let the copy run past the buffer.
    const size_t held = static_cast<size_t>(std::clamp(assemblyCount, 0, kMaxFrameLength));
    if (length + held > static_cast<size_t>(kMaxFrameLength)) {
        assemblyCount = 0;
        return frame;
    }
    std::memcpy(assemblyBuffer.data() + held, block, length);
    assemblyCount = static_cast<int>(held + length);
    frame.Bytes.fill(0);
    std::memcpy(frame.Bytes.data(), assemblyBuffer.data(), static_cast<size_t>(assemblyCount));
    frame.Length = assemblyCount;
    if (frame.Length > 2 && frame.CrcGood())
        assemblyCount = 0;
    return frame;
}

TAnswerClass ClassifyAnswer(const TReceivedFrame& frame, std::uint8_t requestAddress, TPendingRequest pending) noexcept
{
    if (!frame.CrcGood())
        return TAnswerClass::None;
    const std::uint8_t address = frame.Address();
    const std::uint8_t function = frame.Function();
    const bool write = function == kWriteMultipleRegisters || function == kWriteSingleRegister;
    if (function == kReadHoldingRegisters && frame.Length == 7)
        return TAnswerClass::ShortRead;
    if (address == requestAddress && function > 0x80)
        return TAnswerClass::Refusal;
    if (address != 0 && write)
        return TAnswerClass::WriteEcho;
    // During automatic addressing the answering device's address is not known beforehand.
    const bool ours = address == kAnyAddress || address == requestAddress || pending == TPendingRequest::AutoAddress;
    if (ours && (function == kReadHoldingRegisters || function == kReadInputRegisters || function == kWriteSingleRegister))
        return TAnswerClass::ReadAnswer;
    return TAnswerClass::None;
}

std::wstring FormatTenths(int tenths)
{
    const int magnitude = std::abs(tenths);
    std::wstring text = tenths < 0 ? L"-" : L"";
    return text + std::to_wstring(magnitude / 10) + L"." + std::to_wstring(magnitude % 10);
}
