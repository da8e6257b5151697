// The map view's renderer and the symbol tables it draws with: a whole map
// must redraw at every change, and the pencil redraws one tile per step.

#include "core/ExecutableDir.h"
#include "core/FileSystem.h"
#include "core/IniFile.h"
#include "editor/render/MapRenderer.h"
#include "mapdefs/StructureStore.h"
#include "symbols/SymbolTables.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;
using namespace tsl;

namespace {

class RenderScratch {
public:
    RenderScratch()
    {
        std::string pattern = (fs::temp_directory_path() / "tesselar-bench-render-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path = pattern;
    }
    ~RenderScratch() { fs::remove_all(path); }
    fs::path path;
};

void WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A structure the size of the Wolfenstein 3-D one (100 wall and floor
// symbols, 196 objects, 1 extra), for when the shipped one is missing.
void WriteGeneratedStructure(const fs::path& folder)
{
    fs::create_directories(folder);
    std::mt19937 random(11);
    const std::string digits = "0123456789ABCDEF";
    auto file = [&](int count, int firstValue, const std::string& type) {
        std::string text = "0,Nothing," + std::string(64, '0') + ",ot,0\r\n";
        for (int i = 1; i < count; ++i) {
            std::string pattern(64, '0');
            for (char& c : pattern)
                c = digits[random() % 16];
            text += std::to_string(firstValue + i) + ",Symbol " + std::to_string(i) + "," + pattern + "," + type +
                    ",0\r\n";
        }
        return text;
    };
    WriteText(folder / "plane1.txt", file(100, 0, "w"));
    WriteText(folder / "plane2.txt", file(196, 18, "so"));
    WriteText(folder / "plane3.txt", file(1, 0, "ot"));
    WriteText(folder / "mapsymboltypes.txt", "ot,Other Tile,1\r\n");
    WriteText(folder / "WL6.ini", "[Planes]\r\nNumPlanes=3\r\n0=plane1.txt\r\n1=plane2.txt\r\n2=plane3.txt\r\n"
                                  "[ShowPlanes]\r\n0=1\r\n1=1\r\n2=1\r\n");
}

// The shipped WL6 structure copied to `dir` (so that loading cannot change
// it), or a generated one of its size; true for the shipped one.
bool PrepareStructure(const fs::path& dir)
{
    const auto shipped = FindNoCase(ResolveNoCase(ExecutableDir(), "MapDefs"), "WL6");
    std::error_code ec;
    if (shipped && fs::is_directory(*shipped, ec)) {
        fs::copy(*shipped, dir / "WL6", fs::copy_options::recursive, ec);
        if (!ec)
            return true;
    }
    WriteGeneratedStructure(dir / "WL6");
    return false;
}

struct Scene {
    SymbolTables tables;
    std::vector<PlaneDisplay> display = std::vector<PlaneDisplay>(3, PlaneDisplay{true, false});
    bool shipped = false;
};

const Scene& TheScene()
{
    static const Scene scene = [] {
        Scene s;
        RenderScratch dir;
        s.shipped = PrepareStructure(dir.path);
        if (auto failure =
                s.tables.LoadMapSymbols(dir.path / "WL6", IniFile(StructureSettingsPath(dir.path, "WL6", "")), 3))
            throw std::runtime_error(failure->text);
        return s;
    }();
    return scene;
}

// Walls and floors everywhere, objects on a third of the tiles, a few marks
// on plane 2: every value one the plane has a symbol for.
MapList MakeLevel(const SymbolTables& tables, int size)
{
    MapList map;
    map.Width = map.Height = static_cast<std::uint16_t>(size);
    map.Planes.assign(3, std::vector<std::uint16_t>(map.WordCount(), 0));
    std::mt19937 random(5);
    for (std::size_t p = 0; p < 3; ++p) {
        const auto& symbols = tables.PlaneSymbols(static_cast<int>(p));
        for (auto& word : map.Planes[p]) {
            const bool used = p == 0 || random() % (p == 1 ? 3 : 20) == 0;
            if (used)
                word = static_cast<std::uint16_t>(symbols[random() % symbols.size()].Value);
        }
    }
    return map;
}

void RedrawMapBenchmark(benchmark::State& state, int size)
{
    const Scene& scene = TheScene();
    const MapList map = MakeLevel(scene.tables, size);
    Image view;
    for (auto _ : state) {
        RedrawMap(view, map, scene.tables, scene.display, kIntMode);
        benchmark::DoNotOptimize(view.pixels.data());
    }
    state.SetLabel(scene.shipped ? "shipped WL6 symbols" : "generated symbols");
}

void BM_RedrawMap_64x64_3planes(benchmark::State& state)
{
    RedrawMapBenchmark(state, 64);
}
BENCHMARK(BM_RedrawMap_64x64_3planes)->Unit(benchmark::kMicrosecond);

void BM_RedrawMap_256x256_3planes(benchmark::State& state)
{
    RedrawMapBenchmark(state, 256);
}
BENCHMARK(BM_RedrawMap_256x256_3planes)->Unit(benchmark::kMillisecond);

// With a type switched off and a split plane in Low Byte Mode: the filter's
// lookup tables are built for every render.
void BM_RedrawMap_256x256_filtered(benchmark::State& state)
{
    Scene scene = TheScene();
    for (auto& type : scene.tables.SymbolTypes())
        if (type.TypeID == "w" || type.TypeID == "so")
            type.Shown = 0;
    scene.display[1].Split = true;
    const MapList map = MakeLevel(scene.tables, 256);
    Image view;
    for (auto _ : state) {
        RedrawMap(view, map, scene.tables, scene.display, kLowByteMode);
        benchmark::DoNotOptimize(view.pixels.data());
    }
}
BENCHMARK(BM_RedrawMap_256x256_filtered)->Unit(benchmark::kMillisecond);

void BM_RedrawTile(benchmark::State& state)
{
    const Scene& scene = TheScene();
    const MapList map = MakeLevel(scene.tables, 64);
    Image view;
    RedrawMap(view, map, scene.tables, scene.display, kIntMode);
    int i = 0;
    for (auto _ : state) {
        RedrawTile(view, map, scene.tables, scene.display, kIntMode, i % 64, (i / 64) % 64);
        benchmark::DoNotOptimize(view.pixels.data());
        ++i;
    }
}
BENCHMARK(BM_RedrawTile)->Unit(benchmark::kMicrosecond);

void BM_LoadMapSymbols_WL6(benchmark::State& state)
{
    RenderScratch dir;
    const bool shipped = PrepareStructure(dir.path);
    const fs::path folder = dir.path / "WL6";
    const IniFile settings(StructureSettingsPath(dir.path, "WL6", ""));
    for (auto _ : state) {
        SymbolTables tables;
        if (tables.LoadMapSymbols(folder, settings, 3))
            state.SkipWithError("loading the symbols failed");
        benchmark::DoNotOptimize(tables.NumPlanes());
    }
    state.SetLabel(shipped ? "shipped WL6 structure" : "generated structure of its size");
}
BENCHMARK(BM_LoadMapSymbols_WL6)->Unit(benchmark::kMicrosecond);

} // namespace
