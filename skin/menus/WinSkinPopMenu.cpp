// The popup menu window wrapper: its messages and its painting.
#include "skin/menus/WinSkinPopMenu.h"

#include "skin/pixels/Painters.h"
#include "skin/pixels/PixelBuffer_win.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "toolkit/Menu.h"
#include "toolkit/WinHandle.h"

TWinSkinPopMenu::~TWinSkinPopMenu()
{
    Restore();
}

bool TWinSkinPopMenu::Attach(HWND menuWindow, TSkinData* skinData)
{
    if (FWindow || !skinData || !::IsWindow(menuWindow))
        return false;
    if (!FLink.AttachProc<&TWinSkinPopMenu::WndProc>(menuWindow, this))
        return false;
    FWindow = menuWindow;
    FSkinData = skinData;
    return true;
}

void TWinSkinPopMenu::Restore()
{
    FLink.Detach();
    FBackground = {};
    FSkinData = nullptr;
}

void TWinSkinPopMenu::WndProc(TMessage& Message)
{
    if (!FDecided && FSkinData && SkinManager) {
        switch (Message.Msg) {
        case WM_NCPAINT: case WM_ERASEBKGND: case WM_PAINT: case WM_PRINT: case WM_PRINTCLIENT:
            // By its first paint the popup's owner has been told which menu opens.
            FDecided = true;
            FSkinned = SkinAllowed();
            break;
        default:
            break;
        }
    }
    if (Message.Msg == SKM_QUERYSKINNED && FSkinned) {
        Message.Result = 1;
        return;
    }
    if (!FSkinned || !SkinManager || !SkinManager->SkinningEnabled || !FSkinData) {
        if (Message.Msg == WM_DESTROY)
            Restore();
        CallOld(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_DESTROY:
        Restore();
        CallOld(Message);
        return;
    case WM_ERASEBKGND:
        if (!FSkinData->Options().Contains(TSkinOption::xoMenuBG))
            CallOld(Message);
        Message.Result = 1;
        return;
    case WM_NCPAINT:
        if (Message.WParam == 1 && BuildBackground()) {
            const win::NonClientDC dc(FWindow);
            PaintBackground(dc.get());
            Message.Result = 0;
            return;
        }
        break;
    case WM_PRINT:
        if (BuildBackground()) {
            const auto dc = reinterpret_cast<HDC>(Message.WParam);
            PaintBackground(dc);
            // The items over it, each on the background already there.
            RECT window{};
            ::GetWindowRect(FWindow, &window);
            const int saved = ::SaveDC(dc);
            ::IntersectClipRect(dc, kBorder, kBorder, window.right - window.left - kBorder,
                                window.bottom - window.top - kBorder);
            ::SetBkMode(dc, TRANSPARENT);
            CallOld(Message);
            ::RestoreDC(dc, saved);
            return;
        }
        break;
    case WM_PAINT:
        // Where the system draws the menu's border inside the client (Wine does), the skin's
        // border goes back over it; where the border lies outside, this repaints the same pixels.
        CallOld(Message);
        if (!FBackground.IsEmpty()) {
            const win::NonClientDC dc(FWindow);
            PaintBorder(dc.get());
        }
        return;
    default:
        break;
    }
    CallOld(Message);
}

bool TWinSkinPopMenu::SkinAllowed() const
{
    // A popup menu component tagged to stay unskinned keeps the system's look whole.
    if (const TPopupMenu* tracking = TPopupMenu::Tracking(); tracking && tracking->Tag() == FSkinData->DisableTag())
        return false;
    return SkinManager->PopupSourceAllowed(*FSkinData);
}

bool TWinSkinPopMenu::PrepareBackground()
{
    if (!FSkinData || !SkinManager || !SkinManager->SkinningEnabled)
        return false;
    if (!FDecided) {
        FDecided = true;
        FSkinned = SkinAllowed();
    }
    if (!FSkinned)
        return false;
    RECT window{};
    ::GetWindowRect(FWindow, &window);
    if (FBackground.Width() == window.right - window.left && FBackground.Height() == window.bottom - window.top)
        return true;
    return BuildBackground();
}

bool TWinSkinPopMenu::BuildBackground()
{
    const TDataSkinObject* object = FSkinData->Skin().MenuBackground.get();
    if (FSkinData->SkinLoading() || !object || object->Bitmap.IsEmpty())
        return false;
    RECT window{};
    ::GetWindowRect(FWindow, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    if (width <= 0 || height <= 0)
        return false;
    if (FBackground.Width() != width || FBackground.Height() != height)
        FBackground = CreateDibBuffer(width, height);
    DrawNineSlice(FBackground.View(), FBackground.View().Bounds(), object->Bitmap.View(), TStrip::Horizontal,
                  object->Tile ? TCentre::Tile : TCentre::Stretch, TKeying::Opaque, 1, 1, object->Margins());
    ::GdiFlush();
    return true;
}

void TWinSkinPopMenu::PaintBorder(HDC dc) const
{
    const int w = FBackground.Width(), h = FBackground.Height();
    const TPixelRect strips[] = {
        {0, 0, w, kBorder},                      // top
        {0, h - kBorder, w, h},                  // bottom
        {0, kBorder, kBorder, h - kBorder},      // left
        {w - kBorder, kBorder, w, h - kBorder},  // right
    };
    for (const TPixelRect& strip : strips)
        PutPixelRect(dc, strip.Left, strip.Top, FBackground, strip);
}

void TWinSkinPopMenu::PaintBackground(HDC dc) const
{
    PaintBorder(dc);
    PutPixels(dc, 0, 0, FBackground);
}
