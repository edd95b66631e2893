// Our own 32-bit image: rectangles, a borrowed view of pixel rows, and the buffer that owns them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Pixels are 32-bit BGRA as GDI's 32-bit DIBs hold them: blue in the low byte, then green,
// red and a byte that painting ignores. Row 0 is the top row.
struct TPixelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const noexcept { return Right - Left; }
    int Height() const noexcept { return Bottom - Top; }
    bool IsEmpty() const noexcept { return Right <= Left || Bottom <= Top; }
    // Right < Left or Bottom < Top: painters treat such a target as nothing to do.
    bool IsInverted() const noexcept { return Right < Left || Bottom < Top; }
    bool operator==(const TPixelRect&) const noexcept = default;
};

// The common part of two rectangles; an empty rectangle when they do not meet.
TPixelRect Intersect(const TPixelRect& a, const TPixelRect& b) noexcept;

// A borrowed window onto pixel rows; Stride counts pixels, not bytes.
struct TPixelView {
    std::uint32_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    int Stride = 0;

    std::uint32_t* Row(int y) const noexcept { return Bits + static_cast<std::ptrdiff_t>(y) * Stride; }
    std::uint32_t& At(int x, int y) const noexcept { return Row(y)[x]; }
    TPixelRect Bounds() const noexcept { return {0, 0, Width, Height}; }
    bool IsEmpty() const noexcept { return Width <= 0 || Height <= 0; }
    // The part of this view under r (clipped to it): a frame of a strip is such a view.
    TPixelView Sub(const TPixelRect& r) const noexcept;
};

// Where the pixels of a buffer live: plain memory natively, a DIB section on Windows.
class TPixelStorage {
public:
    virtual ~TPixelStorage() = default;
    virtual std::uint32_t* Bits() noexcept = 0;
};

// Owns one image; move-only, so a copy is always an explicit Clone().
class TPixelBuffer {
public:
    TPixelBuffer() noexcept = default;
    // A width × height image of zero pixels in plain memory; throws std::length_error when
    // either side is negative or the pixel count does not fit in memory arithmetic.
    TPixelBuffer(int width, int height);
    // Adopts storage made elsewhere (the Windows edge's DIB section).
    TPixelBuffer(int width, int height, std::unique_ptr<TPixelStorage> storage) noexcept;

    TPixelBuffer(TPixelBuffer&&) noexcept = default;
    TPixelBuffer& operator=(TPixelBuffer&&) noexcept = default;
    TPixelBuffer(const TPixelBuffer&) = delete;
    TPixelBuffer& operator=(const TPixelBuffer&) = delete;

    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    bool IsEmpty() const noexcept { return FWidth <= 0 || FHeight <= 0; }
    size_t ByteCount() const noexcept { return static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight) * 4; }
    TPixelView View() const noexcept;
    TPixelStorage* Storage() const noexcept { return FStorage.get(); }

    TPixelBuffer Clone() const;
    void Fill(std::uint32_t pixel) noexcept;

private:
    int FWidth = 0;
    int FHeight = 0;
    std::unique_ptr<TPixelStorage> FStorage;
};
