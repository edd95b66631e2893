// The skinned frame: attaching to a window and letting go of it, and the frame's message
// handling in its three stages. Painting is in WinSkinFormPaint.cpp, the caption buttons'
// actions and the hover timer in WinSkinFormButtons.cpp.
#include "skin/window/WinSkinForm.h"

#include "skin/menus/WinSkinMenu.h"
#include "skin/window/IconPicture.h"
#include "skin/window/MdiClientLink.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Menu.h"

#include <algorithm>

namespace {

constexpr unsigned kHoverInterval = 250;
// Private message 0xAE, with which some systems paint the classic caption themselves.
constexpr UINT WM_NCUAHDRAWCAPTION = 0xAE;

POINT ScreenPoint(LPARAM lParam)
{
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace

const TClassInfo TWinSkinForm::StaticClass{L"TWinSkinForm", &TComponent::StaticClass, {}};

TWinSkinForm::TWinSkinForm(HWND hwnd, std::wstring className)
    : TComponent(nullptr), FWindow(hwnd), FClassName(std::move(className))
{
}

TWinSkinForm::~TWinSkinForm()
{
    FreeWrappers();
    if (FForm)
        FForm->RemoveFreeNotification(this);
}

void TWinSkinForm::Notification(TComponent* component, TOperation operation)
{
    // The form went before its frame was purged: nothing of it may be touched again.
    if (operation == TOperation::Remove && component == FForm)
        FForm = nullptr;
}

// ---- Attaching and letting go --------------------------------------------------------------

bool TWinSkinForm::AttachForm(TSkinData* skinData, TCustomForm* form)
{
    FForm = form;
    form->FreeNotification(this);
    if (skinData->OnBeforeSkinForm)
        skinData->OnBeforeSkinForm(form, FWindow, FClassName);
    if (skinData->SkinControls().Contains(TSkinControlType::xcMenuItem))
        form->SetPropValue(L"AutoScroll", L"False");
    if (!AttachWindow(skinData))
        return false;
    if (FFramePainting)
        FFormLink.AttachHook<&TWinSkinForm::FormWindowProc>(form, this);
    FSavedColour = form->Color();
    form->SetColor(skinData->FaceColour());
    if (skinData->SkinControls().Contains(TSkinControlType::xcMenuItem))
        OwnerDrawMainMenus();
    return true;
}

bool TWinSkinForm::AttachWindow(TSkinData* skinData)
{
    if (FAttached)
        return true;
    if (SkinManager)
        SkinManager->RunState = TSkinManage::kRunning;
    FSkinData = skinData;
    FHoverTimer = Make<TTimer>();
    FHoverTimer->SetEnabled(false);
    FHoverTimer->SetInterval(kHoverInterval);
    FHoverTimer->OnTimer = [this](TObject*) { OnHoverTimer(); };

    FFramePainting = skinData->SkinControls().Contains(TSkinControlType::xcMainMenu);
    const auto style = static_cast<std::uint32_t>(::GetWindowLongPtrW(FWindow, GWL_STYLE));
    const auto exStyle = static_cast<std::uint32_t>(::GetWindowLongPtrW(FWindow, GWL_EXSTYLE));
    FRightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    FChild = (style & WS_CHILD) != 0;
    FSizeable = (style & WS_THICKFRAME) != 0;
    FUnicode = ::IsWindowUnicode(FWindow) != FALSE;
    FOwner = ::GetWindow(FWindow, GW_OWNER);
    FDialog = IsDialogClassName(FClassName);
    const TWindowStyle windowStyle{style, exStyle, FDialog};

    FSystemMenu = (style & WS_SYSMENU) ? ::GetSystemMenu(FWindow, FALSE) : nullptr;
    FCaptionBoxes = CaptionBoxesOf(windowStyle);
    if (FSystemMenu)
        FCaptionBoxes |= caption_box::kSysMenu;
    ReadWindowState();

    if (exStyle & WS_EX_MDICHILD) {
        FMdiRole = TMdiRole::Child;
        if (skinData->Options().Contains(TSkinOption::xoMDIChildBorder))
            FFramePainting = false;
    }
    FBorderKind = BorderKindOf(windowStyle);

    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool windows2000 = ::GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
        version.dwMajorVersion >= 5 && version.dwMinorVersion == 0;
#pragma GCC diagnostic pop
    if (windows2000 || (exStyle & WS_EX_APPWINDOW) || (!FOwner && FMdiRole != TMdiRole::Child))
        FCaptionBoxes |= caption_box::kKeepSysMenu;
    if (SkinManager && (SkinManager->PlatformVersion & 0x80000000u)) {
        TSkinControlTypes controls = skinData->SkinControls();
        controls.Exclude(TSkinControlType::xcSystemMenu);
        skinData->SetSkinControls(controls);
    }

    if (!FWindowLink.AttachProc<&TWinSkinForm::FrameWndProc>(FWindow, this))
        return false;
    FAttached = true;
    if (FMdiRole != TMdiRole::Child)
        AttachMdiClient();
    if (FFramePainting) {
        CreateMenuBar();
        ComputeBorders();
    } else
        FState = TFrameState::Active;
    if (FMdiRole == TMdiRole::Child) {
        // An MDI child keeps at least the top the system gives its own caption and frame; what
        // a thinner skin caption leaves is a band below it.
        const int systemTop = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CXFRAME);
        if (systemTop > FBorders.Top)
            FMenuBarHeight = systemTop - FBorders.Top;
        if (FShowState == TShowState::Maximized && SkinManager && !SkinManager->MdiMaximized)
            SkinManager->SetMdiMaximized(true);
    }
    return true;
}

void TWinSkinForm::ComputeBorders()
{
    if (!FSkinData || FSkinData->SkinLoading())
        return;
    TSkinObjects& skin = FSkinData->Skin();
    FBorders = ::ComputeBorders(skin, FBorderKind);
    if (FBorderKind == TBorderKind::NoCaption)
        FMenuBarHeight = 0;
    FreeCaptionButtons();
    for (size_t i = 0; i < skin.CaptionButtons.size(); ++i) {
        TDataSkinSysButton& entry = *skin.CaptionButtons[i];
        if (IsIconAction(entry.Action)) {
            LoadWindowIcon();
            if (entry.Bitmap.IsEmpty() && !FIcon.IsEmpty())
                entry.Bitmap = FIcon.Clone();
            if (FSkinData->AppIcon().IsEmpty() && !FIcon.IsEmpty())
                FSkinData->AppIcon() = FIcon.Clone();
            entry.Frame = 1;
        }
        FButtons.push_back(TCaptionButton{&entry, false, true, {}, TButtonState::Normal});
        FSysButtons.push_back(std::make_unique<TWinSysButton>(*this, i));
    }
}

void TWinSkinForm::FreeCaptionButtons()
{
    HotObject = nullptr;
    FSysButtons.clear();
    FButtons.clear();
}

void TWinSkinForm::FinishSkin()
{
    FSystemMenu = ::GetSystemMenu(FWindow, FALSE);
    LoadWindowIcon();
    RECT window{}, client{};
    ::GetWindowRect(FWindow, &window);
    ::GetClientRect(FWindow, &client);
    FSystemSizes = {(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
    FSavedClient = client;
    if (FForm)
        WrapFormControls();
    else
        WrapChildWindows(FWindow);

    if (FState == TFrameState::Attaching && FFramePainting) {
        const bool topLevelCaption = !FChild && FBorderKind != TBorderKind::NoCaption;
        if (FMdiRole == TMdiRole::Child) {
            // A maximized child is drawn by its MDI client with the main form; a minimized one
            // keeps the size its client gave it.
            if (FShowState == TShowState::Maximized) {
                PostMdiRedraw();
            } else if (FShowState == TShowState::Normal) {
                FState = TFrameState::Resizing;
                ResizeToKeepClient(false);
                FState = TFrameState::Active;
                UpdateRegion();
            }
        } else if (topLevelCaption && FShowState != TShowState::Minimized) {
            FState = TFrameState::Resizing;
            ResizeToKeepClient(false);
            FState = TFrameState::Active;
            if (FShowState == TShowState::Normal)
                UpdateRegion();
            else
                RecalcFrame();
        }
    }
    ::SendMessageW(FWindow, SKM_FRAMEREADY, 0, kSkinSignature);
    if (FSkinData->OnAfterSkinForm)
        FSkinData->OnAfterSkinForm(FForm, FWindow, FClassName);
    FState = TFrameState::Active;
    FHoverTimer->SetEnabled(FIsActive);
    // Paints arriving while the frame was being sized were refused; show the frame now.
    PaintFrame();
}

void TWinSkinForm::ResizeToKeepClient(bool reread)
{
    if (FShowState == TShowState::Maximized) {
        RecalcFrame();
        return;
    }
    int clientWidth = 0, clientHeight = 0;
    if (reread || FDialog || FState == TFrameState::Refreshing) {
        RECT r{};
        ::GetClientRect(FWindow, &r);
        clientWidth = r.right;
        clientHeight = r.bottom;
    } else if (FForm) {
        clientWidth = FForm->ClientWidth();
        clientHeight = FForm->ClientHeight() - (FMdiRole == TMdiRole::Child ? 0 : FMenuBarHeight);
    } else {
        clientWidth = FSavedClient.right - FSavedClient.left;
        clientHeight = FSavedClient.bottom - FSavedClient.top;
    }
    int width = clientWidth + FBorders.Left + FBorders.Right;
    const int height = clientHeight + FBorders.Top + FBorders.Bottom + FMenuBarHeight;
    if (FDialog && !reread && FSkinData->CaptionFont()) {
        // A dialog keeps its caption readable: at least as wide as the text and the title's ends.
        const win::WindowDC screen(nullptr);
        const win::Select font(screen.get(), FSkinData->CaptionFont());
        const std::wstring text = L" " + WindowText() + L"  ";
        RECT r{};
        ::DrawTextW(screen.get(), text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
        const TDataSkinTitle& title = FSkinData->Skin().Title;
        const int least = r.right + title.LeftWidth + title.RightWidth;
        if (least > width) {
            const int shift = (least - width) / 2;
            for (HWND child = ::GetWindow(FWindow, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
                RECT c{};
                ::GetWindowRect(child, &c);
                ::MapWindowPoints(nullptr, FWindow, reinterpret_cast<POINT*>(&c), 2);
                ::SetWindowPos(child, nullptr, c.left + shift, c.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            width = least;
        }
    }
    ::SetWindowPos(FWindow, nullptr, 0, 0, width, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::Detach()
{
    if (!FAttached)
        return;
    FAttached = false;
    if (FHoverTimer)
        FHoverTimer->SetEnabled(false);
    if (FSkinData)
        FSkinData->HideCaptionHint();
    const bool alive = ::IsWindow(FWindow) && FState != TFrameState::Destroying &&
        FState != TFrameState::WindowDestroyed;
    const bool painted = FFramePainting && FState != TFrameState::Attaching;
    FFormLink.Detach();
    FWindowLink.Detach();
    DetachMdiClient();
    FreeWrappers();
    ReleaseOwnerDrawnMenus(TMenuRelease::Whole);
    if (FForm)
        FForm->SetColor(FSavedColour);
    if (!alive) {
        RestoreWindowMenu(false);
        return;
    }
    if (!FFramePainting) {
        ::RedrawWindow(FWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return;
    }
    if (FSystemMenu && !(FCaptionBoxes & caption_box::kKeepSysMenu))
        SetSysMenuStyle(true);
    RECT client{};
    ::GetClientRect(FWindow, &client);
    const bool menuBack = FMenuBar != nullptr;
    RestoreWindowMenu(true);
    if (painted && (!FChild || FMdiRole == TMdiRole::Child) && FShowState == TShowState::Normal) {
        // The window keeps its client size: the system's frame replaces ours around it.
        const TPixelRect size = WindowSize();
        const int width = size.Width() + FSystemSizes.cx - FBorders.Left - FBorders.Right;
        const int height = size.Height() + FSystemSizes.cy - FBorders.Top - FBorders.Bottom - FMenuBarHeight;
        ::SetWindowPos(FWindow, nullptr, 0, 0, width, height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        // The system's menu bar comes back at a height only the system knows (it wraps).
        RECT now{};
        ::GetClientRect(FWindow, &now);
        if (menuBack && now.bottom != client.bottom)
            ::SetWindowPos(FWindow, nullptr, 0, 0, width, height + client.bottom - now.bottom,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        RecalcFrame();
    }
    ::SetWindowRgn(FWindow, nullptr, TRUE);
    FRegionSize = {};
}

void TWinSkinForm::DetachOnDestroy()
{
    FAttached = false;
    if (FHoverTimer)
        FHoverTimer->SetEnabled(false);
    if (FSkinData)
        FSkinData->HideCaptionHint();
    FFormLink.Detach();
    FWindowLink.Detach();
    DetachMdiClient();
    FreeWrappers();
    ReleaseOwnerDrawnMenus(TMenuRelease::WindowGoing);
    RestoreWindowMenu(false);
}

void TWinSkinForm::RefreshAll()
{
    if (FForm)
        FForm->SetColor(FSkinData->FaceColour());
    FState = TFrameState::Refreshing;
    for (const auto& wrapper : FWrappers)
        wrapper->Refresh();
    if (FSkinData->SkinControls().Contains(TSkinControlType::xcPopupMenu))
        OwnerDrawPopupMenus();
    if (FFramePainting && FForm) {
        ResizeToKeepClient(true);
        // Makes the form lay its controls out again for the new client area. The toolkit
        // records only the bounds it set itself, not the size the frame gave the window or a
        // move by the user, so the nudge starts from the window's own rectangle.
        RECT r{};
        ::GetWindowRect(FWindow, &r);
        if (FChild)
            ::MapWindowPoints(nullptr, ::GetParent(FWindow), reinterpret_cast<POINT*>(&r), 2);
        FForm->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top + 1);
        FForm->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else if (FFramePainting) {
        ResizeToKeepClient(true);
    }
    UpdateRegion();
    ::SendMessageW(FWindow, SKM_FRAMEREADY, 0, kSkinSignature);
    if (FSkinData->OnAfterSkinForm)
        FSkinData->OnAfterSkinForm(FForm, FWindow, FClassName);
    FState = TFrameState::Active;
    PaintFrame();
}

void TWinSkinForm::MdiMaximizedChanged(bool on)
{
    if (on) {
        if (HasRegion()) {
            ::SetWindowRgn(FWindow, nullptr, TRUE);
            FRegionSize = {};
        }
        return;
    }
    if (FShowState == TShowState::Minimized)
        return;
    FShowState = TShowState::Normal;
    UpdateRegion();
    if (!HasRegion())
        RecalcFrame();
}

// ---- Messages ---------------------------------------------------------------------------

void TWinSkinForm::FrameWndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCPAINT:
        if (FState == TFrameState::Attaching) {
            Message.Result = 0;
            return;
        }
        break;
    case WM_ERASEBKGND:
        CallOld(Message);
        if (!FForm && FSkinData->FaceBrush()) {
            RECT r{};
            ::GetClientRect(FWindow, &r);
            ::FillRect(reinterpret_cast<HDC>(Message.WParam), &r, FSkinData->FaceBrush());
            Message.Result = 1;
        }
        return;
    case WM_NCDESTROY:
        FState = TFrameState::Destroying;
        DetachOnDestroy();
        CallOld(Message);
        FState = TFrameState::WindowDestroyed;
        return;
    case WM_NCACTIVATE:
        if (FState == TFrameState::Attaching && FMdiRole != TMdiRole::Child) {
            Message.Result = 0;
            return;
        }
        break;
    case WM_NCUAHDRAWCAPTION:
        Message.Result = 0;
        return;
    case WM_INITMENUPOPUP:
        if (SkinManager)
            SkinManager->PopupSource = reinterpret_cast<HMENU>(Message.WParam) == FSystemMenu ||
                    IsSysMenuPopup(reinterpret_cast<HMENU>(Message.WParam))
                ? 2
                : 1;
        CallOld(Message);
        return;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_MENUCHAR:
        if (MenuItemMessage(Message))
            return;
        break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        WMCtlColor(Message);
        return;
    case SKM_FINISHSKIN:
        FinishSkin();
        return;
    case SKM_REWRAPSCROLL:
        RewrapScroll(reinterpret_cast<HWND>(Message.WParam));
        return;
    case SKM_QUERYSKINNED:
        Message.Result = 1;
        ::PostMessageW(FWindow, SKM_FRAMEREADY, 0, kSkinSignature);
        return;
    default:
        break;
    }
    if (!FFramePainting || !Stage2(Message))
        CallOld(Message);
}

bool TWinSkinForm::Stage2(TMessage& Message)
{
    if (FChild && FMdiRole != TMdiRole::Child)
        return false;
    switch (Message.Msg) {
    case WM_COMMAND:
        switch (Message.WParam) {
        case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE:
        case SC_NEXTWINDOW: case SC_PREVWINDOW: case SC_CLOSE: case SC_RESTORE:
            ::PostMessageW(FWindow, WM_SYSCOMMAND, Message.WParam, 0);
            return true;
        default:
            return false;
        }
    case WM_WINDOWPOSCHANGED:
        ReadWindowState();
        return false;
    case WM_SIZE:
        WMSize(Message);
        return true;
    case WM_ACTIVATE:
        FIsActive = LOWORD(Message.WParam) != WA_INACTIVE;
        return Stage3(Message);
    case WM_NCACTIVATE:
        FIsActive = Message.WParam != 0;
        return Stage3(Message);
    case WM_GETMINMAXINFO:
        CallOld(Message);
        ReadWindowState();
        return true;
    case WM_SETTEXT:
    case WM_SETICON:
        // The system's default handling paints the classic caption text or icon itself, without
        // a WM_NCPAINT: ours goes over it at once.
        CallOld(Message);
        if (Message.Msg == WM_SETICON)
            LoadWindowIcon();
        // A maximized child's caption is the main form's, which its client redraws.
        if (FState == TFrameState::Active && ::IsWindowVisible(FWindow)) {
            if (MaximizedMdiChild())
                PostMdiRedraw();
            else
                PaintFrame();
        }
        return true;
    case WM_SYSCOMMAND:
        WMSysCommand(Message);
        return true;
    case CM_MENUCHANGED:
        // Meanwhile no frame paints over what the old procedure does; then the skinned menu
        // bar takes the new menu off the window.
        FSkinData->NcPaintEnabled = false;
        CallOld(Message);
        FSkinData->NcPaintEnabled = true;
        MenuBarMenuChanged();
        return true;
    default:
        return Stage3(Message);
    }
}

bool TWinSkinForm::Stage3(TMessage& Message)
{
    if (FState == TFrameState::Attaching ||
        (FMdiRole == TMdiRole::Child && FShowState == TShowState::Maximized))
        return false;
    switch (Message.Msg) {
    case WM_NCCALCSIZE: WMNCCalcSize(Message); return true;
    case WM_NCHITTEST: WMNCHitTest(Message); return true;
    case WM_NCPAINT: WMNCPaint(Message); return true;
    case WM_NCACTIVATE: WMNCActivate(Message); return true;
    case WM_NCMOUSEMOVE: WMNCMouseMove(Message); return true;
    case WM_NCLBUTTONDOWN: WMNCLButtonDown(Message); return true;
    case WM_NCLBUTTONUP: WMNCLButtonUp(Message); return true;
    case WM_NCLBUTTONDBLCLK: WMNCLButtonDblClk(Message); return true;
    case WM_NCRBUTTONDOWN: WMNCRButtonDown(Message); return true;
    case SKM_REPAINTFRAME: PaintFrame(); return true;
    case SKM_MENUBARCLICK:
        PressMenuBarItemAt(ScreenPoint(Message.LParam));
        Message.Result = 0;
        return true;
    default: return false;
    }
}

void TWinSkinForm::FormWindowProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETTEXT:
        FFormLink.CallPrevious(Message);
        if (::IsWindowVisible(FWindow)) {
            if (MaximizedMdiChild())
                PostMdiRedraw();
            else if (FShowState == TShowState::Minimized)
                PaintFrame();
            else
                RecalcFrame();
        }
        return;
    case CM_DIALOGCHAR: {
        FFormLink.CallPrevious(Message);
        if (Message.Result == 0 && MenuBarDialogChar(Message))
            return;
        // An MDI child hands the key to its main form, any other form to the program's.
        TWinControl* main = Application ? Application->MainForm() : nullptr;
        if (FMdiRole == TMdiRole::Child)
            main = SkinManager ? SkinManager->MdiMainForm : nullptr;
        if (Message.Result == 0 && main && main != FForm)
            Message.Result = main->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
        return;
    }
    case SKM_QUERYFRAME:
        Message.Result = Message.LParam == kSkinSignature ? kSkinSignature : 1;
        return;
    case SKM_PAINTFRAMETO:
        if (Message.LParam == kSkinSignature) {
            if (Message.WParam)
                PaintFrame(reinterpret_cast<HDC>(Message.WParam));
            Message.Result = kSkinSignature;
            return;
        }
        break;
    default:
        break;
    }
    FFormLink.CallPrevious(Message);
}

void TWinSkinForm::WMNCCalcSize(TMessage& Message)
{
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam);
    // The window rectangle proposed, before the old procedure turns it into its client.
    const RECT proposed = Message.WParam ? params->rgrc[0] : RECT{};
    CallOld(Message);
    if (!Message.WParam) {
        Message.Result = 0;
        return;
    }
    if ((FMdiRole == TMdiRole::Child && FShowState != TShowState::Normal) || FBorderKind == TBorderKind::NoCaption) {
        params->rgrc[1] = params->rgrc[0];
        return;
    }
    const TPixelRect client = NcCalcClientRect({proposed.left, proposed.top, proposed.right, proposed.bottom},
                                               FBorders, FMenuBarHeight);
    params->rgrc[0] = {client.Left, client.Top, client.Right, client.Bottom};
    params->rgrc[1] = params->rgrc[0];
    Message.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::WMNCHitTest(TMessage& Message)
{
    CallOld(Message);
    switch (Message.Result) {
    case HTNOWHERE:
    case HTCAPTION:
    // The system's own caption parts are not on screen: a press there would make it paint
    // its classic button over ours, so they count as our caption.
    case HTSYSMENU: case HTMINBUTTON: case HTMAXBUTTON: case HTCLOSE: case HTHELP: {
        const bool systemPart = Message.Result != HTNOWHERE && Message.Result != HTCAPTION;
        const TFramePoint p = ToFrameCoords(ScreenPoint(Message.LParam));
        switch (NcAreaAt(p, FBorders, FMenuBarHeight)) {
        case TNcArea::Caption: Message.Result = HTCAPTION; break;
        case TNcArea::Menu: Message.Result = HTMENU; break;
        case TNcArea::Unchanged:
            if (systemPart)
                Message.Result = HTCAPTION;
            break;
        }
        break;
    }
    default:
        break;
    }
}

void TWinSkinForm::WMNCPaint(TMessage& Message)
{
    if (!(FCaptionBoxes & caption_box::kKeepSysMenu))
        SetSysMenuStyle(false);
    if (FSkinData->NcPaintEnabled) {
        if (FBorderKind == TBorderKind::NoCaption) {
            CallOld(Message);
            return;
        }
        PaintFrame();
    }
    Message.Result = 0;
}

void TWinSkinForm::WMNCActivate(TMessage& Message)
{
    FIsActive = Message.WParam != 0;
    FHoverTimer->SetEnabled(FIsActive);
    if (!FIsActive && HotObject)
        HotObject->MouseLeave();
    // No mouse-leave notice comes for a control under the cursor of a window that lost
    // activation; its wrapper hears it from here.
    if (!FIsActive)
        for (const auto& wrapper : FWrappers)
            if (wrapper->Attached())
                ::SendMessageW(wrapper->Handle(), CM_MOUSELEAVE, 0, 0);
    // The system's frame procedure would tell the client, which tells its active child, whose
    // caption follows the main form's activation; ours does not call it.
    if (const HWND client = MdiClientWindow())
        ::SendMessageW(client, WM_NCACTIVATE, Message.WParam, Message.LParam);
    if (FMdiRole == TMdiRole::Child)
        CallOld(Message);
    PaintFrame();
    Message.Result = 1;
}

void TWinSkinForm::WMNCMouseMove(TMessage& Message)
{
    if (!FIsActive) {
        CallOld(Message);
        return;
    }
    if (SysButtonsReady()) {
        if (const auto hit = HitObject(FButtons, ToFrameCoords(ScreenPoint(Message.LParam)))) {
            FSysButtons[*hit]->MouseEnter();
            Message.Result = 0;
            return;
        }
    }
    if (MenuBarMouseMove(ScreenPoint(Message.LParam))) {
        Message.Result = 0;
        return;
    }
    if (HotObject)
        HotObject->MouseLeave();
    CallOld(Message);
}

void TWinSkinForm::WMNCLButtonDown(TMessage& Message)
{
    FSkinData->HideCaptionHint();
    if (SysButtonsReady()) {
        if (const auto hit = HitObject(FButtons, ToFrameCoords(ScreenPoint(Message.LParam)))) {
            if (!FIsActive)
                ::SetForegroundWindow(FWindow);
            FSysButtons[*hit]->MouseDown();
            Message.Result = 0;
            return;
        }
    }
    if (PressMenuBarItemAt(ScreenPoint(Message.LParam))) {
        Message.Result = 0;
        return;
    }
    if (FShowState == TShowState::Maximized && FIsActive && Message.WParam == HTCAPTION)
        Message.WParam = HTMENU; // a maximized window is not dragged by its caption
    CallOld(Message);
}

void TWinSkinForm::WMNCLButtonUp(TMessage& Message)
{
    FSkinData->HideCaptionHint();
    if (SysButtonsReady()) {
        const POINT screen = ScreenPoint(Message.LParam);
        if (const auto hit = HitObject(FButtons, ToFrameCoords(screen))) {
            if (FSysButtons[*hit].get() == HotObject) {
                FSysButtons[*hit]->MouseUp();
                DoSysButtonAction(*hit, screen);
            }
            Message.Result = 0;
            return;
        }
    }
    CallOld(Message);
}

void TWinSkinForm::WMNCLButtonDblClk(TMessage& Message)
{
    if (SysButtonsReady()) {
        if (const auto hit = HitObject(FButtons, ToFrameCoords(ScreenPoint(Message.LParam)))) {
            const int action = FButtons[*hit].Data->Action;
            if (action == 3 || action == 11) {
                FHoverTimer->SetEnabled(false);
                // The release that follows must not count as the second click of the system
                // menu's own close rule: the window would be asked to close twice.
                if (HotObject)
                    HotObject->MouseLeave();
                ::PostMessageW(FWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
                Message.Result = 0;
                return;
            }
        }
    }
    // A second click on the menu bar is a click there, not on the caption.
    if (Message.WParam == HTMENU) {
        if (PressMenuBarItemAt(ScreenPoint(Message.LParam)))
            Message.Result = 0;
        else
            CallOld(Message);
        return;
    }
    if (FShowState != TShowState::Normal) {
        ::PostMessageW(FWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
        Message.Result = 0;
    } else if (FCaptionBoxes & caption_box::kMaximize) {
        ::PostMessageW(FWindow, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        Message.Result = 0;
    } else {
        CallOld(Message);
    }
}

void TWinSkinForm::WMNCRButtonDown(TMessage& Message)
{
    FSkinData->HideCaptionHint();
    if (Message.WParam == HTCAPTION && FMdiRole != TMdiRole::Child) {
        ShowSysMenu(ScreenPoint(Message.LParam));
        Message.Result = 0;
        return;
    }
    CallOld(Message);
}

void TWinSkinForm::WMSize(TMessage& Message)
{
    CallOld(Message);
    switch (Message.WParam) {
    case SIZE_RESTORED: FShowState = TShowState::Normal; break;
    case SIZE_MINIMIZED: FShowState = TShowState::Minimized; break;
    case SIZE_MAXIMIZED: FShowState = TShowState::Maximized; break;
    default: break;
    }
    MdiChildSized();
    if (FState != TFrameState::Active && FState != TFrameState::Refreshing)
        return;
    if (FShowState == TShowState::Minimized)
        return;
    if (FMdiRole == TMdiRole::Child && (FShowState != TShowState::Normal || (SkinManager && SkinManager->MdiMaximized)))
        return;
    UpdateRegion();
}

void TWinSkinForm::WMSysCommand(TMessage& Message)
{
    const WPARAM command = Message.WParam & 0xFFF0;
    if (command == SC_KEYMENU) {
        const LPARAM key = Message.LParam;
        if (key == L' ') {
            POINT origin{0, 0};
            ::ClientToScreen(FWindow, &origin);
            ShowSysMenu(origin);
            Message.Result = 0;
            return;
        }
        if (MenuBarSysCommand(Message))
            return;
        // Alt alone: no classic menu mode, since no classic caption or menu is on screen.
        if (key == 0 && !::GetCapture()) {
            Message.Result = 1;
            return;
        }
    }
    switch (command) {
    case SC_MINIMIZE: FShowState = TShowState::Minimized; break;
    case SC_MAXIMIZE: FShowState = TShowState::Maximized; break;
    case SC_RESTORE:
        FShowState = TShowState::Normal;
        if (FMdiRole == TMdiRole::Child && SkinManager)
            SkinManager->SetMdiMaximized(false);
        break;
    default: break;
    }
    CallOld(Message);
}

void TWinSkinForm::WMCtlColor(TMessage& Message)
{
    CallOld(Message);
    if (FForm)
        return;
    ::SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
    if (Message.Msg == WM_CTLCOLORSTATIC && FSkinData->FaceBrush())
        Message.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush());
}

// ---- State --------------------------------------------------------------------------------

void TWinSkinForm::ReadWindowState()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(FWindow, &placement))
        return;
    switch (placement.showCmd) {
    case SW_SHOWMINIMIZED: case SW_MINIMIZE: case SW_SHOWMINNOACTIVE: FShowState = TShowState::Minimized; break;
    case SW_SHOWMAXIMIZED: FShowState = TShowState::Maximized; break;
    default: FShowState = TShowState::Normal; break;
    }
}

void TWinSkinForm::LoadWindowIcon()
{
    HICON icon = nullptr;
    for (const WPARAM kind : {WPARAM(ICON_SMALL), WPARAM(ICON_BIG)})
        if (!icon)
            icon = reinterpret_cast<HICON>(::SendMessageW(FWindow, WM_GETICON, kind, 0));
    for (const int index : {GCLP_HICONSM, GCLP_HICON})
        if (!icon)
            icon = reinterpret_cast<HICON>(::GetClassLongPtrW(FWindow, index));
    if (!icon)
        return;
    TPixelBuffer picture = IconOnKey(icon, ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
    if (!picture.IsEmpty())
        FIcon = std::move(picture);
}

void TWinSkinForm::SetSysMenuStyle(bool on)
{
    const LONG_PTR style = ::GetWindowLongPtrW(FWindow, GWL_STYLE);
    const LONG_PTR wanted = on ? (style | WS_SYSMENU) : (style & ~LONG_PTR(WS_SYSMENU));
    if (wanted != style)
        ::SetWindowLongPtrW(FWindow, GWL_STYLE, wanted);
}

void TWinSkinForm::RecalcFrame() const
{
    ::SetWindowPos(FWindow, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

std::wstring TWinSkinForm::WindowText() const
{
    const int length = ::GetWindowTextLengthW(FWindow);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(FWindow, text.data(), length + 1)));
    return text;
}

TPixelRect TWinSkinForm::WindowSize() const
{
    RECT r{};
    ::GetWindowRect(FWindow, &r);
    return {0, 0, r.right - r.left, r.bottom - r.top};
}

TFramePoint TWinSkinForm::ToFrameCoords(POINT screen) const
{
    ::ScreenToClient(FWindow, &screen);
    return ClientToFrame({screen.x, screen.y}, FBorders, FMenuBarHeight, FMdiRole, FShowState);
}

TCaptionWindow TWinSkinForm::CaptionWindowFacts() const
{
    TCaptionWindow facts;
    facts.Show = FShowState;
    facts.Activation = FIsActive ? TActivation::Active : TActivation::Inactive;
    facts.Boxes = FCaptionBoxes;
    facts.Kind = FBorderKind;
    facts.DialogClass = FDialog;
    facts.MdiChildButtonsShown = MdiChildButtonsShown();
    return facts;
}

bool TWinSkinForm::SysButtonsReady()
{
    return !FButtons.empty() && FState != TFrameState::Attaching && !FTitleBitmap.IsEmpty();
}
