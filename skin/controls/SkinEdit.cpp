// The skinned edits.
#include "skin/controls/SkinEdit.h"

const TClassInfo TSkinEdit::StaticClass{L"TSkinEdit", &TSkinControl::StaticClass, {}};
