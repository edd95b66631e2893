// The skinned frame: attaching to a window and letting go of it, the frame's message handling in
// its three stages, and its painting (borders straight to the window, the caption band composed
// off screen and put on screen in one transfer).
#include "skin/window/WinSkinForm.h"

#include "skin/pixels/PixelBuffer_win.h"
#include "skin/pixels/Region_win.h"
#include "skin/pixels/SystemColors.h"
#include "skin/window/CaptionComposer.h"
#include "skin/window/CaptionText.h"
#include "skin/window/FrameRegion.h"
#include "skin/window/IconPicture.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

#include <algorithm>

namespace {

constexpr unsigned kHoverInterval = 250;
// Private message 0xAE, with which some systems paint the classic caption themselves.
constexpr UINT WM_NCUAHDRAWCAPTION = 0xAE;

TPixelRect WindowSize(HWND hwnd)
{
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return {0, 0, r.right - r.left, r.bottom - r.top};
}

bool Holds(const TPixelRect& r, TFramePoint p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }

POINT ScreenPoint(LPARAM lParam)
{
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// A memory DC with a DIB section selected, for GDI text drawn into our pixels.
class TDibDC {
public:
    explicit TDibDC(const TPixelBuffer& buffer) noexcept : FDC(::CreateCompatibleDC(nullptr))
    {
        if (FDC)
            FOld = ::SelectObject(FDC, DibHandle(buffer));
    }
    TDibDC(const TDibDC&) = delete;
    TDibDC& operator=(const TDibDC&) = delete;
    ~TDibDC()
    {
        if (FOld)
            ::SelectObject(FDC, FOld);
        if (FDC)
            ::DeleteDC(FDC);
    }
    HDC get() const noexcept { return FDC; }

private:
    HDC FDC;
    HGDIOBJ FOld = nullptr;
};

} // namespace

const TClassInfo TWinSkinForm::StaticClass{L"TWinSkinForm", &TComponent::StaticClass, {}};

TWinSkinForm::TWinSkinForm(HWND hwnd, std::wstring className)
    : TComponent(nullptr), FWindow(hwnd), FClassName(std::move(className))
{
}

TWinSkinForm::~TWinSkinForm()
{
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
    // Owner-drawn main menus come with the skinned menus.
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
    // An MDI main form (a child window of class "MDIClient") and its client's own procedure
    // are taken over with the skinned menus.
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
    if (FFramePainting)
        ComputeBorders(); // a window menu becomes the skinned menu bar with the skinned menus
    else
        FState = TFrameState::Active;
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
    // The controls' wrappers are attached here with the skinned controls.

    if (FState == TFrameState::Attaching && FFramePainting) {
        // Maximized or minimized MDI children are laid out by their client with the MDI paths.
        const bool topLevelCaption = !FChild && FBorderKind != TBorderKind::NoCaption;
        if (FMdiRole == TMdiRole::None && topLevelCaption && FShowState != TShowState::Minimized) {
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
    if (FForm)
        FForm->SetColor(FSavedColour);
    if (!alive)
        return;
    if (!FFramePainting) {
        ::RedrawWindow(FWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return;
    }
    if (FSystemMenu && !(FCaptionBoxes & caption_box::kKeepSysMenu))
        SetSysMenuStyle(true);
    if (painted && (!FChild || FMdiRole == TMdiRole::Child) && FShowState == TShowState::Normal) {
        // The window keeps its client size: the system's frame replaces ours around it.
        const TPixelRect size = WindowSize(FWindow);
        const int width = size.Width() + FSystemSizes.cx - FBorders.Left - FBorders.Right;
        const int height = size.Height() + FSystemSizes.cy - FBorders.Top - FBorders.Bottom - FMenuBarHeight;
        ::SetWindowPos(FWindow, nullptr, 0, 0, width, height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
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
}

void TWinSkinForm::RefreshAll()
{
    if (FForm)
        FForm->SetColor(FSkinData->FaceColour());
    FState = TFrameState::Refreshing;
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
            SkinManager->PopupSource = reinterpret_cast<HMENU>(Message.WParam) == FSystemMenu ? 2 : 1;
        CallOld(Message);
        return;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        WMCtlColor(Message);
        return;
    case SKM_FINISHSKIN:
        FinishSkin();
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
        if (FState == TFrameState::Active && ::IsWindowVisible(FWindow))
            PaintFrame();
        return true;
    case WM_SYSCOMMAND:
        WMSysCommand(Message);
        return true;
    case CM_MENUCHANGED:
        // The skinned menu bar takes the new menu with the skinned menus; meanwhile no frame
        // paints over what the old procedure does.
        FSkinData->NcPaintEnabled = false;
        CallOld(Message);
        FSkinData->NcPaintEnabled = true;
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
    default: return false;
    }
}

void TWinSkinForm::FormWindowProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETTEXT:
        FFormLink.CallPrevious(Message);
        if (::IsWindowVisible(FWindow)) {
            if (FShowState == TShowState::Minimized)
                PaintFrame();
            else
                RecalcFrame();
        }
        return;
    case CM_DIALOGCHAR: {
        FFormLink.CallPrevious(Message);
        // Menu bar accelerators are opened here with the skinned menus; an MDI child hands the
        // key to its main form likewise.
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        if (Message.Result == 0 && main && main != FForm && FMdiRole != TMdiRole::Child)
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
    // A hovered control wrapper hears CM_MOUSELEAVE here with the skinned controls; the MDI
    // main form's client hears of the activation with the MDI paths.
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
                ::PostMessageW(FWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
                Message.Result = 0;
                return;
            }
        }
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
        // Alt alone: no classic menu mode, since no classic caption or menu is on screen. Menu
        // bar accelerators open their items here with the skinned menus.
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
    return facts;
}

bool TWinSkinForm::SysButtonsReady()
{
    return !FButtons.empty() && FState != TFrameState::Attaching && !FTitleBitmap.IsEmpty();
}

// ---- Caption buttons ----------------------------------------------------------------------

void TWinSkinForm::DoSysButtonAction(size_t index, POINT screen)
{
    const TCaptionButton& button = FButtons[index];
    const int action = button.Data->Action;
    auto post = [this](WPARAM command) { ::PostMessageW(FWindow, WM_SYSCOMMAND, command, 0); };
    auto restore = [&] {
        FShowState = TShowState::Normal;
        post(SC_RESTORE);
    };
    auto toMdiChild = [](WPARAM command) {
        if (!SkinManager || !SkinManager->MdiClient)
            return;
        if (auto child = reinterpret_cast<HWND>(::SendMessageW(SkinManager->MdiClient, WM_MDIGETACTIVE, 0, 0)))
            ::PostMessageW(child, WM_SYSCOMMAND, command, 0);
    };
    switch (action) {
    case 0: {
        const UINT state = FSystemMenu ? ::GetMenuState(FSystemMenu, SC_CLOSE, MF_BYCOMMAND) : UINT(-1);
        if (state != UINT(-1) && !(state & (MF_DISABLED | MF_GRAYED))) {
            FHoverTimer->SetEnabled(false);
            post(SC_CLOSE);
        }
        break;
    }
    case 1:
    case 22:
        if (!button.Enabled)
            break;
        if (FShowState == TShowState::Maximized) {
            restore();
        } else {
            if (FMdiRole == TMdiRole::Child && SkinManager)
                SkinManager->SetMdiMaximized(true);
            FShowState = TShowState::Maximized;
            post(SC_MAXIMIZE);
            HotObject = nullptr;
        }
        break;
    case 2:
    case 23:
        if (!button.Enabled)
            break;
        if (FShowState == TShowState::Minimized) {
            restore();
        } else {
            FShowState = TShowState::Minimized;
            SetSysMenuStyle(true);
            post(SC_MINIMIZE);
        }
        break;
    case 3:
    case 11:
    case 12:
        ShowSysMenu({screen.x + 1, screen.y + 1});
        break;
    case 4: post(SC_CONTEXTHELP); break;
    case 7: case 60: toMdiChild(SC_MINIMIZE); break;
    case 8: case 61: toMdiChild(SC_RESTORE); break;
    case 9: case 62: toMdiChild(SC_CLOSE); break;
    default: ::PostMessageW(FWindow, SKM_SYSBUTTONACTION, WPARAM(action), 0); break;
    }
}

void TWinSkinForm::ShowSysMenu(POINT screen)
{
    const DWORD now = ::GetTickCount();
    if (FSysMenuShown && now - FLastSysMenuTime < ::GetDoubleClickTime()) {
        // A second click on the icon button right after the first closes the window.
        if (HotObject) {
            FHoverTimer->SetEnabled(false);
            ::PostMessageW(FWindow, WM_CLOSE, 0, 0);
        }
        return;
    }
    if (SkinManager)
        SkinManager->PopupSource = 2;
    FLastSysMenuTime = now;
    FSysMenuShown = true;
    // The window's own system menu until the skinned one comes with the skinned menus; its
    // items follow the window's state, as the system keeps them for its own caption.
    const HMENU menu = ::GetSystemMenu(FWindow, FALSE);
    if (!menu)
        return;
    const bool normal = FShowState == TShowState::Normal;
    auto enable = [menu](UINT command, bool on) {
        ::EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(SC_RESTORE, !normal);
    enable(SC_MOVE, FShowState != TShowState::Maximized);
    enable(SC_SIZE, normal && FSizeable);
    enable(SC_MINIMIZE, (FCaptionBoxes & caption_box::kMinimize) && FShowState != TShowState::Minimized);
    enable(SC_MAXIMIZE, (FCaptionBoxes & caption_box::kMaximize) && FShowState != TShowState::Maximized);
    const UINT command = ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                          screen.x, screen.y, 0, FWindow, nullptr);
    if (command)
        ::PostMessageW(FWindow, WM_SYSCOMMAND, command, 0);
}

void TWinSkinForm::OnHoverTimer()
{
    if (!FSkinData || (SkinManager && SkinManager->MenuBarTracking))
        return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const TFramePoint p = ToFrameCoords(cursor);
    if (HotObject && !Holds(HotObject->Bounds(), p)) {
        HotObject->MouseLeave();
        FSkinData->HideCaptionHint();
        return;
    }
    auto* button = dynamic_cast<TWinSysButton*>(HotObject);
    if (!button)
        return;
    FSkinData->HintClock += static_cast<int>(FHoverTimer->Interval());
    const int pause = Application ? Application->HintPause() : 500;
    const int hidePause = Application ? Application->HintHidePause() : 2500;
    const int from = 2 * pause;
    if (FSkinData->HintClock >= from && FSkinData->HintClock <= from + hidePause) {
        if (const wchar_t* text = SysButtonHintText(FButtons[button->Index()].Data->Action)) {
            RECT window{};
            ::GetWindowRect(FWindow, &window);
            const int left = FButtons[button->Index()].Bounds.Left + window.left;
            FSkinData->ShowCaptionHint(RECT{left, cursor.y + 24, left, cursor.y + 24}, text);
        }
    } else if (FSkinData->HintClock > from + hidePause) {
        FSkinData->HideCaptionHint();
    }
}

// ---- Painting -----------------------------------------------------------------------------

void TWinSkinForm::PaintFrame(HDC dc)
{
    if (FState != TFrameState::Active && FState != TFrameState::Refreshing)
        return;
    // The skin objects are never half built (a load that fails leaves them as they were), so a
    // component that counts as loading after a missing skin file still paints its frames.
    if (!FFramePainting || FBorderKind == TBorderKind::NoCaption || !FSkinData)
        return;
    if (FMdiRole == TMdiRole::Child && FShowState == TShowState::Maximized)
        return;
    const win::NonClientDC own(dc ? nullptr : FWindow);
    const HDC target = dc ? dc : own.get();
    if (!target)
        return;
    try {
        const TPixelRect size = WindowSize(FWindow);
        const TFramePieces pieces = FramePieces(size.Width(), size.Height(), FBorders, FMenuBarHeight, FShowState);
        if (FShowState != TShowState::Minimized) {
            PaintBorderPiece(target, TBorderSide::Left, pieces.Left);
            PaintBorderPiece(target, TBorderSide::Right, pieces.Right);
            PaintBorderPiece(target, TBorderSide::Bottom, pieces.Bottom);
        }
        PaintTitle(target);
        if (FShowState != TShowState::Minimized && FMenuBarHeight > 0 && FSkinData->FaceBrush()) {
            const RECT band{pieces.MenuBar.Left, pieces.MenuBar.Top, pieces.MenuBar.Right, pieces.MenuBar.Bottom};
            ::FillRect(target, &band, FSkinData->FaceBrush());
        }
    } catch (...) {
        // A frame that cannot be painted now is painted at the next WM_NCPAINT.
    }
    HotObject = nullptr;
}

void TWinSkinForm::PaintBorderPiece(HDC dc, TBorderSide side, const TPixelRect& r)
{
    if (r.IsEmpty())
        return;
    const TPixelBuffer piece = BuildBorderPiece(FSkinData->Skin(), side, r.Width(), r.Height(),
                                                FIsActive ? TActivation::Active : TActivation::Inactive);
    PutPixels(dc, r.Left, r.Top, piece);
}

void TWinSkinForm::PaintTitle(HDC dc)
{
    const TSkinObjects& skin = FSkinData->Skin();
    const TPixelRect size = WindowSize(FWindow);
    TCaptionScene scene;
    scene.Width = size.Width();
    scene.Height = size.Height();
    scene.Borders = FBorders;
    scene.Show = FShowState;
    scene.Activation = FIsActive ? TActivation::Active : TActivation::Inactive;
    const TPixelRect band = CaptionBandRect(scene);
    if (band.IsEmpty())
        return;
    if (FTitleBitmap.Width() != band.Width() || FTitleBitmap.Height() != band.Height())
        FTitleBitmap = CreateDibBuffer(band.Width(), band.Height());

    const TCaptionWindow facts = CaptionWindowFacts();
    UpdateSysButtons(FButtons, facts, [this](int code, int action) {
        return ::SendMessageW(FWindow, SKM_SYSBUTTONVISIBLE, WPARAM(code), LPARAM(action)) > 0;
    });
    FRightButtonArea = RightButtonArea(FButtons);

    const TDibDC bandDC(FTitleBitmap);
    // What is on screen under the band shows through the skin's key-coloured pixels.
    ::BitBlt(bandDC.get(), 0, 0, band.Width(), band.Height(), dc, 0, 0, SRCCOPY);

    // The text is measured first: the title background is painted behind where it goes.
    const std::wstring text = L" " + WindowText() + L"  ";
    const HFONT font = FSkinData->CaptionFont() ? FSkinData->CaptionFont()
                                                : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const win::Select selectFont(bandDC.get(), font);
    RECT measured{};
    ::DrawTextW(bandDC.get(), text.c_str(), -1, &measured, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
    TCaptionTextInput input;
    input.Caption = {0, 0, band.Width(), FBorders.Top};
    input.TextWidth = measured.right - measured.left;
    input.TextHeight = measured.bottom - measured.top;
    input.Reading = FRightToLeft ? TReading::RightToLeft : TReading::LeftToRight;
    input.Popup = (::GetWindowLongPtrW(FWindow, GWL_STYLE) & WS_POPUP) != 0;
    input.DialogFrame = FBorderKind == TBorderKind::DialogFrame;
    input.RightButtonArea = FRightButtonArea;
    const TCaptionTextPlacement placement = PlaceCaptionText(input, skin.Title);
    scene.TitleBackground = placement.Background;
    FCaptionBackground = placement.Background;
    FCaptionTextRect = placement.Text;

    ComposeCaptionBackground(FTitleBitmap.View(), skin, scene);
    ::GdiFlush();
    const int colourIndex = FIsActive ? 1 : 2;
    ::SetTextColor(bandDC.get(), ResolveColor(skin.SysColours[colourIndex], skin.SystemColors()));
    ::SetBkMode(bandDC.get(), TRANSPARENT);
    const int saved = ::SaveDC(bandDC.get());
    ::IntersectClipRect(bandDC.get(), placement.Clip.Left, placement.Clip.Top, placement.Clip.Right,
                        placement.Clip.Bottom);
    RECT textRect{placement.Text.Left, placement.Text.Top, placement.Text.Right, placement.Text.Bottom};
    UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (FRightToLeft)
        format |= DT_RIGHT | DT_RTLREADING;
    ::DrawTextW(bandDC.get(), text.c_str(), -1, &textRect, format);
    ::RestoreDC(bandDC.get(), saved);
    ::GdiFlush();
    FTitleBackground = FTitleBitmap.Clone();

    TButtonLayoutFrame layout;
    layout.Width = band.Width();
    layout.Borders = FBorders;
    layout.MenuBarHeight = FMenuBarHeight;
    layout.CaptionText = placement.Text;
    layout.MenuBarLeftWidth = skin.MenuBar ? skin.MenuBar->LeftWidth : 0;
    LayoutSysButtons(FButtons, layout);
    const TPixelView icon = !FIcon.IsEmpty() ? FIcon.View() : FSkinData->AppIcon().View();
    ComposeCaptionButtons(FTitleBitmap.View(), FButtons, scene.Activation, icon);
    PutPixels(dc, 0, 0, FTitleBitmap);
}

void TWinSkinForm::PaintSysButton(size_t index)
{
    if (index >= FButtons.size() || FTitleBitmap.IsEmpty() || FTitleBackground.IsEmpty())
        return;
    if (FState != TFrameState::Active && FState != TFrameState::Refreshing)
        return;
    const TCaptionButton& button = FButtons[index];
    if (!button.Visible || button.Bounds.IsEmpty())
        return;
    const TPixelView icon = !FIcon.IsEmpty() ? FIcon.View() : FSkinData->AppIcon().View();
    ::PaintSysButton(FTitleBitmap.View(), button.Bounds, button, StatePaintFrame(button), icon,
                     FTitleBackground.View());
    const win::NonClientDC dc(FWindow);
    PutPixelRect(dc.get(), button.Bounds.Left, button.Bounds.Top, FTitleBitmap, button.Bounds);
}

void TWinSkinForm::UpdateRegion()
{
    if (!FFramePainting || FState == TFrameState::WindowDestroyed || FState == TFrameState::Destroying)
        return;
    if (FMdiRole == TMdiRole::Child && FShowState != TShowState::Normal)
        return;
    const TPixelRect size = WindowSize(FWindow);
    if (size.Width() == 0 || size.Height() == 0)
        return;
    if (size.Width() == FRegionSize.cx && size.Height() == FRegionSize.cy && FMdiRole != TMdiRole::Child &&
        FState != TFrameState::Refreshing)
        return;
    const TFrameRegion region = BuildFrameRegion(FSkinData->Skin(), size.Width(), size.Height(), FBorders, FBorderKind);
    win::GdiObject<HRGN> rgn;
    switch (region.Kind) {
    case TFrameRegion::TKind::None: return;
    case TFrameRegion::TKind::WholeWindow: rgn.reset(::CreateRectRgn(0, 0, size.Width(), size.Height())); break;
    case TFrameRegion::TKind::Rects: rgn = CreateRegionFromRects(region.Rects); break;
    }
    if (rgn && ::SetWindowRgn(FWindow, rgn.get(), TRUE)) {
        (void)rgn.release();
        FRegionSize = {size.Width(), size.Height()};
    }
}
