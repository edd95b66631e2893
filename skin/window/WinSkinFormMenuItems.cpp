// The frame's menu items: which of the form's menus the skin draws, the items of the window's
// own menu that reach the frame to be measured and drawn, and the skinned system menu.
#include "skin/window/WinSkinForm.h"

#include "skin/menus/MenuEntry.h"
#include "skin/menus/MenuItemLayout.h"
#include "skin/menus/MenuItemPainter.h"
#include "skin/menus/WinSkinMenu.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "toolkit/Canvas.h"
#include "toolkit/Form.h"
#include "toolkit/Menu.h"
#include "toolkit/MenuMessages.h"

#include <algorithm>

namespace {

constexpr std::intptr_t kSysMenuPopupTag = 33333;

template <class Visit>
void ForEachItem(TMenuItem* item, Visit visit)
{
    for (size_t i = 0; i < item->Count(); ++i) {
        visit(item->Items(i));
        ForEachItem(item->Items(i), visit);
    }
}

// The menus of kind M the form holds, and those of the forms it holds.
template <class M, class Visit>
void ForEachFormMenu(TCustomForm& form, Visit visit)
{
    for (size_t i = 0; i < form.ComponentCount(); ++i) {
        TComponent* component = form.Components(i);
        if (auto* menu = As<M>(component))
            visit(menu);
        else if (auto* owned = As<TCustomForm>(component))
            for (size_t k = 0; k < owned->ComponentCount(); ++k)
                if (auto* menu = As<M>(owned->Components(k)))
                    visit(menu);
    }
}

// Only what the skin turned on is turned off again when it lets go.
void TurnOwnerDrawOn(TMenu* menu, std::vector<TMenu*>& turnedOn)
{
    if (menu->OwnerDraw())
        return;
    menu->SetOwnerDraw(true);
    turnedOn.push_back(menu);
}

// The skin's handlers leave an item; handlers the item had of its own stay.
void ClearSkinHandlers(TMenuItem* item)
{
    if (item->OnDrawItem.target<TMenuItemDrawer>())
        item->OnDrawItem = nullptr;
    if (item->OnMeasureItem.target<TMenuItemMeasurer>())
        item->OnMeasureItem = nullptr;
    else if (const auto* main = item->OnMeasureItem.target<TMainMenuItemMeasurer>())
        item->OnMeasureItem = TMenuMeasureItemEvent(main->Own);
}

// A menu's entry as its text and states give it; the shortcut follows a tab.
TMenuItemLook LookOfEntry(HMENU menu, UINT id, bool selected)
{
    TMenuItemLook look;
    look.Selected = selected;
    const std::optional<TMenuEntry> entry = ReadMenuEntry(menu, id, false);
    if (!entry)
        return look;
    std::wstring caption = entry->Text;
    if (const size_t tab = caption.find(L'\t'); tab != std::wstring::npos) {
        look.ShortCut = caption.substr(tab + 1);
        caption.resize(tab);
    }
    look.Separator = (entry->Type & MFT_SEPARATOR) != 0 || caption.empty() || caption == L"-";
    look.Caption = std::move(caption);
    look.Enabled = entry->Enabled();
    look.Checked = (entry->State & MFS_CHECKED) != 0;
    look.RightToLeft = (entry->Type & MFT_RIGHTORDER) != 0;
    return look;
}

// Whether menu is the given menu or one of its submenus at any depth.
bool IsWithin(HMENU menu, HMENU root)
{
    if (!root)
        return false;
    if (menu == root)
        return true;
    const int count = ::GetMenuItemCount(root);
    for (int i = 0; i < count; ++i)
        if (const HMENU sub = ::GetSubMenu(root, i); sub && IsWithin(menu, sub))
            return true;
    return false;
}

} // namespace

// ---- Which menus the skin draws ----------------------------------------------------------

void TWinSkinForm::OwnerDrawMainMenus()
{
    if (!FForm || !FSkinData)
        return;
    for (size_t i = 0; i < FForm->ComponentCount(); ++i) {
        auto* menu = As<TMainMenu>(FForm->Components(i));
        if (!menu)
            continue;
        // Items below the top level only: the top level is the menu bar, which the frame paints.
        for (size_t k = 0; k < menu->Items()->Count(); ++k)
            ForEachItem(menu->Items()->Items(k), [this](TMenuItem* item) {
                if (item->OnDrawItem)
                    return;
                item->OnDrawItem = TMenuItemDrawer{FSkinData, FRightToLeft};
                if (!item->OnMeasureItem.target<TMainMenuItemMeasurer>())
                    item->OnMeasureItem = TMainMenuItemMeasurer{FSkinData, item->OnMeasureItem};
            });
        TurnOwnerDrawOn(menu, FOwnerDrawnMenus);
    }
}

void TWinSkinForm::OwnerDrawPopupMenus()
{
    if (!FForm || !FSkinData || FForm->ClassName() == L"TwwRichEditForm")
        return;
    ForEachFormMenu<TPopupMenu>(*FForm, [this](TPopupMenu* menu) {
        if (menu->Tag() == FSkinData->DisableTag())
            return;
        ForEachItem(menu->Items(), [this](TMenuItem* item) {
            if (!item->OnDrawItem)
                item->OnDrawItem = TMenuItemDrawer{FSkinData, FRightToLeft};
            if (!item->OnMeasureItem)
                item->OnMeasureItem = TMenuItemMeasurer{FSkinData};
        });
        TurnOwnerDrawOn(menu, FOwnerDrawnMenus);
    });
}

void TWinSkinForm::ReleaseOwnerDrawnMenus(TMenuRelease how)
{
    if (FSysMenuPopup) {
        FreeComponent(FSysMenuPopup);
        FSysMenuPopup = nullptr;
    }
    std::vector<TMenu*> turnedOn = std::move(FOwnerDrawnMenus);
    FOwnerDrawnMenus.clear();
    if (!FForm)
        return;
    // Only menus still on the form are touched: one freed meanwhile is gone from its list.
    ForEachFormMenu<TMenu>(*FForm, [&](TMenu* menu) {
        ForEachItem(menu->Items(), ClearSkinHandlers);
        // A main menu rebuilt now would be put on the window in its last message, and the
        // window would destroy it with itself; without handlers its items draw as the system's.
        const bool mainGoing = how == TMenuRelease::WindowGoing && As<TMainMenu>(menu);
        if (!mainGoing && std::find(turnedOn.begin(), turnedOn.end(), menu) != turnedOn.end())
            menu->SetOwnerDraw(false);
    });
}

// ---- Items of the window's menu ---------------------------------------------------------

bool TWinSkinForm::MenuItemMessage(TMessage& Message)
{
    if (FSysMenuPopup) {
        TMenu* const own[] = {FSysMenuPopup};
        if (Message.Msg != WM_COMMAND && DispatchMenuMessage(own, Message))
            return true;
    }
    if (Message.Msg == WM_MEASUREITEM)
        return MeasureWindowMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam), Message);
    if (Message.Msg == WM_DRAWITEM)
        return DrawWindowMenuItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam), Message);
    return false;
}

// The menu bar keeps the menu it took off the window; without a bar the window still has it.
HMENU TWinSkinForm::WindowMenu() const
{
    return FMenuBar && FMenuBar->WindowMenu() ? FMenuBar->WindowMenu() : ::GetMenu(FWindow);
}

bool TWinSkinForm::DrawnByForm(ULONG_PTR data) const
{
    // An item of a main menu that draws itself is left to the form, which runs its handlers.
    TMainMenu* menu = FForm ? FForm->Menu() : nullptr;
    return menu && menu->OwnerDraw() && menu->Items()->FindData(data);
}

TMenuItem* TWinSkinForm::WindowMenuItem(UINT command) const
{
    TMainMenu* menu = FForm ? FForm->Menu() : nullptr;
    return menu ? menu->FindItem(command) : nullptr;
}

bool TWinSkinForm::MeasureWindowMenuItem(MEASUREITEMSTRUCT& measure, TMessage& Message)
{
    const HMENU windowMenu = WindowMenu();
    if (measure.CtlType != ODT_MENU || !windowMenu || !FSkinData || DrawnByForm(measure.itemData))
        return false;
    const win::WindowDC screen{nullptr};
    if (TMenuItem* item = WindowMenuItem(measure.itemID)) {
        TCanvas canvas{screen.get()};
        int width = static_cast<int>(measure.itemWidth), height = static_cast<int>(measure.itemHeight);
        item->MeasureItem(canvas, width, height);
        if (!item->IsLine())
            width = SkinnedMainMenuItemWidth(width, MenuItemLeftWidth(*FSkinData), FForm->Menu()->Images() != nullptr);
        measure.itemWidth = static_cast<UINT>(std::max(width, 0));
        measure.itemHeight = static_cast<UINT>(std::max(height, 0));
        Message.Result = TRUE;
        return true;
    }
    if (measure.itemID >= 1 && measure.itemID <= 4095)
        return false;
    const TMenuItemLook look = LookOfEntry(windowMenu, measure.itemID, false);
    const win::Select font{screen.get(), MenuFont()};
    const std::wstring text = look.Caption + (look.ShortCut.empty() ? L"" : L"\t" + look.ShortCut);
    RECT r{};
    ::DrawTextW(screen.get(), text.empty() ? L" " : text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    const TMenuTextSize size = MeasureMenuTextItem(look.Separator ? 0 : r.right, r.bottom, look.Separator,
                                                   MenuItemLeftWidth(*FSkinData));
    measure.itemWidth = static_cast<UINT>(size.Width);
    measure.itemHeight = static_cast<UINT>(size.Height);
    Message.Result = TRUE;
    return true;
}

bool TWinSkinForm::DrawWindowMenuItem(const DRAWITEMSTRUCT& draw, TMessage& Message)
{
    const HMENU windowMenu = WindowMenu();
    const auto menu = reinterpret_cast<HMENU>(draw.hwndItem);
    // Only entries of the window's own menu: a menu the program draws itself stays its own.
    if (draw.CtlType != ODT_MENU || !FSkinData || !IsWithin(menu, windowMenu) || DrawnByForm(draw.itemData))
        return false;
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    if (TMenuItem* item = WindowMenuItem(draw.itemID)) {
        DrawSkinnedMenuItem(draw.hDC, draw.rcItem, *item, selected, *FSkinData, FRightToLeft);
    } else {
        TWinSkinPopMenu* popup = PopupShowingMenu(draw.hDC, menu);
        if (popup)
            popup->PrepareBackground();
        TMenuItemLook look = LookOfEntry(menu, draw.itemID, selected);
        look.RightToLeft = look.RightToLeft || FRightToLeft;
        PaintSkinnedMenuItem(draw.hDC, draw.rcItem, look, *FSkinData, popup);
    }
    Message.Result = TRUE;
    return true;
}

// ---- The skinned system menu --------------------------------------------------------------

bool TWinSkinForm::IsSysMenuPopup(HMENU menu) const noexcept
{
    return FSysMenuPopup && FSysMenuPopup->HandleAllocated() && FSysMenuPopup->Handle() == menu;
}

void TWinSkinForm::BuildSysMenuPopup()
{
    if (FSysMenuPopup)
        FreeComponent(FSysMenuPopup);
    FSysMenuPopup = Make<TPopupMenu>();
    FSysMenuPopup->SetTag(kSysMenuPopupTag);
    FSysMenuPopup->SetImages(&FSkinData->MenuGlyphs());
    const HMENU system = ::GetSystemMenu(FWindow, FALSE);
    const int count = system ? ::GetMenuItemCount(system) : 0;
    const bool normal = FShowState == TShowState::Normal;
    const bool maximized = FShowState == TShowState::Maximized;
    const bool minimized = FShowState == TShowState::Minimized;
    for (int position = 0; position < count; ++position) {
        const std::optional<TMenuEntry> entry = ReadMenuEntry(system, static_cast<UINT>(position), true);
        if (!entry)
            continue;
        std::wstring caption = (entry->Type & MFT_SEPARATOR) ? std::wstring() : entry->Text;
        TShortCut shortCut = scNone;
        if (const size_t tab = caption.find(L'\t'); tab != std::wstring::npos) {
            shortCut = TextToShortCut(std::wstring_view(caption).substr(tab + 1));
            // A shortcut the toolkit cannot name keeps its text beside the caption.
            if (shortCut != scNone)
                caption.resize(tab);
        }
        TMenuItem* item = FSysMenuPopup->Items()->Add(caption.empty() ? L"-" : caption);
        const UINT command = entry->Id & 0xFFF0;
        item->SetTag(static_cast<std::intptr_t>(entry->Id));
        item->SetShortCut(shortCut);
        item->SetChecked((entry->State & MFS_CHECKED) != 0);
        bool enabled = entry->Enabled();
        switch (command) {
        // A fixed-size window has nothing to size, though the system may leave the entry on.
        case SC_SIZE: enabled = normal && FSizeable; break;
        case SC_MOVE: enabled = !maximized; break;
        case SC_MINIMIZE:
            item->SetImageIndex(2);
            enabled = (FCaptionBoxes & caption_box::kMinimize) && !minimized;
            break;
        case SC_MAXIMIZE:
            item->SetImageIndex(1);
            enabled = (FCaptionBoxes & caption_box::kMaximize) && !maximized;
            break;
        case SC_RESTORE:
            item->SetImageIndex(0);
            enabled = !normal;
            break;
        case SC_CLOSE: item->SetImageIndex(3); break;
        default: break;
        }
        item->SetEnabled(enabled);
        const HWND window = FWindow;
        item->OnClick = [window](TObject* Sender) {
            ::PostMessageW(window, WM_SYSCOMMAND, static_cast<WPARAM>(static_cast<TMenuItem*>(Sender)->Tag()), 0);
        };
        item->OnDrawItem = TMenuItemDrawer{FSkinData, FRightToLeft};
        item->OnMeasureItem = TMenuItemMeasurer{FSkinData};
    }
    FSysMenuPopup->SetOwnerDraw(true);
}

void TWinSkinForm::TrackSysMenuPopup(POINT screen)
{
    BuildSysMenuPopup();
    const auto command = static_cast<UINT>(::TrackPopupMenuEx(FSysMenuPopup->Handle(),
        TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_TOPALIGN | TPM_LEFTALIGN, screen.x, screen.y, FWindow, nullptr));
    // The frame may have let go of the window while the menu was open.
    if (command && FSysMenuPopup)
        if (TMenuItem* item = FSysMenuPopup->FindItem(command))
            item->Click();
}

bool TWinSkinForm::SystemMenuAllowsClose() const
{
    const HMENU system = ::GetSystemMenu(FWindow, FALSE);
    const UINT state = system ? ::GetMenuState(system, SC_CLOSE, MF_BYCOMMAND) : UINT(-1);
    return state != UINT(-1) && !(state & (MF_DISABLED | MF_GRAYED));
}
