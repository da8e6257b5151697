// The analysis of play, which the editor runs again after every edit: a
// 64 x 64 level and a 256 x 256 one with 1,000 push walls and 60 doors.

#include "core/TextFile.h"
#include "engine/LevelAnalysis.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <stdexcept>

using namespace tsl;

namespace {

EngineRules Wolf3DRules()
{
    const std::filesystem::path path =
        std::filesystem::path(TESSELAR_SOURCE_DIR) / "data" / "MapDefs" / "WL6" / "engine.txt";
    const auto text = ReadTextFile(path);
    auto rules = text ? EngineRules::Parse(*text, path.string()) : Failure{"cannot read " + path.string(), ""};
    if (!rules)
        throw std::runtime_error(rules.failure().text);
    return std::move(*rules);
}

// Rooms of 4 x 4 floor tiles between walls one tile thick. A wall between
// two rooms holds, at random, a push wall (until `pushWalls` are placed), a
// door (now and then, every fifth gold-locked, until `doors` are), an
// opening, or nothing; the start is in the first room and the elevator
// switch in the east wall of the last. Guards, treasure and gold keys are
// strewn about.
MapList RoomGrid(int size, int pushWalls, int doors, unsigned seed)
{
    MapList map;
    map.Width = map.Height = static_cast<std::uint16_t>(size);
    map.Planes.assign(3, std::vector<std::uint16_t>(map.WordCount(), 1));
    std::fill(map.Planes[1].begin(), map.Planes[1].end(), std::uint16_t{0});
    const int rooms = (size - 2) / 5;
    std::mt19937 random(seed);
    for (int ry = 0; ry < rooms; ++ry)
        for (int rx = 0; rx < rooms; ++rx)
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x) {
                    map.SetWord(0, 1 + 5 * rx + x, 1 + 5 * ry + y, static_cast<std::uint16_t>(108 + (rx + ry) % 36));
                    const unsigned roll = random() % 64;
                    const std::uint16_t object = roll == 0 ? 108 : roll == 1 ? 52 : roll == 2 ? 43 : 0;
                    map.SetWord(1, 1 + 5 * rx + x, 1 + 5 * ry + y, object);
                }
    int placedPushWalls = 0, placedDoors = 0;
    for (int ry = 0; ry < rooms; ++ry)
        for (int rx = 0; rx < rooms; ++rx)
            for (const bool east : {true, false}) {
                if ((east && rx + 1 >= rooms) || (!east && ry + 1 >= rooms))
                    continue;
                // The middle of the wall towards the next room east or south.
                const int x = east ? 5 * (rx + 1) : 1 + 5 * rx + 1;
                const int y = east ? 1 + 5 * ry + 1 : 5 * (ry + 1);
                const unsigned kind = rx + ry == 0 ? 0 : random() % 3; // out of the first room by push walls
                if (kind == 0 && placedPushWalls < pushWalls) {
                    map.SetWord(1, x, y, 98);
                    ++placedPushWalls;
                } else if (kind == 1 && placedDoors < doors && random() % 8 == 0) {
                    map.SetWord(0, x, y, static_cast<std::uint16_t>((east ? 90 : 91) + (placedDoors % 5 == 0 ? 2 : 0)));
                    ++placedDoors;
                } else if (kind != 2) {
                    map.SetWord(0, x, y, 108);
                }
            }
    map.SetWord(1, 1, 1, 20);
    const int last = 1 + 5 * (rooms - 1);
    map.SetWord(0, last + 4, last + 1, 21);
    return map;
}

void Analyse(benchmark::State& state, const MapList& map)
{
    static const EngineRules rules = Wolf3DRules();
    for (auto _ : state) {
        LevelAnalysis analysis = AnalyseLevel(map, rules, 4);
        benchmark::DoNotOptimize(analysis.exits.data());
    }
    const LevelAnalysis analysis = AnalyseLevel(map, rules, 4);
    state.counters["pushed"] = analysis.pushWallsMoved;
    state.counters["route"] = static_cast<double>(analysis.route.size());
    state.counters["reached"] = static_cast<double>(std::count(analysis.reached.begin(), analysis.reached.end(), 1));
}

void BM_AnalyseLevel64(benchmark::State& state)
{
    static const MapList map = RoomGrid(64, 40, 10, 2);
    Analyse(state, map);
}
BENCHMARK(BM_AnalyseLevel64)->Unit(benchmark::kMillisecond);

void BM_AnalyseLevel256With1000PushWalls(benchmark::State& state)
{
    static const MapList map = RoomGrid(256, 1000, 60, 2);
    Analyse(state, map);
}
BENCHMARK(BM_AnalyseLevel256With1000PushWalls)->Unit(benchmark::kMillisecond);

} // namespace
