#include "raycast/GamePictures.h"

#include <algorithm>
#include <unordered_map>

namespace tsl {

namespace {

// The engine's ceiling where a structure lists none for a map.
constexpr std::uint8_t kDefaultCeilingColour = 0x1D;

// The door chunks end the walls: the eight chunks before the first sprite,
// in pairs (the slab met across a row line, then across a column line):
// normal doors, the frame beside every door, elevator doors, locked doors.
constexpr int kDoorChunks = 8;
constexpr int kFrameChunk = 2;

std::vector<std::uint32_t> Colours(std::span<const std::uint8_t> indices, const Palette& palette)
{
    std::vector<std::uint32_t> pixels(indices.size());
    for (std::size_t i = 0; i < indices.size(); ++i)
        pixels[i] = palette[indices[i]];
    return pixels;
}

std::vector<std::uint32_t> Colours(const Sprite& sprite, const Palette& palette)
{
    std::vector<std::uint32_t> pixels(sprite.pixels.size(), kTransparentPixel);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        if (sprite.opaque[i])
            pixels[i] = palette[sprite.pixels[i]];
    return pixels;
}

WordPictures WordsOf(const PictureTable& table, const PageFile& pages)
{
    WordPictures words;
    const int doors = pages.FirstSpriteChunk() - kDoorChunks;
    for (const PictureEntry& entry : table.Entries()) {
        switch (entry.kind) {
        case PictureKind::Wall:
            if (entry.plane == 0)
                words.walls[entry.value] = {entry.number, entry.number + 1};
            break;
        case PictureKind::Door:
            if (entry.plane == 0) {
                const int light = doors + (entry.number & ~1);
                words.doors[entry.value] = {light, light + 1};
            }
            break;
        case PictureKind::Sprite:
        case PictureKind::Actor:
        case PictureKind::Patrol:
            if (entry.plane == 1)
                words.sprites[entry.value] = {pages.FirstSpriteChunk() + entry.number,
                                              entry.kind != PictureKind::Sprite,
                                              entry.kind != PictureKind::Sprite ? entry.facing : Facing::None};
            break;
        case PictureKind::Floor:
            break;
        }
    }
    words.frame = {doors + kFrameChunk, doors + kFrameChunk + 1};
    return words;
}

std::vector<int> ChunksShown(const WordPictures& words)
{
    std::vector<int> chunks{words.frame.light, words.frame.dark};
    for (const auto* pairs : {&words.walls, &words.doors})
        for (const auto& [word, pair] : *pairs) {
            chunks.push_back(pair.light);
            chunks.push_back(pair.dark);
        }
    for (const auto& [word, sprite] : words.sprites)
        chunks.push_back(sprite.picture);
    std::sort(chunks.begin(), chunks.end());
    chunks.erase(std::unique(chunks.begin(), chunks.end()), chunks.end());
    return chunks;
}

// A wall's or a sprite's pixels in the palette's colours; empty when the
// chunk has no picture.
std::vector<std::uint32_t> ChunkPixels(const PageFile& pages, const Palette& palette, int chunk)
{
    if (chunk < pages.FirstSpriteChunk())
        return Colours(pages.Wall(chunk), palette);
    const Sprite* picture = pages.SpriteAt(chunk - pages.FirstSpriteChunk());
    return picture ? Colours(*picture, palette) : std::vector<std::uint32_t>();
}

// Only the chunks some word shows are decoded, and chunks that are the same
// bytes of the file once: a page file that lists thousands of chunks over
// the same bytes costs one picture.
void AddPictures(PagePictures& out, const PageFile& pages, const Palette& palette, const WordPictures& words)
{
    std::unordered_map<int, int> decoded; // FirstAlike -> the page that holds its picture
    for (const int chunk : ChunksShown(words)) {
        const int alike = pages.FirstAlike(chunk);
        if (const auto found = decoded.find(alike); found != decoded.end()) {
            out.Share(chunk, found->second);
            continue;
        }
        auto pixels = ChunkPixels(pages, palette, chunk);
        if (pixels.empty())
            continue;
        out.Set(chunk, std::move(pixels));
        decoded.emplace(alike, chunk);
    }
}

} // namespace

GamePictures BuildGamePictures(const PageFile& pages, const Palette& palette, const PictureTable& table,
                               const GraphicsSettings& settings)
{
    GamePictures out;
    out.words = WordsOf(table, pages);
    AddPictures(out.pages, pages, palette, out.words);
    for (const int colour : settings.CeilingColours)
        out.words.ceilings.push_back(palette[static_cast<std::uint8_t>(colour)]);
    out.words.ceiling = palette[kDefaultCeilingColour];
    out.words.floor = palette[static_cast<std::uint8_t>(settings.FloorColour)];
    return out;
}

void RefreshPicture(GamePictures& pictures, const PageFile& pages, const Palette& palette, int chunk)
{
    const std::vector<int> shown = ChunksShown(pictures.words);
    if (!std::binary_search(shown.begin(), shown.end(), chunk))
        return;
    auto pixels = ChunkPixels(pages, palette, chunk);
    if (pixels.empty())
        pictures.pages.Forget(chunk);
    else
        pictures.pages.Set(chunk, std::move(pixels));
}

GamePictures PlainGamePictures()
{
    return GamePictures{};
}

} // namespace tsl
