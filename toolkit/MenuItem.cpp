// Menu items: command ids, the menu entries built from the visible items, updates in place,
// and the system look of owner-drawn items without handlers.
#include "toolkit/MenuItem.h"

#include "toolkit/Canvas.h"
#include "toolkit/Exception.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"
#include "toolkit/SysUtils.h"

#include <algorithm>
#include <cstdlib>

namespace {

// WM_COMMAND carries the id in 16 bits; ids from 0xF000 up are the system menu's.
class TCommandPool {
public:
    UINT Acquire()
    {
        for (size_t n = 0; n < FUsed.size(); ++n) {
            FNext = FNext % (FUsed.size() - 1) + 1; // 0 is no command
            if (!FUsed[FNext]) {
                FUsed[FNext] = true;
                return static_cast<UINT>(FNext);
            }
        }
        throw Exception(L"Too many menu items");
    }
    void Release(UINT command) noexcept
    {
        if (command < FUsed.size())
            FUsed[command] = false;
    }

private:
    std::vector<bool> FUsed = std::vector<bool>(0xF000, false);
    size_t FNext = 0;
};

// Menus are made and routed on the GUI thread only.
TCommandPool& CommandPool()
{
    static TCommandPool pool;
    return pool;
}

constexpr int kGlyphColumn = 16;
constexpr int kTextGap = 8;
constexpr int kShortCutGap = 16;

void UseMenuFont(TFont& font)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return;
    font.SetName(metrics.lfMenuFont.lfFaceName);
    if (metrics.lfMenuFont.lfHeight != 0)
        font.SetHeight(std::abs(static_cast<int>(metrics.lfMenuFont.lfHeight)));
}

TTextSize TextSizeWithPrefix(TCanvas& canvas, const std::wstring& text)
{
    // DrawText, not GetTextExtent: the "&" of an accelerator takes no room.
    win::Select font{canvas.Handle(), canvas.Font().Handle()};
    RECT r{0, 0, 0, 0};
    ::DrawTextW(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    return {static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
}

// The system's check mark is a black shape on white meant as a mask; painted through it in
// the text colour, it shows on any background, highlighted ones too.
void DrawCheckMark(TCanvas& canvas, int x, int y, int side, TColor colour)
{
    const win::GdiObject<HBITMAP> mask{::CreateBitmap(side, side, 1, 1, nullptr)};
    const win::BitmapDC maskDC{mask.get()};
    RECT box{0, 0, side, side};
    ::DrawFrameControl(maskDC.get(), &box, DFC_MENU, DFCS_MENUCHECK);
    const HDC dc = canvas.Handle();
    const COLORREF oldText = ::SetTextColor(dc, RGB(255, 255, 255)); // the shape becomes ones
    const COLORREF oldBack = ::SetBkColor(dc, RGB(0, 0, 0));
    canvas.SetBrushColor(colour);
    {
        const win::Select brush{dc, canvas.BrushHandle()};
        constexpr DWORD kBrushWhereSourceSet = 0x00E20746; // DSPDxax
        ::BitBlt(dc, x, y, side, side, maskDC.get(), 0, 0, kBrushWhereSourceSet);
    }
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);
}

TMenuItem& M(TObject& o) { return static_cast<TMenuItem&>(o); }
const TMenuItem& M(const TObject& o) { return static_cast<const TMenuItem&>(o); }

// What the skin engine and form descriptions read and write by name.
const TPropertyInfo kMenuItemProps[] = {
    {L"Caption", [](const TObject& o) { return M(o).Caption(); },
     [](TObject& o, std::wstring_view v) { M(o).SetCaption(std::wstring(v)); }},
    {L"Enabled", [](const TObject& o) { return BoolToStr(M(o).Enabled()); },
     [](TObject& o, std::wstring_view v) { M(o).SetEnabled(StrToBool(v)); }},
    {L"Checked", [](const TObject& o) { return BoolToStr(M(o).Checked()); },
     [](TObject& o, std::wstring_view v) { M(o).SetChecked(StrToBool(v)); }},
    {L"Visible", [](const TObject& o) { return BoolToStr(M(o).Visible()); },
     [](TObject& o, std::wstring_view v) { M(o).SetVisible(StrToBool(v)); }},
    {L"ImageIndex", [](const TObject& o) { return IntToStr(M(o).ImageIndex()); },
     [](TObject& o, std::wstring_view v) { M(o).SetImageIndex(StrToInt(v)); }},
    {L"ShortCut", [](const TObject& o) { return ShortCutToText(M(o).ShortCut()); },
     [](TObject& o, std::wstring_view v) {
         const TShortCut key = TextToShortCut(v);
         if (key == scNone && !v.empty())
             throw EConvertError(L"'" + std::wstring(v) + L"' is not a valid shortcut");
         M(o).SetShortCut(key);
     }},
};

} // namespace

const TClassInfo TMenuItem::StaticClass{L"TMenuItem", &TComponent::StaticClass, kMenuItemProps};

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(CommandPool().Acquire())
{
    if (auto* parent = As<TMenuItem>(owner)) {
        FParent = parent;
        parent->FItems.push_back(this);
    }
}

TMenuItem::~TMenuItem()
{
    CommandPool().Release(FCommand);
}

TMenu* TMenuItem::GetParentMenu() const noexcept
{
    const TMenuItem* top = this;
    while (top->FParent)
        top = top->FParent;
    return top->FMenu;
}

void TMenuItem::SetCaption(std::wstring caption)
{
    if (caption == FCaption)
        return;
    const bool wasLine = IsLine();
    FCaption = std::move(caption);
    // Updating in place cannot turn a separator into text or back on every system.
    if (wasLine != IsLine() && FParent)
        FParent->ItemsChanged();
    else
        UpdateItem();
}

void TMenuItem::SetShortCut(TShortCut shortCut)
{
    if (shortCut == FShortCut)
        return;
    FShortCut = shortCut;
    UpdateItem();
}

void TMenuItem::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    UpdateItem();
}

void TMenuItem::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    FChecked = value;
    UpdateItem();
}

void TMenuItem::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    if (FParent)
        FParent->ItemsChanged();
}

void TMenuItem::SetImageIndex(int index)
{
    if (index < -1)
        index = -1;
    if (index == FImageIndex)
        return;
    FImageIndex = index;
    UpdateItem();
}

TMenuItem* TMenuItem::Add(std::wstring caption)
{
    auto* item = Make<TMenuItem>();
    item->FCaption = std::move(caption);
    ItemsChanged();
    return item;
}

void TMenuItem::Delete(size_t index)
{
    FreeComponent(FItems.at(index)); // Notification takes it out of the list
}

void TMenuItem::Notification(TComponent* component, TOperation operation)
{
    if (operation != TOperation::Remove)
        return;
    const auto it = std::find(FItems.begin(), FItems.end(), component);
    if (it == FItems.end())
        return;
    FItems.erase(it);
    ItemsChanged();
}

TMenuItem* TMenuItem::FindCommand(UINT command) noexcept
{
    if (FCommand == command && FParent)
        return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->FindCommand(command))
            return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindHandle(HMENU menu) noexcept
{
    if (!menu)
        return nullptr;
    if (FHandle == menu)
        return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->FindHandle(menu))
            return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindData(ULONG_PTR itemData) noexcept
{
    if (reinterpret_cast<ULONG_PTR>(this) == itemData && FParent)
        return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->FindData(itemData))
            return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut) noexcept
{
    if (!FVisible || !FEnabled)
        return nullptr;
    if (FParent && shortCut != scNone && FShortCut == shortCut)
        return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->FindShortCut(shortCut))
            return found;
    return nullptr;
}

TMenuItem* TMenuItem::VisibleItem(int position) const noexcept
{
    for (TMenuItem* item : FItems)
        if (item->FVisible && position-- == 0)
            return item;
    return nullptr;
}

void TMenuItem::Click()
{
    if (FEnabled && OnClick)
        OnClick(this);
}

int TMenuItem::ImageWidth() const noexcept
{
    const TMenu* menu = GetParentMenu();
    return menu && menu->Images() ? menu->Images()->Width() : 0;
}

MENUITEMINFOW TMenuItem::ItemInfo(std::wstring& text) const
{
    const TMenu* menu = GetParentMenu();
    const bool ownerDraw = menu && menu->OwnerDraw();
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_BITMAP;
    info.fType = (IsLine() ? MFT_SEPARATOR : MFT_STRING) | (ownerDraw ? MFT_OWNERDRAW : 0);
    info.fState = (FEnabled ? MFS_ENABLED : MFS_GRAYED) | (FChecked ? MFS_CHECKED : MFS_UNCHECKED);
    info.wID = FCommand;
    // The item data is how draw, measure and menu-character messages find this item again.
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    // A plain menu asks for the image as a bitmap drawn by its owner.
    info.hbmpItem = !ownerDraw && FImageIndex >= 0 && ImageWidth() > 0 ? HBMMENU_CALLBACK : nullptr;
    // An owner-drawn item carries no text: the system would match typed characters against it
    // on some systems and not on others, while WM_MENUCHAR answers the same way everywhere.
    if (!IsLine() && !ownerDraw) {
        info.fMask |= MIIM_STRING;
        text = MenuItemText(FCaption, FShortCut);
        info.dwTypeData = text.data();
    }
    return info;
}

void TMenuItem::AppendTo(HMENU menu)
{
    win::Menu submenu;
    if (!FItems.empty()) {
        submenu.reset(::CreatePopupMenu());
        if (!submenu)
            throw Exception(L"Error creating menu");
        FHandle = submenu.get();
        for (TMenuItem* item : FItems)
            if (item->FVisible)
                item->AppendTo(FHandle);
    }
    std::wstring text;
    MENUITEMINFOW info = ItemInfo(text);
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = FHandle;
    if (!::InsertMenuItemW(menu, static_cast<UINT>(::GetMenuItemCount(menu)), TRUE, &info)) {
        ForgetHandles();
        throw Exception(L"Error creating menu item");
    }
    (void)submenu.release(); // the parent menu destroys it from now on
}

void TMenuItem::ForgetHandles() noexcept
{
    FHandle = nullptr;
    for (TMenuItem* item : FItems)
        item->ForgetHandles();
}

void TMenuItem::RebuildHandle()
{
    // Deleting an entry destroys its submenu, so the items below it forget their handles.
    while (::GetMenuItemCount(FHandle) > 0)
        if (!::DeleteMenu(FHandle, 0, MF_BYPOSITION))
            break;
    for (TMenuItem* item : FItems)
        item->ForgetHandles();
    for (TMenuItem* item : FItems)
        if (item->FVisible)
            item->AppendTo(FHandle);
}

int TMenuItem::Position() const noexcept
{
    if (!FParent || !FParent->FHandle || !FVisible)
        return -1;
    int position = 0;
    for (const TMenuItem* item : FParent->FItems) {
        if (item == this)
            return position;
        position += item->FVisible ? 1 : 0;
    }
    return -1;
}

bool TMenuItem::DrawnByOwner() const noexcept
{
    // Read from the entry, not the menu's OwnerDraw: whoever paints a menu may make its entries
    // owner-drawn behind the component's back.
    const int position = Position();
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return position >= 0 && ::GetMenuItemInfoW(FParent->FHandle, static_cast<UINT>(position), TRUE, &info) &&
        (info.fType & MFT_OWNERDRAW) != 0;
}

void TMenuItem::UpdateItem()
{
    if (const int position = Position(); position >= 0) {
        std::wstring text;
        MENUITEMINFOW info = ItemInfo(text);
        ::SetMenuItemInfoW(FParent->FHandle, static_cast<UINT>(position), TRUE, &info);
    }
    MenuChanged();
}

void TMenuItem::ItemsChanged()
{
    // An item that gains its first sub-item or loses its last one changes kind in its parent's
    // menu; otherwise only its own submenu is filled again, so an open submenu stays valid.
    if (FHandle && (!FItems.empty() || !FParent))
        RebuildHandle();
    else if (FParent && FParent->FHandle)
        FParent->RebuildHandle();
    MenuChanged();
}

void TMenuItem::MenuChanged()
{
    if (TMenu* menu = GetParentMenu())
        menu->MenuChanged();
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height)
{
    UseMenuFont(canvas.Font());
    if (!DrawnByOwner()) {
        // Only the image of a plain item is ours to measure.
        const int side = ImageWidth();
        width = side;
        height = side;
        return;
    }
    if (IsLine()) {
        width = kGlyphColumn;
        height = kTextGap;
    } else {
        const TTextSize caption = TextSizeWithPrefix(canvas, FCaption.empty() ? std::wstring(L" ") : FCaption);
        const std::wstring key = ShortCutToText(FShortCut);
        const int keyWidth = key.empty() ? 0 : kShortCutGap + TextSizeWithPrefix(canvas, key).Width;
        const int column = std::max(kGlyphColumn, ImageWidth());
        width = column + kTextGap + caption.Width + keyWidth + kTextGap;
        height = std::max(caption.Height, column) + 4;
    }
    if (OnMeasureItem)
        OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas& canvas, const TRect& rect, bool selected)
{
    UseMenuFont(canvas.Font());
    const TMenu* menu = GetParentMenu();
    const TImageList* images = menu ? menu->Images() : nullptr;
    if (!DrawnByOwner()) {
        if (images)
            images->Draw(canvas.Handle(), rect.Left, rect.Top + (rect.Height() - images->Height()) / 2, FImageIndex, FEnabled);
        return;
    }
    if (OnDrawItem) {
        OnDrawItem(this, canvas, rect, selected);
        return;
    }
    // The system's look, for items whose menu is owner-drawn but which draw nothing themselves.
    const bool highlighted = selected && !IsLine();
    canvas.SetBrushColor(SystemColor(highlighted ? COLOR_HIGHLIGHT : COLOR_MENU));
    canvas.FillRect(rect);
    if (IsLine()) {
        RECT line{rect.Left + 2, rect.Top + rect.Height() / 2 - 1, rect.Right - 2, rect.Bottom};
        ::DrawEdge(canvas.Handle(), &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const int column = std::max(kGlyphColumn, ImageWidth());
    if (images && FImageIndex >= 0) {
        images->Draw(canvas.Handle(), rect.Left + 2, rect.Top + (rect.Height() - images->Height()) / 2, FImageIndex, FEnabled);
    }
    const TColor textColour = SystemColor(!FEnabled ? COLOR_GRAYTEXT : highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if (FChecked && !(images && FImageIndex >= 0))
        DrawCheckMark(canvas, rect.Left + 2, rect.Top + (rect.Height() - column) / 2, column, textColour);
    canvas.Font().SetColor(textColour);
    canvas.SetTransparent(true);
    const TRect text{rect.Left + 2 + column + kTextGap, rect.Top, rect.Right - kTextGap, rect.Bottom};
    canvas.TextRect(text, FCaption, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (const std::wstring key = ShortCutToText(FShortCut); !key.empty())
        canvas.TextRect(text, key, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}
