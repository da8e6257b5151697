// The game's other data: VGAGRAPH read and every chunk expanded, a picture
// replaced and the files written with their backups, AUDIOT read with every
// sound and song checked, and a song rendered to WAV (the time per second of
// music, counter ms_per_second).
//
// Uses the real shareware files (TESSELAR_GAMES_DIR, or ../shared/games
// beside the sources or the worktree); skipped without them.

#include "audio/AudioExchange.h"
#include "audio/AudioRender.h"
#include "audio/AudioSet.h"
#include "core/FileSystem.h"
#include "vgagraph/GraphicsSet.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;
using namespace tsl;

namespace {

struct Shareware {
    fs::path dir;
    GraphicsFiles graphics;
    AudioFiles audio;
};

void WriteWholeFile(const fs::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

const Shareware* TheShareware()
{
    static const std::optional<Shareware> shareware = []() -> std::optional<Shareware> {
        const fs::path source = TESSELAR_SOURCE_DIR;
        std::vector<fs::path> roots{source.parent_path() / "shared" / "games",
                                    source.parent_path().parent_path() / "shared" / "games"};
        if (const char* env = std::getenv("TESSELAR_GAMES_DIR"))
            roots = {env};
        for (const fs::path& root : roots) {
            const fs::path dir = root / "wl1";
            auto head = ReadWholeFile(dir / "VGAHEAD.WL1");
            auto dictionary = ReadWholeFile(dir / "VGADICT.WL1");
            auto graph = ReadWholeFile(dir / "VGAGRAPH.WL1");
            auto audioHead = ReadWholeFile(dir / "AUDIOHED.WL1");
            auto audio = ReadWholeFile(dir / "AUDIOT.WL1");
            if (head && dictionary && graph && audioHead && audio)
                return Shareware{dir, {*head, *dictionary, *graph}, {*audioHead, *audio}};
        }
        return std::nullopt;
    }();
    return shareware ? &*shareware : nullptr;
}

void BM_DecodeVgagraphWhole_WL1(benchmark::State& state)
{
    const Shareware* wl1 = TheShareware();
    if (!wl1)
        return state.SkipWithError("no VGAGRAPH.WL1");
    for (auto _ : state) {
        auto set = GraphicsSet::Read(wl1->graphics, nullptr);
        std::size_t bytes = 0;
        for (int chunk = 0; chunk < set->ChunkCount(); ++chunk)
            bytes += set->Expanded(chunk).size();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_DecodeVgagraphWhole_WL1)->Unit(benchmark::kMillisecond);

// The title replaced and VGAHEAD and VGAGRAPH written with their .BAK files.
void BM_ReplaceTitleAndSave_WL1(benchmark::State& state)
{
    const Shareware* wl1 = TheShareware();
    if (!wl1)
        return state.SkipWithError("no VGAGRAPH.WL1");
    const fs::path dir = fs::temp_directory_path() / "tesselar-bench-gamedata";
    fs::create_directories(dir);
    const GraphicsPaths paths{dir / "VGAHEAD.WL1", dir / "VGADICT.WL1", dir / "VGAGRAPH.WL1"};
    IndexedPicture title{320, 200, Bytes(320 * 200)};
    std::uint8_t colour = 0;
    for (auto _ : state) {
        state.PauseTiming();
        WriteWholeFile(paths.head, wl1->graphics.head);
        WriteWholeFile(paths.dictionary, wl1->graphics.dictionary);
        WriteWholeFile(paths.graph, wl1->graphics.graph);
        for (std::size_t i = 0; i < title.indices.size(); ++i)
            title.indices[i] = static_cast<std::uint8_t>(i / 320 + colour);
        ++colour;
        state.ResumeTiming();
        auto set = GraphicsSet::Read(wl1->graphics, nullptr);
        if (set->ReplacePicture(99, title))
            return state.SkipWithError("the title was refused");
        const auto saved = SaveGraphicsSet(*set, paths, BackupPolicy{});
        if (!saved || saved->size() != 2) // VGAHEAD and VGAGRAPH
            return state.SkipWithError("the save failed");
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_ReplaceTitleAndSave_WL1)->Unit(benchmark::kMillisecond);

void BM_DecodeAudiot_WL1(benchmark::State& state)
{
    const Shareware* wl1 = TheShareware();
    if (!wl1)
        return state.SkipWithError("no AUDIOT.WL1");
    for (auto _ : state) {
        auto set = AudioSet::Read(wl1->audio, nullptr);
        benchmark::DoNotOptimize(set->ChunkCount());
    }
}
BENCHMARK(BM_DecodeAudiot_WL1)->Unit(benchmark::kMillisecond);

// Map 1's song (GETTHEM_MUS, 80 seconds) through the OPL emulator into a WAV file.
void BM_RenderMusicToWav_WL1(benchmark::State& state)
{
    const Shareware* wl1 = TheShareware();
    if (!wl1)
        return state.SkipWithError("no AUDIOT.WL1");
    auto set = AudioSet::Read(wl1->audio, nullptr);
    const auto chunk = set->ChunkBytes(264);
    const double seconds = MusicSeconds(*ReadMusic(chunk));
    double milliseconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(AudioChunkWav(AudioKind::Music, chunk).size());
        milliseconds += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["ms_per_second"] = milliseconds / static_cast<double>(state.iterations()) / seconds;
}
BENCHMARK(BM_RenderMusicToWav_WL1)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
