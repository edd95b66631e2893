// The caption buttons' rules without a window: visibility, layout, hit tests, paint frames and hints.
#pragma once

#include "skin/window/FrameGeometry.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <span>

enum class TButtonState { Normal = 1, Pressed = 2, Hot = 3 };

// One caption button of a frame: its skin entry and what the frame last decided about it.
struct TCaptionButton {
    const TDataSkinSysButton* Data = nullptr; // borrowed from the skin's CaptionButtons
    bool Visible = false;
    bool Enabled = true;
    TPixelRect Bounds; // frame coordinates; empty unless visible with an image
    TButtonState State = TButtonState::Normal;
};

// The window facts the visibility codes test.
struct TCaptionWindow {
    TShowState Show = TShowState::Normal;
    TActivation Activation = TActivation::Active;
    std::uint32_t Boxes = 0; // caption_box bits
    TBorderKind Kind = TBorderKind::Sizeable;
    bool DialogClass = false; // the system's dialog class or the toolkit's message box form
    // An MDI main form whose active child is maximized and whose menu bar is skinned shows
    // the child's buttons in the menu bar.
    bool MdiChildButtonsShown = false;
};

// Asks the window about a visibility code from 1000 to 2000 (SKM_SYSBUTTONVISIBLE with the code
// and the button's Action); true when it answered above 0.
using TAskButtonVisible = std::function<bool(int code, int action)>;

struct TButtonShow {
    bool Visible = false;
    bool Enabled = true;
};

// Both visibility codes must hold, then the Action decides: close needs a system menu,
// maximize and minimize are enabled only with their box and a system menu, and dialog frames
// show no icon. A code of −1 hides the button.
TButtonShow SysButtonVisible(const TDataSkinSysButton& button, const TCaptionWindow& window,
    const TAskButtonVisible& ask);

// SysButtonVisible for every button, kept in the buttons.
void UpdateSysButtons(std::span<TCaptionButton> buttons, const TCaptionWindow& window, const TAskButtonVisible& ask);

// The widest offset of a visible, right-aligned button with an image; the caption text keeps
// clear of it. Call after UpdateSysButtons.
int RightButtonArea(std::span<const TCaptionButton> buttons) noexcept;

struct TButtonLayoutFrame {
    int Width = 0; // the window's
    TFrameBorders Borders;
    int MenuBarHeight = 0;
    TPixelRect CaptionText; // where the caption text went (PlaceCaptionText's Text)
    int MenuBarLeftWidth = 0; // LeftWidth of the skin's menu bar object, 0 without one
};

// A button is one frame of its image in size; Align places it from the left (0), from the
// right (1), before (2, 8) or after (3, 9) the caption text, or in the menu bar (100). An
// Align the skin invents places nothing. Call after UpdateSysButtons and the text placement.
void LayoutSysButtons(std::span<TCaptionButton> buttons, const TButtonLayoutFrame& frame) noexcept;

// The first visible button, in skin order, with an Action of 0 or more under the frame point.
std::optional<std::size_t> HitObject(std::span<const TCaptionButton> buttons, TFramePoint p) noexcept;

// The frame a button shows when the whole caption is painted: the first, or the fourth
// (disabled look) for an inactive window or a disabled button with enough frames.
int FullPaintFrame(const TCaptionButton& button, TActivation activation) noexcept;
// The frame a button shows when only its state changed: its state's frame, the disabled
// frame when disabled, and the fourth for a hot MDI button.
int StatePaintFrame(const TCaptionButton& button) noexcept;

// The icon buttons show the window's icon instead of a frame of their image.
bool IsIconAction(int action) noexcept;

// Hint over a button with that Action, or null when the Action has none.
const wchar_t* SysButtonHintText(int action) noexcept;
