// The program's icon, from its resources.
#pragma once

#include "toolkit/WinHandle.h"

// The 64 x 64 icon of the program's resources; empty when the module carries none.
win::Icon LoadMainIcon(HINSTANCE instance);
