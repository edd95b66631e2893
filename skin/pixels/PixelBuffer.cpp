// The portable pixel buffer: images in plain memory and views onto their rows.
#include "skin/pixels/PixelBuffer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

TPixelRect Intersect(const TPixelRect& a, const TPixelRect& b) noexcept
{
    TPixelRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty())
        return {};
    return r;
}

TPixelView TPixelView::Sub(const TPixelRect& r) const noexcept
{
    const TPixelRect c = Intersect(r, Bounds());
    if (c.IsEmpty())
        return {Bits, 0, 0, Stride};
    return {Row(c.Top) + c.Left, c.Width(), c.Height(), Stride};
}

namespace {

class THeapStorage final : public TPixelStorage {
public:
    explicit THeapStorage(size_t count) : FPixels(count, 0u) {}
    std::uint32_t* Bits() noexcept override { return FPixels.data(); }

private:
    std::vector<std::uint32_t> FPixels;
};

} // namespace

TPixelBuffer::TPixelBuffer(int width, int height)
{
    if (width < 0 || height < 0)
        throw std::length_error("image size is negative");
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (height != 0 && count / static_cast<size_t>(height) != static_cast<size_t>(width))
        throw std::length_error("image is too large");
    if (count > std::numeric_limits<size_t>::max() / 4)
        throw std::length_error("image is too large");
    FWidth = width;
    FHeight = height;
    if (count > 0)
        FStorage = std::make_unique<THeapStorage>(count);
}

TPixelBuffer::TPixelBuffer(int width, int height, std::unique_ptr<TPixelStorage> storage) noexcept
    : FWidth(storage ? width : 0), FHeight(storage ? height : 0), FStorage(std::move(storage))
{
}

TPixelView TPixelBuffer::View() const noexcept
{
    if (!FStorage)
        return {};
    return {FStorage->Bits(), FWidth, FHeight, FWidth};
}

TPixelBuffer TPixelBuffer::Clone() const
{
    TPixelBuffer copy(FWidth, FHeight);
    if (!IsEmpty())
        std::memcpy(copy.View().Bits, View().Bits, ByteCount());
    return copy;
}

void TPixelBuffer::Fill(std::uint32_t pixel) noexcept
{
    const TPixelView v = View();
    for (int y = 0; y < v.Height; ++y)
        std::fill_n(v.Row(y), v.Width, pixel);
}
