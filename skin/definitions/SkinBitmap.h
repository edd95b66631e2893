// Loading one skin image named by the definition text from the archive.
#pragma once

#include "skin/pixels/PixelBuffer.h"
#include "skin/archive/SkinReader.h"

#include <string_view>

// Target becomes the archive's bitmap of that file name, any directory in it ignored. It is
// cleared instead when the name is empty, does not end in exactly ".bmp", names no entry or
// an empty one, or the entry is not a bitmap the loader accepts.
void LoadSkinBitmap(const TSkinReader& reader, std::string_view fileName, TPixelBuffer& target);
