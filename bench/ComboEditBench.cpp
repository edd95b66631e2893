// The skinned combo box, edit and up-down of the real main window with the skin the program
// carries: one full paint of each (the box's own look composed under the skin, the border, both
// up-down buttons) and the GDI and user objects after many paints and hover changes.
#include "app/Form1.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "tests/support/MessagePump.h"
#include "toolkit/Application.h"
#include "toolkit/SpinEdit.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

// Median and 95th percentile of `count` calls, in milliseconds.
void Time(const char* what, int count, auto call)
{
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        const auto start = TClock::now();
        call();
        ms.push_back(std::chrono::duration<double, std::milli>(TClock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2], p95 = ms[ms.size() * 95 / 100];
    std::printf("%-36s median %6.3f ms, p95 %6.3f ms\n", what, median, p95);
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
    ::SetActiveWindow(form->Handle());
    TWinSkinForm* frame = nullptr;
    const HWND combo = form->ComboBox1->Handle(), edit = form->LabeledEdit3->Handle();
    const HWND upDown = form->LabeledEdit3->UpDownHandle();
    const bool wrapped = PumpUntil(
        [&] {
            frame = SkinManager ? SkinManager->FindFrame(form->Handle()) : nullptr;
            return frame && dynamic_cast<TSkinComBox*>(frame->FindWrapper(combo)) &&
                dynamic_cast<TSkinEdit*>(frame->FindWrapper(edit)) && dynamic_cast<TSkinUpDown*>(frame->FindWrapper(upDown));
        },
        5000);
    if (!wrapped) {
        std::fprintf(stderr, "ComboEditBench: the controls were not wrapped within 5 s\n");
        return 1;
    }
    PumpFor(200);
    const DWORD gdi = Objects(GR_GDIOBJECTS), user = Objects(GR_USEROBJECTS);
    // The wrapper's paint alone (the combo box's includes the box's own look), then a repaint
    // through the system with the control's own painting and, for the box, its edit.
    for (const HWND hwnd : {combo, edit, upDown}) {
        TSkinControl* wrapper = frame->FindWrapper(hwnd);
        const char* name = hwnd == combo ? "combo box" : hwnd == edit ? "edit border" : "up-down";
        char what[64];
        std::snprintf(what, sizeof what, "%s, wrapper paint", name);
        Time(what, repeats, [&] { wrapper->PaintControl(); });
        std::snprintf(what, sizeof what, "%s, full repaint", name);
        Time(what, repeats, [&] {
            ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        });
    }
    for (int i = 0; i < repeats; ++i) {
        ::SendMessageW(combo, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        ::SendMessageW(combo, WM_MOUSELEAVE, 0, 0);
        ::SendMessageW(upDown, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        ::SendMessageW(upDown, WM_MOUSELEAVE, 0, 0);
    }
    PumpFor(200);
    if (gdi == 0 && user == 0)
        std::printf("GDI and user object counts: not reported by this system\n");
    else
        std::printf("GDI objects %lu -> %lu, user objects %lu -> %lu after %d paints and %d hover changes each\n", gdi,
                    Objects(GR_GDIOBJECTS), user, Objects(GR_USEROBJECTS), 6 * repeats, 2 * repeats);
    form->Close();
    return 0;
}
