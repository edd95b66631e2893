// The skinned radio buttons, from the Buttons object's radio strip.
#include "skin/controls/SkinRadioButton.h"

const TClassInfo TSkinRadioButton::StaticClass{L"TSkinRadioButton", &TSkinControl::StaticClass, {}};
