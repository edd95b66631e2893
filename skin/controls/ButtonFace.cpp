// The push button's face geometry.
#include "skin/controls/ButtonFace.h"

int ButtonFaceFrame(const TButtonFaceState& state) noexcept
{
    if (!state.Enabled)
        return button_frame::kDisabled;
    if (state.Pressed)
        return button_frame::kPressed;
    if (state.MouseOver)
        return button_frame::kHot;
    if (state.Focused || state.Default)
        return button_frame::kFocused;
    return button_frame::kNormal;
}

std::wstring ButtonCaptionText(std::wstring_view caption)
{
    std::wstring text(caption);
    if (const size_t at = text.find(L"||"); at != std::wstring::npos)
        text.replace(at, 2, L"\r\n");
    return text;
}

TPixelRect PlaceButtonText(int faceWidth, int faceHeight, int textWidth, int textHeight) noexcept
{
    const int left = (faceWidth - textWidth) / 2;
    const int top = (faceHeight - textHeight) / 2 - 1;
    return {left, top, left + textWidth, top + textHeight};
}

TPixelRect ButtonFocusRect(const TPixelRect& text) noexcept
{
    return {text.Left - 2, text.Top - 2, text.Right + 2, text.Bottom + 2};
}
