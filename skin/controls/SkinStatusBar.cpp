// The skinned status bars.
#include "skin/controls/SkinStatusBar.h"

const TClassInfo TSkinStatusBar::StaticClass{L"TSkinStatusBar", &TSkinControl::StaticClass, {}};
