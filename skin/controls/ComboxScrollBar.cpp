// The skinned the list window of a combo box.
#include "skin/controls/ComboxScrollBar.h"

const TClassInfo TComboxScrollBar::StaticClass{L"TComboxScrollBar", &TSkinControl::StaticClass, {}};
