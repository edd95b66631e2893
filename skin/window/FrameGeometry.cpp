// Border kind and sizes, client rectangle, border pieces and frame coordinates of a skinned frame.
#include "skin/window/FrameGeometry.h"

#include "skin/pixels/Painters.h"

#include <algorithm>

namespace {

int FrameCount(const TDataSkinObject& o) noexcept
{
    return std::max(o.Frame, 1);
}

} // namespace

bool IsDialogClassName(std::wstring_view className) noexcept
{
    return className == L"#32770" || className == L"TMessageForm";
}

TBorderKind BorderKindOf(const TWindowStyle& window) noexcept
{
    TBorderKind kind = TBorderKind::FixedCaption;
    if ((window.Style & kWsCaption) != kWsCaption)
        kind = TBorderKind::NoCaption;
    else if (window.Style & kWsThickFrame)
        kind = TBorderKind::Sizeable;
    else if (window.Style & kDsModalFrame)
        kind = TBorderKind::DialogFrame;
    if ((window.ExStyle & kWsExDlgModalFrame) || window.DialogClass)
        kind = TBorderKind::DialogFrame;
    return kind;
}

std::uint32_t CaptionBoxesOf(const TWindowStyle& window) noexcept
{
    std::uint32_t boxes = 0;
    if (window.Style & kWsSysMenu)
        boxes |= caption_box::kSysMenu;
    if (window.Style & kWsMinimizeBox)
        boxes |= caption_box::kMinimize;
    if (window.Style & kWsMaximizeBox)
        boxes |= caption_box::kMaximize;
    if (window.ExStyle & kWsExContextHelp)
        boxes |= caption_box::kHelp;
    return boxes;
}

const TDataSkinBorder& BorderObject(const TSkinObjects& skin, TBorderSide side) noexcept
{
    switch (side) {
    case TBorderSide::Left: return skin.Left;
    case TBorderSide::Top: return skin.Top;
    case TBorderSide::Right: return skin.Right;
    case TBorderSide::Bottom: return skin.Bottom;
    }
    return skin.Top;
}

TFrameBorders ComputeBorders(const TSkinObjects& skin, TBorderKind kind) noexcept
{
    if (kind == TBorderKind::NoCaption)
        return {};
    return {skin.Left.Bitmap.Width() / FrameCount(skin.Left), skin.Top.Bitmap.Height() / FrameCount(skin.Top),
        skin.Right.Bitmap.Width() / FrameCount(skin.Right), skin.Bottom.Bitmap.Height() / FrameCount(skin.Bottom)};
}

TPixelRect NcCalcClientRect(const TPixelRect& window, const TFrameBorders& borders, int menuBarHeight) noexcept
{
    // Sums in 64 bits: window positions and border sizes are both the caller's to choose.
    const auto within = [](long long v, int lo, int hi) {
        return static_cast<int>(std::clamp<long long>(v, lo, std::max(lo, hi)));
    };
    TPixelRect r;
    r.Left = within(static_cast<long long>(window.Left) + borders.Left, window.Left, window.Right);
    r.Top = within(static_cast<long long>(window.Top) + borders.Top + menuBarHeight, window.Top, window.Bottom);
    r.Right = within(static_cast<long long>(window.Right) - borders.Right, r.Left, window.Right);
    r.Bottom = within(static_cast<long long>(window.Bottom) - borders.Bottom, r.Top, window.Bottom);
    return r;
}

TFramePieces FramePieces(int width, int height, const TFrameBorders& b, int menuBarHeight, TShowState show) noexcept
{
    TFramePieces p;
    if (show == TShowState::Minimized) {
        p.Top = {0, 0, width, b.Top};
        p.CaptionBand = {0, 0, width, height};
        return p;
    }
    p.Left = {0, 0, b.Left, height};
    p.Right = {width - b.Right, 0, width, height};
    p.Bottom = {b.Left, height - b.Bottom, width - b.Right, height};
    p.Top = {b.Left, 0, width - b.Right, b.Top};
    p.MenuBar = {b.Left, b.Top, width - b.Right, b.Top + menuBarHeight};
    p.CaptionBand = {0, 0, width, b.Top};
    return p;
}

TPixelBuffer BuildBorderPiece(const TSkinObjects& skin, TBorderSide side, int width, int height,
    TActivation activation)
{
    const TDataSkinBorder& border = BorderObject(skin, side);
    const int count = FrameCount(border);
    const int k = activation == TActivation::Active || count == 1 ? 1 : 2;
    const TStrip strip = side == TBorderSide::Top || side == TBorderSide::Bottom ? TStrip::Vertical : TStrip::Horizontal;
    const TCentre centre = border.Tile == 1 ? TCentre::Stretch : TCentre::Tile;
    return BuildNineSlice(width, height, border.Bitmap.View(), border.Margins(), strip, centre, count, k);
}

TFramePoint ClientToFrame(TFramePoint client, const TFrameBorders& borders, int menuBarHeight, TMdiRole role,
    TShowState show) noexcept
{
    if (role == TMdiRole::Child && show == TShowState::Minimized)
        return client;
    return {client.X + borders.Left, client.Y + borders.Top + menuBarHeight};
}

TNcArea NcAreaAt(TFramePoint p, const TFrameBorders& borders, int menuBarHeight) noexcept
{
    // Only the band itself, rows BorderTop to BorderTop + menuBarHeight − 1, is menu: below it
    // lie the client and the bottom border.
    if (menuBarHeight > 0 && p.Y >= borders.Top && p.Y < borders.Top + menuBarHeight)
        return TNcArea::Menu;
    if (p.Y > 3)
        return TNcArea::Caption;
    return TNcArea::Unchanged;
}
