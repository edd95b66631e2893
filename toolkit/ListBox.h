// List boxes of text lines held in our own storage; the window draws only the visible
// lines, so hundreds of thousands of lines stay cheap to add, show and scroll, and answers
// for their text as a list box of strings does, so other programs can read it.
#pragma once

#include "toolkit/LineStore.h"
#include "toolkit/WinControl.h"

class TCustomListBox : public TWinControl {
    TK_CLASS(TCustomListBox)
public:
    explicit TCustomListBox(TComponent* owner);

    size_t Count() const noexcept { return FLines.Count(); }
    std::wstring Item(size_t index) const { return std::wstring(FLines.Line(index)); }
    const TLineStore& Lines() const noexcept { return FLines; }
    void AddItem(std::wstring_view text);
    void Clear();
    int ItemIndex() const;
    // Selects a line and scrolls it into view; -1 selects none.
    void SetItemIndex(int index);
    int TopIndex() const;
    int ItemHeight() const noexcept { return FItemHeight; }
    void SetItemHeight(int height);

protected:
    void CreateParams(TCreateParams& Params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& Message) override;

private:
    void LBGetText(TMessage& Message);
    void LBGetTextLen(TMessage& Message);
    void DrawItem(const DRAWITEMSTRUCT& item);
    void PaintBuffered();
    void TrackThumb(TMessage& Message);

    TLineStore FLines;
    int FItemIndex = -1;
    int FItemHeight = 13;
};

class TListBox : public TCustomListBox {
    TK_CLASS(TListBox)
public:
    using TCustomListBox::TCustomListBox;
};
