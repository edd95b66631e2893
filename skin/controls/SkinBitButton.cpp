// The skinned bitmap button.
#include "skin/controls/SkinBitButton.h"

const TClassInfo TSkinBitButton::StaticClass{L"TSkinBitButton", &TSkinButton::StaticClass, {}};

void TSkinBitButton::Draw(HDC dc, const RECT& rect)
{
    // The toolkit's bitmap button carries no glyph, so its face is the push button's; a hidden
    // one keeps whatever is under it.
    if (!PropertyIsTrue(L"Visible"))
        return;
    TSkinButton::Draw(dc, rect);
}
