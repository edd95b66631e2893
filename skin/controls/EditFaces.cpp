// The combo box's and up-down's face geometry.
#include "skin/controls/EditFaces.h"

int ComboFaceFrame(const TComboFaceState& state) noexcept
{
    if (!state.Enabled)
        return combo_frame::kDisabled;
    if (state.Pressed)
        return combo_frame::kPressed;
    if (state.Focused || state.MouseOver)
        return combo_frame::kHot;
    return combo_frame::kNormal;
}

TPixelRect ComboButtonPart(int width, int height, int arrowWidth, bool leftSide) noexcept
{
    const int partWidth = arrowWidth + 2;
    if (leftSide)
        return {2, 2, 2 + partWidth, height - 2};
    return {width - 2 - partWidth, 2, width - 2, height - 2};
}

TUpDownHalves UpDownHalves(int width, int height, bool horizontal) noexcept
{
    if (horizontal) {
        const int split = width / 2;
        return {{0, 0, split, height}, {split, 0, width, height}};
    }
    const int split = height / 2;
    return {{0, 0, width, split}, {0, split, width, height}};
}

int UpDownFrame(bool second, const TUpDownHalfState& state) noexcept
{
    int frame = combo_frame::kNormal;
    if (!state.Enabled)
        frame = combo_frame::kDisabled;
    else if (state.Pressed)
        frame = combo_frame::kPressed;
    else if (state.MouseOver)
        frame = combo_frame::kHot;
    return second ? frame + 4 : frame;
}
