// Icons as skin pictures: the icon's pixels on the skin's magenta key, for painting with the
// skin's transparent copies.
#pragma once

#include "skin/pixels/PixelBuffer.h"

#include <windows.h>

// The icon at width × height; pixels the icon leaves mostly see-through become 0xFF00FF. Empty
// when the icon cannot be drawn.
TPixelBuffer IconOnKey(HICON icon, int width, int height);
