// Menu components: TMenu keeps the item tree and the menu handle built from it; TMainMenu is a
// form's menu bar, TPopupMenu a menu shown at a point.
#pragma once

#include "toolkit/Component.h"
#include "toolkit/MenuItem.h"
#include "toolkit/WinHandle.h"

class TCustomForm;
class TImageList;

class TMenu : public TComponent {
    TK_CLASS(TMenu)
public:
    ~TMenu() override;

    // The top item; its sub-items are the menu's entries.
    TMenuItem* Items() const noexcept { return FItems; }
    // Built on first use, kept up to date as items change, destroyed with the component.
    HMENU Handle();
    bool HandleAllocated() const noexcept { return FHandle.valid(); }

    // Every item, separators too, drawn and measured by its handlers (WM_DRAWITEM, ODT_MENU).
    bool OwnerDraw() const noexcept { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    // Borrowed; forgotten when the image list goes.
    TImageList* Images() const noexcept { return FImages; }
    void SetImages(TImageList* images);

    TMenuItem* FindItem(UINT command) noexcept { return FItems->FindCommand(command); }

protected:
    explicit TMenu(TComponent* owner);
    virtual HMENU CreateMenuHandle() const = 0;
    // An item, the images or the drawing changed; the handle is already up to date.
    virtual void MenuChanged() {}
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TMenuItem;
    void Rebuild();

    TMenuItem* FItems;
    win::Menu FHandle;
    bool FOwnerDraw = false;
    TImageList* FImages = nullptr;
};

// A form's menu bar: assigned with TCustomForm::SetMenu.
class TMainMenu : public TMenu {
    TK_CLASS(TMainMenu)
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
    ~TMainMenu() override;

    // The form whose menu bar this is, or nullptr.
    TCustomForm* Form() const noexcept { return FForm; }

protected:
    HMENU CreateMenuHandle() const override;
    void MenuChanged() override;

private:
    friend class TCustomForm;
    TCustomForm* FForm = nullptr;
};

class TPopupMenu : public TMenu {
    TK_CLASS(TPopupMenu)
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}

    // Shows the menu at a screen point, owned by the form this component belongs to (else the
    // main form), and returns once it closed, after the chosen item's OnClick ran.
    void Popup(int x, int y);
    // The popup menu being shown by Popup on this thread, or nullptr.
    static TPopupMenu* Tracking() noexcept;

protected:
    HMENU CreateMenuHandle() const override;

private:
    HWND OwnerWindow() const;
};
