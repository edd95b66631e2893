// The simulator's command line.
#pragma once

#include "tools/sim/SensorBus.h"

#include <stdexcept>
#include <string>
#include <vector>

class ESimOptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TSimOptions {
    std::string Device;
    TSensorSettings Sensor;
    size_t Sensors = 1;
    TFaultPlan Faults;
    std::string StatsFile; // rewritten after every frame, for tests that count
    bool Verbose = false;
    bool Help = false;
};

extern const char* const kSimUsage;

// Throws ESimOptionError naming the option and what is wrong with it.
TSimOptions ParseSimOptions(const std::vector<std::string>& args);

// The counts as one line of name=value pairs (the stats file's contents).
std::string FormatStats(const TSimStats& stats);
