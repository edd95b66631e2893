// Menu components: the handle built from the items, the form's menu bar, popups at a point.
#include "toolkit/Menu.h"

#include "toolkit/Application.h"
#include "toolkit/Exception.h"
#include "toolkit/Form.h"
#include "toolkit/ImageList.h"
#include "toolkit/SysUtils.h"

#include <utility>

namespace {
const TPropertyInfo kMenuProps[] = {
    {L"OwnerDraw", [](const TObject& o) { return BoolToStr(static_cast<const TMenu&>(o).OwnerDraw()); },
     [](TObject& o, std::wstring_view v) { static_cast<TMenu&>(o).SetOwnerDraw(StrToBool(v)); }},
};
} // namespace

const TClassInfo TMenu::StaticClass{L"TMenu", &TComponent::StaticClass, kMenuProps};
const TClassInfo TMainMenu::StaticClass{L"TMainMenu", &TMenu::StaticClass, {}};
const TClassInfo TPopupMenu::StaticClass{L"TPopupMenu", &TMenu::StaticClass, {}};

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(Make<TMenuItem>())
{
    FItems->FMenu = this;
}

TMenu::~TMenu()
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    // The items go after this body; none of them may look at the menu's handle meanwhile.
    FItems->ForgetHandles();
    FItems->FMenu = nullptr;
}

HMENU TMenu::Handle()
{
    if (!FHandle) {
        win::Menu menu{CreateMenuHandle()};
        if (!menu)
            throw Exception(L"Error creating menu");
        FItems->FHandle = menu.get();
        FHandle = std::move(menu);
        try {
            FItems->RebuildHandle();
        } catch (...) {
            FItems->ForgetHandles();
            FHandle.reset();
            throw;
        }
    }
    return FHandle.get();
}

void TMenu::Rebuild()
{
    if (FHandle)
        FItems->RebuildHandle();
    MenuChanged();
}

void TMenu::SetOwnerDraw(bool value)
{
    if (value == FOwnerDraw)
        return;
    FOwnerDraw = value;
    Rebuild();
}

void TMenu::SetImages(TImageList* images)
{
    if (images == FImages)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = images;
    if (FImages)
        FImages->FreeNotification(this);
    Rebuild();
}

void TMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::Remove && component == FImages) {
        FImages = nullptr;
        Rebuild();
    }
}

TMainMenu::~TMainMenu()
{
    // A window destroys the menu it shows; it lets go of this one before the handle goes.
    if (FForm)
        FForm->SetMenu(nullptr);
}

HMENU TMainMenu::CreateMenuHandle() const
{
    return ::CreateMenu();
}

void TMainMenu::MenuChanged()
{
    if (FForm)
        FForm->MenuChanged();
}

namespace {
thread_local TPopupMenu* tTracking = nullptr;
} // namespace

HMENU TPopupMenu::CreateMenuHandle() const
{
    return ::CreatePopupMenu();
}

TPopupMenu* TPopupMenu::Tracking() noexcept
{
    return tTracking;
}

HWND TPopupMenu::OwnerWindow() const
{
    for (TComponent* c = Owner(); c; c = c->Owner())
        if (auto* form = As<TCustomForm>(c))
            return form->Handle();
    if (Application && Application->MainForm())
        return Application->MainForm()->Handle();
    throw Exception(L"A popup menu needs a form to show on");
}

void TPopupMenu::Popup(int x, int y)
{
    const HWND owner = OwnerWindow();
    const HMENU menu = Handle();
    // The owner's window gets the menu's draw, measure and open notices; the chosen command
    // comes back here, so the item runs once and only after the menu has closed.
    TPopupMenu* const previous = std::exchange(tTracking, this);
    // A menu owned by a window in the background would not close on a click elsewhere.
    ::SetForegroundWindow(owner);
    const UINT command = static_cast<UINT>(
        ::TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, x, y, owner, nullptr));
    ::PostMessageW(owner, WM_NULL, 0, 0);
    tTracking = previous;
    if (command != 0)
        if (TMenuItem* item = FindItem(command))
            item->Click();
}
