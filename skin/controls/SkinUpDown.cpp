// The skinned up-down controls, the buddy up-downs of edits included.
#include "skin/controls/SkinUpDown.h"

const TClassInfo TSkinUpDown::StaticClass{L"TSkinUpDown", &TSkinControl::StaticClass, {}};
