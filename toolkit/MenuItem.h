// TMenuItem: one entry of a menu (caption, shortcut, states, image, sub-items, events) and the
// part of the menu handle it stands for.
#pragma once

#include "toolkit/Component.h"
#include "toolkit/Control.h"
#include "toolkit/MenuText.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TCanvas;
class TMenu;

// Owner drawing: the item paints ARect of the canvas, highlighted when Selected.
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas& ACanvas, const TRect& ARect, bool Selected)>;
// Owner measuring: Width and Height come in as the default size and go out as the item's.
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas& ACanvas, int& Width, int& Height)>;

class TMenuItem : public TComponent {
    TK_CLASS(TMenuItem)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    // "&" marks the accelerator; "-" makes the item a separator.
    const std::wstring& Caption() const noexcept { return FCaption; }
    void SetCaption(std::wstring caption);
    bool IsLine() const noexcept { return FCaption == L"-"; }
    TShortCut ShortCut() const noexcept { return FShortCut; }
    void SetShortCut(TShortCut shortCut);
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool value);
    bool Checked() const noexcept { return FChecked; }
    void SetChecked(bool value);
    bool Visible() const noexcept { return FVisible; }
    void SetVisible(bool value);
    // Index into the menu's Images; -1 for none.
    int ImageIndex() const noexcept { return FImageIndex; }
    void SetImageIndex(int index);

    // The id WM_COMMAND carries, unique in the process while the item lives.
    UINT Command() const noexcept { return FCommand; }
    // The menu this item's sub-items are shown in (the menu itself for the top item); nullptr
    // while it has none or it is not built.
    HMENU Handle() const noexcept { return FHandle; }

    // Sub-items, owned by this item.
    TMenuItem* Add(std::wstring caption = {});
    void Delete(size_t index);
    size_t Count() const noexcept { return FItems.size(); }
    TMenuItem* Items(size_t index) const { return FItems.at(index); }
    TMenuItem* Parent() const noexcept { return FParent; }
    TMenu* GetParentMenu() const noexcept;

    // Lookups for routing menu messages; the item data is compared, never followed.
    TMenuItem* FindCommand(UINT command) noexcept;
    TMenuItem* FindHandle(HMENU menu) noexcept;
    TMenuItem* FindData(ULONG_PTR itemData) noexcept;
    TMenuItem* FindShortCut(TShortCut shortCut) noexcept; // enabled and shown items only
    // The shown sub-item at a menu position, in the order they were put into Handle().
    TMenuItem* VisibleItem(int position) const noexcept;

    // Runs OnClick when enabled.
    void Click();
    // Owner drawing: the handlers when set, else the system's look.
    void MeasureItem(TCanvas& canvas, int& width, int& height);
    void DrawItem(TCanvas& canvas, const TRect& rect, bool selected);

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TMenu;
    MENUITEMINFOW ItemInfo(std::wstring& text) const;
    void AppendTo(HMENU menu);
    void RebuildHandle();
    void ForgetHandles() noexcept;
    int Position() const noexcept; // in the parent's menu; -1 when not shown there
    bool DrawnByOwner() const noexcept;
    void UpdateItem();
    void ItemsChanged();
    void MenuChanged();
    int ImageWidth() const noexcept;

    std::wstring FCaption;
    TShortCut FShortCut = scNone;
    bool FEnabled = true;
    bool FChecked = false;
    bool FVisible = true;
    int FImageIndex = -1;
    UINT FCommand;
    HMENU FHandle = nullptr; // owned by the parent's menu, or by TMenu for the top item
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr; // set on the top item only
    std::vector<TMenuItem*> FItems;
};
