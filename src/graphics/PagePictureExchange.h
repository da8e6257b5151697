#pragma once
// Walls and sprites of the page file as picture files and back.
//
// Out: a 64 x 64 indexed PNG carrying the game's palette, so that pixel
// editors keep the palette indices. A sprite's transparent pixels take a
// palette entry the sprite does not use, marked transparent: entry 255, the
// customary transparent colour of these games, whenever the sprite leaves
// it free. (A sprite that uses all 256 entries is written as RGBA instead.)
//
// In: an indexed picture whose palette is the game's (every entry it has
// equal to the game's entry of that index) gives its indices as they are,
// since the game's palette holds equal colours at different indices and
// only the picture can say which one is meant. Any other picture is mapped
// colour by colour: a colour of the palette takes its first index, any
// other the nearest palette colour by the CIE76 distance (the straight
// distance in CIE L*a*b*, from sRGB under D65), without dithering. For a
// sprite, a pixel with alpha below 128 is transparent; a picture without
// alpha marks transparency with the colour of palette entry 255.

#include "core/Bytes.h"
#include "core/Failure.h"
#include "graphics/Palette.h"
#include "graphics/PictureFile.h"
#include "graphics/Sprite.h"

#include <array>
#include <cstdint>
#include <span>
#include <unordered_map>

namespace tsl {

inline constexpr int kTransparentIndex = 255;

// Nearest palette entries, remembered per colour.
class ColourMatcher {
public:
    explicit ColourMatcher(const Palette& palette);
    // The index for a colour 0x..RRGGBB (alpha ignored).
    std::uint8_t Index(std::uint32_t colour);

private:
    std::array<std::array<float, 3>, 256> lab_{};
    std::unordered_map<std::uint32_t, std::uint8_t> known_;
};

// A picture of any size as palette indices, row by row, by the rules above
// (every pixel opaque).
Bytes PaletteIndices(const PictureFile& picture, const Palette& palette);

// A wall chunk (4096 indices, column by column) or a sprite as a PNG file.
Bytes WallPng(std::span<const std::uint8_t> wall, const Palette& palette);
Bytes SpritePng(const Sprite& sprite, const Palette& palette);

// A picture of 64 x 64 pixels as a wall chunk, or a sprite chunk encoded as
// the engine reads it.
Outcome<Bytes> WallFromPicture(const PictureFile& picture, const Palette& palette);
Outcome<Bytes> SpriteFromPicture(const PictureFile& picture, const Palette& palette);

} // namespace tsl
