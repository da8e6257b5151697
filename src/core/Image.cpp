#include "core/Image.h"

#include <algorithm>

namespace tsl {

namespace {

std::size_t Area(int w, int h)
{
    return static_cast<std::size_t>(std::max(w, 0)) * static_cast<std::size_t>(std::max(h, 0));
}

// The part of a w x h rectangle at (dx, dy) of `dst`, read from (sx, sy) of
// `src`, that lies inside both; false when nothing does.
struct Span2D {
    int dx, dy, sx, sy, w, h;
};

bool ClipBlock(const Image& dst, const Image& src, Span2D& s)
{
    auto clip = [](int& d, int& sPos, int& len, int dLimit, int sLimit) {
        if (d < 0) {
            sPos -= d;
            len += d;
            d = 0;
        }
        if (sPos < 0) {
            d -= sPos;
            len += sPos;
            sPos = 0;
        }
        len = std::min({len, dLimit - d, sLimit - sPos});
    };
    clip(s.dx, s.sx, s.w, dst.width, src.width);
    clip(s.dy, s.sy, s.h, dst.height, src.height);
    return s.w > 0 && s.h > 0;
}

template <typename Combine>
void BlockOp(Image& dst, int dx, int dy, const Image& src, int sx, int sy, Combine combine)
{
    Span2D s{dx, dy, sx, sy, kBlockSize, kBlockSize};
    if (!ClipBlock(dst, src, s))
        return;
    for (int row = 0; row < s.h; ++row) {
        std::uint32_t* d = dst.Row(s.dy + row) + s.dx;
        const std::uint32_t* from = src.Row(s.sy + row) + s.sx;
        for (int i = 0; i < s.w; ++i)
            d[i] = combine(d[i], from[i]);
    }
}

} // namespace

Image::Image(int w, int h, std::uint32_t fill)
    : width(std::max(w, 0)), height(std::max(h, 0)), pixels(Area(w, h), fill)
{
}

void Image::Fill(std::uint32_t pixel)
{
    std::fill(pixels.begin(), pixels.end(), pixel);
}

void Image::FillRect(int x, int y, int w, int h, std::uint32_t pixel)
{
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, width), y1 = std::min(y + h, height);
    for (int row = y0; row < y1; ++row)
        std::fill(Row(row) + x0, Row(row) + std::max(x0, x1), pixel);
}

void Image::Resize(int w, int h, std::uint32_t fill)
{
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (w == width && h == height)
        return;
    Image resized(w, h, fill);
    Span2D s{0, 0, 0, 0, w, h};
    if (ClipBlock(resized, *this, s))
        for (int row = 0; row < s.h; ++row)
            std::copy_n(Row(row), s.w, resized.Row(row));
    *this = std::move(resized);
}

void CopyBlock(Image& dst, int dx, int dy, const Image& src, int sx, int sy)
{
    BlockOp(dst, dx, dy, src, sx, sy, [](std::uint32_t, std::uint32_t s) { return s; });
}

void AndBlock(Image& dst, int dx, int dy, const Image& src, int sx, int sy)
{
    BlockOp(dst, dx, dy, src, sx, sy, [](std::uint32_t d, std::uint32_t s) { return d & s; });
}

void OrBlock(Image& dst, int dx, int dy, const Image& src, int sx, int sy)
{
    BlockOp(dst, dx, dy, src, sx, sy, [](std::uint32_t d, std::uint32_t s) { return d | s; });
}

Image CropImage(const Image& src, int x, int y, int w, int h)
{
    Image out(w, h);
    Span2D s{0, 0, x, y, out.width, out.height};
    if (ClipBlock(out, src, s))
        for (int row = 0; row < s.h; ++row)
            std::copy_n(src.Row(s.sy + row) + s.sx, s.w, out.Row(s.dy + row) + s.dx);
    return out;
}

Image Enlarge(const Image& src, int factor)
{
    factor = std::max(factor, 1);
    Image out(src.width * factor, src.height * factor);
    for (int y = 0; y < src.height; ++y) {
        std::uint32_t* first = out.Row(y * factor);
        const std::uint32_t* from = src.Row(y);
        for (int x = 0; x < src.width; ++x)
            std::fill_n(first + static_cast<std::ptrdiff_t>(x) * factor, factor, from[x]);
        for (int k = 1; k < factor; ++k)
            std::copy_n(first, out.width, out.Row(y * factor + k));
    }
    return out;
}

void EnlargeInPlace(Image& image, int factor)
{
    if (factor <= 1 || image.empty())
        return;
    const int w = image.width / factor, h = image.height / factor;
    // From the bottom right up, every source pixel is read before the blocks
    // that grow out of the pixels before it can cover it.
    for (int y = h - 1; y >= 0; --y)
        for (int x = w - 1; x >= 0; --x) {
            const std::uint32_t pixel = image.Row(y)[x];
            for (int k = 0; k < factor; ++k)
                std::fill_n(image.Row(y * factor + k) + static_cast<std::ptrdiff_t>(x) * factor, factor, pixel);
        }
}

} // namespace tsl
