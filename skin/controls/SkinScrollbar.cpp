// The skinned scrollable controls: two panels over the control's own bars, kept in step with
// them after every message that may move, show, hide or scroll them, and a flat border.
#include "skin/controls/SkinScrollbar.h"

#include "skin/controls/NativeScrollBar.h"
#include "skin/controls/ScrollBarPainter.h"
#include "skin/controls/WScrollbar.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"
#include "toolkit/SysUtils.h"
#include "toolkit/WinControl.h"
#include "toolkit/WinHandle.h"


const TClassInfo TSkinScrollbar::StaticClass{L"TSkinScrollbar", &TSkinControl::StaticClass, {}};

TSkinScrollbar::~TSkinScrollbar()
{
    // The base's destructor would reach only its own DetachWrapper.
    DetachWrapper();
}

bool TSkinScrollbar::AttachScrolling(TWinSkinForm* frame, TSkinData* skinData)
{
    if (!Attach(frame, skinData, false))
        return false;
    FPaintBorder = !SingleBar() && !SameText(Property(L"BorderStyle"), L"bsNone") &&
        !SameText(FControl->ClassName(), L"TImageScrollBox");
    if (const auto fixed = FControl->GetPropValue(L"FixedColor")) {
        FSavedFixedColor = *fixed;
        FControl->SetPropValue(L"FixedColor", IntToStr(static_cast<std::int32_t>(skinData->FaceColour())));
    }
    if (CanPaintScrollBar(skinData->Skin()) && FControl->Parent()) {
        FVertical = MakeBar(true);
        FHorizontal = MakeBar(false);
    }
    if (FPaintBorder)
        ::RedrawWindow(FWindow, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return true;
}

TWScrollbar* TSkinScrollbar::MakeBar(bool vertical)
{
    auto* bar = Make<TWScrollbar>();
    bar->SetKind(vertical ? TScrollBarKind::sbVertical : TScrollBarKind::sbHorizontal);
    bar->SetParent(FControl->Parent());
    bar->Cover(FWindow, FSkinData);
    return bar;
}

void TSkinScrollbar::FreeBars()
{
    for (TWScrollbar** bar : {&FVertical, &FHorizontal}) {
        if (*bar)
            FreeComponent(*bar);
        *bar = nullptr;
    }
}

void TSkinScrollbar::DetachWrapper()
{
    if (!Attached())
        return;
    const bool alive = WrapperState() != TWrapperState::WindowDestroyed && ::IsWindow(FWindow);
    FreeBars();
    if (alive && FControl && FSavedFixedColor)
        FControl->SetPropValue(L"FixedColor", *FSavedFixedColor);
    FSavedFixedColor.reset();
    TSkinControl::DetachWrapper();
    // The system's own border and bars come back.
    if (alive)
        ::RedrawWindow(FWindow, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::ActiveChanged()
{
    if (SkinActive()) {
        FollowBars();
        ::RedrawWindow(FWindow, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        return;
    }
    // The control paints itself meanwhile, its own bars included.
    for (TWScrollbar* bar : {FVertical, FHorizontal})
        if (bar)
            bar->SetVisible(false);
    ::RedrawWindow(FWindow, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

bool TSkinScrollbar::BeforeMessage(TMessage& Message)
{
    if (Message.Msg == CM_RECREATEWND && FFrame) {
        // The control gets a new window; the frame replaces this wrapper by one on that window.
        ::PostMessageW(FFrame->WindowHandle(), SKM_REWRAPSCROLL, reinterpret_cast<WPARAM>(FWindow), 0);
        return true;
    }
    return TSkinControl::BeforeMessage(Message);
}

void TSkinScrollbar::AfterMessage(TMessage& Message)
{
    if (Message.Msg == WM_NCPAINT)
        PaintBorder();
    if (!ScrollBarsUnchangedBy(Message.Msg))
        FollowBars();
}

void TSkinScrollbar::FollowBars()
{
    if (!Attached() || !SkinActive())
        return;
    if (FVertical)
        FVertical->Follow();
    if (FHorizontal)
        FHorizontal->Follow();
}

void TSkinScrollbar::Refresh()
{
    TSkinControl::Refresh();
    FollowBars();
    ::RedrawWindow(FWindow, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::PaintBorder()
{
    if (!FPaintBorder || !FSkinData)
        return;
    WINDOWINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetWindowInfo(FWindow, &info) || info.cxWindowBorders == 0 || info.cyWindowBorders == 0)
        return;
    const TSkinObjects& skin = FSkinData->Skin();
    // A flat line in the skin's shadow colour, the rest of the border in the control's own
    // colour, so the content seems to sit on the face without the classic sunken bevel.
    const COLORREF shadow = ColorToRGB(ResolveColor(skin.SysColours[7], skin.SystemColors()));
    const COLORREF inner = ColorToRGB(FControl ? FControl->Color() : clWindow);
    RECT r{0, 0, info.rcWindow.right - info.rcWindow.left, info.rcWindow.bottom - info.rcWindow.top};
    const win::NonClientDC dc(FWindow);
    for (UINT ring = 0; ring < info.cxWindowBorders && r.right > r.left && r.bottom > r.top; ++ring) {
        const win::GdiObject<HBRUSH> brush(::CreateSolidBrush(ring == 0 ? shadow : inner));
        ::FrameRect(dc.get(), &r, brush.get());
        ::InflateRect(&r, -1, -1);
    }
}
