// The check box and radio button face geometry.
#include "skin/controls/CheckFace.h"

#include <algorithm>
#include <string>

namespace {

std::wstring Lower(std::wstring_view text)
{
    std::wstring out(text);
    for (wchar_t& c : out)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return out;
}

bool Contains(const std::wstring& text, std::wstring_view part) { return text.find(part) != std::wstring::npos; }

// Unchecked 1, checked 2, both disabled 3 and 4, mixed 4: the numbering of short strips.
int BaseFrame(const TCheckFaceState& s)
{
    int frame = s.Checked ? 2 : 1;
    if (s.StateText) {
        const std::wstring state = Lower(*s.StateText);
        if (Contains(state, L"uncheck"))
            frame = 1;
        else if (Contains(state, L"check"))
            frame = 2;
        else if (Contains(state, L"gray"))
            frame = 4;
    } else if (s.CheckedText) {
        // Anything but "true" is unchecked: the third cell is the disabled look.
        frame = Lower(*s.CheckedText) == L"true" ? 2 : 1;
    }
    if (s.DataField) {
        if (s.LastSetCheck) {
            const int seen = *s.LastSetCheck + 1; // BST_INDETERMINATE (2) shows as mixed
            frame = seen == 3 ? 4 : seen;
        }
    } else if (s.DataBinding) {
        frame = 1;
    }
    if (!s.Enabled)
        frame += 2;
    if (s.Indeterminate)
        frame = 4;
    return frame;
}

} // namespace

int CheckFaceFrame(const TCheckFaceState& state, int frameCount) noexcept
{
    int frame = BaseFrame(state);
    if (frameCount == kCheckCellsWithStates) {
        if (state.Indeterminate)
            frame = state.Enabled ? 9 : 12;
        else if (frame == 2)
            frame = 5;
        else if (frame == 3)
            frame = 4;
        else if (frame == 4)
            frame = 8;
        // Each group of four runs normal, hot, pressed, disabled.
        if (state.Enabled && (frame - 1) % 4 == 0)
            frame += state.Pressed ? 2 : state.MouseOver ? 1 : 0;
    }
    return std::clamp(frame, 1, std::max(frameCount, 1));
}

TCheckLayout CheckBoxLayout(int width, int height, int imageWidth, int imageHeight, bool textLeft) noexcept
{
    const int top = (height - imageHeight) / 2;
    const int left = textLeft ? width - imageWidth : 0;
    TCheckLayout layout;
    layout.Image = {left, top, left + imageWidth, top + imageHeight};
    layout.Text = textLeft ? TPixelRect{0, 0, std::max(left - 2, 0), height}
                           : TPixelRect{std::min(imageWidth + 2, width), 0, width, height};
    return layout;
}

TPixelRect PlaceCheckText(const TPixelRect& room, int textWidth, int textHeight, bool alignRight) noexcept
{
    const int top = room.Top + (room.Bottom - room.Top - textHeight) / 2;
    const int left = alignRight ? room.Right - textWidth : room.Left;
    return {left, top, left + textWidth, top + textHeight};
}
