// Starts the program, measures the time until its main window has been painted once, then
// its CPU use and handle count while it sits idle, and closes it again.
#include "tests/support/MainWindow.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

double Seconds(const FILETIME& t)
{
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<double>(v.QuadPart) / 1e7;
}

double CpuSeconds(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return Seconds(kernel) + Seconds(user);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: StartupBench PATH\\QM27K.exe [idle seconds]\n");
        return 2;
    }
    const int idleSeconds = argc > 2 ? _wtoi(argv[2]) : 10;
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    const auto start = std::chrono::steady_clock::now();
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        std::fprintf(stderr, "StartupBench: cannot start the program (error %lu)\n", ::GetLastError());
        return 1;
    }

    // Visible, then idle: the first WM_PAINT has been handled once the loop waits for input.
    HWND window = nullptr;
    while (!(window = FindMainWindow(info.dwProcessId))) {
        if (::WaitForSingleObject(info.hProcess, 5) != WAIT_TIMEOUT ||
            std::chrono::steady_clock::now() - start > std::chrono::seconds(30)) {
            std::fprintf(stderr, "StartupBench: no main window\n");
            return 1;
        }
    }
    ::WaitForInputIdle(info.hProcess, 10000);
    ::UpdateWindow(window);
    const double startupMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

    std::printf("startup to first paint: %.0f ms\n", startupMs);

    // Some systems (Wine among them) report no times or handles of another process:
    // say so rather than print zeros.
    DWORD handlesAtStart = 0;
    ::GetProcessHandleCount(info.hProcess, &handlesAtStart);
    const double cpuBefore = CpuSeconds(info.hProcess);
    const auto idleStart = std::chrono::steady_clock::now();
    ::Sleep(static_cast<DWORD>(idleSeconds) * 1000);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - idleStart).count();
    const double cpuAfter = CpuSeconds(info.hProcess);
    DWORD handlesAfter = 0;
    ::GetProcessHandleCount(info.hProcess, &handlesAfter);
    if (cpuAfter > 0)
        std::printf("idle CPU over %.1f s: %.3f s (%.2f %% of one core)\n", wall, cpuAfter - cpuBefore,
                    100.0 * (cpuAfter - cpuBefore) / wall);
    else
        std::printf("idle CPU: not reported by this system for another process\n");
    if (handlesAtStart > 0)
        std::printf("handles: %lu after start, %lu after idling\n", handlesAtStart, handlesAfter);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(info.hProcess, 1);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return 0;
}
