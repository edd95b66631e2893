// The Windows edge of the pixel buffer: images backed by a DIB section and put on screen in one transfer.
#pragma once

#include "skin/pixels/PixelBuffer.h"

#include <windows.h>

// A width × height top-down 32-bit DIB section, so GDI can draw text into the same pixels
// the painters write; throws std::runtime_error when the system refuses it.
TPixelBuffer CreateDibBuffer(int width, int height);

// The DIB section behind a buffer made by CreateDibBuffer (borrowed), or nullptr.
HBITMAP DibHandle(const TPixelBuffer& buffer) noexcept;

// One block transfer of the whole buffer to (x, y) of dc; false when GDI refuses.
bool PutPixels(HDC dc, int x, int y, const TPixelBuffer& buffer) noexcept;
// One block transfer of part of a DIB-section buffer to (x, y) of dc; false when GDI refuses
// or the buffer is not a DIB section.
bool PutPixelRect(HDC dc, int x, int y, const TPixelBuffer& buffer, const TPixelRect& part) noexcept;
