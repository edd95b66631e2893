// The containers that only take the skin's face colour.
#include "skin/controls/SkinBox.h"

const TClassInfo TSkinBox::StaticClass{L"TSkinBox", &TSkinControl::StaticClass, {}};
