// A small deterministic raster for drawing the shipped skin: shapes in eighth-pixel units,
// coverage from a fixed 4 × 4 grid of samples, 24-bit bitmap files out.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TRgb {
    uint8_t R = 0, G = 0, B = 0;
    bool operator==(const TRgb&) const noexcept = default;
};

// The transparent key of skin images.
constexpr TRgb kKey{255, 0, 255};

constexpr TRgb Rgb(int r, int g, int b) { return {uint8_t(r), uint8_t(g), uint8_t(b)}; }

// a and b mixed, with weight/256 of b (weight 0..256); integer only, so every platform
// draws the same bytes.
TRgb Mix(TRgb a, TRgb b, int weight) noexcept;

// Row `row` of `rows` rows of a vertical gradient from top to bottom (inclusive ends).
TRgb Gradient(TRgb top, TRgb bottom, int row, int rows) noexcept;

// Shapes are tests of a point in eighth-pixel units: pixel (x, y) spans [8x, 8x + 8).
using TShape = std::function<bool(int sx, int sy)>;

// Eighth-pixel units of a pixel coordinate, so shapes can be written in pixels.
constexpr int Sub(double pixels) { return static_cast<int>(pixels * 8 + (pixels < 0 ? -0.5 : 0.5)); }

TShape RoundRect(int left, int top, int right, int bottom, int radius);
// A rectangle with separate top and bottom corner radii (window outlines).
TShape RoundRect2(int left, int top, int right, int bottom, int topRadius, int bottomRadius);
TShape Circle(int cx, int cy, int radius);
// Points within halfWidth of the segment a–b.
TShape Segment(int ax, int ay, int bx, int by, int halfWidth);
// Segments through the points in order, each pair of coordinates one point.
TShape Polyline(std::vector<int> points, int halfWidth);
TShape Triangle(int ax, int ay, int bx, int by, int cx, int cy);
TShape Union(TShape a, TShape b);
TShape Minus(TShape a, TShape b);

class TCanvas {
public:
    TCanvas(int width, int height, TRgb fill);

    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    TRgb& At(int x, int y) { return FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)]; }
    const TRgb& At(int x, int y) const { return FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)]; }

    void FillRect(int left, int top, int right, int bottom, TRgb colour);
    // Blends colour over what is there by the shape's coverage of each pixel.
    void Paint(const TShape& shape, TRgb colour);
    // Sets the pixels the shape covers at least half of; for the key colour, which must not blend.
    void PaintHard(const TShape& shape, TRgb colour);
    // Copies all of src to (x, y).
    void Blit(const TCanvas& src, int x, int y);
    // Copies the src rectangle (x0, y0)–(x1, y1) to (x, y).
    void BlitPart(const TCanvas& src, int x0, int y0, int x1, int y1, int x, int y);

    // 0..16: how many of the pixel's samples the shape holds.
    static int Coverage(const TShape& shape, int x, int y);

    // A complete 24-bit bottom-up Windows bitmap file.
    std::vector<uint8_t> BmpFile() const;

private:
    int FWidth;
    int FHeight;
    std::vector<TRgb> FPixels;
};
