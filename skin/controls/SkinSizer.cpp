// The skinned size-grip windows.
#include "skin/controls/SkinSizer.h"

const TClassInfo TSkinSizer::StaticClass{L"TSkinSizer", &TSkinControl::StaticClass, {}};
