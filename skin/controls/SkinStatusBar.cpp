// The skinned status bars: panels read from the bar, composed off screen, put up in one transfer.
#include "skin/controls/SkinStatusBar.h"

#include "skin/pixels/Painters.h"
#include "skin/pixels/PixelBuffer_win.h"
#include "skin/window/SkinData.h"
#include "toolkit/WinControl.h"
#include "toolkit/WinHandle.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// A leading tab centres a status bar text, two put it on the right: the control's own rule.
TPanelAlignment TakeAlignment(std::wstring& text)
{
    if (text.starts_with(L"\t\t")) {
        text.erase(0, 2);
        return TPanelAlignment::Right;
    }
    if (text.starts_with(L"\t")) {
        text.erase(0, 1);
        return TPanelAlignment::Centre;
    }
    return TPanelAlignment::Left;
}

int FrameOfBevel(WORD type) noexcept
{
    if (type & SBT_NOBORDERS)
        return status_frame::kNone;
    if (type & SBT_POPOUT)
        return status_frame::kRaised;
    return status_frame::kLowered;
}

bool Meets(const RECT& a, const RECT& b) noexcept
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

const TClassInfo TSkinStatusBar::StaticClass{L"TSkinStatusBar", &TSkinControl::StaticClass, {}};

bool TSkinStatusBar::HasEdges() const
{
    return FSkinData && FSkinData->Skin().StatusBarEdges && !FSkinData->Skin().StatusBarEdges->Bitmap.IsEmpty();
}

bool TSkinStatusBar::BeforeMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        if (!HasEdges())
            return true;
        WMPaint(Message);
        return false;
    case WM_ERASEBKGND:
        if (!HasEdges())
            return true;
        Message.Result = 1; // the composed bar covers everything
        return false;
    default:
        return TSkinControl::BeforeMessage(Message);
    }
}

void TSkinStatusBar::WMPaint(TMessage& Message)
{
    RECT client{};
    ::GetClientRect(FWindow, &client);
    Message.Result = 0;
    if (const auto given = reinterpret_cast<HDC>(Message.WParam)) {
        Draw(given, client);
        return;
    }
    const win::PaintDC paint(FWindow);
    const RECT& area = paint.Area();
    try {
        ReadPanels(client.right);
        Compose(client.right, client.bottom, area);
        PutPixelRect(paint.get(), area.left, area.top, FFace, {area.left, area.top, area.right, area.bottom});
        DrawOwnerPanels(paint.get());
    } catch (const std::exception&) {
        // No scratch bitmap: this paint is lost, the next one tries again.
    }
}

void TSkinStatusBar::Draw(HDC dc, const RECT& rect)
{
    if (!HasEdges())
        return;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    ReadPanels(width);
    Compose(width, height, {0, 0, width, height});
    PutPixels(dc, rect.left, rect.top, FFace);
    DrawOwnerPanels(dc);
}

std::wstring TSkinStatusBar::PartText(int part) const
{
    const LRESULT info = ::SendMessageW(FWindow, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
    if (HIWORD(info) & SBT_OWNERDRAW)
        return {};
    std::wstring text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
    text.resize(std::min<size_t>(LOWORD(::SendMessageW(FWindow, SB_GETTEXTW, static_cast<WPARAM>(part),
                                                        reinterpret_cast<LPARAM>(text.data()))), text.size() - 1));
    return text;
}

void TSkinStatusBar::ReadPanels(int width)
{
    FPanels.clear();
    const bool simple = ::SendMessageW(FWindow, SB_ISSIMPLE, 0, 0) != 0;
    const int count = simple ? 0 : static_cast<int>(::SendMessageW(FWindow, SB_GETPARTS, 0, 0));
    RECT client{};
    ::GetClientRect(FWindow, &client);
    if (count <= 0) {
        // A simple bar (or one without panels) shows its one text over the whole bar.
        TStatusPanelFace face;
        face.Box = client;
        // Wine answers for the simple text under part 0 only, Windows under SB_SIMPLEID too.
        face.Text = PartText(SB_SIMPLEID);
        if (face.Text.empty() && simple)
            face.Text = PartText(0);
        if (face.Text.empty())
            face.Text = L" ";
        face.Alignment = TakeAlignment(face.Text);
        FPanels.push_back(std::move(face));
        return;
    }
    for (int i = 0; i < count; ++i) {
        TStatusPanelFace face;
        ::SendMessageW(FWindow, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&face.Box));
        face.Box.left += 2;
        if (i == count - 1)
            face.Box.right = width;
        const LRESULT info = ::SendMessageW(FWindow, SB_GETTEXTLENGTHW, static_cast<WPARAM>(i), 0);
        const WORD type = HIWORD(info);
        face.Frame = FrameOfBevel(type);
        face.RightToLeft = (type & SBT_RTLREADING) != 0;
        face.OwnerDraw = (type & SBT_OWNERDRAW) != 0;
        if (face.OwnerDraw) {
            // For an owner-drawn panel the bar keeps a value, not a text.
            face.Data = static_cast<ULONG_PTR>(::SendMessageW(FWindow, SB_GETTEXTW, static_cast<WPARAM>(i), 0));
        } else {
            face.Text = PartText(i);
            face.Alignment = TakeAlignment(face.Text);
        }
        FPanels.push_back(std::move(face));
    }
}

void TSkinStatusBar::Compose(int width, int height, const RECT& area)
{
    const TSkinObjects& skin = FSkinData->Skin();
    const TDataSkinObject& edges = *skin.StatusBarEdges;
    if (FFace.Width() != width || FFace.Height() != height)
        FFace = CreateDibBuffer(width, height);
    FFace.Fill(ToPixel(skin.ButtonFace(), skin.SystemColors()));
    const win::BitmapDC faceDC(DibHandle(FFace));
    HFONT font = FControl ? FControl->Font().Handle() : reinterpret_cast<HFONT>(::SendMessageW(FWindow, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const win::Select selectFont(faceDC.get(), font);
    ::SetBkMode(faceDC.get(), TRANSPARENT);
    ::SetTextColor(faceDC.get(), ColorToRGB(ResolveColor(edges.NormalColour2, skin.SystemColors())));
    const TKeying keying = edges.Trans == 1 ? TKeying::Transparent : TKeying::Opaque;
    for (const TStatusPanelFace& panel : FPanels) {
        // Only what the update area asks for: a panel's text changes often while reading.
        if (!Meets(panel.Box, area))
            continue;
        const TPixelRect box{panel.Box.left, panel.Box.top, panel.Box.right, panel.Box.bottom};
        DrawNineSlice(FFace.View(), box, edges.Bitmap.View(), TStrip::Horizontal,
                      edges.Tile ? TCentre::Tile : TCentre::Stretch, keying, edges.Frame, panel.Frame, edges.Margins());
        if (panel.OwnerDraw || panel.Text.empty())
            continue;
        // Narrow panels keep as much of their text as the bar without a skin shows: a pixel of
        // inset across and the text clipped, not shortened to an ellipsis.
        RECT text = panel.Box;
        ::InflateRect(&text, -1, -2);
        TPanelAlignment alignment = panel.Alignment;
        if (panel.RightToLeft && alignment != TPanelAlignment::Centre)
            alignment = alignment == TPanelAlignment::Left ? TPanelAlignment::Right : TPanelAlignment::Left;
        UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
        format |= alignment == TPanelAlignment::Centre ? DT_CENTER : alignment == TPanelAlignment::Right ? DT_RIGHT : DT_LEFT;
        if (panel.RightToLeft)
            format |= DT_RTLREADING;
        ::DrawTextW(faceDC.get(), panel.Text.c_str(), static_cast<int>(panel.Text.size()), &text, format);
        ::GdiFlush(); // GDI's text reaches the bits before the painters write beside it
    }
    if (::GetWindowLongPtrW(FWindow, GWL_STYLE) & SBARS_SIZEGRIP) {
        if (const auto& extra = skin.ExtraImages; extra && !extra->Bitmap.IsEmpty()) {
            const TPixelRect cell = FrameRect(extra->Bitmap.Width(), extra->Bitmap.Height(), TStrip::Horizontal,
                                              extra->Frame, status_frame::kSizeGrip);
            const TPixelRect corner{width - cell.Width(), height - cell.Height(), width, height};
            DrawFrameStretched(FFace.View(), corner, extra->Bitmap.View(),
                               extra->Trans == 1 ? TKeying::Transparent : TKeying::Opaque, extra->Frame,
                               status_frame::kSizeGrip);
        }
    }
}

void TSkinStatusBar::DrawOwnerPanels(HDC dc)
{
    // The bar's owner draws such panels itself, as it would on the bar without a skin.
    const HWND parent = ::GetParent(FWindow);
    for (size_t i = 0; i < FPanels.size(); ++i) {
        const TStatusPanelFace& panel = FPanels[i];
        if (!panel.OwnerDraw || !parent)
            continue;
        DRAWITEMSTRUCT item{};
        item.CtlID = static_cast<UINT>(::GetDlgCtrlID(FWindow));
        item.itemID = static_cast<UINT>(i);
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = FWindow;
        item.hDC = dc;
        item.rcItem = panel.Box;
        ::InflateRect(&item.rcItem, -2, -2);
        item.itemData = panel.Data;
        ::SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    }
}
