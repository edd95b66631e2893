// Caption buttons: visibility codes, layout by alignment, hit tests, paint frames and hint texts.
#include "skin/window/CaptionButtons.h"

#include <algorithm>
#include <climits>

namespace {

int ToInt(long long v) noexcept
{
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

bool Has(const TCaptionWindow& w, std::uint32_t box) noexcept
{
    return (w.Boxes & box) != 0;
}

bool HasMinOrMax(const TCaptionWindow& w) noexcept
{
    return Has(w, caption_box::kMinimize) || Has(w, caption_box::kMaximize);
}

bool Maximized(const TCaptionWindow& w) noexcept
{
    return w.Show == TShowState::Maximized;
}

bool Active(const TCaptionWindow& w) noexcept
{
    return w.Activation == TActivation::Active;
}

bool OwnDialog(const TCaptionWindow& w) noexcept
{
    return w.Kind == TBorderKind::DialogFrame && !w.DialogClass;
}

// The codes both columns read alike.
std::optional<bool> CommonCode(int code, const TCaptionWindow& w) noexcept
{
    switch (code) {
    case 0: return true;
    case 1: return Maximized(w);
    case 2: return !Maximized(w);
    case 3: return Active(w);
    case 4: return !Active(w);
    case 7: return !Has(w, caption_box::kMaximize);
    case 9: return !Has(w, caption_box::kMinimize);
    case 200: return OwnDialog(w);
    default: break;
    }
    if (code >= 201 && code <= 999)
        return true;
    return std::nullopt;
}

bool VisibilityHolds(int code, int action, const TCaptionWindow& w, const TAskButtonVisible& ask)
{
    if (const std::optional<bool> common = CommonCode(code, w))
        return *common;
    switch (code) {
    case 6:
    case 8: return HasMinOrMax(w) && Has(w, caption_box::kSysMenu);
    case 10: return Has(w, caption_box::kHelp) && !HasMinOrMax(w);
    case 100: return w.MdiChildButtonsShown;
    default: break;
    }
    if (code >= 1000 && code <= 2000)
        return ask && ask(code, action);
    return false;
}

bool Visibility1Holds(int code, bool visibilityHeld, const TCaptionWindow& w) noexcept
{
    if (const std::optional<bool> common = CommonCode(code, w))
        return *common;
    switch (code) {
    case 6:
    case 8: return HasMinOrMax(w);
    case 10: return Has(w, caption_box::kHelp);
    case 100: return visibilityHeld;
    default: break;
    }
    return code >= 1000 && code <= 2000;
}

int FrameCount(const TDataSkinSysButton& b) noexcept
{
    return std::max(b.Frame, 1);
}

} // namespace

bool IsIconAction(int action) noexcept
{
    return action == 3 || action == 11;
}

TButtonShow SysButtonVisible(const TDataSkinSysButton& button, const TCaptionWindow& window,
    const TAskButtonVisible& ask)
{
    TButtonShow show;
    const bool first = VisibilityHolds(button.Visibility, button.Action, window, ask);
    show.Visible = first && Visibility1Holds(button.Visibility1, first, window);
    const bool sysMenu = Has(window, caption_box::kSysMenu);
    switch (button.Action) {
    case 0:
        show.Visible = show.Visible && sysMenu;
        break;
    case 1: show.Enabled = Has(window, caption_box::kMaximize) && sysMenu; break;
    case 2: show.Enabled = Has(window, caption_box::kMinimize) && sysMenu; break;
    case 3:
    case 11:
    case 12:
        show.Visible = show.Visible && window.Kind != TBorderKind::DialogFrame;
        break;
    default: break;
    }
    return show;
}

void UpdateSysButtons(std::span<TCaptionButton> buttons, const TCaptionWindow& window, const TAskButtonVisible& ask)
{
    for (TCaptionButton& b : buttons) {
        if (!b.Data) {
            b.Visible = false;
            continue;
        }
        const TButtonShow show = SysButtonVisible(*b.Data, window, ask);
        b.Visible = show.Visible;
        b.Enabled = show.Enabled;
    }
}

int RightButtonArea(std::span<const TCaptionButton> buttons) noexcept
{
    int area = 0;
    for (const TCaptionButton& b : buttons)
        if (b.Data && b.Visible && b.Data->Align == 1 && !b.Data->Bitmap.IsEmpty())
            area = std::max(area, b.Data->Xcoord);
    return area;
}

void LayoutSysButtons(std::span<TCaptionButton> buttons, const TButtonLayoutFrame& frame) noexcept
{
    for (TCaptionButton& b : buttons) {
        b.Bounds = {};
        if (!b.Data || !b.Visible || b.Data->Bitmap.IsEmpty())
            continue;
        const TDataSkinSysButton& d = *b.Data;
        const long long w = d.Bitmap.Width() / FrameCount(d);
        const long long h = d.Bitmap.Height();
        long long x = 0;
        long long y = d.Ycoord;
        switch (d.Align) {
        case 0: x = d.Xcoord; break;
        case 1: x = static_cast<long long>(frame.Width) - d.Xcoord; break;
        case 2:
        case 8: x = frame.CaptionText.Left - w - d.Xcoord; break;
        case 3:
        case 9: x = static_cast<long long>(frame.CaptionText.Right) + d.Xcoord; break;
        case 100:
            x = static_cast<long long>(frame.Width) - d.Xcoord - frame.Borders.Right - frame.MenuBarLeftWidth;
            y = frame.Borders.Top + (frame.MenuBarHeight - h) / 2;
            break;
        default: continue;
        }
        b.Bounds = {ToInt(x), ToInt(y), ToInt(x + w), ToInt(y + h)};
    }
}

std::optional<std::size_t> HitObject(std::span<const TCaptionButton> buttons, TFramePoint p) noexcept
{
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const TCaptionButton& b = buttons[i];
        if (!b.Data || !b.Visible || b.Data->Action < 0)
            continue;
        if (Contains(b.Bounds, p))
            return i;
    }
    return std::nullopt;
}

int FullPaintFrame(const TCaptionButton& button, TActivation activation) noexcept
{
    const int count = button.Data ? FrameCount(*button.Data) : 1;
    return count < 4 || (activation == TActivation::Active && button.Enabled) ? 1 : 4;
}

int StatePaintFrame(const TCaptionButton& button) noexcept
{
    const int count = button.Data ? FrameCount(*button.Data) : 1;
    if (!button.Enabled)
        return count > 3 ? 4 : 1;
    if (button.State == TButtonState::Hot && button.Data && button.Data->Visibility == 100)
        return 4;
    return static_cast<int>(button.State);
}

const wchar_t* SysButtonHintText(int action) noexcept
{
    switch (action) {
    case 0:
    case 9:
    case 62: return L"Close";
    case 1:
    case 22: return L"Maximize";
    case 2:
    case 7:
    case 23:
    case 60: return L"Minimize";
    case 8:
    case 61: return L"Restore";
    default: return nullptr;
    }
}
