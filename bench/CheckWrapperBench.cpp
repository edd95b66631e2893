// The check box and group box wrappers on the real main window with the skin the program
// carries: one Draw of each, a hover change of the check box, and what GDI and user objects a
// long run of paints and hover changes leaves behind.
#include "app/Form1.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinGroupBox.h"
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

struct TStats {
    double Median = 0, P95 = 0;
};

template <class F>
TStats Time(int count, F call)
{
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        const auto start = TClock::now();
        call(i);
        ms.push_back(std::chrono::duration<double, std::milli>(TClock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() * 95 / 100]};
}

// A goal of 0: none is set, the figure is for comparison.
void Print(const char* what, const TStats& s, double goalMs = 0)
{
    std::printf("%-44s median %6.3f ms, p95 %6.3f ms", what, s.Median, s.P95);
    if (goalMs > 0)
        std::printf("   (goal < %.1f ms, as a button's Draw: %s)", goalMs, s.P95 < goalMs ? "met" : "MISSED");
    std::printf("\n");
}

DWORD Objects(DWORD kind) { return ::GetGuiResources(::GetCurrentProcess(), kind); }

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int repeats = argc > 1 ? std::max(_wtoi(argv[1]), 20) : 1000;
    TApplication app;
    app.Initialize();
    auto* form = app.CreateForm<TForm1>();
    form->Show();
    TWinSkinForm* frame = nullptr;
    PumpUntil([&] {
        frame = SkinManager ? SkinManager->FindFrame(form->Handle()) : nullptr;
        return frame && frame->FrameState() == TFrameState::Active;
    }, 5000);
    auto* check = frame ? dynamic_cast<TSkinCheckBox*>(frame->FindWrapper(form->checkbox1->Handle())) : nullptr;
    auto* group = frame ? dynamic_cast<TSkinGroupBox*>(frame->FindWrapper(form->GroupBox3->Handle())) : nullptr;
    if (!check || !group) {
        std::fprintf(stderr, "CheckWrapperBench: the main window's check box or group box has no wrapper\n");
        return 1;
    }
    form->checkbox1->SetEnabled(true);
    PumpFor(300);
    const HWND box = form->checkbox1->Handle();
    Print("check box Draw (81x17)", Time(repeats, [&](int) { check->PaintControl(); }), 0.3);
    Print("check box hover change", Time(repeats, [&](int i) {
        ::SendMessageW(box, i % 2 ? WM_MOUSELEAVE : WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    }));
    Print("group box Draw with its children (383x234)", Time(repeats, [&](int) { group->PaintControl(); }));

    const DWORD gdi = Objects(GR_GDIOBJECTS), user = Objects(GR_USEROBJECTS);
    for (int i = 0; i < 10000; ++i)
        check->PaintControl();
    for (int i = 0; i < 1000; ++i)
        ::SendMessageW(box, i % 2 ? WM_MOUSELEAVE : WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    for (int i = 0; i < 100; ++i) {
        ::SendMessageW(box, SKM_SETACTIVE, 0, 0);
        ::SendMessageW(box, SKM_SETACTIVE, 1, 0);
    }
    // Wine counts nothing here (both read 0); on Windows the figures are the process's own.
    if (gdi == 0 && user == 0)
        std::printf("after 10000 paints, 1000 hover changes, 100 off/on: object counts not available on this system\n");
    else
        std::printf("after 10000 paints, 1000 hover changes, 100 off/on: GDI objects %lu -> %lu, user objects %lu -> %lu\n",
                    gdi, Objects(GR_GDIOBJECTS), user, Objects(GR_USEROBJECTS));
    return 0;
}
