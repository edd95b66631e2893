// The sensor's register map and its Modbus answers, refusals included.
#include "tools/sim/SensorModel.h"

#include "app/Crc16.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, 5> kBaudRates{1200, 2400, 4800, 9600, 19200};
constexpr std::uint8_t kRead = 0x03;
constexpr std::uint8_t kWriteSingle = 0x06;
constexpr std::uint8_t kWriteMultiple = 0x10;
constexpr std::uint8_t kExceptionFlag = 0x80;
constexpr std::uint16_t kMaxReadCount = 125;  // what fits into one answer of 256 bytes
constexpr std::uint16_t kMaxWriteCount = 123;

std::uint16_t Word(const TBytes& frame, size_t at)
{
    return static_cast<std::uint16_t>(frame[at] << 8 | frame[at + 1]);
}

void PutWord(TBytes& frame, std::uint16_t value)
{
    frame.push_back(static_cast<std::uint8_t>(value >> 8));
    frame.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

} // namespace

int BaudRateOfCode(std::uint16_t code)
{
    return code < kBaudRates.size() ? kBaudRates[code] : 0;
}

std::optional<std::uint16_t> BaudCodeOfRate(int baudRate)
{
    const auto it = std::find(kBaudRates.begin(), kBaudRates.end(), baudRate);
    if (it == kBaudRates.end())
        return std::nullopt;
    return static_cast<std::uint16_t>(it - kBaudRates.begin());
}

void AppendCrc(TBytes& frame)
{
    const std::uint16_t crc = Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
}

bool CrcGood(const TBytes& frame)
{
    if (frame.size() < 3)
        return false;
    const size_t n = frame.size() - 2;
    const std::uint16_t crc = Crc16(frame.data(), n);
    return frame[n] == (crc & 0xFF) && frame[n + 1] == (crc >> 8);
}

TSensorModel::TSensorModel(const TSensorSettings& settings, unsigned seed)
    : FTemperature(settings.Temperature), FHumidity(settings.Humidity), FAddress(settings.Address),
      FBaudCode(settings.BaudCode), FBaseTemperature(settings.Temperature), FBaseHumidity(settings.Humidity),
      FDrift(settings.Drift), FRandom(seed ? seed : 1)
{
}

bool TSensorModel::Listens(std::uint8_t address) const
{
    return address == FAddress || address == kAnySensorAddress || address == kBroadcastAddress;
}

std::optional<TBytes> TSensorModel::Answer(const TBytes& request)
{
    FStagedAddress.reset();
    FStagedBaudCode.reset();
    if (request.size() < 4 || !Listens(request[0]))
        return std::nullopt;
    // A request to 0xFF gets this sensor's own address byte back, so the tool learns it.
    FReplyAddress = request[0] == kAnySensorAddress ? FAddress : request[0];
    TBytes answer;
    switch (request[1]) {
    case kRead: answer = ReadAnswer(request); break;
    case kWriteSingle: answer = WriteSingleAnswer(request); break;
    case kWriteMultiple: answer = WriteMultipleAnswer(request); break;
    default: answer = Refusal(request[1], TModbusException::IllegalFunction); break;
    }
    if (request[0] == kBroadcastAddress)
        return std::nullopt; // a broadcast is carried out but never answered
    return answer;
}

void TSensorModel::CommitWrites()
{
    if (FStagedAddress)
        FAddress = *FStagedAddress;
    if (FStagedBaudCode)
        FBaudCode = *FStagedBaudCode;
    FStagedAddress.reset();
    FStagedBaudCode.reset();
}

std::optional<std::uint16_t> TSensorModel::ReadRegister(std::uint16_t reg) const
{
    switch (reg) {
    case kTemperatureRegister: return static_cast<std::uint16_t>(FTemperature);
    case kHumidityRegister: return FHumidity;
    case kAddressRegister: return FAddress;
    case kBaudCodeRegister: return FBaudCode;
    default: return std::nullopt;
    }
}

std::optional<TModbusException> TSensorModel::StageWrite(std::uint16_t reg, std::uint16_t value)
{
    switch (reg) {
    case kAddressRegister:
        if (value < kMinSensorAddress || value > kMaxSensorAddress)
            return TModbusException::IllegalValue;
        FStagedAddress = static_cast<std::uint8_t>(value);
        return std::nullopt;
    case kBaudCodeRegister:
        if (value > kMaxBaudCode)
            return TModbusException::IllegalValue;
        FStagedBaudCode = value;
        return std::nullopt;
    default:
        return TModbusException::IllegalAddress; // the readings cannot be written
    }
}

TBytes TSensorModel::ReadAnswer(const TBytes& request)
{
    if (request.size() != 8)
        return Refusal(request[1], TModbusException::IllegalValue);
    const std::uint16_t start = Word(request, 2);
    const std::uint16_t count = Word(request, 4);
    if (count == 0 || count > kMaxReadCount)
        return Refusal(request[1], TModbusException::IllegalValue);
    if (start <= kHumidityRegister && kHumidityRegister < start + count)
        DriftValues(); // a new reading for each read that covers the measurement
    TBytes answer{FReplyAddress, request[1], static_cast<std::uint8_t>(2 * count)};
    for (std::uint32_t reg = start; reg < std::uint32_t{start} + count; ++reg) {
        const auto value = ReadRegister(static_cast<std::uint16_t>(reg));
        if (!value)
            return Refusal(request[1], TModbusException::IllegalAddress);
        PutWord(answer, *value);
    }
    AppendCrc(answer);
    return answer;
}

TBytes TSensorModel::WriteSingleAnswer(const TBytes& request)
{
    if (request.size() != 8)
        return Refusal(request[1], TModbusException::IllegalValue);
    if (const auto refusal = StageWrite(Word(request, 2), Word(request, 4))) {
        FStagedAddress.reset();
        FStagedBaudCode.reset();
        return Refusal(request[1], *refusal);
    }
    TBytes answer(request.begin(), request.end() - 2); // the echo
    answer[0] = FReplyAddress;
    AppendCrc(answer);
    return answer;
}

TBytes TSensorModel::WriteMultipleAnswer(const TBytes& request)
{
    if (request.size() < 9)
        return Refusal(request[1], TModbusException::IllegalValue);
    const std::uint16_t start = Word(request, 2);
    const std::uint16_t count = Word(request, 4);
    const size_t byteCount = request[6];
    if (count == 0 || count > kMaxWriteCount || byteCount != 2u * count || request.size() != 9 + byteCount)
        return Refusal(request[1], TModbusException::IllegalValue);
    // All or nothing: one bad register or value and no register changes.
    for (std::uint32_t i = 0; i < count; ++i) {
        if (const auto refusal = StageWrite(static_cast<std::uint16_t>(start + i), Word(request, 7 + 2 * i))) {
            FStagedAddress.reset();
            FStagedBaudCode.reset();
            return Refusal(request[1], *refusal);
        }
    }
    TBytes answer{FReplyAddress, request[1]};
    PutWord(answer, start);
    PutWord(answer, count);
    AppendCrc(answer);
    return answer;
}

TBytes TSensorModel::Refusal(std::uint8_t function, TModbusException code) const
{
    TBytes answer{FReplyAddress, static_cast<std::uint8_t>(function | kExceptionFlag), static_cast<std::uint8_t>(code)};
    AppendCrc(answer);
    return answer;
}

void TSensorModel::DriftValues()
{
    if (FDrift == 0)
        return;
    // A bounded random walk: readings move like a real room's, but never far from the start.
    const auto step = [this] {
        FRandom = FRandom * 1103515245u + 12345u;
        return static_cast<int>((FRandom >> 16) % 3) - 1;
    };
    const int span = 50 * FDrift;
    const int t = std::clamp(FTemperature + step() * FDrift, FBaseTemperature - span, FBaseTemperature + span);
    const int h = std::clamp(FHumidity + step() * FDrift, std::max(0, FBaseHumidity - span),
                             std::min(65535, FBaseHumidity + span));
    FTemperature = static_cast<std::int16_t>(std::clamp(t, -32768, 32767));
    FHumidity = static_cast<std::uint16_t>(h);
}
