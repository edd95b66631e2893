// Skinned popup menu items: composing one item and the handlers toolkit items get.
#include "skin/menus/MenuItemPainter.h"

#include "skin/menus/MenuItemLayout.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "skin/pixels/Blitters.h"
#include "skin/pixels/Painters.h"
#include "skin/pixels/PixelBuffer_win.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "toolkit/Canvas.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"

#include <algorithm>

namespace {

// Entries of the skin's colour table.
constexpr int kButtonHilight = 5, kButtonShadow = 7, kHilightText = 11, kHilight = 12, kMenuText = 15, kMenu = 16;

TColor SkinColour(const TSkinData& skinData, int index)
{
    const TSkinObjects& skin = skinData.Skin();
    return ResolveColor(skin.SysColours[static_cast<size_t>(index)], skin.SystemColors());
}

std::uint32_t SkinPixel(const TSkinData& skinData, int index)
{
    const TSkinObjects& skin = skinData.Skin();
    return ToPixel(skin.SysColours[static_cast<size_t>(index)], skin.SystemColors());
}

void FillPixels(const TPixelView& view, const TPixelRect& r, std::uint32_t pixel)
{
    const TPixelRect clipped = Intersect(r, view.Bounds());
    for (int y = clipped.Top; y < clipped.Bottom; ++y)
        std::fill(view.Row(y) + clipped.Left, view.Row(y) + clipped.Right, pixel);
}

// The picture under the item: its part of the popup's background, which lies in window
// coordinates while the item's rectangle is in client coordinates (the two differ on systems
// that give the menu window a non-client border).
void CopyBackground(const TPixelView& view, const RECT& rect, const TWinSkinPopMenu* popup, std::uint32_t menuColour)
{
    FillPixels(view, view.Bounds(), menuColour);
    if (!popup || popup->PopupBackground().IsEmpty())
        return;
    POINT client{0, 0};
    RECT window{};
    ::ClientToScreen(popup->Window(), &client);
    ::GetWindowRect(popup->Window(), &window);
    const int x = rect.left + client.x - window.left, y = rect.top + client.y - window.top;
    CopyRect(view, 0, 0, popup->PopupBackground().View(), {x, y, x + view.Width, y + view.Height});
}

// A checked item with an image shows it on a dither of the face and highlight colours.
void PaintDither(const TPixelView& view, const TPixelRect& box)
{
    const TPixelRect clipped = Intersect(box, view.Bounds());
    const std::uint32_t face = ToPixel(::GetSysColor(COLOR_BTNFACE), ClassicSystemColors());
    const std::uint32_t light = ToPixel(::GetSysColor(COLOR_BTNHIGHLIGHT), ClassicSystemColors());
    for (int y = clipped.Top; y < clipped.Bottom; ++y)
        for (int x = clipped.Left; x < clipped.Right; ++x)
            view.At(x, y) = ((x + y) & 1) ? light : face;
}

// The system's check mark is a black shape on white meant as a mask: painted through it in one
// colour, it shows on any item face.
void PaintCheckMark(HDC dc, const TPixelRect& box, COLORREF colour)
{
    const int side = box.Width();
    const win::GdiObject<HBITMAP> mask{::CreateBitmap(side, side, 1, 1, nullptr)};
    const win::BitmapDC maskDC{mask.get()};
    RECT r{0, 0, side, side};
    ::DrawFrameControl(maskDC.get(), &r, DFC_MENU, DFCS_MENUCHECK);
    const win::GdiObject<HBRUSH> brush{::CreateSolidBrush(colour)};
    const COLORREF oldText = ::SetTextColor(dc, RGB(255, 255, 255));
    const COLORREF oldBack = ::SetBkColor(dc, RGB(0, 0, 0));
    {
        const win::Select selected{dc, brush.get()};
        constexpr DWORD kBrushWhereSourceSet = 0x00E20746; // DSPDxax
        ::BitBlt(dc, box.Left, box.Top, side, side, maskDC.get(), 0, 0, kBrushWhereSourceSet);
    }
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);
}

RECT ToRect(const TPixelRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

void PaintContent(HDC dc, const TPixelView& view, const TMenuItemLayout& layout, const TMenuItemLook& look,
                  COLORREF textColour)
{
    const TPixelRect& box = layout.GlyphBox;
    const bool hasImage = look.Images && look.ImageIndex >= 0 && look.ImageIndex < look.Images->Count();
    if (hasImage) {
        if (look.Checked) {
            PaintDither(view, box);
            RECT edge = ToRect(box);
            ::DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
        }
        const int x = box.Left + (box.Width() - look.Images->Width()) / 2;
        const int y = box.Top + (box.Height() - look.Images->Height()) / 2;
        look.Images->Draw(dc, x, y, look.ImageIndex, look.Enabled);
    } else if (look.Checked) {
        PaintCheckMark(dc, box, ::GetSysColor(COLOR_BTNTEXT));
    }
    const win::Select font{dc, MenuFont()};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, textColour);
    const UINT reading = look.RightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
    RECT caption = ToRect(layout.Caption);
    ::DrawTextW(dc, look.Caption.c_str(), static_cast<int>(look.Caption.size()), &caption,
                DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | reading);
    if (!look.ShortCut.empty()) {
        RECT key = ToRect(layout.ShortCut);
        ::DrawTextW(dc, look.ShortCut.c_str(), static_cast<int>(look.ShortCut.size()), &key,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (look.RightToLeft ? DT_LEFT | DT_RTLREADING : DT_RIGHT));
    }
}

} // namespace

HFONT MenuFont()
{
    static const win::GdiObject<HFONT> font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
            return win::GdiObject<HFONT>{};
        return win::GdiObject<HFONT>{::CreateFontIndirectW(&metrics.lfMenuFont)};
    }();
    return font ? font.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

int MenuItemLeftWidth(const TSkinData& skinData) noexcept
{
    const TDataSkinObject* object = skinData.Skin().MenuItem.get();
    return object && !object->Bitmap.IsEmpty() ? object->LeftWidth : 0;
}

void PaintSkinnedMenuItem(HDC dc, const RECT& rect, const TMenuItemLook& look, const TSkinData& skinData,
                          const TWinSkinPopMenu* popup)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    TPixelBuffer picture = CreateDibBuffer(width, height);
    const TPixelView view = picture.View();
    CopyBackground(view, rect, popup, SkinPixel(skinData, kMenu));
    const TDataSkinObject* object = skinData.Skin().MenuItem.get();
    if (object && object->Bitmap.IsEmpty())
        object = nullptr;
    if (look.Separator) {
        const int middle = height / 2 - 1, inset = 2 + (object ? object->LeftWidth : 0);
        FillPixels(view, {inset, middle, width - inset, middle + 1}, SkinPixel(skinData, kButtonShadow));
        FillPixels(view, {inset, middle + 1, width - inset, middle + 2}, SkinPixel(skinData, kButtonHilight));
    } else {
        COLORREF text = SkinColour(skinData, kMenuText);
        if (object) {
            DrawNineSlice(view, view.Bounds(), object->Bitmap.View(), TStrip::Horizontal,
                          object->Tile ? TCentre::Tile : TCentre::Stretch,
                          object->Trans ? TKeying::Transparent : TKeying::Opaque, menu_item_frame::kCount,
                          look.Selected ? menu_item_frame::kSelected : menu_item_frame::kNormal, object->Margins());
            if (look.Selected)
                text = ResolveColor(object->MouseOverColour2, skinData.Skin().SystemColors());
        } else if (look.Selected) {
            FillPixels(view, view.Bounds(), SkinPixel(skinData, kHilight));
            text = SkinColour(skinData, kHilightText);
        }
        if (!look.Enabled)
            text = SkinColour(skinData, kButtonShadow);
        TMenuItemFacts facts;
        facts.Item = {0, 0, width, height};
        facts.SkinLeftWidth = object ? object->LeftWidth : 0;
        facts.ImageWidth = look.Images ? look.Images->Width() : 0;
        facts.Checked = look.Checked;
        facts.RightToLeft = look.RightToLeft;
        const win::BitmapDC canvas{DibHandle(picture)};
        PaintContent(canvas.get(), view, LayoutMenuItem(facts), look, text);
        ::GdiFlush();
    }
    PutPixels(dc, rect.left, rect.top, picture);
}

TWinSkinPopMenu* PopupShowingMenu(HDC dc, HMENU menu)
{
    if (!SkinManager)
        return nullptr;
    if (TWinSkinPopMenu* own = SkinManager->FindPopup(::WindowFromDC(dc))) {
        if (!own->Menu())
            own->SetMenu(menu);
        return own;
    }
    for (auto it = SkinManager->PopupList.rbegin(); it != SkinManager->PopupList.rend(); ++it) {
        if ((*it)->Menu() == menu)
            return it->get();
        if (!(*it)->Menu()) {
            (*it)->SetMenu(menu);
            return it->get();
        }
    }
    return nullptr;
}

TMenuItemLook LookOfItem(const TMenuItem& item, bool selected)
{
    TMenuItemLook look;
    look.Caption = item.Caption();
    look.ShortCut = ShortCutToText(item.ShortCut());
    look.Separator = item.IsLine();
    look.Enabled = item.Enabled();
    look.Checked = item.Checked();
    look.Selected = selected;
    const TMenu* menu = item.GetParentMenu();
    look.Images = menu ? menu->Images() : nullptr;
    look.ImageIndex = item.ImageIndex();
    if (const TMenuItem* parent = item.Parent(); parent && parent->Handle()) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        look.RightToLeft = ::GetMenuItemInfoW(parent->Handle(), item.Command(), FALSE, &info) &&
            (info.fType & MFT_RIGHTORDER) != 0;
    }
    return look;
}

void DrawSkinnedMenuItem(HDC dc, const RECT& rect, const TMenuItem& item, bool selected, const TSkinData& skinData,
                         bool rightToLeft)
{
    const TMenuItem* parent = item.Parent();
    TWinSkinPopMenu* popup = PopupShowingMenu(dc, parent ? parent->Handle() : nullptr);
    // Wine draws the items before the popup's first paint has built the picture they lie on.
    if (popup)
        popup->PrepareBackground();
    TMenuItemLook look = LookOfItem(item, selected);
    look.RightToLeft = look.RightToLeft || rightToLeft;
    PaintSkinnedMenuItem(dc, rect, look, skinData, popup);
}

void TMenuItemDrawer::operator()(TObject* Sender, TCanvas& ACanvas, const TRect& ARect, bool Selected) const
{
    const auto* item = As<TMenuItem>(Sender);
    if (!item || !SkinData)
        return;
    DrawSkinnedMenuItem(ACanvas.Handle(), RECT{ARect.Left, ARect.Top, ARect.Right, ARect.Bottom}, *item, Selected,
                        *SkinData, RightToLeft);
}

void TMenuItemMeasurer::operator()(TObject* Sender, TCanvas&, int& Width, int&) const
{
    const auto* item = As<TMenuItem>(Sender);
    if (!item || !SkinData || item->IsLine())
        return;
    const TMenu* menu = item->GetParentMenu();
    Width = SkinnedPopupItemWidth(Width, MenuItemLeftWidth(*SkinData), menu && menu->Images());
}

void TMainMenuItemMeasurer::operator()(TObject* Sender, TCanvas& ACanvas, int& Width, int& Height) const
{
    if (Own)
        Own(Sender, ACanvas, Width, Height);
    const auto* item = As<TMenuItem>(Sender);
    if (!item || !SkinData || item->IsLine())
        return;
    const TMenu* menu = item->GetParentMenu();
    Width = SkinnedMainMenuItemWidth(Width, MenuItemLeftWidth(*SkinData), menu && menu->Images());
}
