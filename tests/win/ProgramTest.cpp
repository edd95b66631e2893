// The real program, started as a user starts it: its window appears with its caption and
// the system's ports, and closing the window ends the process cleanly.
#include "tests/win/TestSupport.h"

#include "app/PortList.h"
#include "tests/support/RemoteWindow.h"

#include <commctrl.h>

#include <string>

namespace {

std::wstring gProgram;

} // namespace

TEST(Program, ShowsItsWindowAndEndsWhenItIsClosed)
{
    ASSERT_FALSE(gProgram.empty()) << "pass the program's path as the first argument";
    TRemoteProgram program(gProgram);
    ASSERT_TRUE(program.Started());
    const HWND window = program.WaitForWindow();
    ASSERT_NE(window, nullptr);

    wchar_t caption[64];
    ::GetWindowTextW(window, caption, 64);
    EXPECT_STREQ(caption, L"QM27K-测试工具_V1.3");

    // The port box offers the system's ports and shows the last one.
    const auto ports = ReadPortList();
    const HWND portBox = FindControlAt(window, L"TComboBox", {75, 203});
    ASSERT_NE(portBox, nullptr);
    if (!ports.empty()) {
        EXPECT_EQ(RemoteText(portBox), ports.back());
    }

    EXPECT_EQ(program.Close(), 0) << "closing the main window ends the program, and cleanly";
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) {
        const std::string path = argv[1];
        gProgram.assign(path.begin(), path.end());
    }
    return RUN_ALL_TESTS();
}
