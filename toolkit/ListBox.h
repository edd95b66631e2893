// List boxes: lines of text, one selected, with a fixed item height.
#pragma once

#include "toolkit/WinControl.h"

#include <vector>

class TCustomListBox : public TWinControl {
    TK_CLASS(TCustomListBox)
public:
    explicit TCustomListBox(TComponent* owner);

    size_t Count() const;
    std::wstring Item(size_t index) const;
    void AddItem(const std::wstring& text);
    void Clear();
    int ItemIndex() const;
    void SetItemIndex(int index);
    int ItemHeight() const noexcept { return FItemHeight; }
    void SetItemHeight(int height);

protected:
    void CreateParams(TCreateParams& Params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& Message) override;

private:
    std::vector<std::wstring> FItems; // until the window exists
    int FItemIndex = -1;
    int FItemHeight = 13;
};

class TListBox : public TCustomListBox {
    TK_CLASS(TListBox)
public:
    using TCustomListBox::TCustomListBox;
};
