// The real program, started as a user starts it: its window appears with its caption and
// the system's ports, and closing the window ends the process cleanly.
#include "tests/win/TestSupport.h"

#include "app/PortList.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/RemoteWindow.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

TEST(Program, ShowsItsWindowAndEndsWhenItIsClosed)
{
    ASSERT_FALSE(ProgramUnderTest().empty()) << "pass the program's path as the first argument";
    TRemoteProgram program(ProgramUnderTest());
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

    // The toolkit's property atom is named after the program's module and GUI thread; it is
    // in the session's table while the program runs and must be gone with it.
    wchar_t atomName[64];
    const auto instance = static_cast<unsigned long long>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
    std::swprintf(atomName, 64, L"ControlOfs%.8llX%.8lX", instance, ::GetWindowThreadProcessId(window, nullptr));
    EXPECT_NE(::GlobalFindAtomW(atomName), 0) << "the program's atom while it runs";

    EXPECT_EQ(program.Close(), 0) << "closing the main window ends the program, and cleanly";
    EXPECT_EQ(::GlobalFindAtomW(atomName), 0) << "the atom went with the program";
}

int main(int argc, char** argv)
{
    return RunProgramTests(argc, argv);
}
