// Editable combo boxes (drop-down style): entries, the selected entry and the edit text.
#pragma once

#include "toolkit/WinControl.h"

#include <vector>

class TCustomComboBox : public TWinControl {
    TK_CLASS(TCustomComboBox)
public:
    explicit TCustomComboBox(TComponent* owner);

    const std::vector<std::wstring>& Items() const noexcept { return FItems; }
    // Replaces the entries; the edit text stays as it is.
    void SetItems(std::vector<std::wstring> items);
    void ClearItems() { SetItems({}); }
    int ItemIndex() const;
    // Selecting an entry puts its text in the edit; -1 selects none and empties it.
    void SetItemIndex(int index);
    std::wstring Text() const { return Caption(); }
    void SetText(const std::wstring& text) { SetCaption(text); }
    int DropDownCount() const noexcept { return FDropDownCount; }

    void SetBounds(int left, int top, int width, int height) override;

    TNotifyEvent OnChange;
    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void InitializeWnd() override;

private:
    int OpenHeight() const noexcept { return FHeight + FDropDownCount * 16 + 2; }

    std::vector<std::wstring> FItems;
    int FItemIndex = -1;
    int FDropDownCount = 8;
};

class TComboBox : public TCustomComboBox {
    TK_CLASS(TComboBox)
public:
    using TCustomComboBox::TCustomComboBox;
};
