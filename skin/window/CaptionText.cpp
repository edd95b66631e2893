// Placement of the caption text and its Title background.
#include "skin/window/CaptionText.h"

#include <algorithm>
#include <climits>

namespace {

// Skin numbers are any 32-bit value, so sums go through 64 bits and come back held to int.
int ToInt(long long v) noexcept
{
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

} // namespace

TCaptionTextPlacement PlaceCaptionText(const TCaptionTextInput& in, const TDataSkinTitle& title) noexcept
{
    const TPixelRect& c = in.Caption;
    const long long captionWidth = c.Width();
    // The background's fixed ends; a negative one would eat into the text.
    const long long endLeft = std::max(title.TXTBackleft, 0), endRight = std::max(title.TXTBackRight, 0);
    const long long width = static_cast<long long>(std::max(in.TextWidth, 0)) + endLeft + endRight;
    const long long height = std::max(in.TextHeight, 0);
    const int alignment = title.TextAlignment;

    long long x = 0;
    if (in.Reading == TReading::RightToLeft) {
        const long long room = captionWidth - in.RightButtonArea;
        if (alignment == 1)
            x = (room - width) / 2;
        else if (alignment == 2)
            x = title.LeftWidth;
        else
            x = room - width;
    } else {
        if (alignment == 1)
            x = (captionWidth - width) / 2;
        else if (alignment == 2)
            x = captionWidth - title.RightWidth - width;
        else
            x = title.LeftWidth;
    }
    const long long y = (c.Height() - height) / 2 + title.TopHeight / 2;

    long long clipRight = c.Right;
    if (in.Reading == TReading::RightToLeft) {
        if (x < 1)
            x = title.LeftWidth;
        x += 10;
    } else if (in.Popup) {
        if (in.RightButtonArea > 5)
            clipRight = static_cast<long long>(c.Right) - in.RightButtonArea - 5;
    } else {
        clipRight = static_cast<long long>(c.Right) - title.RightWidth;
    }
    // Dialogs show no icon button, so their left-aligned text takes its place.
    if (in.DialogFrame && alignment == 0)
        x -= 16;

    // A skin whose shifts would push the text off the caption's left keeps it at the edge,
    // where it can be read; everything stays between that edge and the clip.
    const long long clip = std::max<long long>(std::min<long long>(clipRight, c.Right), c.Left);
    const long long left = std::clamp<long long>(c.Left + x, c.Left, clip);
    const long long right = std::min(left + width, clip);
    const long long top = c.Top + y;

    TCaptionTextPlacement p;
    p.Clip = {c.Left, c.Top, ToInt(clip), c.Bottom};
    p.Background = {ToInt(left), c.Top, ToInt(right), c.Bottom};
    const long long textLeft = std::min(left + endLeft, right);
    const long long textRight = std::max(right - endRight, textLeft);
    p.Text = {ToInt(textLeft), ToInt(top), ToInt(textRight), ToInt(top + height)};
    return p;
}
