// List box lines live in the window once it exists.
#include "toolkit/ListBox.h"

#include "toolkit/SysUtils.h"

namespace {
const TPropertyInfo kListBoxProps[] = {
    {L"ItemIndex", [](const TObject& o) { return IntToStr(static_cast<const TCustomListBox&>(o).ItemIndex()); },
     [](TObject& o, std::wstring_view v) { static_cast<TCustomListBox&>(o).SetItemIndex(StrToInt(v)); }},
    {L"ItemHeight", [](const TObject& o) { return IntToStr(static_cast<const TCustomListBox&>(o).ItemHeight()); },
     [](TObject& o, std::wstring_view v) { static_cast<TCustomListBox&>(o).SetItemHeight(StrToInt(v)); }},
};
} // namespace

const TClassInfo TCustomListBox::StaticClass{L"TCustomListBox", &TWinControl::StaticClass, kListBoxProps};
const TClassInfo TListBox::StaticClass{L"TListBox", &TCustomListBox::StaticClass, {}};

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomListBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"LISTBOX");
    Params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED | WS_VSCROLL;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::InitializeWnd()
{
    ::SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
    for (const auto& item : FItems)
        ::SendMessageW(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    FItems.clear();
    ::SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

size_t TCustomListBox::Count() const
{
    return FHandle ? static_cast<size_t>(::SendMessageW(FHandle, LB_GETCOUNT, 0, 0)) : FItems.size();
}

std::wstring TCustomListBox::Item(size_t index) const
{
    if (!FHandle)
        return FItems.at(index);
    const LRESULT length = ::SendMessageW(FHandle, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(FHandle, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

void TCustomListBox::AddItem(const std::wstring& text)
{
    if (FHandle)
        ::SendMessageW(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    else
        FItems.push_back(text);
}

void TCustomListBox::Clear()
{
    FItems.clear();
    FItemIndex = -1;
    if (FHandle)
        ::SendMessageW(FHandle, LB_RESETCONTENT, 0, 0);
}

int TCustomListBox::ItemIndex() const
{
    return FHandle ? static_cast<int>(::SendMessageW(FHandle, LB_GETCURSEL, 0, 0)) : FItemIndex;
}

void TCustomListBox::SetItemIndex(int index)
{
    FItemIndex = index;
    if (FHandle)
        ::SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomListBox::SetItemHeight(int height)
{
    FItemHeight = height;
    if (FHandle)
        ::SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, height);
}

void TCustomListBox::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_DRAWITEM) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
        const bool selected = (item.itemState & ODS_SELECTED) != 0;
        const HDC dc = item.hDC;
        win::GdiObject<HBRUSH> back{::CreateSolidBrush(
            selected ? ::GetSysColor(COLOR_HIGHLIGHT) : ColorToRGB(Color()))};
        ::FillRect(dc, &item.rcItem, back.get());
        if (item.itemID != static_cast<UINT>(-1)) {
            const std::wstring text = Item(item.itemID);
            win::Select font{dc, Font().Handle()};
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : ColorToRGB(Font().Color()));
            RECT r = item.rcItem;
            r.left += 2;
            ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
        }
        if (item.itemState & ODS_FOCUS)
            ::DrawFocusRect(dc, &item.rcItem);
        Message.Result = TRUE;
        return;
    }
    TWinControl::WndProc(Message);
}
