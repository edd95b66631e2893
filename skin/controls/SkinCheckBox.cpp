// The skinned check boxes.
#include "skin/controls/SkinCheckBox.h"

const TClassInfo TSkinCheckBox::StaticClass{L"TSkinCheckBox", &TSkinControl::StaticClass, {}};
