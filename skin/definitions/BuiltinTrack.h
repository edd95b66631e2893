// The engine's own track bar grooves, for skins that bring none.
#pragma once

#include "skin/pixels/PixelBuffer.h"

// A sunken groove 16 × 4 pixels, for horizontal track bars.
TPixelBuffer BuiltinTrackImage();
// The same groove standing, 4 × 16 pixels, for vertical track bars.
TPixelBuffer BuiltinTrackVertImage();
