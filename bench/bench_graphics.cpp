// The game's own pictures: reading the page file, painting the map view
// with them at 8x and at 1x, and the memory of the reduced pictures.
//
// The real shareware VSWAP.WL1 and its maps are taken from TESSELAR_GAMES_DIR
// (or else ../shared/games beside the sources) when they are there; otherwise a
// generated page file of its shape (106 walls, 436 sprites) and a generated
// 64 x 64 level stand in, and the label says so.

#include "core/ExecutableDir.h"
#include "core/FileSystem.h"
#include "editor/render/GameGraphics.h"
#include "editor/render/GameMapRenderer.h"
#include "mapdefs/StructureStore.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;
using namespace tsl;

namespace {

std::optional<fs::path> SharewareDir()
{
    std::vector<fs::path> roots;
    const fs::path source = TESSELAR_SOURCE_DIR;
    if (const char* env = std::getenv("TESSELAR_GAMES_DIR")) {
        roots.emplace_back(env);
    } else {
        roots.push_back(source.parent_path() / "shared" / "games");
        roots.push_back(source.parent_path().parent_path() / "shared" / "games"); // from a worktree
    }
    for (const fs::path& root : roots)
        if (auto dir = FindNoCase(root, "wl1"); dir && FindPageFile(*dir, "WL1"))
            return dir;
    return std::nullopt;
}

// A page file of the shareware's shape: full walls, sprites of 40 columns
// with two posts of 20 rows each, no sounds.
Bytes GeneratedPageFile()
{
    std::mt19937 random(17);
    std::vector<Bytes> chunks;
    for (int w = 0; w < 106; ++w) {
        Bytes wall(4096);
        for (auto& b : wall)
            b = static_cast<std::uint8_t>(random());
        chunks.push_back(std::move(wall));
    }
    constexpr int kFirst = 12, kColumns = 40, kListBytes = 2 * 6 + 2;
    for (int s = 0; s < 436; ++s) {
        ByteWriter sprite;
        sprite.U16(kFirst);
        sprite.U16(kFirst + kColumns - 1);
        const int lists = 4 + 2 * kColumns, pixels = lists + kColumns * kListBytes;
        for (int c = 0; c < kColumns; ++c)
            sprite.U16(static_cast<std::uint16_t>(lists + c * kListBytes));
        for (int c = 0; c < kColumns; ++c) {
            for (int post = 0; post < 2; ++post) {
                const int top = 8 + post * 30, at = pixels + (c * 2 + post) * 20;
                sprite.U16(static_cast<std::uint16_t>((top + 20) * 2));
                sprite.U16(static_cast<std::uint16_t>(at - top));
                sprite.U16(static_cast<std::uint16_t>(top * 2));
            }
            sprite.U16(0);
        }
        for (int i = 0; i < kColumns * 2 * 20; ++i)
            sprite.U8(static_cast<std::uint8_t>(random()));
        chunks.push_back(sprite.Data());
    }
    ByteWriter file;
    file.U16(static_cast<std::uint16_t>(chunks.size()));
    file.U16(106);
    file.U16(static_cast<std::uint16_t>(chunks.size()));
    std::uint32_t at = static_cast<std::uint32_t>(6 + 6 * chunks.size());
    for (const Bytes& chunk : chunks) {
        file.U32(at);
        at += static_cast<std::uint32_t>(chunk.size());
    }
    for (const Bytes& chunk : chunks)
        file.U16(static_cast<std::uint16_t>(chunk.size()));
    for (const Bytes& chunk : chunks)
        file.Append(chunk);
    return file.Data();
}

struct Scene {
    bool real = false;
    Bytes pageBytes;
    std::shared_ptr<const GameGraphics> graphics;
    SymbolTables tables;
    MapList level; // 64 x 64
    std::vector<PlaneDisplay> display = std::vector<PlaneDisplay>(3, PlaneDisplay{true, false});
};

const Scene& TheScene()
{
    static const Scene scene = [] {
        Scene s;
        const fs::path root = ResolveNoCase(ExecutableDir(), "MapDefs");
        const IniFile settings(StructureSettingsPathByName(root, "WL1"));
        if (auto failure = s.tables.LoadMapSymbols(StructureFolderByName(root, "WL1"), settings, 3, false))
            throw std::runtime_error(failure->text);
        const auto dir = SharewareDir();
        s.real = dir.has_value();
        if (dir) {
            s.pageBytes = *ReadWholeFile(*FindPageFile(*dir, "WL1"));
            MapHandler set;
            set.UseGameFiles(*dir, *LocateGameFiles(*dir));
            set.Load();
            s.level = set.Maps.at(0);
        } else {
            s.pageBytes = GeneratedPageFile();
            s.level.Width = s.level.Height = 64;
            s.level.Planes.assign(3, std::vector<std::uint16_t>(64 * 64, 0));
            std::mt19937 random(3);
            for (auto& w : s.level.Planes[0])
                w = random() % 3 ? static_cast<std::uint16_t>(108 + random() % 8) : static_cast<std::uint16_t>(1 + random() % 49);
            for (auto& w : s.level.Planes[1])
                w = random() % 4 ? 0 : static_cast<std::uint16_t>(23 + random() % 48);
        }
        auto pages = PageFile::Parse(s.pageBytes, "VSWAP.WL1");
        auto palette = Palette::Load(StructureFolderByName(root, "WL1") / "palette.txt");
        auto pictures = PictureTable::Load(StructureFolderByName(root, "WL1") / "pictures.txt");
        if (!pages || !palette || !pictures)
            throw std::runtime_error("the page file, palette or picture table did not load");
        s.graphics = std::make_shared<const GameGraphics>(
            GameGraphics{std::move(*pages), *palette, std::move(*pictures), ReadGraphicsSettings(settings), {}});
        return s;
    }();
    return scene;
}

const char* Label(const Scene& scene)
{
    return scene.real ? "VSWAP.WL1, map 1" : "generated page file and level";
}

// Parse checks every chunk and decodes every sprite; the walls are then
// read as they stand.
void BM_ReadPageFile_WL1(benchmark::State& state)
{
    const Scene& scene = TheScene();
    const fs::path path = fs::temp_directory_path() / "tesselar-bench-VSWAP.WL1";
    if (ReplaceFile(path, scene.pageBytes))
        state.SkipWithError("cannot write the page file");
    for (auto _ : state) {
        auto pages = PageFile::Load(path);
        std::size_t pixels = 0;
        for (int chunk = 0; chunk < pages->FirstSpriteChunk(); ++chunk)
            pixels += pages->Wall(chunk).size();
        for (int s = 0; s < pages->SpriteCount(); ++s)
            if (const Sprite* sprite = pages->SpriteAt(s))
                pixels += sprite->spans.size();
        benchmark::DoNotOptimize(pixels);
    }
    fs::remove(path);
    state.SetLabel(Label(scene));
}
BENCHMARK(BM_ReadPageFile_WL1)->Unit(benchmark::kMillisecond);

// The view's paint event at 8x, 1600 x 1000 pixels (25 x 16 tiles), once the
// pictures it shows are reduced.
void BM_PaintViewport_1600x1000_8x(benchmark::State& state)
{
    const Scene& scene = TheScene();
    GameMapRenderer renderer(scene.graphics);
    Image viewport(1600, 1000);
    renderer.Paint(viewport, 1000, 1200, 8, scene.level, scene.tables, scene.display, kIntMode);
    for (auto _ : state) {
        renderer.Paint(viewport, 1000, 1200, 8, scene.level, scene.tables, scene.display, kIntMode);
        benchmark::DoNotOptimize(viewport.pixels.data());
    }
    state.SetLabel(Label(scene));
}
BENCHMARK(BM_PaintViewport_1600x1000_8x)->Unit(benchmark::kMillisecond);

// A 256 x 256 map (the level four times across and down) painted whole at 1x.
void BM_PaintWholeMap_256x256_1x(benchmark::State& state)
{
    const Scene& scene = TheScene();
    MapList map;
    map.Width = map.Height = 256;
    map.Planes.assign(3, std::vector<std::uint16_t>(256 * 256, 0));
    for (std::size_t p = 0; p < 3; ++p)
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                map.Planes[p][static_cast<std::size_t>(y * 256 + x)] =
                    scene.level.Planes[p][static_cast<std::size_t>((y % 64) * 64 + x % 64)];
    GameMapRenderer renderer(scene.graphics);
    Image view(256 * 8, 256 * 8);
    renderer.Paint(view, 0, 0, 1, map, scene.tables, scene.display, kIntMode);
    for (auto _ : state) {
        renderer.Paint(view, 0, 0, 1, map, scene.tables, scene.display, kIntMode);
        benchmark::DoNotOptimize(view.pixels.data());
    }
    state.SetLabel(Label(scene));
}
BENCHMARK(BM_PaintWholeMap_256x256_1x)->Unit(benchmark::kMillisecond);

// The reduced pictures of one zoom when every word of the picture table has
// been drawn (the most they can hold), and the time to make them all.
void BM_CacheEveryPicture(benchmark::State& state)
{
    const Scene& scene = TheScene();
    const int factor = static_cast<int>(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        GameMapRenderer renderer(scene.graphics);
        for (const PictureEntry& entry : scene.graphics->Pictures.Entries())
            benchmark::DoNotOptimize(
                renderer.WordPicture(entry.plane, entry.value, 8 * factor, scene.tables).pixels.data());
        bytes = renderer.CacheBytes(factor);
    }
    state.counters["cache_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
    state.SetLabel(Label(scene));
}
BENCHMARK(BM_CacheEveryPicture)->Arg(1)->Arg(2)->Arg(4)->Arg(6)->Arg(8)->Unit(benchmark::kMillisecond);

} // namespace
