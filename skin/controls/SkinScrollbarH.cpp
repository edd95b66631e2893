// The skinned the scroll bar of a combo box.
#include "skin/controls/SkinScrollbarH.h"

const TClassInfo TSkinScrollbarH::StaticClass{L"TSkinScrollbarH", &TSkinControl::StaticClass, {}};
