// What the end-to-end run puts behind each of the rig's lines; with-simulators.sh starts the
// simulators from the same list, in the same order of QM27K_PORT_PAIRS.
#pragma once

// Line 1: one sensor at address 5.
constexpr int kE2eAddressedLine = 0;
constexpr int kE2eSensorAddress = 5;
// Line 2: one sensor that loses every third request, splits every fourth answer, puts noise
// before every fifth, corrupts the seventh and keeps silent after twelve answers.
constexpr int kE2eFaultyLine = 1;
constexpr unsigned kE2eSilentAfter = 12;
constexpr unsigned kE2eCorruptEvery = 7;
// Line 3: one sensor at address 1 for the settings write.
constexpr int kE2eSettingsLine = 2;
// Line 4: three sensors plugged in one after another, for automatic addressing.
constexpr int kE2eAddressingLine = 3;
constexpr int kE2eSensorsToAddress = 3;
