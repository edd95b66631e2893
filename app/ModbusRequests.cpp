// Request layouts: address, function, big-endian 16-bit fields, CRC low byte first.
#include "app/ModbusRequests.h"

#include "app/Crc16.h"


namespace {

class TFrameWriter {
public:
    explicit TFrameWriter(TFrameBuffer& frame) : FFrame(frame) {}
    TFrameWriter& Byte(std::uint8_t value)
    {
        FFrame[FLength++] = value;
        return *this;
    }
    TFrameWriter& Word(std::uint16_t value) { return Byte(static_cast<std::uint8_t>(value >> 8)).Byte(value & 0xFF); }
    size_t Finish()
    {
        const std::uint16_t crc = Crc16(FFrame.data(), FLength);
        Byte(crc & 0xFF);
        Byte(static_cast<std::uint8_t>(crc >> 8));
        return FLength;
    }

private:
    TFrameBuffer& FFrame;
    size_t FLength = 0;
};

size_t Request(TFrameBuffer& frame, std::uint8_t address, std::uint8_t function, std::uint16_t reg, std::uint16_t value)
{
    return TFrameWriter(frame).Byte(address).Byte(function).Word(reg).Word(value).Finish();
}

} // namespace

size_t BuildQueryAddress(TFrameBuffer& frame)
{
    return Request(frame, kAnyAddress, kReadHoldingRegisters, kRegisterAddress, 1);
}

size_t BuildBroadcastAddress1(TFrameBuffer& frame)
{
    return Request(frame, kAnyAddress, kWriteSingleRegister, kRegisterAddress, 1);
}

size_t BuildReadMeasurement(TFrameBuffer& frame, std::uint8_t address)
{
    return Request(frame, address, kReadHoldingRegisters, kRegisterMeasurement, 2);
}

size_t BuildReadSettings(TFrameBuffer& frame, std::uint8_t address)
{
    return Request(frame, address, kReadHoldingRegisters, kRegisterAddress, 2);
}

size_t BuildWriteSettings(TFrameBuffer& frame, std::uint8_t address, int newAddress, int baudCode)
{
    return TFrameWriter(frame)
        .Byte(address)
        .Byte(kWriteMultipleRegisters)
        .Word(kRegisterAddress)
        .Word(2)    // registers
        .Byte(4)    // data bytes
        .Word(static_cast<std::uint16_t>(newAddress))
        .Word(static_cast<std::uint16_t>(baudCode))
        .Finish();
}

size_t BuildAssignAddress(TFrameBuffer& frame, std::uint16_t nextAutoAddress)
{
    return Request(frame, kAssignAddress, kWriteSingleRegister, kRegisterAddress, nextAutoAddress);
}
