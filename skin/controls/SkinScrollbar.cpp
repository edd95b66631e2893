// The skinned scrollable controls.
#include "skin/controls/SkinScrollbar.h"

const TClassInfo TSkinScrollbar::StaticClass{L"TSkinScrollbar", &TSkinControl::StaticClass, {}};

bool TSkinScrollbar::AttachScrolling(TWinSkinForm* frame, TSkinData* skinData)
{
    return Attach(frame, skinData, false);
}
