// One simulated QM27K sensor: its four registers and its answers to Modbus RTU requests.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

// Modbus exception codes a sensor gives when it refuses a request.
enum class TModbusException : std::uint8_t { IllegalFunction = 0x01, IllegalAddress = 0x02, IllegalValue = 0x03 };

constexpr std::uint8_t kBroadcastAddress = 0x00; // written by every sensor, answered by none
constexpr std::uint8_t kAnySensorAddress = 0xFF; // answered by a sensor with its own address byte
constexpr std::uint8_t kMinSensorAddress = 1;
constexpr std::uint8_t kMaxSensorAddress = 247;
constexpr std::uint16_t kMaxBaudCode = 4;
constexpr std::uint16_t kTemperatureRegister = 0x0000;
constexpr std::uint16_t kHumidityRegister = 0x0001;
constexpr std::uint16_t kAddressRegister = 0x0064;
constexpr std::uint16_t kBaudCodeRegister = 0x0065;

// The line rate of a baud code: 0 = 1200 ... 4 = 19200.
int BaudRateOfCode(std::uint16_t code);
// The code of a line rate, or nothing for a rate the sensor does not offer.
std::optional<std::uint16_t> BaudCodeOfRate(int baudRate);

// Appends the CRC-16 (low byte first) to a frame.
void AppendCrc(TBytes& frame);
// True when the frame is at least 3 bytes and its last two are the CRC of the rest.
bool CrcGood(const TBytes& frame);

struct TSensorSettings {
    std::int16_t Temperature = 253; // tenths of a degree Celsius
    std::uint16_t Humidity = 456;   // tenths of a percent
    std::uint8_t Address = 1;
    std::uint16_t BaudCode = 3;
    // Step of the random walk each measurement read takes (tenths; 0 keeps the values still).
    int Drift = 0;
};

class TSensorModel {
public:
    explicit TSensorModel(const TSensorSettings& settings = {}, unsigned seed = 1);

    // Whether a request to this slave address is meant for this sensor.
    bool Listens(std::uint8_t address) const;
    // The answer to a request frame whose CRC already checked, or nothing when the sensor
    // keeps silent (a broadcast, another slave address). Writes take effect after this call
    // returns, so the echo still leaves on the old address and rate; CommitWrites applies them.
    std::optional<TBytes> Answer(const TBytes& request);
    // Applies the address and baud code written by the request just answered.
    void CommitWrites();

    std::uint8_t Address() const { return FAddress; }
    std::uint16_t BaudCode() const { return FBaudCode; }
    std::int16_t Temperature() const { return FTemperature; }
    std::uint16_t Humidity() const { return FHumidity; }

private:
    std::optional<std::uint16_t> ReadRegister(std::uint16_t reg) const;
    // Checks one write and keeps its value for CommitWrites; the refusal if it is bad.
    std::optional<TModbusException> StageWrite(std::uint16_t reg, std::uint16_t value);
    TBytes ReadAnswer(const TBytes& request);
    TBytes WriteSingleAnswer(const TBytes& request);
    TBytes WriteMultipleAnswer(const TBytes& request);
    TBytes Refusal(std::uint8_t function, TModbusException code) const;
    void DriftValues();

    std::int16_t FTemperature;
    std::uint16_t FHumidity;
    std::uint8_t FAddress;
    std::uint16_t FBaudCode;
    const std::int16_t FBaseTemperature;
    const std::uint16_t FBaseHumidity;
    const int FDrift;
    unsigned FRandom;
    std::uint8_t FReplyAddress = 0; // the address byte the answer being built carries
    std::optional<std::uint8_t> FStagedAddress;
    std::optional<std::uint16_t> FStagedBaudCode;
};
