// The skinned panels and other containers.
#include "skin/controls/SkinBox.h"

const TClassInfo TSkinBox::StaticClass{L"TSkinBox", &TSkinControl::StaticClass, {}};
