// The skinned group boxes.
#include "skin/controls/SkinGroupBox.h"

const TClassInfo TSkinGroupBox::StaticClass{L"TSkinGroupBox", &TSkinControl::StaticClass, {}};
