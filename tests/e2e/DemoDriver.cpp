// Works the running program for the demo when nobody can: "read PORT" chooses the port,
// clicks Connect and Read and prints the reading the window shows; "close" closes the
// window and waits until the program has ended.
#include "tests/support/RemoteWindow.h"

#include <cstdio>
#include <string>

namespace {

const wchar_t* const kCaption = L"QM27K-测试工具_V1.3";

int Fail(const char* what)
{
    std::fprintf(stderr, "demo driver: %s\n", what);
    return 1;
}

HWND WaitForProgramWindow()
{
    HWND window = nullptr;
    PumpUntil([&] { return (window = ::FindWindowW(L"TForm1", kCaption)) != nullptr && ::IsWindowVisible(window); },
              30000);
    return window;
}

int ConnectAndRead(const std::wstring& port)
{
    const HWND window = WaitForProgramWindow();
    if (!window)
        return Fail("the program's window did not appear within 30 s");
    const TRemoteForm1 form(window);
    if (!form.Complete())
        return Fail("the window lacks some of its controls");
    RemoteSetText(form.ComboBox5, port);
    RemoteClick(form.BitBtn1);
    if (!PumpUntil([&] { return form.Panel(kRemotePortPanel) == L"打开"; }, 5000))
        return Fail("Connect did not open the port");
    RemoteClick(form.BitBtn2);
    if (!PumpUntil([&] { return form.Panel(kRemoteCommPanel) == L"正常"; }, 5000))
        return Fail(("no reading; the status bar says " + Utf8(form.Panel(kRemoteCommPanel))).c_str());
    std::printf("demo: reading %s \xE2\x84\x83  %s rh%%\n", Utf8(RemoteText(form.LabeledEdit1)).c_str(),
                Utf8(RemoteText(form.LabeledEdit2)).c_str());
    return 0;
}

int Close()
{
    const HWND window = ::FindWindowW(L"TForm1", kCaption);
    if (!window)
        return 0;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    const bool ended = process && ::WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    if (process)
        ::CloseHandle(process);
    return ended ? 0 : Fail("the program did not end after its window was closed");
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"read" && argc == 3)
        return ConnectAndRead(argv[2]);
    if (mode == L"close" && argc == 2)
        return Close();
    std::fprintf(stderr, "usage: DemoDriver read COMn | close\n");
    return 2;
}
