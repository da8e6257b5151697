// The editing engine on the largest maps: the flood fill of a whole plane, a
// pencil stroke tile by tile with its redraw, Undo and Redo of an all-planes
// step, and the memory the histories hold.

#include "editor/session/EditorSession.h"
#include "editor/render/MapRenderer.h"
#include "raycast/LevelBuilder.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace tsl;

namespace {

// A 256 x 256 map of three planes with random words, and small symbol tables.
std::unique_ptr<EditorSession> LargeSession()
{
    MapHandler maps;
    maps.NumPlanes = 3;
    MapList map = maps.CreateMap(256, 256, "Large");
    std::mt19937 random(7);
    for (auto& plane : map.Planes)
        for (auto& word : plane)
            word = static_cast<std::uint16_t>(random() % 8);
    maps.Headers.push_back(MapHandler::HeaderFor(map));
    maps.AddMap(std::move(map));
    auto project = std::make_unique<Project>(std::move(maps));
    project->Settings = std::make_unique<IniFile>(std::filesystem::temp_directory_path() / "tesselar-bench-WL6.ini");
    std::vector<std::vector<std::string>> lines(3);
    for (auto& plane : lines)
        for (int v = 0; v < 8; ++v)
            plane.push_back(std::to_string(v) + ",V," + std::string(64, static_cast<char>('0' + v)) + ",ot,0");
    project->Symbols = std::move(*SymbolTables::FromLines(lines, {"ot,Other Tile,1"}));
    return std::make_unique<EditorSession>(std::move(project));
}

void BM_FloodFillWholePlane(benchmark::State& state)
{
    std::vector<std::uint16_t> plane(256 * 256, 0);
    std::uint16_t word = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FloodFill(plane, 256, 256, 128, 128, word));
        word ^= 1;
    }
}
BENCHMARK(BM_FloodFillWholePlane)->Unit(benchmark::kMillisecond);

// One tile of a 256-tile stroke: the session's move, the document's notice
// and the redraw of that tile.
void BM_PencilStrokePerTile(benchmark::State& state)
{
    auto session = LargeSession();
    const Project& project = session->CurrentProject();
    const auto display = project.Display();
    Image view;
    RedrawMap(view, session->Maps().Current(), project.Symbols, display, kIntMode);
    const DocumentToken redraw = session->Document().Listen([&](const DocumentChange& change) {
        if (change.Region)
            RedrawTile(view, session->Maps().Current(), project.Symbols, display, kIntMode, change.Region->X1,
                       change.Region->Y1);
    });
    session->SetButtonValue(PointerButton::Left, 5);
    int tiles = 0;
    for (auto _ : state) {
        state.PauseTiming();
        session->Pointer({PointerAction::Press, PointerButton::Left, 0, 0});
        state.ResumeTiming();
        for (int x = 0; x < 256; ++x)
            session->Pointer({PointerAction::Move, PointerButton::Left, x, x});
        tiles += 256;
        state.PauseTiming();
        session->Pointer({PointerAction::Release, PointerButton::Left, 255, 255});
        state.ResumeTiming();
    }
    state.SetItemsProcessed(tiles);
}
BENCHMARK(BM_PencilStrokePerTile)->Unit(benchmark::kMicrosecond);

// The 3D preview's part of one pencil tile on a 256 x 256 map: the cells of
// the region the document names rebuilt (Region), against the whole level
// rebuilt for every tile as before (Whole).
void PreviewPerTile(benchmark::State& state, bool region)
{
    auto session = LargeSession();
    WordPictures words;
    for (std::uint16_t w = 1; w < 8; ++w)
        words.walls[w] = {2 * w, 2 * w + 1};
    words.sprites[5] = {20, false};
    Level level = BuildLevel(session->Maps().Current(), 0, words);
    const DocumentToken rebuild = session->Document().Listen([&](const DocumentChange& change) {
        if (change.What != DocumentChange::Kind::Words)
            return;
        if (region && change.Region)
            RebuildRegion(level, session->Maps().Current(), 0, words, *change.Region);
        else
            RebuildLevel(level, session->Maps().Current(), 0, words);
    });
    session->SetButtonValue(PointerButton::Left, 1);
    int tiles = 0;
    for (auto _ : state) {
        state.PauseTiming();
        session->Pointer({PointerAction::Press, PointerButton::Left, 0, 0});
        state.ResumeTiming();
        for (int x = 1; x < 100; ++x)
            session->Pointer({PointerAction::Move, PointerButton::Left, x, x / 2});
        tiles += 99;
        state.PauseTiming();
        session->Pointer({PointerAction::Release, PointerButton::Left, 99, 49});
        session->Undo();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(tiles);
}
void BM_PreviewRebuildPerTile_Region_256x256(benchmark::State& state) { PreviewPerTile(state, true); }
void BM_PreviewRebuildPerTile_Whole_256x256(benchmark::State& state) { PreviewPerTile(state, false); }
BENCHMARK(BM_PreviewRebuildPerTile_Region_256x256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewRebuildPerTile_Whole_256x256)->Unit(benchmark::kMillisecond);

void BM_UndoRedoAllPlanes(benchmark::State& state)
{
    auto session = LargeSession();
    // Every word of every plane changes: the largest step there is.
    auto change = session->Document().Begin();
    for (auto& plane : change.Current().Planes)
        for (auto& word : plane)
            word = static_cast<std::uint16_t>(word + 1);
    change.Commit();
    for (auto _ : state) {
        session->Undo();
        session->Redo();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_UndoRedoAllPlanes)->Unit(benchmark::kMillisecond);

// 10,000 one-tile pencil strokes; the counter is the bytes the history holds
// (plain before and after snapshots of a plane would hold 10,000 x 256 KB).
void BM_HistoryMemoryOneTileStrokes(benchmark::State& state)
{
    for (auto _ : state) {
        auto session = LargeSession();
        std::mt19937 random(3);
        for (int i = 0; i < 10000; ++i) {
            session->SetButtonValue(PointerButton::Left, static_cast<std::uint16_t>(8 + i % 8));
            const int x = static_cast<int>(random() % 256);
            const int y = static_cast<int>(random() % 256);
            session->Pointer({PointerAction::Press, PointerButton::Left, x, y});
            session->Pointer({PointerAction::Release, PointerButton::Left, x, y});
        }
        state.counters["history_MB"] = static_cast<double>(session->History(0).MemoryUsage()) / (1024.0 * 1024.0);
    }
}
BENCHMARK(BM_HistoryMemoryOneTileStrokes)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
