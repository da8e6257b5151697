// The level generator with its checks (the analysis on every skill level and
// the map check), as "&Generate Level..." runs it at every change of an
// option: one 64 x 64 level per iteration, over seeds 1 to 100 in turn.

#include "core/IniFile.h"
#include "core/TextFile.h"
#include "editor/operations/LevelGeneration.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>

using namespace tsl;

namespace {

struct Structure {
    EngineRules rules;
    SymbolTables symbols;
    MapLimits limits;
};

const Structure& Wolf3D()
{
    static const Structure structure = [] {
        const std::filesystem::path folder = std::filesystem::path(TESSELAR_SOURCE_DIR) / "data" / "MapDefs" / "WL6";
        const IniFile settings(folder / "WL6.ini");
        const auto text = ReadTextFile(folder / "engine.txt");
        auto rules = text ? EngineRules::Parse(*text, "engine.txt") : Failure{"cannot read engine.txt", ""};
        if (!rules)
            throw std::runtime_error(rules.failure().text);
        rules->SetMapSize(64);
        Structure s{std::move(*rules), {}, ReadMapLimits(settings)};
        if (auto failure = s.symbols.LoadMapSymbols(folder, settings, 3, false))
            throw std::runtime_error(failure->text);
        return s;
    }();
    return structure;
}

void BM_GenerateLevel64(benchmark::State& state)
{
    const Structure& s = Wolf3D();
    LevelGenerationInput input;
    input.rules = &s.rules;
    input.symbols = &s.symbols;
    input.limits = s.limits;
    GeneratorOptions options;
    options.keys = static_cast<int>(state.range(0));
    options.secrets = static_cast<int>(state.range(1));
    std::uint32_t seed = 0;
    int tries = 0;
    for (auto _ : state) {
        options.seed = seed++ % 100 + 1;
        const auto level = GenerateMapLevel(input, options);
        if (!level)
            throw std::runtime_error(level.failure().text);
        tries += level->tries;
        benchmark::DoNotOptimize(level->map.Planes.data());
    }
    state.counters["tries"] = benchmark::Counter(tries, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_GenerateLevel64)->Args({0, 0})->Args({2, 5})->Unit(benchmark::kMillisecond)->Iterations(100);

} // namespace
