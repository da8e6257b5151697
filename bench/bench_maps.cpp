// Loading and saving whole map sets, and the Carmack compressor against the
// exhaustive search it must equal.

#include "CarmackOracle.h"
#include "SampleGame.h"
#include "core/Compression.h"
#include "core/MapHandler.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;
using namespace tsl;

namespace {

class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (fs::temp_directory_path() / "tesselar-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path = pattern;
    }
    ~ScratchDir() { fs::remove_all(path); }
    fs::path path;
};

// A set of 60 generated 64 x 64 levels with three planes, as a full game has.
MapHandler SixtyMapSet(const fs::path& dir)
{
    MapHandler set;
    sample::BuildSampleGame(set);
    set.Clear();
    sample::AddGeneratedLevels(set, 60, 100);
    set.Path = dir;
    return set;
}

void BM_LoadSet_60maps_64x64x3(benchmark::State& state)
{
    ScratchDir dir;
    if (SixtyMapSet(dir.path).Save())
        state.SkipWithError("save failed");
    for (auto _ : state) {
        MapHandler set;
        set.UseGameFiles(dir.path, *LocateGameFiles(dir.path));
        set.NumPlanes = 3;
        benchmark::DoNotOptimize(set.Load());
    }
}
BENCHMARK(BM_LoadSet_60maps_64x64x3)->Unit(benchmark::kMillisecond);

void BM_SaveSet_60maps_64x64x3(benchmark::State& state)
{
    ScratchDir dir;
    const MapHandler set = SixtyMapSet(dir.path);
    for (auto _ : state)
        benchmark::DoNotOptimize(set.Save());
}
BENCHMARK(BM_SaveSet_60maps_64x64x3)->Unit(benchmark::kMillisecond);

// The RLEW stream of plane 0 of a generated level: walls, doors and rooms.
Bytes LevelStream()
{
    MapHandler set;
    sample::BuildSampleGame(set);
    set.Clear();
    sample::AddGeneratedLevels(set, 1, 7);
    return RLEWCompress(set.Maps[0].Planes[0], 0xABCD);
}

// A 128 x 128 plane of varied words: short runs of many values.
Bytes VariedStream()
{
    std::mt19937 random(5);
    std::vector<std::uint16_t> plane(128 * 128);
    std::uint16_t value = 0;
    for (auto& w : plane) {
        if (random() % 2 == 0)
            value = static_cast<std::uint16_t>(random() % 200);
        w = value;
    }
    return RLEWCompress(plane, 0xABCD);
}

void Carmack(benchmark::State& state, const Bytes& stream, bool indexed)
{
    for (auto _ : state) {
        Bytes chunk = indexed ? *CarmackCompress(stream, 0xA7, 0xA8) : test::CarmackCompressExhaustive(stream, 0xA7, 0xA8);
        benchmark::DoNotOptimize(chunk.data());
    }
    if (*CarmackCompress(stream, 0xA7, 0xA8) != test::CarmackCompressExhaustive(stream, 0xA7, 0xA8))
        state.SkipWithError("the indexed and the exhaustive compressor differ");
    state.counters["stream_bytes"] = static_cast<double>(stream.size());
}

void BM_Carmack_indexed_level_64x64(benchmark::State& state) { Carmack(state, LevelStream(), true); }
void BM_Carmack_exhaustive_level_64x64(benchmark::State& state) { Carmack(state, LevelStream(), false); }
void BM_Carmack_indexed_varied_128x128(benchmark::State& state) { Carmack(state, VariedStream(), true); }
void BM_Carmack_exhaustive_varied_128x128(benchmark::State& state) { Carmack(state, VariedStream(), false); }
BENCHMARK(BM_Carmack_indexed_level_64x64)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Carmack_exhaustive_level_64x64)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Carmack_indexed_varied_128x128)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Carmack_exhaustive_varied_128x128)->Unit(benchmark::kMicrosecond);

} // namespace
