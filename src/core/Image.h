#pragma once
// A plain 32-bit picture: the renderer draws into it and the window shows it.
// Pixels are 0xFFRRGGBB, row by row from the top, so that the window can
// wrap the buffer in a toolkit image of that layout without copying.
//
// Every operation clips to both images: a block or rectangle that reaches
// past an edge touches only the pixels inside.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tsl {

inline constexpr std::uint32_t kOpaque = 0xFF000000u;
inline constexpr std::uint32_t kBlackPixel = 0xFF000000u;
inline constexpr std::uint32_t kWhitePixel = 0xFFFFFFFFu;

// The pixel of a 0xRRGGBB colour.
constexpr std::uint32_t PixelOf(std::uint32_t rgb)
{
    return kOpaque | (rgb & 0xFFFFFFu);
}

// The 0xRRGGBB colour of a pixel.
constexpr std::uint32_t RgbOf(std::uint32_t pixel)
{
    return pixel & 0xFFFFFFu;
}

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    Image() = default;
    // A new picture filled with `fill`; negative sizes count as 0.
    Image(int w, int h, std::uint32_t fill = kBlackPixel);

    bool empty() const { return width <= 0 || height <= 0; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    std::uint32_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width); }
    const std::uint32_t* Row(int y) const
    {
        return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    }

    // Outside the picture: black on reading, nothing on writing.
    std::uint32_t Pixel(int x, int y) const { return Contains(x, y) ? Row(y)[x] : kBlackPixel; }
    void SetPixel(int x, int y, std::uint32_t pixel)
    {
        if (Contains(x, y))
            Row(y)[x] = pixel;
    }

    void Fill(std::uint32_t pixel);
    void FillRect(int x, int y, int w, int h, std::uint32_t pixel);

    // A new size; the pixels that stay inside keep their place and the rest
    // is filled with `fill`.
    void Resize(int w, int h, std::uint32_t fill = kBlackPixel);

    friend bool operator==(const Image&, const Image&) = default;
};

inline constexpr int kBlockSize = 8; // one tile, one pattern

// 8 x 8 block operations from (sx, sy) of `src` onto (dx, dy) of `dst`.
void CopyBlock(Image& dst, int dx, int dy, const Image& src, int sx, int sy);
void AndBlock(Image& dst, int dx, int dy, const Image& src, int sx, int sy);
void OrBlock(Image& dst, int dx, int dy, const Image& src, int sx, int sy);

// The w x h pixels at (x, y) as a new picture (black where the source ends).
Image CropImage(const Image& src, int x, int y, int w, int h);

// Every pixel becomes a factor x factor block, without smoothing.
Image Enlarge(const Image& src, int factor);

// Enlarges the top-left (width / factor) x (height / factor) pixels of the
// picture onto the picture itself; the rest keeps what it held.
void EnlargeInPlace(Image& image, int factor);

} // namespace tsl
