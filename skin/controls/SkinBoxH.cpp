// The skinned tool bar windows and nested dialogs of other windows.
#include "skin/controls/SkinBoxH.h"

const TClassInfo TSkinBoxH::StaticClass{L"TSkinBoxH", &TSkinControl::StaticClass, {}};
