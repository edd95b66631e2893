// Tests of the real program take its path as their first argument; this keeps it for them.
#pragma once

#include <gtest/gtest.h>

#include <string>

// The program the test starts, as given on the command line; empty when none was given.
inline std::wstring& ProgramUnderTest()
{
    static std::wstring path;
    return path;
}

// The test program's main: gtest's flags, then the program's path.
inline int RunProgramTests(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) {
        const std::string path = argv[1];
        ProgramUnderTest().assign(path.begin(), path.end());
    }
    return RUN_ALL_TESTS();
}
