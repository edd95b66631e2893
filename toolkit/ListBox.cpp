// A list box without item data of its own (LBS_NODATA): the window knows only the count
// and asks us to draw each visible line.
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
    Params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_NODATA | LBS_OWNERDRAWFIXED | WS_VSCROLL;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::InitializeWnd()
{
    // A list box created with strings would keep copies of its own, and one without them
    // makes the system carry only an item's data, not its text, to another process (screen
    // readers, test scripts). Said once the window exists, the style makes the system carry
    // the text we answer with, while the list box keeps no data.
    ::SetWindowLongPtrW(FHandle, GWL_STYLE, ::GetWindowLongPtrW(FHandle, GWL_STYLE) | LBS_HASSTRINGS);
    ::SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
    ::SendMessageW(FHandle, LB_SETCOUNT, FLines.Count(), 0);
    SetItemIndex(FItemIndex);
}

void TCustomListBox::AddItem(std::wstring_view text)
{
    FLines.Add(text);
    if (FHandle)
        ::SendMessageW(FHandle, LB_SETCOUNT, FLines.Count(), 0);
}

void TCustomListBox::Clear()
{
    FLines.Clear();
    FItemIndex = -1;
    if (FHandle)
        ::SendMessageW(FHandle, LB_SETCOUNT, 0, 0);
}

int TCustomListBox::ItemIndex() const
{
    return FHandle ? static_cast<int>(::SendMessageW(FHandle, LB_GETCURSEL, 0, 0)) : FItemIndex;
}

void TCustomListBox::SetItemIndex(int index)
{
    if (index < -1 || index >= static_cast<int>(FLines.Count()))
        index = -1;
    FItemIndex = index;
    if (FHandle)
        ::SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TCustomListBox::TopIndex() const
{
    return FHandle ? static_cast<int>(::SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0)) : 0;
}

void TCustomListBox::SetItemHeight(int height)
{
    FItemHeight = height;
    if (FHandle)
        ::SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, height);
}

void TCustomListBox::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case LB_GETTEXT:
        LBGetText(Message);
        return;
    case LB_GETTEXTLEN:
        LBGetTextLen(Message);
        return;
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
        Message.Result = TRUE;
        return;
    case WM_ERASEBKGND:
        Message.Result = 1; // the buffered paint covers every pixel
        return;
    case WM_PAINT:
        if (Message.WParam == 0) {
            PaintBuffered();
            Message.Result = 0;
            return;
        }
        break;
    case WM_VSCROLL:
        if (LOWORD(Message.WParam) == SB_THUMBTRACK || LOWORD(Message.WParam) == SB_THUMBPOSITION) {
            TrackThumb(Message);
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}

// The text of line wParam and its terminating zero into the caller's buffer at lParam, which
// must hold LB_GETTEXTLEN + 1 characters; without a buffer only the length, as the system's
// list box answers. Narrow callers get their text converted by the system.
void TCustomListBox::LBGetText(TMessage& Message)
{
    if (Message.WParam >= FLines.Count()) {
        Message.Result = LB_ERR;
        return;
    }
    const std::wstring_view line = FLines.Line(Message.WParam);
    if (auto* buffer = reinterpret_cast<wchar_t*>(Message.LParam)) {
        line.copy(buffer, line.size());
        buffer[line.size()] = L'\0';
    }
    Message.Result = static_cast<LRESULT>(line.size());
}

void TCustomListBox::LBGetTextLen(TMessage& Message)
{
    Message.Result =
        Message.WParam < FLines.Count() ? static_cast<LRESULT>(FLines.Line(Message.WParam).size()) : LB_ERR;
}

void TCustomListBox::PaintBuffered()
{
    // Drawn off screen and put up in one block transfer: on a remote or emulated display
    // each text call costs a round trip, one transfer costs one.
    win::PaintDC paint{FHandle};
    RECT client{};
    ::GetClientRect(FHandle, &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    win::MemoryDC buffer{paint.get(), client.right, client.bottom};
    if (!buffer) {
        TMessage direct{WM_PAINT, reinterpret_cast<WPARAM>(paint.get()), 0, 0};
        DefaultHandler(direct);
        return;
    }
    ::FillRect(buffer.get(), &client, ColorBrush());
    TMessage message{WM_PAINT, reinterpret_cast<WPARAM>(buffer.get()), 0, 0};
    DefaultHandler(message); // the list box draws its items into the buffer
    const RECT& area = paint.Area();
    ::BitBlt(paint.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, buffer.get(), area.left,
             area.top, SRCCOPY);
}

void TCustomListBox::TrackThumb(TMessage& Message)
{
    // The message carries only 16 bits of the thumb position; past 65535 lines the
    // scroll bar itself knows where the thumb is.
    SCROLLINFO info{sizeof(info), SIF_TRACKPOS};
    if (!::GetScrollInfo(FHandle, SB_VERT, &info)) {
        DefaultHandler(Message);
        return;
    }
    ::SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(info.nTrackPos), 0);
    Message.Result = 0;
}

void TCustomListBox::DrawItem(const DRAWITEMSTRUCT& item)
{
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const HDC dc = item.hDC;
    const COLORREF back = selected ? ::GetSysColor(COLOR_HIGHLIGHT) : ColorToRGB(Color());
    ::SetBkColor(dc, back);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &item.rcItem, nullptr, 0, nullptr); // fills with the back colour
    if (item.itemID < FLines.Count()) {
        const std::wstring_view text = FLines.Line(item.itemID);
        win::Select font{dc, Font().Handle()};
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : ColorToRGB(Font().Color()));
        RECT r = item.rcItem;
        r.left += 2;
        ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    }
    if (item.itemState & ODS_FOCUS)
        ::DrawFocusRect(dc, &item.rcItem);
}
