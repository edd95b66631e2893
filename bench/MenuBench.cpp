// Skinned menus with the skin the program carries: the time from a right-click on the real main
// window's caption to its skinned system menu on screen, the menu bar of a form with a main menu
// and one skinned popup menu item, each painted into memory.
#include "app/Form1.h"
#include "bench/BenchStats.h"
#include "skin/menus/MenuItemPainter.h"
#include "skin/menus/WinSkinMenu.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "tests/support/MessagePump.h"
#include "toolkit/Application.h"
#include "toolkit/Menu.h"
#include "toolkit/WinHandle.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

// The menu loop looks at every message it takes through the thread's message filter hook, so
// the moment the popup's wrapper has painted is seen there; a ticker posting empty messages
// keeps the loop taking them while it would otherwise wait.
struct TPopupWatch {
    HWND Window = nullptr;
    TClock::time_point Start;
    TClock::time_point Painted;
    std::atomic<bool> Seen{false};
    int Filtered = 0;
};
TPopupWatch* gWatch = nullptr;

LRESULT CALLBACK WatchFilter(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_MENU && gWatch && !gWatch->Seen && SkinManager) {
        ++gWatch->Filtered;
        for (const auto& popup : SkinManager->PopupList) {
            if (::IsWindowVisible(popup->Window()) && !popup->PopupBackground().IsEmpty()) {
                gWatch->Painted = TClock::now();
                gWatch->Seen = true;
                ::EndMenu();
                break;
            }
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void SendMouse(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

// One right-click on the caption; the time until the skinned menu has painted, or a negative
// figure when it never came.
double RightClickToMenu(HWND hwnd, POINT caption)
{
    ::SetCursorPos(caption.x, caption.y);
    PumpFor(50);
    TPopupWatch watch;
    watch.Start = TClock::now();
    gWatch = &watch;
    std::atomic<bool> ticking{true};
    std::thread ticker([&] {
        // A post a millisecond: often enough to see the paint within one, and rarely enough that
        // the thread's queue is always emptied.
        while (ticking && !watch.Seen) {
            // A menu that never comes skinned is closed, so the bench never stays in it.
            const bool late = Ms(TClock::now() - watch.Start) > 3000;
            ::PostMessageW(hwnd, late ? WM_CANCELMODE : WM_NULL, 0, 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    PumpUntil([&] { return watch.Seen.load(); }, 3000);
    ticking = false;
    ticker.join();
    gWatch = nullptr;
    if (!watch.Seen)
        std::fprintf(stderr, "MenuBench: no skinned menu (%d messages in a menu loop, %zu popup wrappers)\n",
                     watch.Filtered, SkinManager ? SkinManager->PopupList.size() : size_t(0));
    // Two calls within the double-click time would close the window.
    PumpFor(static_cast<int>(::GetDoubleClickTime()) + 100);
    return watch.Seen ? Ms(watch.Painted - watch.Start) : -1.0;
}

TWinSkinForm* ShowFramed(TCustomForm* form)
{
    form->Show();
    ::SetForegroundWindow(form->Handle());
    TWinSkinForm* frame = nullptr;
    PumpUntil([&] {
        frame = SkinManager ? SkinManager->FindFrame(form->Handle()) : nullptr;
        return frame && frame->FrameState() == TFrameState::Active;
    });
    return frame && frame->FrameState() == TFrameState::Active ? frame : nullptr;
}

// A form with a menu bar of the usual kind, framed with the primary skin.
TCustomForm* MenuForm(TApplication& app)
{
    auto* form = app.CreateForm<TForm>();
    form->SetCaption(L"Menu bar");
    form->SetBounds(60, 60, 520, 300);
    auto* bar = form->Make<TMainMenu>();
    for (const wchar_t* caption : {L"&File", L"&Edit", L"&View", L"&Device", L"&Tools", L"&Help"}) {
        TMenuItem* top = bar->Items()->Add(caption);
        top->Add(L"&Open")->SetShortCut(scCtrl | TShortCut(L'O'));
        top->Add(L"-");
        top->Add(L"E&xit");
    }
    form->SetMenu(bar);
    return form;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int popups = argc > 1 ? std::max(_wtoi(argv[1]), 5) : 15;
    TApplication app;
    app.Initialize();
    auto* form = app.CreateForm<TForm1>();
    const HWND hwnd = form->Handle();
    form->Show();
    ::SetForegroundWindow(hwnd);
    TWinSkinForm* frame = nullptr;
    if (!PumpUntil([&] {
            frame = SkinManager ? SkinManager->FindFrame(hwnd) : nullptr;
            return frame && frame->FrameState() == TFrameState::Active;
        })) {
        std::fprintf(stderr, "MenuBench: the window was not framed within 5 s\n");
        return 1;
    }
    PumpFor(500);

    const win::Hook filter(::SetWindowsHookExW(WH_MSGFILTER, WatchFilter, nullptr, ::GetCurrentThreadId()));
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    const POINT caption{window.left + (window.right - window.left) / 3, window.top + frame->Borders().Top / 2};
    std::vector<double> toMenu;
    int missed = 0;
    for (int i = 0; i < popups; ++i) {
        const double ms = RightClickToMenu(hwnd, caption);
        if (ms < 0)
            ++missed;
        else
            toMenu.push_back(ms);
    }

    auto* menuForm = MenuForm(app);
    TWinSkinForm* menuFrame = ShowFramed(menuForm);
    if (!menuFrame || !menuFrame->MenuBar()) {
        std::fprintf(stderr, "MenuBench: the menu form has no skinned menu bar\n");
        return 1;
    }
    PumpFor(300);
    TWinSkinMenu& bar = *menuFrame->MenuBar();
    const TPixelRect band = bar.BandRect();
    const win::WindowDC screen(nullptr);
    const win::MemoryDC memory(screen.get(), band.Right, band.Bottom);
    const TStats barPaint = Summarise(TimeCalls(1000, [&] { bar.PaintMenuBar(memory.get(), band); }));

    // The system menu's Close item, as the skinned system menu shows it.
    auto* popup = form->Make<TPopupMenu>();
    popup->SetImages(&form->SkinData1->MenuGlyphs());
    TMenuItem* item = popup->Items()->Add(L"&Close");
    item->SetShortCut(ShortCut(VK_F4, scAlt));
    item->SetImageIndex(3);
    popup->SetOwnerDraw(true);
    const RECT itemRect{0, 0, 160, 22};
    DrawSkinnedMenuItem(memory.get(), itemRect, *item, false, *form->SkinData1); // what is made once
    const TStats itemNormal = Summarise(TimeCalls(1000, [&] {
        DrawSkinnedMenuItem(memory.get(), itemRect, *item, false, *form->SkinData1);
    }));
    const TStats itemSelected = Summarise(TimeCalls(1000, [&] {
        DrawSkinnedMenuItem(memory.get(), itemRect, *item, true, *form->SkinData1);
    }));

    std::printf("main window, shipped skin \"%s\"\n", form->SkinData1->SkinName().c_str());
    if (toMenu.empty()) {
        std::fprintf(stderr, "MenuBench: no skinned system menu came after %d right-clicks\n", popups);
        return 1;
    }
    std::printf("system menu: %zu of %d right-clicks timed (%d never showed a skinned menu)\n", toMenu.size(), popups,
                missed);
    PrintStats("right-click on the caption -> skinned menu", Summarise(toMenu), 30.0);
    std::printf("menu bar of %zu items, band %d x %d:\n", bar.ItemCount(), band.Width(), band.Height());
    PrintStats("menu bar paint (memory DC)", barPaint, 2.0);
    PrintStats("one menu item with glyph and shortcut, normal", itemNormal, 0.3);
    PrintStats("the same item selected", itemSelected, 0.3);
    return 0;
}
