// The skinned controls of the real main window with the skin the program carries: one push
// button's Draw, a hover state change, and a full repaint of the window with every wrapper.
#include "app/Form1.h"
#include "bench/BenchStats.h"
#include "skin/controls/SkinButton.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "tests/support/MessagePump.h"
#include "toolkit/Application.h"
#include "toolkit/WinHandle.h"

#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    const int repeats = argc > 1 ? std::max(_wtoi(argv[1]), 20) : 1000;
    TApplication app;
    app.Initialize();
    auto* form = app.CreateForm<TForm1>();
    const HWND hwnd = form->Handle();
    constexpr UINT kEverything = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
    // First the window as the system and the toolkit alone paint it, for comparison: the skin
    // is switched off before the window is first shown, and on again afterwards.
    form->SkinData1->SetActive(false);
    form->Show();
    ::SetActiveWindow(hwnd);
    for (int i = 0; i < 200; ++i)
        form->AddLogLine(L"TX:01 03 00 00 00 02 C4 0B", false);
    PumpFor(300);
    const TStats plain = Summarise(TimeCalls(repeats / 10, [&] { ::RedrawWindow(hwnd, nullptr, nullptr, kEverything); }));
    form->SkinData1->SetActive(true);
    SkinManager->RunPendingAction();

    TWinSkinForm* frame = nullptr;
    const auto shown = TClock::now();
    while (!(frame && frame->FrameState() == TFrameState::Active)) {
        if (Ms(TClock::now() - shown) > 5000) {
            std::fprintf(stderr, "ControlsBench: the window was not framed within 5 s\n");
            return 1;
        }
        PumpFor(5);
        frame = SkinManager ? SkinManager->FindFrame(hwnd) : nullptr;
    }
    PumpFor(300);
    auto* button = dynamic_cast<TSkinButton*>(frame->FindWrapper(form->BitBtn1->Handle()));
    if (!button) {
        std::fprintf(stderr, "ControlsBench: the Connect button has no wrapper\n");
        return 1;
    }

    RECT bounds{};
    ::GetClientRect(form->BitBtn1->Handle(), &bounds);
    const win::WindowDC screen(nullptr);
    const win::MemoryDC memory(screen.get(), bounds.right, bounds.bottom);
    const TStats draw = Summarise(TimeCalls(repeats, [&] { button->Draw(memory.get(), bounds); }));
    const TStats paint = Summarise(TimeCalls(repeats, [&] { button->PaintControl(); }));
    std::vector<double> enter, leave;
    for (int i = 0; i < repeats; ++i) {
        auto start = TClock::now();
        ::SendMessageW(form->BitBtn1->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
        enter.push_back(Ms(TClock::now() - start));
        start = TClock::now();
        ::SendMessageW(form->BitBtn1->Handle(), CM_MOUSELEAVE, 0, 0);
        leave.push_back(Ms(TClock::now() - start));
    }
    const TStats full = Summarise(TimeCalls(repeats / 10, [&] { ::RedrawWindow(hwnd, nullptr, nullptr, kEverything); }));
    const TStats wrappers = Summarise(TimeCalls(repeats / 10, [&] {
        for (const auto& wrapper : frame->WrapperList())
            wrapper->PaintControl();
    }));

    const size_t wrapperCount = frame->WrapperList().size();
    std::printf("main window with %zu control wrappers, shipped skin \"%s\"\n", wrapperCount,
                form->SkinData1->SkinName().c_str());
    std::printf("over %d calls (full repaints: %d):\n", repeats, repeats / 10);
    PrintStats("push button Draw (memory DC)", draw, 0.3);
    PrintFigure("push button PaintControl (window DC)", paint);
    PrintFigure("push button normal -> hot (mouse move)", Summarise(enter));
    PrintFigure("push button hot -> normal (mouse leave)", Summarise(leave));
    PrintStats("full repaint: frame, client, every control", full, 15.0);
    PrintFigure("every wrapper's PaintControl once", wrappers);
    PrintFigure("the same window never skinned (the log overflowing too)", plain);
    return 0;
}
