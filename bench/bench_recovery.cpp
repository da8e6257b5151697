// The autosave on a 100-map set (64 x 64, three planes; and one with ten
// 256 x 256 maps among them): the snapshot the editor's own thread takes,
// and the encoding and atomic write of the recovery file that the autosave's
// thread does. The snapshot must stay well within a frame (16 ms).

#include "editor/keeping/Recovery.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace tsl;

namespace {

// 100 maps of random words; `large` of them 256 x 256, the rest 64 x 64.
MapHandler HundredMaps(int large)
{
    MapHandler maps;
    maps.NumPlanes = 3;
    std::mt19937 random(11);
    for (int i = 0; i < 100; ++i) {
        const std::uint16_t side = i < large ? 256 : 64;
        MapList map = maps.CreateMap(side, side, "Map " + std::to_string(i + 1));
        for (auto& plane : map.Planes)
            for (auto& word : plane)
                word = static_cast<std::uint16_t>(random() % 64);
        maps.Headers.push_back(MapHandler::HeaderFor(map));
        maps.AddMap(std::move(map));
    }
    return maps;
}

// The first snapshot, which allocates a whole set.
void BM_AutosaveFirstSnapshot(benchmark::State& state)
{
    const MapHandler maps = HundredMaps(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(RecoverySnapshot(maps));
}
BENCHMARK(BM_AutosaveFirstSnapshot)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond);

// Every later one, into the memory of the snapshot written before.
void BM_AutosaveSnapshot(benchmark::State& state)
{
    const MapHandler maps = HundredMaps(static_cast<int>(state.range(0)));
    MapHandler snapshot = RecoverySnapshot(maps);
    for (auto _ : state) {
        UpdateRecoverySnapshot(snapshot, maps);
        benchmark::DoNotOptimize(snapshot.Maps.data());
    }
}
BENCHMARK(BM_AutosaveSnapshot)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_AutosaveEncodeAndWrite(benchmark::State& state)
{
    const MapHandler snapshot = RecoverySnapshot(HundredMaps(static_cast<int>(state.range(0))));
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "tesselar-bench-recovery.tsl";
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteRecoveryFile(file, snapshot));
    std::filesystem::remove(file);
}
BENCHMARK(BM_AutosaveEncodeAndWrite)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace
