// qm27k-sim: serves simulated QM27K sensors on a serial device until asked to stop.
#include "tools/sim/SimOptions.h"
#include "tools/sim/SteadyClock.h"

#include <cstdio>
#include <fstream>
#include <iostream>

namespace {

std::atomic<bool> gStop{false};

void WriteStats(const std::string& path, const TSimStats& stats)
{
    // Written whole and renamed into place, so a reader never sees half a line.
    const std::string temporary = path + ".new";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << FormatStats(stats);
        if (!file)
            return;
    }
    std::rename(temporary.c_str(), path.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    TSimOptions options;
    try {
        options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const ESimOptionError& error) {
        std::cerr << "qm27k-sim: " << error.what() << "\n" << kSimUsage;
        return 2;
    }
    if (options.Help) {
        std::cout << kSimUsage;
        return 0;
    }
    InstallStopHandlers(gStop);
    try {
        TSteadyClock clock;
        const auto port = OpenSimPort(options.Device, BaudRateOfCode(options.Sensor.BaudCode), clock);
        TSensorBus bus(options.Sensor, options.Sensors, options.Faults);
        TSimServer server(bus, *port, clock, options.Verbose ? &std::cerr : nullptr);
        if (!options.StatsFile.empty()) {
            WriteStats(options.StatsFile, bus.Stats());
            server.OnFrame = [&](const TSimStats& stats) { WriteStats(options.StatsFile, stats); };
        }
        if (options.Verbose)
            std::cerr << "qm27k-sim: " << options.Sensors << " sensor(s) on " << options.Device << " at "
                      << bus.BaudRate() << " baud\n";
        if (!server.Run(gStop)) {
            std::cerr << "qm27k-sim: the line " << options.Device << " failed\n";
            return 1;
        }
    } catch (const ESimPortError& error) {
        std::cerr << "qm27k-sim: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
