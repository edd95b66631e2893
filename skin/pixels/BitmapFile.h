// Loads Windows bitmap files as skin authors save them into our 32-bit image.
#pragma once

#include "skin/pixels/PixelBuffer.h"
#include "toolkit/Exception.h"

#include <cstdint>
#include <span>

// Raised for a file the loader refuses; the message names the reason.
class EBitmapError : public Exception {
public:
    using Exception::Exception;
};

// Refusal messages, one per reason.
inline constexpr const wchar_t* kBitmapTruncatedHeader = L"Bitmap file is truncated in its headers";
inline constexpr const wchar_t* kBitmapNoSignature = L"Not a bitmap file: no BM signature";
inline constexpr const wchar_t* kBitmapBadHeaderSize = L"Unsupported bitmap header size";
inline constexpr const wchar_t* kBitmapBadDimensions = L"Bitmap width or height out of range";
inline constexpr const wchar_t* kBitmapBadPlanes = L"Bitmap plane count is not 1";
inline constexpr const wchar_t* kBitmapBadDepth = L"Unsupported bitmap bits per pixel";
inline constexpr const wchar_t* kBitmapBadCompression = L"Unsupported bitmap compression";
inline constexpr const wchar_t* kBitmapBadMasks = L"Bitmap colour masks are not contiguous or overlap";
inline constexpr const wchar_t* kBitmapBadPalette = L"Bitmap palette is larger than its bit depth allows";
inline constexpr const wchar_t* kBitmapTruncatedPalette = L"Bitmap palette is truncated";
inline constexpr const wchar_t* kBitmapTruncatedPixels = L"Bitmap pixel data is truncated";

// The largest width or height accepted; far beyond any skin, and it keeps a forged header from
// asking for gigabytes.
constexpr int kMaxBitmapSide = 16384;

// Decodes a .bmp file: 1, 4, 8, 16, 24 or 32 bits per pixel, bottom-up or top-down,
// uncompressed (BI_RGB) or with colour masks (BI_BITFIELDS, 16 and 32 bits), with the core,
// info, V4 or V5 header. Pixels come out opaque BGRA, row 0 on top; a palette index beyond
// the palette gives black. Throws EBitmapError for anything else or a short file.
TPixelBuffer LoadBitmapFile(std::span<const std::uint8_t> file);
