// Options of qm27k-sim: readings, line, sensors and faults.
#include "tools/sim/SimOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

const char* const kSimUsage =
    "usage: qm27k-sim DEVICE [options]\n"
    "Plays QM27K sensors (Modbus RTU) on a serial device or pseudo-terminal.\n"
    "  --temperature C     reading in degrees Celsius, one decimal (default 25.3)\n"
    "  --humidity RH       relative humidity in percent, one decimal (default 45.6)\n"
    "  --drift D           readings wander by up to D per read (default 0: still)\n"
    "  --baud RATE         1200, 2400, 4800, 9600 or 19200 (default 9600)\n"
    "  --address A         bus address 1..247 (default 1)\n"
    "  --sensors N         N sensors plugged in one after another for addressing (default 1)\n"
    "  --drop-every N      no answer to every Nth request\n"
    "  --split-every N     every Nth answer in two halves ...\n"
    "  --split-gap MS      ... with MS of silence between them (default 50)\n"
    "  --noise-every N     noise bytes before every Nth answer ...\n"
    "  --noise-bytes K     ... K of them (default 3) ...\n"
    "  --noise-gap MS      ... then MS of silence (default 50)\n"
    "  --corrupt-every N   every Nth answer with a wrong CRC\n"
    "  --delay MS          answers wait MS longer ...\n"
    "  --delay-every N     ... every Nth of them (default every one)\n"
    "  --silent-after N    no answers at all after the Nth\n"
    "  --stats FILE        write the counts to FILE after every frame\n"
    "  --verbose           log every frame to stderr\n";

namespace {

long Integer(const std::string& option, const std::string& text, long low, long high)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || value < low || value > high)
        throw ESimOptionError(option + ": '" + text + "' is not a whole number from " + std::to_string(low) +
                              " to " + std::to_string(high));
    return value;
}

// A reading with at most one decimal, as tenths.
long Tenths(const std::string& option, const std::string& text, long low, long high)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    const double tenths = std::round(value * 10);
    if (text.empty() || *end != '\0' || !std::isfinite(value) || tenths < low || tenths > high)
        throw ESimOptionError(option + ": '" + text + "' is not a number from " + std::to_string(low / 10.0) +
                              " to " + std::to_string(high / 10.0));
    return static_cast<long>(tenths);
}

unsigned Count(const std::string& option, const std::string& text)
{
    return static_cast<unsigned>(Integer(option, text, 1, 1'000'000));
}

int Milliseconds(const std::string& option, const std::string& text)
{
    return static_cast<int>(Integer(option, text, 0, 60'000));
}

} // namespace

TSimOptions ParseSimOptions(const std::vector<std::string>& args)
{
    TSimOptions o;
    bool delayEveryGiven = false;
    using TSetter = std::function<void(const std::string& option, const std::string& value)>;
    const std::map<std::string, TSetter> withValue{
        {"--temperature", [&](auto& n, auto& v) { o.Sensor.Temperature = static_cast<std::int16_t>(Tenths(n, v, -32768, 32767)); }},
        {"--humidity", [&](auto& n, auto& v) { o.Sensor.Humidity = static_cast<std::uint16_t>(Tenths(n, v, 0, 65535)); }},
        {"--drift", [&](auto& n, auto& v) { o.Sensor.Drift = static_cast<int>(Tenths(n, v, 0, 100)); }},
        {"--baud", [&](auto& n, auto& v) {
             const auto code = BaudCodeOfRate(static_cast<int>(Integer(n, v, 0, 1'000'000)));
             if (!code)
                 throw ESimOptionError(n + ": '" + v + "' is not one of 1200, 2400, 4800, 9600, 19200");
             o.Sensor.BaudCode = *code;
         }},
        {"--address", [&](auto& n, auto& v) { o.Sensor.Address = static_cast<std::uint8_t>(Integer(n, v, kMinSensorAddress, kMaxSensorAddress)); }},
        {"--sensors", [&](auto& n, auto& v) { o.Sensors = static_cast<size_t>(Integer(n, v, 1, 247)); }},
        {"--drop-every", [&](auto& n, auto& v) { o.Faults.DropEvery = Count(n, v); }},
        {"--split-every", [&](auto& n, auto& v) { o.Faults.SplitEvery = Count(n, v); }},
        {"--split-gap", [&](auto& n, auto& v) { o.Faults.SplitGapMs = Milliseconds(n, v); }},
        {"--noise-every", [&](auto& n, auto& v) { o.Faults.NoiseEvery = Count(n, v); }},
        {"--noise-bytes", [&](auto& n, auto& v) { o.Faults.NoiseBytes = static_cast<unsigned>(Integer(n, v, 1, 255)); }},
        {"--noise-gap", [&](auto& n, auto& v) { o.Faults.NoiseGapMs = Milliseconds(n, v); }},
        {"--corrupt-every", [&](auto& n, auto& v) { o.Faults.CorruptEvery = Count(n, v); }},
        {"--delay", [&](auto& n, auto& v) { o.Faults.DelayMs = Milliseconds(n, v); }},
        {"--delay-every", [&](auto& n, auto& v) { o.Faults.DelayEvery = Count(n, v); delayEveryGiven = true; }},
        {"--silent-after", [&](auto& n, auto& v) { o.Faults.SilentAfter = Count(n, v); }},
        {"--stats", [&](auto&, auto& v) { o.StatsFile = v; }},
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            o.Help = true;
            return o;
        }
        if (arg == "--verbose" || arg == "-v") {
            o.Verbose = true;
            continue;
        }
        std::string name = arg, value;
        bool hasValue = false;
        if (const size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            hasValue = true;
        }
        if (const auto it = withValue.find(name); it != withValue.end()) {
            if (!hasValue) {
                if (i + 1 >= args.size())
                    throw ESimOptionError(name + " needs a value");
                value = args[++i];
            }
            it->second(name, value);
        } else if (!arg.empty() && arg[0] == '-') {
            throw ESimOptionError("unknown option " + arg);
        } else if (o.Device.empty()) {
            o.Device = arg;
        } else {
            throw ESimOptionError("one device only, got '" + o.Device + "' and '" + arg + "'");
        }
    }
    if (o.Device.empty())
        throw ESimOptionError("no device given");
    if (o.Faults.DelayMs > 0 && !delayEveryGiven)
        o.Faults.DelayEvery = 1;
    if (o.Sensors > 1 && o.Sensor.Address != kMinSensorAddress)
        throw ESimOptionError("--sensors: sensors for automatic addressing start at address 1");
    return o;
}

std::string FormatStats(const TSimStats& s)
{
    return "frames=" + std::to_string(s.Frames) + " bad=" + std::to_string(s.BadFrames) +
           " requests=" + std::to_string(s.Requests) + " dropped=" + std::to_string(s.Dropped) +
           " silenced=" + std::to_string(s.Silenced) + " answers=" + std::to_string(s.Answers) +
           " corrupted=" + std::to_string(s.Corrupted) + "\n";
}
