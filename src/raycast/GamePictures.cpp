#include "raycast/GamePictures.h"

#include <algorithm>
#include <unordered_map>

namespace tsl {

namespace {

// The engine's ceiling where a structure lists none for a map.
constexpr std::uint8_t kDefaultCeilingColour = 0x1D;

// The frame beside every door: the second pair of door chunks.
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
    const int first = pages.FirstSpriteChunk();
    for (const PictureEntry& line : table.Entries()) {
        const bool tile = line.kind == PictureKind::Wall || line.kind == PictureKind::Door;
        if (line.kind == PictureKind::Floor || line.plane != (tile ? 0 : 1))
            continue; // walls and doors stand in plane 0, sprites in plane 1
        for (int value = line.value; value <= line.last; ++value) {
            const auto word = static_cast<std::uint16_t>(value);
            const PictureEntry entry = PictureTable::WordOf(line, word);
            const std::vector<int> chunks = EntryChunks(entry, first);
            if (chunks.empty())
                continue; // a wall past the walls of the file
            const WordPictures::Pair pair{chunks[0], chunks.size() > 1 ? chunks[1] : kNoPicture};
            if (entry.kind == PictureKind::Wall)
                words.walls[word] = pair;
            else if (entry.kind == PictureKind::Door)
                words.doors[word] = pair;
            else
                words.sprites[word] = {chunks[0], entry.kind != PictureKind::Sprite, entry.facing, entry.frames};
        }
    }
    const int doors = first - kDoorChunks;
    words.frame = {doors + kFrameChunk, doors + kFrameChunk + 1};
    return words;
}

// The chunks of a file of `count` chunks that some word shows, in order:
// an actor that rotates shows every side of each of its frames.
std::vector<int> ChunksShown(const WordPictures& words, int count)
{
    std::vector<bool> shown(static_cast<std::size_t>(std::max(count, 0)));
    const auto show = [&](int chunk) {
        if (chunk >= 0 && chunk < count)
            shown[static_cast<std::size_t>(chunk)] = true;
    };
    const auto showPair = [&](const WordPictures::Pair& pair) {
        show(pair.light);
        show(pair.dark);
    };
    showPair(words.frame);
    for (const auto* pairs : {&words.walls, &words.doors})
        for (const auto& [word, pair] : *pairs)
            showPair(pair);
    for (const auto& [word, sprite] : words.sprites)
        for (int side = 0; side < std::max(1, sprite.frames * kRotations); ++side)
            show(sprite.picture + side);
    std::vector<int> chunks;
    for (std::size_t chunk = 0; chunk < shown.size(); ++chunk)
        if (shown[chunk])
            chunks.push_back(static_cast<int>(chunk));
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
    for (const int chunk : ChunksShown(words, pages.ChunkCount())) {
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
    const std::vector<int> shown = ChunksShown(pictures.words, pages.ChunkCount());
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
