// The real program through many lost lines: each cycle connects on the rig's last line, reads
// once, has the line dropped at its far end, waits for "error" and disconnects. Its handles,
// windows and memory, seen from outside, after the first cycles and at the end, show whether
// a lost line leaves anything behind. A bench rather than a test: a hundred cycles take minutes.
//   HangupSoakBench PROGRAM.exe [CYCLES]   (run through tests/rig/wine-run)
#include "tests/support/FarEndSensor.h"
#include "tests/support/RemoteWindow.h"
#include "tests/support/RigLineDrop.h"
#include "tests/support/RigLines.h"

#include <windows.h>
#define PSAPI_VERSION 2
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using TClock = std::chrono::steady_clock;

// GetProcessHandleCount answers 0 under Wine, so each handle value the process could hold is
// tried by duplicating it; a copy made is a handle held.
size_t HandleCount(HANDLE process)
{
    size_t count = 0;
    for (uintptr_t value = 4; value < (1u << 14); value += 4) {
        HANDLE copy = nullptr;
        if (::DuplicateHandle(process, reinterpret_cast<HANDLE>(value), ::GetCurrentProcess(), &copy, 0, FALSE,
                              DUPLICATE_SAME_ACCESS)) {
            ::CloseHandle(copy);
            ++count;
        }
    }
    return count;
}

// Windows of the process: top-level ones with their children, and message-only ones (the
// serial component's notify window, the timers).
size_t WindowCount(DWORD processId)
{
    struct TCount { DWORD ProcessId; size_t Windows; } count{processId, 0};
    const auto countChildren = [](HWND, LPARAM p) -> BOOL {
        ++reinterpret_cast<TCount*>(p)->Windows;
        return TRUE;
    };
    for (const HWND parent : {HWND{nullptr}, HWND_MESSAGE}) {
        HWND window = nullptr;
        while ((window = ::FindWindowExW(parent, window, nullptr, nullptr)) != nullptr) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner != processId)
                continue;
            ++count.Windows;
            ::EnumChildWindows(window, countChildren, reinterpret_cast<LPARAM>(&count));
        }
    }
    return count.Windows;
}

struct TSample {
    size_t Handles = 0, Windows = 0;
    double PrivateMb = -1, WorkingSetMb = -1;
};

TSample Measure(const TRemoteProgram& program)
{
    TSample s;
    s.Handles = HandleCount(program.Process());
    s.Windows = WindowCount(program.ProcessId());
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (::K32GetProcessMemoryInfo(program.Process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                  sizeof counters)) {
        s.PrivateMb = static_cast<double>(counters.PrivateUsage) / (1024.0 * 1024.0);
        s.WorkingSetMb = static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
    }
    return s;
}

void Print(const char* when, const TSample& s)
{
    std::printf("%-22s handles %4zu  windows %3zu  private %7.2f MB  working set %7.2f MB\n", when, s.Handles,
                s.Windows, s.PrivateMb, s.WorkingSetMb);
}

// One lost line, from Connect to Disconnect; false, with the step named, when the program
// does not behave.
bool Cycle(TRemoteForm1& form, const TPortPair& pair, const char*& failedStep)
{
    const auto step = [&](const char* name, bool ok) {
        if (!ok)
            failedStep = name;
        return ok;
    };
    auto sensor = std::make_unique<TFarEndSensor>(pair.Device);
    if (!step("connect", RemoteClick(form.BitBtn1) &&
                             PumpUntil([&] { return form.Panel(kRemotePortPanel) == L"打开"; })))
        return false;
    if (!step("read", RemoteSetText(form.LabeledEdit1, L"") && RemoteClick(form.BitBtn2) &&
                          PumpUntil([&] { return RemoteText(form.LabeledEdit1) == L"25.3"; })))
        return false;
    if (!step("drop the line", DropRigLine(pair.Port)))
        return false;
    sensor.reset();
    if (!step("error shown", PumpUntil([&] { return form.Panel(kRemotePortPanel) == L"error"; })))
        return false;
    return step("disconnect", RemoteClick(form.BitBtn6) &&
                                  PumpUntil([&] { return form.Panel(kRemotePortPanel) == L"关闭"; }));
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: HangupSoakBench PROGRAM.exe [CYCLES]\n");
        return 2;
    }
    const int cycles = argc > 2 ? std::max(1, _wtoi(argv[2])) : 100;
    if (RigPortPairs().size() < 4 || !std::getenv("QM27K_RIG_RUNNER")) {
        std::fprintf(stderr, "needs the rig's four lines and its --drop-line (run through tests/rig/wine-run)\n");
        return 2;
    }
    const TPortPair pair = RigPortPairs()[3];
    TRemoteProgram program(argv[1]);
    const HWND window = program.Started() ? program.WaitForWindow() : nullptr;
    if (!window) {
        std::fprintf(stderr, "the program did not show its window\n");
        return 1;
    }
    TRemoteForm1 form(window);
    if (!form.Complete() || !RemoteSetText(form.ComboBox5, pair.Port)) {
        std::fprintf(stderr, "the window's controls were not found\n");
        return 1;
    }

    Print("before the first cycle", Measure(program));
    // The first cycles load and create what every later one reuses; growth counts from there.
    constexpr int kWarmUp = 5;
    TSample warm;
    const auto start = TClock::now();
    for (int i = 1; i <= cycles; ++i) {
        const char* failedStep = "";
        if (!Cycle(form, pair, failedStep)) {
            std::fprintf(stderr, "cycle %d: %s failed\n", i, failedStep);
            return 1;
        }
        if (i == std::min(kWarmUp, cycles) || i % 25 == 0 || i == cycles) {
            const TSample s = Measure(program);
            if (i == std::min(kWarmUp, cycles))
                warm = s;
            Print(("after cycle " + std::to_string(i)).c_str(), s);
            if (i == cycles)
                std::printf("from cycle %d to %d: handles %+lld, windows %+lld, private %+.2f MB, working set %+.2f MB\n",
                            std::min(kWarmUp, cycles), cycles,
                            static_cast<long long>(s.Handles) - static_cast<long long>(warm.Handles),
                            static_cast<long long>(s.Windows) - static_cast<long long>(warm.Windows),
                            s.PrivateMb - warm.PrivateMb, s.WorkingSetMb - warm.WorkingSetMb);
        }
    }
    std::printf("%d cycles of connect, read, lost line, error shown, disconnect: %.1f s each\n", cycles,
                std::chrono::duration<double>(TClock::now() - start).count() / cycles);
    return program.Close() == 0 ? 0 : 1;
}
