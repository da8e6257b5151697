#include "graphics/PagePictureExchange.h"

#include <cmath>
#include <limits>

namespace tsl {

namespace {

constexpr int kSide = kPictureSide;
constexpr std::uint32_t kRgbMask = 0x00FFFFFFu;

float Linear(std::uint32_t channel)
{
    const float c = static_cast<float>(channel) / 255.0f;
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

float LabCurve(float t)
{
    constexpr float delta = 6.0f / 29.0f;
    return t > delta * delta * delta ? std::cbrt(t) : t / (3 * delta * delta) + 4.0f / 29.0f;
}

std::array<float, 3> Lab(std::uint32_t colour)
{
    const float r = Linear((colour >> 16) & 0xFF);
    const float g = Linear((colour >> 8) & 0xFF);
    const float b = Linear(colour & 0xFF);
    // sRGB to XYZ, relative to the D65 white.
    const float x = (0.4124f * r + 0.3576f * g + 0.1805f * b) / 0.95047f;
    const float y = 0.2126f * r + 0.7152f * g + 0.0722f * b;
    const float z = (0.0193f * r + 0.1192f * g + 0.9505f * b) / 1.08883f;
    const float fx = LabCurve(x);
    const float fy = LabCurve(y);
    const float fz = LabCurve(z);
    return {116.0f * fy - 16.0f, 500.0f * (fx - fy), 200.0f * (fy - fz)};
}

// Whether every entry of the picture's palette is the game's entry of that index.
bool HasGamePalette(const PictureFile& picture, const Palette& palette)
{
    if (!picture.Indexed() || picture.palette.size() > 256)
        return false;
    for (std::size_t i = 0; i < picture.palette.size(); ++i)
        if ((picture.palette[i] & kRgbMask) != (palette.colours[i] & kRgbMask))
            return false;
    return true;
}

// The picture as palette indices and opacity, column by column as the
// chunks hold them.
struct Mapped {
    Bytes pixels = Bytes(kPicturePixels, 0);
    Bytes opaque = Bytes(kPicturePixels, 1);
};

Mapped MapPicture(const PictureFile& picture, const Palette& palette, bool sprite)
{
    Mapped out;
    const bool asIndexed = HasGamePalette(picture, palette);
    ColourMatcher matcher(palette);
    const std::uint32_t transparentColour = palette.colours[kTransparentIndex] & kRgbMask;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const auto from = static_cast<std::size_t>(y * kSide + x);
            const auto to = static_cast<std::size_t>(x * kSide + y);
            const std::uint32_t colour = picture.pixels[from];
            if (sprite) {
                const bool clear = picture.hasAlpha ? (colour >> 24) < 128
                                   : asIndexed      ? picture.indices[from] == kTransparentIndex
                                                    : (colour & kRgbMask) == transparentColour;
                if (clear) {
                    out.opaque[to] = 0;
                    continue;
                }
            }
            out.pixels[to] = asIndexed ? picture.indices[from] : matcher.Index(colour);
        }
    return out;
}

std::optional<Failure> CheckSize(const PictureFile& picture)
{
    if (picture.width == kSide && picture.height == kSide && picture.pixels.size() == kPicturePixels)
        return std::nullopt;
    return Failure{"The picture is " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                       " pixels; walls and sprites are 64 x 64.",
                   kPictureImportCaption, MessageIcon::Warning};
}

} // namespace

ColourMatcher::ColourMatcher(const Palette& palette)
{
    for (std::size_t i = 0; i < 256; ++i) {
        lab_[i] = Lab(palette.colours[i]);
        known_.emplace(palette.colours[i] & kRgbMask, static_cast<std::uint8_t>(i)); // the first index stays
    }
}

std::uint8_t ColourMatcher::Index(std::uint32_t colour)
{
    colour &= kRgbMask;
    if (const auto found = known_.find(colour); found != known_.end())
        return found->second;
    const std::array<float, 3> lab = Lab(colour);
    std::size_t best = 0;
    float bestDistance = std::numeric_limits<float>::max();
    for (std::size_t i = 0; i < 256; ++i) {
        const float dl = lab[0] - lab_[i][0];
        const float da = lab[1] - lab_[i][1];
        const float db = lab[2] - lab_[i][2];
        const float distance = dl * dl + da * da + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    const auto index = static_cast<std::uint8_t>(best);
    known_.emplace(colour, index);
    return index;
}

Bytes PaletteIndices(const PictureFile& picture, const Palette& palette)
{
    Bytes indices(picture.pixels.size());
    if (HasGamePalette(picture, palette))
        return picture.indices;
    ColourMatcher matcher(palette);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = matcher.Index(picture.pixels[i]);
    return indices;
}

Bytes WallPng(std::span<const std::uint8_t> wall, const Palette& palette)
{
    Bytes rows(kPicturePixels);
    for (int x = 0; x < kSide; ++x)
        for (int y = 0; y < kSide; ++y)
            rows[static_cast<std::size_t>(y * kSide + x)] = wall[static_cast<std::size_t>(x * kSide + y)];
    return EncodeIndexedPng(kSide, kSide, rows, palette.colours, std::nullopt);
}

Bytes SpritePng(const Sprite& sprite, const Palette& palette)
{
    std::array<bool, 256> used{};
    for (std::size_t i = 0; i < sprite.pixels.size(); ++i)
        if (sprite.opaque[i])
            used[sprite.pixels[i]] = true;
    int transparent = kTransparentIndex;
    while (transparent >= 0 && used[static_cast<std::size_t>(transparent)])
        --transparent;

    if (transparent < 0) {
        std::vector<std::uint32_t> pixels(kPicturePixels);
        for (int x = 0; x < kSide; ++x)
            for (int y = 0; y < kSide; ++y) {
                const auto at = static_cast<std::size_t>(x * kSide + y);
                pixels[static_cast<std::size_t>(y * kSide + x)] =
                    sprite.opaque[at] ? palette.colours[sprite.pixels[at]] : 0u;
            }
        return EncodeRgbaPng(kSide, kSide, pixels);
    }
    Bytes rows(kPicturePixels);
    for (int x = 0; x < kSide; ++x)
        for (int y = 0; y < kSide; ++y) {
            const auto at = static_cast<std::size_t>(x * kSide + y);
            rows[static_cast<std::size_t>(y * kSide + x)] =
                sprite.opaque[at] ? sprite.pixels[at] : static_cast<std::uint8_t>(transparent);
        }
    return EncodeIndexedPng(kSide, kSide, rows, palette.colours, transparent);
}

Outcome<Bytes> WallFromPicture(const PictureFile& picture, const Palette& palette)
{
    if (auto failure = CheckSize(picture))
        return *failure;
    return MapPicture(picture, palette, false).pixels;
}

Outcome<Bytes> SpriteFromPicture(const PictureFile& picture, const Palette& palette)
{
    if (auto failure = CheckSize(picture))
        return *failure;
    const Mapped mapped = MapPicture(picture, palette, true);
    return EncodeSprite(mapped.pixels, mapped.opaque);
}

} // namespace tsl
