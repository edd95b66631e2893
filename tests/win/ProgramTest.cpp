// The real program, started as a user starts it: its window appears with its caption and
// the system's ports, and closing the window ends the process cleanly.
#include "tests/win/TestSupport.h"

#include "app/PortList.h"
#include "tests/support/MainWindow.h"

#include <commctrl.h>

#include <string>

namespace {

std::wstring gProgram;

// The child of that class whose top-left corner sits at `where` in its parent.
HWND FindChildAt(HWND top, const wchar_t* className, POINT where)
{
    struct Search { const wchar_t* name; POINT where; HWND found; } search{className, where, nullptr};
    ::EnumChildWindows(top, [](HWND hwnd, LPARAM p) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(p);
        wchar_t name[64];
        ::GetClassNameW(hwnd, name, 64);
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
        if (wcscmp(name, s.name) == 0 && r.left == s.where.x && r.top == s.where.y) {
            s.found = hwnd;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class TProgram {
public:
    TProgram()
    {
        std::wstring command = L"\"" + gProgram + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        Started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &FInfo);
    }
    ~TProgram()
    {
        if (!Started)
            return;
        if (::WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(FInfo.hProcess, 99);
        ::CloseHandle(FInfo.hThread);
        ::CloseHandle(FInfo.hProcess);
    }
    HWND WaitForWindow()
    {
        HWND window = nullptr;
        PumpUntil([&] { return (window = FindMainWindow(FInfo.dwProcessId)) != nullptr; }, 20000);
        return window;
    }
    bool WaitForExit(DWORD& code)
    {
        if (::WaitForSingleObject(FInfo.hProcess, 10000) != WAIT_OBJECT_0)
            return false;
        return ::GetExitCodeProcess(FInfo.hProcess, &code) != FALSE;
    }

    BOOL Started = FALSE;

private:
    PROCESS_INFORMATION FInfo{};
};

} // namespace

TEST(Program, ShowsItsWindowAndEndsWhenItIsClosed)
{
    ASSERT_FALSE(gProgram.empty()) << "pass the program's path as the first argument";
    TProgram program;
    ASSERT_TRUE(program.Started);
    const HWND window = program.WaitForWindow();
    ASSERT_NE(window, nullptr);

    wchar_t caption[64];
    ::GetWindowTextW(window, caption, 64);
    EXPECT_STREQ(caption, L"QM27K-测试工具_V1.3");

    // The port box offers the system's ports and shows the last one.
    const auto ports = ReadPortList();
    const HWND portBox = FindChildAt(window, L"TComboBox", {75, 203});
    ASSERT_NE(portBox, nullptr);
    if (!ports.empty()) {
        wchar_t text[32] = L"";
        ::SendMessageW(portBox, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text)); // another process: ask the box
        EXPECT_EQ(std::wstring(text), ports.back());
    }

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 1234;
    ASSERT_TRUE(program.WaitForExit(code)) << "closing the main window ends the program";
    EXPECT_EQ(code, 0u);
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
