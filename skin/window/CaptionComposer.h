// The caption band composed off-screen in two passes, so that the caption text can be drawn with GDI between them.
#pragma once

#include "skin/window/CaptionButtons.h"

#include <span>

struct TCaptionScene {
    int Width = 0, Height = 0; // the window's
    TFrameBorders Borders;
    TShowState Show = TShowState::Normal;
    TActivation Activation = TActivation::Active;
    TPixelRect TitleBackground; // PlaceCaptionText's Background
};

// The band a scene is composed in: W × BorderTop, or the whole W × H window when minimized.
TPixelRect CaptionBandRect(const TCaptionScene& scene) noexcept;

// First pass, over the band as the screen shows it: a minimized window's band is filled with
// the face colour first; then the Top border piece and, when the Title has an image, the
// text background (its two frames stacked, fixed ends TXTBackleft and TXTBackRight).
void ComposeCaptionBackground(const TPixelView& band, const TSkinObjects& skin, const TCaptionScene& scene);

// Second pass, after the text: every visible button with an image except the MDI ones (the
// menu bar shows those), key-transparent. appIcon is the window's small icon on the magenta
// key; the icon buttons show it, or their own image when it is empty.
void ComposeCaptionButtons(const TPixelView& band, std::span<const TCaptionButton> buttons, TActivation activation,
    const TPixelView& appIcon);

// One button in the given frame at target. When background is not empty its pixels under
// target are put back first, so a state's key pixels do not show the previous state.
void PaintSysButton(const TPixelView& dst, const TPixelRect& target, const TCaptionButton& button, int frame,
    const TPixelView& appIcon, const TPixelView& background = {});
