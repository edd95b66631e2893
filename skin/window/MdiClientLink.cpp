// The MDI client of a framed main form: scroll bars, children made and destroyed, arranging,
// menu changes and the redraw the frames ask for.
#include "skin/window/MdiClientLink.h"

#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"

#include <utility>

bool TMdiClientLink::Attach(HWND client)
{
    if (!FLink.AttachProc<&TMdiClientLink::ClientWndProc>(client, this))
        return false;
    // Children made before the main form was framed hold the updates as if made since.
    if (ActiveChild())
        HoldMenuUpdate();
    return true;
}

void TMdiClientLink::HoldMenuUpdate()
{
    FSkinData.SetMenuUpdate(false);
    FHoldingMenuUpdate = true;
}

void TMdiClientLink::Detach()
{
    FLink.Detach();
    // Also when the client went with its children and no WM_MDIDESTROY: the component serves
    // other windows after this one.
    if (std::exchange(FHoldingMenuUpdate, false))
        FSkinData.SetMenuUpdate(FMenuUpdate);
}

HWND TMdiClientLink::ActiveChild(bool* maximized) const
{
    BOOL isMaximized = FALSE;
    const HWND client = FLink.Handle();
    const auto child = client && ::IsWindow(client)
        ? reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&isMaximized)))
        : nullptr;
    if (maximized)
        *maximized = child && isMaximized;
    return child;
}

HWND TMdiClientLink::FollowActiveChild()
{
    bool maximized = false;
    const HWND active = ActiveChild(&maximized);
    if (!SkinManager || SkinManager->MdiMaximized == maximized)
        return active;
    SkinManager->SetMdiMaximized(maximized);
    // The main form's band shows the maximized child's buttons, or no longer does.
    FFrame.PaintFrame();
    return active;
}

void TMdiClientLink::ClientWndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCCALCSIZE: WMNCCalcSize(Message); return;
    case WM_MDICREATE:
        // The menu changes that making a child brings are the client's, not a new form menu.
        HoldMenuUpdate();
        FLink.CallPrevious(Message);
        return;
    case WM_MDIDESTROY: WMMdiDestroy(Message); return;
    case WM_MDITILE:
    case WM_MDICASCADE:
    case WM_MDIICONARRANGE: WMMdiArrange(Message); return;
    case WM_MDISETMENU: WMMdiSetMenu(Message); return;
    case SKM_MDIREDRAW: SKMMdiRedraw(Message); return;
    default: FLink.CallPrevious(Message); return;
    }
}

void TMdiClientLink::WMNCCalcSize(TMessage& Message)
{
    // The system's scroll bars would sit unskinned inside the skinned frame; without the option
    // the client scrolls only under program control. The style goes before the system measures
    // the non-client area, so it leaves no room for them and never paints them.
    if (!FSkinData.Options().Contains(TSkinOption::xoMDIScrollbar)) {
        const HWND client = FLink.Handle();
        const LONG_PTR style = ::GetWindowLongPtrW(client, GWL_STYLE);
        const LONG_PTR bare = style & ~LONG_PTR(WS_HSCROLL | WS_VSCROLL);
        if (bare != style)
            ::SetWindowLongPtrW(client, GWL_STYLE, bare);
    }
    FLink.CallPrevious(Message);
}

void TMdiClientLink::WMMdiDestroy(TMessage& Message)
{
    FLink.CallPrevious(Message);
    const HWND active = FollowActiveChild();
    if (!active) {
        FSkinData.SetMenuUpdate(FMenuUpdate);
        FHoldingMenuUpdate = false;
        FFrame.MenuBarWindowMenuChanged();
    }
}

void TMdiClientLink::WMMdiArrange(TMessage& Message)
{
    // Tiling and cascading restore a maximized child first; arranging the icons leaves it as it
    // is. Either way the state follows what the client did rather than what was asked.
    FLink.CallPrevious(Message);
    FollowActiveChild();
}

void TMdiClientLink::WMMdiSetMenu(TMessage& Message)
{
    FLink.CallPrevious(Message);
    FFrame.MenuBarWindowMenuChanged();
}

void TMdiClientLink::SKMMdiRedraw(TMessage& Message)
{
    // Posted by children whose look the main form carries (a maximized child's caption and
    // buttons); not the client's business, so it stops here.
    ::RedrawWindow(FFrame.WindowHandle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Message.Result = 0;
}
