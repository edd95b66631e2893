// The skinned combo boxes.
#include "skin/controls/SkinComBox.h"

const TClassInfo TSkinComBox::StaticClass{L"TSkinComBox", &TSkinControl::StaticClass, {}};
