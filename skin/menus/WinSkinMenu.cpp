// The skinned menu bar: its items from the window's menu, their layout and painting in the
// frame's band, and opening an item's submenu as a tracked popup.
#include "skin/menus/WinSkinMenu.h"

#include "skin/menus/MenuBarLayout.h"
#include "skin/menus/MenuBarTracking.h"
#include "skin/menus/MenuEntry.h"
#include "skin/menus/MenuItemPainter.h"
#include "skin/pixels/Painters.h"
#include "skin/pixels/PixelBuffer_win.h"
#include "skin/pixels/SystemColors.h"
#include "skin/window/CaptionComposer.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "toolkit/Form.h"
#include "toolkit/Menu.h"

#include <algorithm>

namespace {

constexpr int kMenubarColour = 13, kMenuBarTextColour = 14, kButtonHilightColour = 5, kButtonShadowColour = 7;
constexpr int kMaxItemText = 80;

// Every item at every depth drawn by the window, so the skin's item drawer paints them.
void MakeOwnerDrawn(HMENU menu, int depth = 0)
{
    if (!menu || depth > 32)
        return;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (!(info.fType & MFT_OWNERDRAW)) {
            MENUITEMINFOW type{};
            type.cbSize = sizeof(type);
            type.fMask = MIIM_FTYPE;
            type.fType = info.fType | MFT_OWNERDRAW;
            ::SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &type);
        }
        MakeOwnerDrawn(info.hSubMenu, depth + 1);
    }
}

TPixelRect Offset(const TPixelRect& r, int dx, int dy) { return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }

} // namespace

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& frame, TSkinData* skinData) : FFrame(frame), FSkinData(skinData) {}

TWinSkinMenu::~TWinSkinMenu()
{
    // A bar freed while its popup is open (its window went inside the menu loop) must not be
    // followed by the loop's hook any more.
    TMenuTracking& tracking = MenuTracking();
    if (tracking.Menu == this)
        tracking.Menu = nullptr;
}

// ---- Items ------------------------------------------------------------------------------

void TWinSkinMenu::BuildMenuBar()
{
    const HWND hwnd = FFrame.WindowHandle();
    if (const HMENU current = ::GetMenu(hwnd))
        FWindowMenu = current;
    ReadItems();
    if (::GetMenu(hwnd))
        ::SetMenu(hwnd, nullptr);
}

void TWinSkinMenu::RebuildMenuBar()
{
    BuildMenuBar();
    LayoutMenuBar();
}

void TWinSkinMenu::TakeMenu(HMENU menu)
{
    FWindowMenu = menu;
    ReadItems();
    if (::GetMenu(FFrame.WindowHandle()))
        ::SetMenu(FFrame.WindowHandle(), nullptr);
    LayoutMenuBar();
}

void TWinSkinMenu::ReadItems()
{
    for (const auto& item : FItems)
        if (FFrame.HotObject == item.get())
            FFrame.HotObject = nullptr;
    FItems.clear();
    FRightToLeft = (::GetWindowLongPtrW(FFrame.WindowHandle(), GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    TCustomForm* form = FFrame.FormControl();
    // A toolkit form without a menu shows no items, whatever handle was kept.
    if (!FWindowMenu || !::IsMenu(FWindowMenu) || (form && !form->Menu()))
        return;
    TMainMenu* toolkitMenu = form ? form->Menu() : nullptr;
    const int count = ::GetMenuItemCount(FWindowMenu);
    for (int i = 0; i < count; ++i) {
        const std::optional<TMenuEntry> entry = ReadMenuEntry(FWindowMenu, static_cast<UINT>(i), true, kMaxItemText);
        if (!entry)
            continue;
        auto item = std::make_unique<TMenuBtn>(FFrame, *this, FItems.size());
        item->Enabled = entry->Enabled();
        item->Caption = (entry->Type & (MFT_SEPARATOR | MFT_BITMAP)) ? L"" : entry->Text;
        item->Popup = entry->SubMenu;
        item->Command = entry->Id;
        if (entry->Type & MFT_RIGHTORDER)
            FRightToLeft = true;
        if (TMenuItem* match = toolkitMenu ? toolkitMenu->FindItem(entry->Id) : nullptr) {
            item->Caption = match->Caption();
            item->Enabled = match->Enabled();
            item->Popup = match->Handle();
        }
        FItems.push_back(std::move(item));
    }
}

void TWinSkinMenu::PostItemPress(size_t index) const
{
    const TMenuBtn* item = Item(index);
    if (!item)
        return;
    RECT window{};
    ::GetWindowRect(FFrame.WindowHandle(), &window);
    const LPARAM at = MAKELPARAM(window.left + item->Bounds().Left + 1, window.top + item->Bounds().Top + 1);
    ::PostMessageW(FFrame.WindowHandle(), WM_NCLBUTTONDOWN, HTMENU, at);
}

std::optional<size_t> TWinSkinMenu::FindAccelerator(wchar_t key) const
{
    for (const auto& item : FItems)
        if (item->Visible() && !item->Caption.empty() && IsAccelerator(key, item->Caption))
            return item->Index();
    return std::nullopt;
}

// ---- Geometry ----------------------------------------------------------------------------

int TWinSkinMenu::ButtonLimit(const TPixelRect& band) const
{
    int limit = band.Right;
    for (const TCaptionButton& b : FFrame.CaptionButtons())
        if (b.Data && b.Data->Align == 100 && b.Visible && !b.Bounds.IsEmpty())
            limit = std::min(limit, b.Bounds.Left - 2);
    return limit;
}

void TWinSkinMenu::LayoutMenuBar()
{
    RECT window{};
    ::GetWindowRect(FFrame.WindowHandle(), &window);
    const TFrameBorders& b = FFrame.Borders();
    const TPixelRect band{b.Left, b.Top, (window.right - window.left) - b.Right, b.Top + FFrame.MenuBarHeight()};
    const TDataSkinObject* bar = FSkinData ? FSkinData->Skin().MenuBar.get() : nullptr;
    TMenuBarFacts facts;
    facts.Band = band;
    facts.HasBarObject = bar && !bar->Bitmap.IsEmpty();
    facts.BarLeftWidth = bar ? bar->LeftWidth : 0;
    facts.BarRightWidth = bar ? bar->RightWidth : 0;
    facts.RightToLeft = FRightToLeft;
    facts.RightLimit = ButtonLimit(band);

    std::vector<int> widths;
    {
        const win::WindowDC screen(nullptr);
        const win::Select font(screen.get(), MenuFont());
        for (const auto& item : FItems) {
            RECT r{};
            if (!item->Caption.empty())
                ::DrawTextW(screen.get(), item->Caption.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
            widths.push_back(item->Visible() ? int(r.right - r.left) : -1);
        }
    }
    const std::vector<TPixelRect> rects = LayoutMenuBarItems(facts, widths);
    for (size_t i = 0; i < FItems.size(); ++i)
        FItems[i]->FBounds = rects[i];
}

std::optional<size_t> TWinSkinMenu::MenuBarHitTest(TFramePoint p) const
{
    for (const auto& item : FItems)
        if (item->Visible() && !item->Caption.empty() && Contains(item->Bounds(), p))
            return item->Index();
    return std::nullopt;
}

// ---- Painting ----------------------------------------------------------------------------

void TWinSkinMenu::DrawCaption(HDC dc, const TMenuBtn& item, const TPixelRect& r, COLORREF colour) const
{
    RECT text{r.Left, r.Top, r.Right, r.Bottom};
    ::SetTextColor(dc, colour);
    ::SetBkMode(dc, TRANSPARENT);
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (FRightToLeft)
        format |= DT_RTLREADING;
    ::DrawTextW(dc, item.Caption.c_str(), -1, &text, format);
}

void TWinSkinMenu::PaintMenuBar(HDC dc, const TPixelRect& band)
{
    if (band.IsEmpty() || !FSkinData)
        return;
    const TSkinObjects& skin = FSkinData->Skin();
    const TSystemColors& sys = skin.SystemColors();
    if (FBandPicture.Width() != band.Width() || FBandPicture.Height() != band.Height())
        FBandPicture = CreateDibBuffer(band.Width(), band.Height());
    const TPixelView view = FBandPicture.View();
    const TPixelRect whole{0, 0, band.Width(), band.Height()};
    const TDataSkinObject* bar = skin.MenuBar.get();
    if (bar && !bar->Bitmap.IsEmpty()) {
        const int frame = FFrame.IsActive() ? 1 : 2;
        if (bar->Tile == 1)
            DrawNineSlice(view, whole, bar->Bitmap.View(), TStrip::Vertical, TCentre::Stretch, TKeying::Opaque, 2, frame,
                          bar->Margins());
        else
            DrawThreeSlice(view, whole, bar->Bitmap.View(), TStrip::Vertical, TKeying::Opaque, 2, frame, bar->Margins());
    } else {
        FBandPicture.Fill(ToPixel(skin.SysColours[kMenubarColour], sys));
    }
    FBandBitmap = FBandPicture.Clone();
    FBandRect = band;
    LayoutMenuBar();

    {
        const win::BitmapDC bandDC(DibHandle(FBandPicture));
        const win::Select font(bandDC.get(), MenuFont());
        ::GdiFlush();
        const COLORREF text = ResolveColor(skin.SysColours[kMenuBarTextColour], sys);
        for (const auto& item : FItems) {
            // Only an open item keeps its look over a full paint; the frame forgets the others.
            if (!(FFrame.MenuTracking() && item.get() == FFrame.HotObject))
                item->FState = 1;
            if (item->Visible() && !item->Bounds().IsEmpty())
                DrawCaption(bandDC.get(), *item, Offset(item->Bounds(), -band.Left, -band.Top),
                            item->Enabled ? text : ::GetSysColor(COLOR_BTNSHADOW));
        }
        ::GdiFlush();
    }
    // The MDI child's buttons, when the band holds them.
    const TActivation activation = FFrame.IsActive() ? TActivation::Active : TActivation::Inactive;
    for (const TCaptionButton& b : FFrame.CaptionButtons())
        if (b.Data && b.Data->Align == 100 && b.Visible && !b.Data->Bitmap.IsEmpty())
            ::PaintSysButton(view, Offset(b.Bounds, -band.Left, -band.Top), b, FullPaintFrame(b, activation), {});
    PutPixels(dc, band.Left, band.Top, FBandPicture);
    for (const auto& item : FItems)
        if (item->FState != 1)
            PaintItem(item->Index());
}

void TWinSkinMenu::PaintItem(size_t index)
{
    const TMenuBtn* item = Item(index);
    if (!item || FBandBitmap.IsEmpty() || !item->Visible() || item->Bounds().IsEmpty() || !FSkinData)
        return;
    const TPixelRect r = Intersect(Offset(item->Bounds(), -FBandRect.Left, -FBandRect.Top), FBandPicture.View().Bounds());
    if (r.IsEmpty())
        return;
    const TSkinObjects& skin = FSkinData->Skin();
    const TSystemColors& sys = skin.SystemColors();
    const TPixelView view = FBandPicture.View();
    const TPixelView back = FBandBitmap.View();
    for (int y = r.Top; y < r.Bottom; ++y)
        std::copy(back.Row(y) + r.Left, back.Row(y) + r.Right, view.Row(y) + r.Left);
    if (item->State() == 2 || item->State() == 3) {
        // A hot item stands out, a pressed one is pushed in. The highlight alone would vanish
        // on a light bar, so its counterpart is the shadow colour.
        const std::uint32_t light = ToPixel(skin.SysColours[kButtonHilightColour], sys);
        const std::uint32_t dark = ToPixel(skin.SysColours[kButtonShadowColour], sys);
        const bool pressed = item->State() == 2;
        const std::uint32_t topLeft = pressed ? dark : light, bottomRight = pressed ? light : dark;
        for (int x = r.Left; x < r.Right; ++x) {
            view.At(x, r.Top) = topLeft;
            view.At(x, r.Bottom - 1) = bottomRight;
        }
        for (int y = r.Top; y < r.Bottom; ++y) {
            view.At(r.Left, y) = topLeft;
            view.At(r.Right - 1, y) = bottomRight;
        }
        view.At(r.Right - 1, r.Top) = view.At(r.Left, r.Bottom - 1) = bottomRight;
    }
    {
        const win::BitmapDC bandDC(DibHandle(FBandPicture));
        const win::Select font(bandDC.get(), MenuFont());
        ::GdiFlush();
        DrawCaption(bandDC.get(), *item, r,
                    item->Enabled ? ResolveColor(skin.SysColours[kMenuBarTextColour], sys) : ::GetSysColor(COLOR_BTNSHADOW));
        ::GdiFlush();
    }
    const win::NonClientDC dc(FFrame.WindowHandle());
    PutPixelRect(dc.get(), FBandRect.Left + r.Left, FBandRect.Top + r.Top, FBandPicture, r);
}

void TWinSkinMenu::PaintBandButton(size_t buttonIndex)
{
    const auto& buttons = FFrame.CaptionButtons();
    if (buttonIndex >= buttons.size() || FBandBitmap.IsEmpty())
        return;
    const TCaptionButton& b = buttons[buttonIndex];
    if (!b.Visible || b.Bounds.IsEmpty())
        return;
    const TPixelRect r = Offset(b.Bounds, -FBandRect.Left, -FBandRect.Top);
    ::PaintSysButton(FBandPicture.View(), r, b, StatePaintFrame(b), {}, FBandBitmap.View());
    const TPixelRect part = Intersect(r, FBandPicture.View().Bounds());
    if (part.IsEmpty())
        return;
    const win::NonClientDC dc(FFrame.WindowHandle());
    PutPixelRect(dc.get(), FBandRect.Left + part.Left, FBandRect.Top + part.Top, FBandPicture, part);
}

// ---- Opening an item ---------------------------------------------------------------------

bool TWinSkinMenu::OpenMenuBarItem(size_t index)
{
    TMenuBtn* item = Item(index);
    if (!item)
        return false;
    const HWND hwnd = FFrame.WindowHandle();
    TMenuTracking& tracking = MenuTracking();
    tracking.Switching = false;
    // An item without submenu fires its command this way. One with a submenu hears of its
    // opening from the popup's own WM_INITMENUPOPUP, as every submenu below it does.
    if (!item->Popup) {
        ::PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(item->Command, 0), 0);
        return false;
    }
    if (tracking.Menu)
        return false;

    tracking.Menu = this;
    tracking.OpenIndex = static_cast<int>(index);
    tracking.OpenPopup = item->Popup;
    MakeOwnerDrawn(item->Popup);
    FFrame.SetMenuTracking(true);
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    const TPixelRect& r = item->Bounds();
    POINT at{window.left + (FRightToLeft ? r.Right : r.Left), window.top + r.Bottom};
    if (SkinManager) {
        SkinManager->PopupSource = 1;
        SkinManager->MenuBarTracking = true;
    }
    {
        tracking.FirstKeySent = false;
        tracking.Switching = false;
        ::GetCursorPos(&tracking.LastCursor);
        const TMenuLoopHook hook;
        if (item->Enabled) {
            // Not TPM_NONOTIFY: the toolkit runs a parent item's OnClick, where a program
            // brings its submenu up to date, from WM_INITMENUPOPUP.
            UINT flags = TPM_RIGHTBUTTON;
            if (FRightToLeft)
                flags |= TPM_RIGHTALIGN;
            ::TrackPopupMenu(item->Popup, flags, at.x, at.y, 0, hwnd, nullptr);
        }
    }
    // The bar goes with its frame when the window went inside the loop; then nothing of it is
    // touched again.
    const bool alive = tracking.Menu == this;
    tracking.OpenIndex = -1;
    tracking.OpenPopup = nullptr;
    tracking.Menu = nullptr;
    if (alive)
        FFrame.SetMenuTracking(false);
    if (SkinManager && SkinManager->PopupList.empty())
        SkinManager->MenuBarTracking = false;
    return true;
}
