#pragma once
// A sprite of the page file and its chunk, both ways. The chunk starts with
// the first and last column (u16 each) and one u16 offset per column to the
// column's post list; a post is three u16 values (end row x 2, pixel
// offset, start row x 2) and the list ends with a 0. The pixel of row r of a
// post is the chunk's byte at (pixel offset + r) mod 65536, as the engine's
// 16-bit offsets wrap. The engine draws every post of a column in order, so
// where posts overlap the last one's pixel is what shows.

#include "core/Bytes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tsl {

inline constexpr int kPictureSide = 64;                            // walls and sprites are 64 x 64
inline constexpr int kPicturePixels = kPictureSide * kPictureSide; // 4096 palette indices

// One run of opaque pixels in a sprite column: rows [top, bottom).
struct SpriteSpan {
    std::uint8_t column = 0;
    std::uint8_t top = 0;
    std::uint8_t bottom = 0;
    friend bool operator==(const SpriteSpan&, const SpriteSpan&) = default;
};

struct Sprite {
    int firstColumn = 0; // leftmost column with posts (the chunk's first column)
    int lastColumn = -1; // rightmost
    // Column by column like a wall: pixel (c, r) is at c * 64 + r. Palette
    // indices where opaque, 0 elsewhere.
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(kPicturePixels, 0);
    // 1 where a post covers the pixel, 0 where the sprite is transparent.
    std::vector<std::uint8_t> opaque = std::vector<std::uint8_t>(kPicturePixels, 0);
    // The runs of opaque pixels, column by column and top down: what a column
    // renderer walks. Taken from the opaque pixels rather than the file's
    // posts, so that posts drawn over each other cost nothing twice (at most
    // 32 runs a column whatever the file holds).
    std::vector<SpriteSpan> spans;

    bool Opaque(int column, int row) const { return opaque[static_cast<std::size_t>(column * kPictureSide + row)] != 0; }
    std::uint8_t Pixel(int column, int row) const { return pixels[static_cast<std::size_t>(column * kPictureSide + row)]; }
    friend bool operator==(const Sprite&, const Sprite&) = default;
};

// Decodes a sprite chunk into `sprite`; on a fault, what is wrong with the
// chunk ("has the columns 10 to 64, outside 0 to 63"), and `sprite` is
// undefined. Every read is bounded by the chunk.
std::optional<std::string> DecodeSprite(std::span<const std::uint8_t> chunk, Sprite& sprite);

// The chunk of a sprite's opaque pixels (`pixels` and `opaque`, column by
// column) laid out as id's own files are: the columns from the first to the
// last that has an opaque pixel, one post per run of opaque rows, the pixels
// of every post in column order after the column offsets, a zero byte when
// needed so that the post lists start at an even offset, then each column's
// post list. Every opaque pixel is stored once and nothing the engine does
// not draw is stored, so this is the smallest chunk that draws the picture
// with each column its own list; a sprite without opaque pixels is one
// empty column 0. Re-encoding a sprite of the shareware page file gives its
// chunk byte for byte.
Bytes EncodeSprite(std::span<const std::uint8_t> pixels, std::span<const std::uint8_t> opaque);
inline Bytes EncodeSprite(const Sprite& sprite) { return EncodeSprite(sprite.pixels, sprite.opaque); }

} // namespace tsl
