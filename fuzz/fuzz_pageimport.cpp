// Importing into the page file on arbitrary bytes: a picture (PNG or BMP)
// into a wall and a sprite, and a sound file into the game's samples. What
// is accepted must be a wall of 4096 indices, a sprite chunk that decodes,
// and samples the game can hold; what is refused says why.

#include "graphics/PagePictureExchange.h"
#include "graphics/PageSet.h"
#include "graphics/SoundFiles.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

const tsl::Palette& TestPalette()
{
    static const tsl::Palette palette = [] {
        tsl::Palette made;
        for (std::uint32_t i = 0; i < 256; ++i)
            made.colours[i] = 0xFF000000u | (i * 0x010305u & 0x00FFFFFFu);
        return made;
    }();
    return palette;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    if (auto picture = tsl::ReadPictureFile(bytes, "fuzz")) {
        Check(picture->width == 64 && picture->height == 64 && picture->pixels.size() == 4096);
        auto wall = tsl::WallFromPicture(*picture, TestPalette());
        Check(wall && wall->size() == 4096);
        auto sprite = tsl::SpriteFromPicture(*picture, TestPalette());
        Check(bool(sprite));
        tsl::Sprite decoded;
        Check(!tsl::DecodeSprite(*sprite, decoded));
        Check(tsl::EncodeSprite(decoded) == *sprite);
    } else {
        Check(!picture.failure().text.empty());
    }
    if (auto samples = tsl::DecodeSound(bytes, "fuzz"))
        Check(!samples->empty() && samples->size() <= tsl::kMaxSoundBytes);
    else
        Check(!samples.failure().text.empty());
    return 0;
}
