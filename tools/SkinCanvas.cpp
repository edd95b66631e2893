// Integer-only rasterising: the same source must give the same bitmap bytes on every compiler.
#include "tools/SkinCanvas.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

TRgb Mix(TRgb a, TRgb b, int weight) noexcept
{
    weight = std::clamp(weight, 0, 256);
    const auto one = [weight](int x, int y) { return static_cast<uint8_t>((x * (256 - weight) + y * weight + 128) >> 8); };
    return {one(a.R, b.R), one(a.G, b.G), one(a.B, b.B)};
}

TRgb Gradient(TRgb top, TRgb bottom, int row, int rows) noexcept
{
    if (rows <= 1)
        return top;
    return Mix(top, bottom, (row * 256 + (rows - 1) / 2) / (rows - 1));
}

TShape RoundRect2(int left, int top, int right, int bottom, int topRadius, int bottomRadius)
{
    return [=](int x, int y) {
        if (x < left || x >= right || y < top || y >= bottom)
            return false;
        const bool upper = y < (top + bottom) / 2;
        const int r = upper ? topRadius : bottomRadius;
        if (r <= 0)
            return true;
        const int cx = std::clamp(x, left + r, right - r);
        const int cy = upper ? std::max(y, top + r) : std::min(y, bottom - r);
        const long long dx = x - cx, dy = y - cy;
        return dx * dx + dy * dy <= static_cast<long long>(r) * r;
    };
}

TShape RoundRect(int left, int top, int right, int bottom, int radius)
{
    return RoundRect2(left, top, right, bottom, radius, radius);
}

TShape Circle(int cx, int cy, int radius)
{
    return [=](int x, int y) {
        const long long dx = x - cx, dy = y - cy;
        return dx * dx + dy * dy <= static_cast<long long>(radius) * radius;
    };
}

TShape Segment(int ax, int ay, int bx, int by, int halfWidth)
{
    return [=](int x, int y) {
        const long long vx = bx - ax, vy = by - ay;
        const long long px = x - ax, py = y - ay;
        const long long length2 = vx * vx + vy * vy;
        const long long w2 = static_cast<long long>(halfWidth) * halfWidth;
        const long long dot = px * vx + py * vy;
        if (length2 == 0 || dot <= 0)
            return px * px + py * py <= w2;
        if (dot >= length2) {
            const long long qx = x - bx, qy = y - by;
            return qx * qx + qy * qy <= w2;
        }
        // Squared distance to the line, times length2, against the width, times length2.
        const long long cross = px * vy - py * vx;
        return cross * cross <= w2 * length2;
    };
}

TShape Polyline(std::vector<int> points, int halfWidth)
{
    std::vector<TShape> parts;
    for (size_t i = 0; i + 3 < points.size(); i += 2)
        parts.push_back(Segment(points[i], points[i + 1], points[i + 2], points[i + 3], halfWidth));
    return [parts](int x, int y) {
        return std::any_of(parts.begin(), parts.end(), [x, y](const TShape& s) { return s(x, y); });
    };
}

TShape Triangle(int ax, int ay, int bx, int by, int cx, int cy)
{
    return [=](int x, int y) {
        const auto side = [x, y](int x0, int y0, int x1, int y1) {
            return static_cast<long long>(x1 - x0) * (y - y0) - static_cast<long long>(y1 - y0) * (x - x0);
        };
        const long long d1 = side(ax, ay, bx, by), d2 = side(bx, by, cx, cy), d3 = side(cx, cy, ax, ay);
        const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
        const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
        return !(negative && positive);
    };
}

TShape Union(TShape a, TShape b)
{
    return [a = std::move(a), b = std::move(b)](int x, int y) { return a(x, y) || b(x, y); };
}

TShape Minus(TShape a, TShape b)
{
    return [a = std::move(a), b = std::move(b)](int x, int y) { return a(x, y) && !b(x, y); };
}

TCanvas::TCanvas(int width, int height, TRgb fill)
    : FWidth(width), FHeight(height), FPixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("canvas size must be positive");
}

void TCanvas::FillRect(int left, int top, int right, int bottom, TRgb colour)
{
    for (int y = std::max(top, 0); y < std::min(bottom, FHeight); ++y)
        for (int x = std::max(left, 0); x < std::min(right, FWidth); ++x)
            At(x, y) = colour;
}

int TCanvas::Coverage(const TShape& shape, int x, int y)
{
    int n = 0;
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            n += shape(8 * x + 2 * i + 1, 8 * y + 2 * j + 1) ? 1 : 0;
    return n;
}

void TCanvas::Paint(const TShape& shape, TRgb colour)
{
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            const int n = Coverage(shape, x, y);
            if (n != 0)
                At(x, y) = Mix(At(x, y), colour, n * 16);
        }
}

void TCanvas::PaintHard(const TShape& shape, TRgb colour)
{
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            if (Coverage(shape, x, y) >= 8)
                At(x, y) = colour;
}

void TCanvas::Blit(const TCanvas& src, int x, int y)
{
    BlitPart(src, 0, 0, src.Width(), src.Height(), x, y);
}

void TCanvas::BlitPart(const TCanvas& src, int x0, int y0, int x1, int y1, int x, int y)
{
    for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx) {
            const int dx = x + sx - x0, dy = y + sy - y0;
            if (dx >= 0 && dy >= 0 && dx < FWidth && dy < FHeight)
                At(dx, dy) = src.At(sx, sy);
        }
}

std::vector<uint8_t> TCanvas::BmpFile() const
{
    const uint32_t rowBytes = (static_cast<uint32_t>(FWidth) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(FHeight);
    const uint32_t offset = 14 + 40;
    std::vector<uint8_t> out(offset + pixelBytes, 0);
    const auto put16 = [&out](size_t at, uint32_t v) {
        out[at] = uint8_t(v);
        out[at + 1] = uint8_t(v >> 8);
    };
    const auto put32 = [&out](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + static_cast<size_t>(i)] = uint8_t(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, offset + pixelBytes);
    put32(10, offset);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(FWidth));
    put32(22, static_cast<uint32_t>(FHeight)); // positive: bottom-up, as painting programs save
    put16(26, 1);
    put16(28, 24);
    put32(34, pixelBytes);
    put32(38, 2835); // 72 dpi
    put32(42, 2835);
    for (int y = 0; y < FHeight; ++y) {
        uint8_t* row = out.data() + offset + static_cast<size_t>(FHeight - 1 - y) * rowBytes;
        for (int x = 0; x < FWidth; ++x) {
            const TRgb& p = At(x, y);
            row[3 * x] = p.B;
            row[3 * x + 1] = p.G;
            row[3 * x + 2] = p.R;
        }
    }
    return out;
}
