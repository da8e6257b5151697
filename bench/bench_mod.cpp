// The episode board and the comparison of two sets, on 60 maps: the
// shareware's ten floors six times over when they are there (TESSELAR_GAMES_DIR
// or ../shared/games), otherwise the sample game's maps, and the label says
// which. The board analyses every map on every skill level; the comparison
// sets each map against a copy with a few tiles changed.

#include "core/FileSystem.h"
#include "core/IniFile.h"
#include "core/TextFile.h"
#include "engine/LevelFlow.h"
#include "mod/EpisodeBoard.h"
#include "mod/SetDifference.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <stdexcept>

namespace fs = std::filesystem;
using namespace tsl;

namespace {

constexpr int kMaps = 60;

fs::path GameDir(std::string& label)
{
    const fs::path source = TESSELAR_SOURCE_DIR;
    std::vector<fs::path> roots;
    if (const char* env = std::getenv("TESSELAR_GAMES_DIR"))
        roots.emplace_back(env);
    roots.push_back(source.parent_path() / "shared" / "games");
    for (const fs::path& root : roots)
        if (auto dir = FindNoCase(root, "wl1"); dir && FindNoCase(*dir, "GAMEMAPS.WL1")) {
            label = "shareware floors";
            return *dir;
        }
    label = "sample game maps";
    return source / "data" / "sample";
}

struct Sixty {
    MapHandler set;
    MapHandler changed; // a few tiles of every map otherwise
    EngineRules rules;
    LevelFlow flow;
    std::string label;
};

const Sixty& Maps()
{
    static const Sixty sixty = [] {
        Sixty s;
        const fs::path dir = GameDir(s.label);
        auto files = LocateGameFiles(dir);
        if (!files)
            throw std::runtime_error(files.failure().text);
        MapHandler loaded;
        loaded.UseGameFiles(dir, *files);
        if (!loaded.Load().ok())
            throw std::runtime_error("cannot load " + dir.string());
        s.set.Extension = loaded.Extension;
        for (int i = 0; i < kMaps; ++i)
            s.set.Maps.push_back(loaded.Maps[static_cast<std::size_t>(i % loaded.NumMaps())]);
        s.changed = s.set;
        for (int i = 0; i < kMaps; ++i)
            for (int k = 0; k < 1 + i % 5; ++k)
                s.changed.Maps[static_cast<std::size_t>(i)].SetWord(static_cast<std::size_t>(k % 2), 10 + k, 20 + i % 30, 1);
        const fs::path structure = fs::path(TESSELAR_SOURCE_DIR) / "data" / "MapDefs" / "WL6";
        auto rules = EngineRules::Parse(*ReadTextFile(structure / "engine.txt"), "engine.txt");
        const FlowLoad flow = LoadLevelFlow(structure, IniFile(structure / "WL6.ini"));
        if (!rules || flow.Status != FlowStatus::Loaded)
            throw std::runtime_error("cannot read the WL6 structure");
        s.rules = std::move(*rules);
        s.flow = *flow.Flow;
        return s;
    }();
    return sixty;
}

void BM_EpisodeBoard60Maps(benchmark::State& state)
{
    const Sixty& s = Maps();
    const std::array<int, 4> skills = {1, 2, 3, 4};
    for (auto _ : state) {
        EpisodeBoard board = BuildEpisodeBoard(s.set, s.rules, &s.flow, skills);
        benchmark::DoNotOptimize(board.episodes.data());
    }
    state.SetLabel(s.label);
}
BENCHMARK(BM_EpisodeBoard60Maps)->Unit(benchmark::kMillisecond);

void BM_Diff60Maps(benchmark::State& state)
{
    const Sixty& s = Maps();
    for (auto _ : state) {
        std::vector<MapDifference> differences = CompareMaps(s.changed, s.set);
        benchmark::DoNotOptimize(differences.data());
    }
    state.SetLabel(s.label);
}
BENCHMARK(BM_Diff60Maps)->Unit(benchmark::kMillisecond);

} // namespace
