// The page file reader on arbitrary bytes: whatever it accepts must decode
// into sprites whose posts lie in their 64 x 64 square, and must draw through
// the game-picture renderer at every zoom without reading outside a buffer.

#include "editor/render/GameMapRenderer.h"
#include "graphics/PageFile.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// Every word shows a wall, a door, a floor or a sprite of the file, and some
// show numbers beyond it, so that empty and missing chunks fall back too.
const char* const kPictures = "0,1,wall,0\n0,2,wall,1\n0,3,wall,70\n0,90,door,0\n0,91,door,7\n0,108,floor,1\n"
                              "1,23,sprite,0\n1,24,sprite,1\n1,25,sprite,500\n1,108,actor,2,e,1\n"
                              "1,112,patrol,3,sw,4\n";

const tsl::SymbolTables& Tables()
{
    static const tsl::SymbolTables tables = [] {
        const std::string pattern(64, 'A');
        auto made = tsl::SymbolTables::FromLines({{"0,Nothing," + pattern + ",ot,0"}, {"0,Nothing," + pattern + ",ot,0"}},
                                                 {"ot,Other,1"});
        Check(bool(made));
        return std::move(*made);
    }();
    return tables;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto pages = tsl::PageFile::Parse(tsl::Bytes(data, data + size), "fuzz");
    if (!pages) {
        Check(!pages.failure().text.empty());
        return 0;
    }
    Check(pages->FirstSpriteChunk() <= pages->FirstSoundChunk());
    Check(pages->FirstSoundChunk() <= pages->ChunkCount());
    for (int chunk = 0; chunk < pages->ChunkCount(); ++chunk) {
        const auto bytes = pages->ChunkBytes(chunk);
        Check(bytes.size() <= size);
        const auto wall = pages->Wall(chunk);
        Check(wall.empty() || wall.size() == tsl::kPicturePixels);
    }
    for (int s = 0; s < pages->SpriteCount(); ++s)
        if (const tsl::Sprite* sprite = pages->SpriteAt(s)) {
            Check(sprite->firstColumn <= sprite->lastColumn && sprite->lastColumn < 64);
            for (const tsl::SpriteSpan& span : sprite->spans) {
                Check(span.column >= sprite->firstColumn && span.column <= sprite->lastColumn);
                Check(span.top < span.bottom && span.bottom <= 64);
                for (int row = span.top; row < span.bottom; ++row)
                    Check(sprite->Opaque(span.column, row));
            }
        }

    auto pictures = tsl::PictureTable::Parse(kPictures, "pictures");
    Check(bool(pictures));
    tsl::Palette palette;
    for (std::uint32_t i = 0; i < 256; ++i)
        palette.colours[i] = tsl::kOpaque | i * 0x010101u;
    const auto graphics = std::make_shared<const tsl::GameGraphics>(
        tsl::GameGraphics{std::move(*pages), palette, std::move(*pictures), {}});
    tsl::GameMapRenderer renderer(graphics);
    tsl::MapList map;
    map.Width = 4;
    map.Height = 3;
    map.Planes = {{1, 2, 3, 90, 91, 108, 108, 0, 1, 2, 3, 4}, {23, 24, 25, 108, 112, 0, 23, 0, 0, 0, 0, 0}};
    for (int factor : {1, 2, 6, 8}) {
        auto image = renderer.RenderMap(map, Tables(), {{true, false}, {true, false}}, tsl::kIntMode, factor);
        Check(image && image->width == 4 * 8 * factor);
        renderer.WordPicture(1, 108, 20, Tables());
    }
    return 0;
}
