// The control wrapper base: attaching in both modes, the message route, repainting and the
// parent's background for transparent controls.
#include "skin/controls/SkinControl.h"

#include "skin/window/SkinData.h"
#include "skin/window/SkinMessages.h"
#include "toolkit/SysUtils.h"
#include "toolkit/WinControl.h"
#include "toolkit/WinHandle.h"

#include <algorithm>
#include <exception>

const TClassInfo TSkinControl::StaticClass{L"TSkinControl", &TComponent::StaticClass, {}};

TSkinControl::TSkinControl(TWinControl* control) : TComponent(nullptr), FControl(control)
{
    // The control may go first (its window with it); the wrapper must then forget it.
    if (FControl)
        FControl->FreeNotification(this);
}

TSkinControl::~TSkinControl()
{
    DetachWrapper();
    if (FControl)
        FControl->RemoveFreeNotification(this);
}

void TSkinControl::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::Remove && component == FControl) {
        FControl = nullptr;
        FState = TWrapperState::WindowDestroyed;
    }
}

bool TSkinControl::Attach(TWinSkinForm* frame, TSkinData* skinData, bool useSkinColour)
{
    if (FAttached || !FControl || !skinData || !FControl->HandleAllocated())
        return false;
    FFrame = frame;
    FSkinData = skinData;
    FUseSkinColour = useSkinColour;
    FWindow = FControl->Handle();
    FUnicode = ::IsWindowUnicode(FWindow) != FALSE;
    if (TakesOverMessages() && !FLink.AttachHook<&TSkinControl::WrapperHook>(FControl, this))
        return false;
    FAttached = true;
    if (useSkinColour) {
        if (!skinData->Options().Contains(TSkinOption::xoParentBackGround) && PropertyIsTrue(L"ParentBackground")) {
            FControl->SetPropValue(L"ParentBackground", L"False");
            FParentBackgroundChanged = true;
        }
        FSavedColour = FControl->Color();
        FControl->SetColor(skinData->FaceColour());
    }
    if (FParentBackgroundChanged)
        FVariant = 1;
    FState = TWrapperState::Attached;
    Repaint();
    return true;
}

bool TSkinControl::AttachHandle(HWND hwnd, TSkinData* skinData, TWinSkinForm* frame)
{
    if (FAttached || !skinData || !::IsWindow(hwnd))
        return false;
    FWindow = hwnd;
    FSkinData = skinData;
    FFrame = frame;
    FVariant = 0;
    FUnicode = ::IsWindowUnicode(hwnd) != FALSE;
    FCaption = WindowText(hwnd);
    if (!FLink.AttachProc<&TSkinControl::WrapperHook>(hwnd, this))
        return false;
    FAttached = true;
    FState = TWrapperState::Attached;
    ::InvalidateRect(hwnd, nullptr, TRUE);
    return true;
}

void TSkinControl::DetachWrapper()
{
    if (!FAttached || FDetached)
        return;
    FDetached = true;
    const bool alive = FState != TWrapperState::WindowDestroyed && ::IsWindow(FWindow);
    if (alive && FControl) {
        if (FParentBackgroundChanged)
            FControl->SetPropValue(L"ParentBackground", L"True");
        if (FUseSkinColour)
            FControl->SetColor(FSavedColour);
    }
    FLink.Detach();
    FSkinData = nullptr;
    FFrame = nullptr;
    // The control paints itself again.
    if (alive)
        ::InvalidateRect(FWindow, nullptr, TRUE);
}

void TSkinControl::WrapperHook(TMessage& Message)
{
    if (Message.Msg == WM_NCDESTROY)
        FState = TWrapperState::WindowDestroyed;
    if (Message.Msg == SKM_SETACTIVE) {
        // A window may carry more than one wrapper (a combo box and its scroll bar's); all of
        // them switch, the innermost first, before anything repaints. Controls ignore it.
        CallPrevious(Message);
        const bool on = Message.WParam > 0;
        const bool changed = on != FSkinActive;
        FSkinActive = on;
        Message.Result = 0;
        // Either way the face on screen belongs to the other painter now.
        if (changed) {
            ActiveChanged();
            Repaint();
        }
        return;
    }
    if (!FSkinActive || FDetached) {
        CallPrevious(Message);
        return;
    }
    if (!BeforeMessage(Message))
        return;
    CallPrevious(Message);
    // The control's own handling may have let go of us (a click that closes the window).
    if (!FDetached)
        AfterMessage(Message);
}

bool TSkinControl::BeforeMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCDESTROY:
        CallPrevious(Message);
        DetachWrapper();
        return false;
    case SKM_QUERYSKINNED:
        Message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinControl::AfterMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
        Repaint();
        break;
    case WM_PAINT:
        PaintControl(reinterpret_cast<HDC>(Message.WParam));
        break;
    default:
        break;
    }
}

void TSkinControl::PaintControl(HDC dc)
{
    if (FDetached || !::IsWindow(FWindow))
        return;
    try {
        ::GetWindowRect(FWindow, &FWindowRect);
        const RECT rect{0, 0, FWindowRect.right - FWindowRect.left, FWindowRect.bottom - FWindowRect.top};
        if (dc) {
            Draw(dc, rect);
        } else {
            const win::WindowDC own(FWindow);
            Draw(own.get(), rect);
        }
    } catch (const std::exception&) {
        // A paint that failed leaves the old face; the next one tries again.
    }
}

void TSkinControl::Draw(HDC, const RECT&) {}

void TSkinControl::Refresh()
{
    if (FDetached)
        return;
    if (FUseSkinColour && FControl && FSkinData)
        FControl->SetColor(FSkinData->FaceColour());
    Repaint();
}

void TSkinControl::Repaint() const
{
    if (FWindow)
        ::RedrawWindow(FWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool TSkinControl::TransparentMode() const
{
    return (FControl && FControl->Tag() == kTransparentTag) ||
        (FSkinData && FSkinData->Options().Contains(TSkinOption::xoTransparent));
}

void TSkinControl::PaintParentBackground(HDC dc) const
{
    const HWND parent = ::GetParent(FWindow);
    if (!parent)
        return;
    RECT bounds{};
    ::GetWindowRect(FWindow, &bounds);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top);
    ::OffsetViewportOrgEx(dc, -bounds.left, -bounds.top, nullptr);
    ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SendMessageW(parent, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    ::RestoreDC(dc, saved);
}

std::wstring TSkinControl::Property(const wchar_t* name) const
{
    if (!FControl)
        return {};
    return FControl->GetPropValue(name).value_or(std::wstring());
}

bool TSkinControl::PropertyIsTrue(const wchar_t* name) const
{
    return SameText(Property(name), L"true");
}

void TSkinControl::PaintMessage(TMessage& Message)
{
    ::GetWindowRect(FWindow, &FWindowRect);
    const RECT rect{0, 0, FWindowRect.right - FWindowRect.left, FWindowRect.bottom - FWindowRect.top};
    if (Message.WParam) {
        Draw(reinterpret_cast<HDC>(Message.WParam), rect);
    } else {
        const win::PaintDC dc(FWindow);
        Draw(dc.get(), rect);
    }
    Message.Result = 0;
}

std::wstring TSkinControl::WindowText(HWND hwnd)
{
    const int length = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}
