// The traffic log with its skinned scroll bar: adding a selected line (and the repaint that
// follows) at 0, 100 000 and 1 000 000 lines, in blocks with the scroll bar wrapper painting and
// switched off (SKM_SETACTIVE 0: its hook only passes messages on and the system paints its own
// bar), so that drift of the machine hits both alike.
#include "app/Form1.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/WScrollbar.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"
#include "tests/support/MessagePump.h"
#include "toolkit/Application.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

const std::wstring kLine = L"RX: 01 03 04 00 FD 01 C8 4A 4E";

double Microseconds(TClock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

double Mean(const std::vector<double>& v)
{
    double sum = 0;
    for (double x : v)
        sum += x;
    return v.empty() ? 0 : sum / static_cast<double>(v.size());
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

TSkinScrollbar* LogWrapper(TForm1& form)
{
    TWinSkinForm* frame = SkinManager ? SkinManager->FindFrame(form.Handle()) : nullptr;
    return frame ? dynamic_cast<TSkinScrollbar*>(frame->FindWrapper(form.ListBox1->Handle())) : nullptr;
}

// The frame wraps a re-created list box at its next walk over the controls.
TSkinScrollbar* AwaitWrapper(TForm1& form)
{
    ::PostMessageW(form.Handle(), SKM_FINISHSKIN, 0, 1000);
    PumpUntil([&] { return LogWrapper(form) != nullptr; }, 5000);
    PumpFor(100);
    return LogWrapper(form);
}

void FillTo(TForm1& form, size_t lines)
{
    form.ListBox1->DestroyHandle();
    while (form.ListBox1->Count() < lines)
        form.AddLogLine(kLine, false);
    form.ListBox1->HandleNeeded();
    form.ListBox1->SetItemIndex(static_cast<int>(lines) - 1);
    PumpFor(50);
}

void MeasureAdds(TForm1& form, size_t lines)
{
    TSkinScrollbar* wrapper = AwaitWrapper(form);
    if (!wrapper) {
        std::printf("at %7zu lines: the log has no scroll bar wrapper\n", lines);
        return;
    }
    constexpr int kBlocks = 20, kPerBlock = 25;
    const HWND box = form.ListBox1->Handle();
    std::vector<double> add[2], paint[2];
    for (int block = 0; block < 2 * kBlocks; ++block) {
        const bool skinned = block % 2 == 0;
        ::SendMessageW(box, SKM_SETACTIVE, skinned ? 1 : 0, 0);
        PumpFor(5);
        for (int i = 0; i < kPerBlock; ++i) {
            const auto start = TClock::now();
            form.AddLogLine(kLine, true);
            const auto added = TClock::now();
            ::UpdateWindow(box);
            const auto painted = TClock::now();
            add[skinned].push_back(Microseconds(added - start));
            paint[skinned].push_back(Microseconds(painted - added));
        }
    }
    ::SendMessageW(box, SKM_SETACTIVE, 1, 0);
    const TWScrollbar* bar = wrapper->VerticalBar();
    std::printf("at %7zu lines: add a line with the skinned bar mean %6.1f us (median %6.1f), repaint %6.1f us;"
                " wrapper off: add %6.1f us (median %6.1f), repaint %6.1f us; ratio add %.2f, add+repaint %.2f;"
                " panel %s\n",
                lines, Mean(add[1]), Median(add[1]), Mean(paint[1]), Mean(add[0]), Median(add[0]), Mean(paint[0]),
                Mean(add[1]) / Mean(add[0]), (Mean(add[1]) + Mean(paint[1])) / (Mean(add[0]) + Mean(paint[0])),
                bar && ::IsWindowVisible(const_cast<TWScrollbar*>(bar)->Handle()) ? "shown" : "hidden");
}

} // namespace

int wmain()
{
    TApplication app;
    app.Initialize();
    auto* form = app.CreateForm<TForm1>([] { return std::vector<std::wstring>{}; });
    form->Show();
    ::SetActiveWindow(form->Handle());
    PumpUntil([&] {
        TWinSkinForm* frame = SkinManager ? SkinManager->FindFrame(form->Handle()) : nullptr;
        return frame && frame->FrameState() == TFrameState::Active;
    }, 5000);
    MeasureAdds(*form, 0);
    FillTo(*form, 100000);
    MeasureAdds(*form, 100000);
    FillTo(*form, 1000000);
    MeasureAdds(*form, 1000000);
    return 0;
}
