// The sensors on one line, the faults the line injects into their answers, and its counts.
#pragma once

#include "tools/sim/SensorModel.h"

#include <cstddef>
#include <vector>

// Each period N means "every Nth"; 0 switches that fault off.
struct TFaultPlan {
    unsigned DropEvery = 0;    // every Nth request is lost: not carried out, not answered
    unsigned SplitEvery = 0;   // every Nth answer leaves in two halves ...
    int SplitGapMs = 50;       // ... with this much silence between them
    unsigned NoiseEvery = 0;   // every Nth answer is preceded by noise bytes ...
    unsigned NoiseBytes = 3;
    int NoiseGapMs = 50;       // ... and this much silence before the answer
    unsigned CorruptEvery = 0; // every Nth answer carries a wrong CRC
    unsigned DelayEvery = 0;   // every Nth answer waits DelayMs longer
    int DelayMs = 0;
    unsigned SilentAfter = 0;  // after N answers the line keeps silent for good
};

struct TSimStats {
    unsigned Frames = 0;     // frames taken off the line, whatever their CRC
    unsigned BadFrames = 0;  // frames dropped for their CRC or length
    unsigned Requests = 0;   // frames with a good CRC
    unsigned Dropped = 0;    // requests lost by the drop fault
    unsigned Silenced = 0;   // requests ignored once the line went silent
    unsigned Answers = 0;    // answers sent, refusals and corrupted ones included
    unsigned Corrupted = 0;  // answers sent with a wrong CRC
};

// One answer as it goes on the line: pieces, each after a silence of its own.
struct TAnswerPiece {
    int GapBeforeMs = 0;
    TBytes Bytes;
};

class TSensorBus {
public:
    // `count` sensors alike but for their seeds. With more than one, they are plugged in one
    // at a time: the next comes (at address 1) once the last one plugged took another address.
    TSensorBus(const TSensorSettings& settings, size_t count = 1, const TFaultPlan& faults = {});

    // What the line carries back for a frame taken off it; empty when nothing answers.
    std::vector<TAnswerPiece> Handle(const TBytes& frame);

    // The rate of the sensor that spoke last (its new rate once its echo has left).
    int BaudRate() const { return FBaudRate; }
    const TSimStats& Stats() const { return FStats; }
    size_t Plugged() const { return FPlugged; }
    const TSensorModel& Sensor(size_t index) const { return FSensors.at(index); }

private:
    std::optional<TBytes> AnswerOfSensors(const TBytes& request);
    std::vector<TAnswerPiece> Shape(TBytes answer);
    static bool Due(unsigned every, unsigned count) { return every != 0 && count % every == 0; }

    std::vector<TSensorModel> FSensors;
    size_t FPlugged = 1;
    const TFaultPlan FFaults;
    TSimStats FStats;
    int FBaudRate;
};
