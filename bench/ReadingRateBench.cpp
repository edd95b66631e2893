// Continuous reading rate of the real program against the simulated sensor at 9600 baud,
// beside the bound that the protocol's own pauses and line times set.
//   ReadingRateBench PROGRAM.exe [SECONDS]   (run by tests/e2e/with-simulators.sh ... bench)
#include "tests/support/RemoteWindow.h"
#include "tests/support/RigLines.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using TClock = std::chrono::steady_clock;

constexpr double kBaud = 9600;
constexpr double kBitsPerCharacter = 10;
constexpr double kSendPauseMs = 30;    // every send sleeps this long after handing over the frame
constexpr double kReceivePauseMs = 40; // the pause at the start of each received block at 9600
constexpr double kRequestBytes = 8;
constexpr double kAnswerBytes = 9;
constexpr double kFrameSilenceCharacters = 3.5; // the sensor's wait before it answers

double CharactersMs(double characters) { return characters * kBitsPerCharacter * 1000.0 / kBaud; }

// Waits for the success count to pass `after`; the moment it was seen and the count.
bool NextSuccess(const TRemoteForm1& form, int after, int& successes, int& failures, TClock::time_point& at)
{
    const bool seen = PumpUntil([&] {
        return ParseStatistics(form.Panel(kRemoteStatisticsPanel), successes, failures) && successes > after;
    }, 10000);
    at = TClock::now();
    return seen;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "ReadingRateBench: %s\n", what);
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return Fail("usage: ReadingRateBench PROGRAM.exe [SECONDS]");
    const double seconds = argc > 2 ? std::wcstod(argv[2], nullptr) : 10.0;
    const auto pairs = RigPortPairs();
    if (pairs.empty() || !std::getenv("QM27K_E2E_STATS_DIR"))
        return Fail("needs the rig's lines with a simulator behind the first (tests/e2e/with-simulators.sh)");

    TRemoteProgram program(argv[1]);
    const HWND window = program.Started() ? program.WaitForWindow() : nullptr;
    if (!window)
        return Fail("the program's window did not appear");
    const TRemoteForm1 form(window);
    if (!form.Complete())
        return Fail("the window lacks some of its controls");
    RemoteSetText(form.ComboBox5, pairs[0].Port);
    RemoteSelect(form.ComboBox3, 3); // 9600
    RemoteClick(form.BitBtn1);
    if (!PumpUntil([&] { return form.Panel(kRemotePortPanel) == L"打开"; }))
        return Fail("Connect did not open the port");
    RemoteClick(form.checkbox1);
    RemoteClick(form.BitBtn2);

    // The count is read from the status bar as it changes; a few readings first for warm-up.
    int successes = 0, failures = 0;
    TClock::time_point start, end;
    if (!NextSuccess(form, 3, successes, failures, start))
        return Fail("continuous reading does not run");
    const int first = successes;
    const int firstFailures = failures;
    int last = first;
    do {
        if (!NextSuccess(form, last, successes, failures, end))
            return Fail("continuous reading stopped");
        last = successes;
    } while (std::chrono::duration<double>(end - start).count() < seconds);
    RemoteClick(form.BitBtn2);

    const double elapsed = std::chrono::duration<double>(end - start).count();
    const double rate = (last - first) / elapsed;
    const double cycleMs = kSendPauseMs + kReceivePauseMs + CharactersMs(kRequestBytes) + CharactersMs(kAnswerBytes) +
                           CharactersMs(kFrameSilenceCharacters);
    const double bound = 1000.0 / cycleMs;
    std::printf("continuous reading at 9600 baud: %.2f readings/s (%d readings in %.2f s, %d failures)\n", rate,
                last - first, elapsed, failures - firstFailures);
    std::printf("bound from the protocol: %.2f readings/s (cycle %.2f ms = send pause %.0f + receive pause %.0f"
                " + request %.2f + answer %.2f + silence %.2f)\n",
                bound, cycleMs, kSendPauseMs, kReceivePauseMs, CharactersMs(kRequestBytes), CharactersMs(kAnswerBytes),
                CharactersMs(kFrameSilenceCharacters));
    std::printf("ratio measured/bound: %.3f\n", rate / bound);
    return program.Close() == 0 ? 0 : Fail("the program did not end cleanly");
}
