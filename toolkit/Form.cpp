// Form window styles, sizing from the client area, centring, and closing.
#include "toolkit/Form.h"

#include "toolkit/Application.h"
#include "toolkit/Menu.h"
#include "toolkit/MenuMessages.h"
#include "toolkit/SysUtils.h"

namespace {
const TPropertyInfo kFormProps[] = {
    {L"AutoScroll", [](const TObject& o) { return BoolToStr(static_cast<const TCustomForm&>(o).AutoScroll()); },
     [](TObject& o, std::wstring_view v) { static_cast<TCustomForm&>(o).SetAutoScroll(StrToBool(v)); }},
    {L"BorderStyle",
     [](const TObject& o) {
         static const wchar_t* const names[] = {L"bsNone", L"bsSingle", L"bsSizeable", L"bsDialog"};
         return std::wstring(names[size_t(static_cast<const TCustomForm&>(o).BorderStyle())]);
     },
     nullptr},
};
} // namespace

const TClassInfo TCustomForm::StaticClass{L"TCustomForm", &TWinControl::StaticClass, kFormProps};
const TClassInfo TForm::StaticClass{L"TForm", &TCustomForm::StaticClass, {}};

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner)
{
    SetVisible(false);
    if (Application)
        Application->AddForm(this);
}

TCustomForm::~TCustomForm()
{
    if (Application)
        Application->RemoveForm(this);
    // No message to the form here: only the window must let go, or it destroys the menu.
    if (FMenu) {
        if (FHandle)
            ::SetMenu(FHandle, nullptr);
        FMenu->FForm = nullptr;
        FMenu = nullptr;
    }
    DestroyHandle();
}

void TCustomForm::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_OVERLAPPED;
    Params.ExStyle = WS_EX_CONTROLPARENT;
    switch (FBorderStyle) {
    case TFormBorderStyle::None: Params.Style |= WS_POPUP; break;
    case TFormBorderStyle::Single: Params.Style |= WS_CAPTION | WS_BORDER; break;
    case TFormBorderStyle::Sizeable: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case TFormBorderStyle::Dialog: Params.Style |= WS_CAPTION | DS_MODALFRAME; Params.ExStyle |= WS_EX_DLGMODALFRAME; break;
    }
    if (FBorderStyle != TFormBorderStyle::None) {
        if (HasIcon(FBorderIcons, TBorderIcon::SystemMenu)) {
            Params.Style |= WS_SYSMENU;
            if (HasIcon(FBorderIcons, TBorderIcon::Minimize)) Params.Style |= WS_MINIMIZEBOX;
            if (HasIcon(FBorderIcons, TBorderIcon::Maximize)) Params.Style |= WS_MAXIMIZEBOX;
        }
    }
    Params.WndParent = nullptr;
    Params.WindowClass.style |= CS_HREDRAW | CS_VREDRAW;
}

void TCustomForm::CreateWnd()
{
    TWinControl::CreateWnd();
    if (FMenu)
        ::SetMenu(FHandle, FMenu->Handle());
    if (FIcon) {
        ::SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon));
        ::SendMessageW(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(FIcon));
    }
    PlaceWindow(FPosition != TPosition::Designed);
}

void TCustomForm::PlaceWindow(bool centre)
{
    RECT window{}, client{};
    ::GetWindowRect(FHandle, &window);
    ::GetClientRect(FHandle, &client);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    if (FClientWidth > 0 && FClientHeight > 0) {
        // Whatever frame the system drew, grow the window until the client area fits.
        width += FClientWidth - client.right;
        height += FClientHeight - client.bottom;
    }
    int left = FLeft, top = FTop;
    if (centre) {
        left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    }
    ::SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
}

void TCustomForm::SetClientSize(int width, int height)
{
    FClientWidth = width;
    FClientHeight = height;
    if (FHandle)
        PlaceWindow(false);
}

TRect TCustomForm::ClientRect()
{
    if (!FHandle)
        return {0, 0, FClientWidth, FClientHeight};
    return TWinControl::ClientRect();
}

void TCustomForm::SetIcon(HICON icon) noexcept
{
    FIcon = icon;
    if (FHandle) {
        ::SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        ::SendMessageW(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
}

void TCustomForm::SetMenu(TMainMenu* menu)
{
    if (menu == FMenu)
        return;
    if (FMenu)
        FMenu->FForm = nullptr;
    // A menu handle is one window's menu bar at a time.
    if (menu && menu->FForm)
        menu->FForm->SetMenu(nullptr);
    FMenu = menu;
    if (FMenu)
        FMenu->FForm = this;
    MenuChanged();
}

void TCustomForm::MenuChanged()
{
    if (FHandle)
        ::SendMessageW(FHandle, CM_MENUCHANGED, 0, 0);
}

std::vector<TMenu*> TCustomForm::Menus() const
{
    std::vector<TMenu*> menus{FMenu};
    if (TMenu* tracking = TPopupMenu::Tracking(); tracking && tracking != FMenu)
        menus.push_back(tracking);
    for (size_t i = 0; i < ComponentCount(); ++i)
        if (auto* menu = As<TMenu>(Components(i)); menu && menu != FMenu && menu != TPopupMenu::Tracking())
            menus.push_back(menu);
    return menus;
}

bool TCustomForm::IsShortCut(TShortCut shortCut)
{
    for (TMenu* menu : Menus())
        if (menu)
            if (TMenuItem* item = menu->Items()->FindShortCut(shortCut)) {
                // As a command through the window, so the click runs guarded like a menu's.
                ::SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
                return true;
            }
    return false;
}

void TCustomForm::Show()
{
    SetVisible(true);
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::SetForegroundWindow(FHandle);
    ::UpdateWindow(FHandle);
}

void TCustomForm::Close()
{
    if (FHandle)
        ::SendMessageW(FHandle, WM_CLOSE, 0, 0);
}

void TCustomForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CLOSE:
        // Closing the main form ends the program; others are only hidden.
        if (Application && Application->MainForm() == this)
            Application->Terminate();
        SetVisible(false);
        Message.Result = 0;
        return;
    case CM_MENUCHANGED:
        // Put back each time: whoever paints the bar may have taken the menu off the window.
        ::SetMenu(FHandle, FMenu ? FMenu->Handle() : nullptr);
        ::DrawMenuBar(FHandle);
        Message.Result = 0;
        return;
    case WM_DESTROY:
        // A window destroys the menu it shows; the menu component owns this one.
        if (FMenu)
            ::SetMenu(FHandle, nullptr);
        break;
    case WM_COMMAND:
    case WM_INITMENUPOPUP:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_MENUCHAR:
        if (DispatchMenuMessage(Menus(), Message))
            return;
        break;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}
