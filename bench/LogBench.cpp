// The traffic log at the size a night of continuous reading leaves: the cost of adding a
// selected line, and of the repaint that follows it, at 0, 100 000 and 1 000 000 lines, beside
// the same list box as it was before it answered for its text; the cost of that answer; the
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

// Answering for its text changed nothing on the way a line is added but the window's style
// (the list box says it has strings, so the system carries text to other processes); with
// that bit taken away the list box is, to the system, the one it was before.
void SetStyleAsBefore(HWND box, bool asBefore)
{
    const LONG_PTR style = ::GetWindowLongPtrW(box, GWL_STYLE);
    ::SetWindowLongPtrW(box, GWL_STYLE, asBefore ? style & ~LONG_PTR{LBS_HASSTRINGS} : style | LBS_HASSTRINGS);
}

double Microseconds(TClock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// Adding one selected line as the handlers do, then the repaint the message loop would make,
// in turns with the list box as it was before, so that drift of the machine hits both alike.
void MeasureAdds(TForm1& form, size_t lines)
{
    constexpr int kSamples = 300;
    const HWND box = form.ListBox1->Handle();
    std::vector<double> add[2], paint[2];
    for (int i = 0; i < 2 * kSamples; ++i) {
        const bool asBefore = i % 2 == 1;
        SetStyleAsBefore(box, asBefore);
        const auto start = TClock::now();
        form.AddLogLine(kLine, true);
        const auto added = TClock::now();
        ::UpdateWindow(box);
        const auto painted = TClock::now();
        add[asBefore].push_back(Microseconds(added - start));
        paint[asBefore].push_back(Microseconds(painted - added));
        Pump();
    }
    SetStyleAsBefore(box, false);
    const TStats a = Summarise(add[0]), p = Summarise(paint[0]);
    const TStats a0 = Summarise(add[1]), p0 = Summarise(paint[1]);
    std::printf("at %7zu lines: add a line mean %6.1f us (median %6.1f, worst %7.1f); its repaint mean %6.1f us\n",
                lines, a.Mean, a.Median, a.Worst, p.Mean);
    std::printf("       as before: add a line mean %6.1f us (median %6.1f, worst %7.1f); its repaint mean %6.1f us"
                "  (now/before: add %.2f, repaint %.2f)\n",
                a0.Mean, a0.Median, a0.Worst, p0.Mean, a.Mean / a0.Mean, p.Mean / p0.Mean);
}

// What a screen reader or a script asks of every line it reads: length, then text.
void MeasureReads(TForm1& form)
{
    constexpr int kSamples = 1000;
    const HWND box = form.ListBox1->Handle();
    const size_t count = form.ListBox1->Count();
    std::vector<double> read;
    wchar_t text[256];
    for (int i = 0; i < kSamples; ++i) {
        const WPARAM index = static_cast<WPARAM>(i) * 7919 % count;
        const auto start = TClock::now();
        const LRESULT length = ::SendMessageW(box, LB_GETTEXTLEN, index, 0);
        if (length >= 0 && length < 256)
            ::SendMessageW(box, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
        read.push_back(Microseconds(TClock::now() - start));
    }
    const TStats r = Summarise(read);
    std::printf("at %7zu lines: read a line's length and text mean %5.2f us (median %5.2f, worst %6.1f)\n", count,
                r.Mean, r.Median, r.Worst);
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
    MeasureReads(*form);

    const double fullMb = MemoryMb();
    std::printf("process memory: %.1f MB with an empty log, %.1f MB at %zu lines\n", baseMb, fullMb,
                form->ListBox1->Count());

    const auto start = TClock::now();
    form->Button1Click(form->Button1);
    std::printf("copy %zu lines to the clipboard: %.0f ms\n", form->ListBox1->Count(),
                std::chrono::duration<double, std::milli>(TClock::now() - start).count());
    return 0;
}
