// The traffic log at the size a night of continuous reading leaves: the cost of adding a
// selected line, and of the repaint that follows it, at 0, 100 000 and 1 000 000 lines; the
// process memory at a million lines; and the time to copy them all.
#include "app/Form1.h"
#include "toolkit/Application.h"

#include <windows.h>
#define PSAPI_VERSION 2
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

const std::wstring kLine = L"RX: 01 03 04 00 FD 01 C8 4A 4E";

double MemoryMb()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (!::K32GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                   sizeof(counters)))
        return -1;
    return static_cast<double>(std::max(counters.PrivateUsage, counters.WorkingSetSize)) / (1024.0 * 1024.0);
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

struct TStats {
    double Mean = 0, Median = 0, Worst = 0;
};

TStats Summarise(std::vector<double> us)
{
    std::sort(us.begin(), us.end());
    double sum = 0;
    for (double v : us)
        sum += v;
    return {sum / static_cast<double>(us.size()), us[us.size() / 2], us.back()};
}

// Adding one selected line as the handlers do, then the repaint the message loop would make.
void MeasureAdds(TForm1& form, size_t lines)
{
    constexpr int kSamples = 300;
    std::vector<double> add, paint;
    for (int i = 0; i < kSamples; ++i) {
        const auto start = TClock::now();
        form.AddLogLine(kLine, true);
        const auto added = TClock::now();
        ::UpdateWindow(form.ListBox1->Handle());
        const auto painted = TClock::now();
        add.push_back(std::chrono::duration<double, std::micro>(added - start).count());
        paint.push_back(std::chrono::duration<double, std::micro>(painted - added).count());
        Pump();
    }
    const TStats a = Summarise(add), p = Summarise(paint);
    std::printf("at %7zu lines: add a line mean %6.1f us (median %6.1f, worst %7.1f); its repaint mean %6.1f us\n",
                lines, a.Mean, a.Median, a.Worst, p.Mean);
}

// Lines arrive in the store while the list has no window, then the window takes the count
// once: the same state as a night of adds, reached in seconds.
void FillTo(TForm1& form, size_t lines)
{
    form.ListBox1->DestroyHandle();
    while (form.ListBox1->Count() < lines)
        form.AddLogLine(kLine, false);
    form.ListBox1->HandleNeeded();
    form.ListBox1->SetItemIndex(static_cast<int>(lines) - 1);
    Pump();
}

} // namespace

int wmain()
{
    TApplication app;
    app.Initialize();
    auto* form = app.CreateForm<TForm1>([] { return std::vector<std::wstring>{}; });
    form->Show();
    Pump();
    const double baseMb = MemoryMb();

    MeasureAdds(*form, 0);
    FillTo(*form, 100000);
    MeasureAdds(*form, 100000);
    FillTo(*form, 1000000);
    MeasureAdds(*form, 1000000);

    const double fullMb = MemoryMb();
    std::printf("process memory: %.1f MB with an empty log, %.1f MB at %zu lines\n", baseMb, fullMb,
                form->ListBox1->Count());

    const auto start = TClock::now();
    form->Button1Click(form->Button1);
    std::printf("copy %zu lines to the clipboard: %.0f ms\n", form->ListBox1->Count(),
                std::chrono::duration<double, std::milli>(TClock::now() - start).count());
    return 0;
}
