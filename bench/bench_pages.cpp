// Editing the page file: decoding every chunk, importing one picture and
// writing the whole file, exporting every picture and sound, and the memory
// a page file built to cost it holds decoded.
//
// Uses the real shareware VSWAP.WL1 (TESSELAR_GAMES_DIR, or ../shared/games
// beside the sources or the worktree); skipped without it.

#include "core/FileSystem.h"
#include "graphics/PageExport.h"
#include "graphics/PageFileSaving.h"
#include "graphics/PagePictureExchange.h"
#include "raycast/GamePictures.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace fs = std::filesystem;
using namespace tsl;

namespace {

struct Shareware {
    Bytes file;
    Palette palette;
};

const Shareware* TheShareware()
{
    static const std::optional<Shareware> shareware = []() -> std::optional<Shareware> {
        const fs::path source = TESSELAR_SOURCE_DIR;
        std::vector<fs::path> roots{source.parent_path() / "shared" / "games",
                                    source.parent_path().parent_path() / "shared" / "games"};
        if (const char* env = std::getenv("TESSELAR_GAMES_DIR"))
            roots = {env};
        auto palette = Palette::Load(source / "data" / "MapDefs" / "WL1" / "palette.txt");
        for (const fs::path& root : roots)
            if (auto bytes = ReadWholeFile(root / "wl1" / "VSWAP.WL1"); bytes && palette)
                return Shareware{std::move(*bytes), *palette};
        return std::nullopt;
    }();
    return shareware ? &*shareware : nullptr;
}

// The reader checks every chunk; then every wall and sprite is asked for.
void BM_DecodeEveryChunk_WL1(benchmark::State& state)
{
    const Shareware* wl1 = TheShareware();
    if (!wl1)
        return state.SkipWithError("no VSWAP.WL1");
    for (auto _ : state) {
        auto pages = PageFile::Parse(wl1->file, "VSWAP.WL1");
        std::size_t spans = 0;
        for (int s = 0; s < pages->SpriteCount(); ++s)
            if (const Sprite* sprite = pages->SpriteAt(s))
                spans += sprite->spans.size();
        benchmark::DoNotOptimize(spans);
    }
}
BENCHMARK(BM_DecodeEveryChunk_WL1)->Unit(benchmark::kMillisecond);

// A sprite PNG read, mapped, encoded and put in place, and the whole file
// saved over its old copy (with its .BAK, without a generation).
void BM_ImportSpriteAndSave_WL1(benchmark::State& state)
{
    const Shareware* wl1 = TheShareware();
    if (!wl1)
        return state.SkipWithError("no VSWAP.WL1");
    auto file = PageFile::Parse(wl1->file, "VSWAP.WL1");
    PageSet pages = PageSet::From(*file);
    const Bytes png = SpritePng(*file->SpriteAt(50), wl1->palette);
    const fs::path path = fs::temp_directory_path() / "tesselar-bench-pages" / "VSWAP.WL1";
    MakeDirectories(path.parent_path());
    for (auto _ : state) {
        auto picture = ReadPictureFile(png, "sprite.png");
        auto chunk = SpriteFromPicture(*picture, wl1->palette);
        pages.Replace(file->FirstSpriteChunk() + 3, std::move(*chunk));
        if (SavePageFile(pages, path, BackupPolicy{}))
            return state.SkipWithError("the save failed");
    }
    fs::remove_all(path.parent_path());
}
BENCHMARK(BM_ImportSpriteAndSave_WL1)->Unit(benchmark::kMillisecond);

// Every wall and sprite as a PNG and every sound as a WAV, into a folder of
// the temporary directory (/0) or of the memory file system /dev/shm (/1):
// on a loaded machine creating 310 files on a disk takes half a second by
// itself, whatever writes them.
void BM_ExportEverything_WL1(benchmark::State& state)
{
    const Shareware* wl1 = TheShareware();
    if (!wl1)
        return state.SkipWithError("no VSWAP.WL1");
    const PageSet pages = PageSet::From(*PageFile::Parse(wl1->file, "VSWAP.WL1"));
    std::error_code ec;
    const fs::path root = state.range(0) == 1 ? fs::path("/dev/shm") : fs::temp_directory_path();
    if (!fs::is_directory(root, ec))
        return state.SkipWithError("no /dev/shm");
    const fs::path folder = root / "tesselar-bench-export";
    std::size_t files = 0;
    for (auto _ : state) {
        auto written = ExportPages(pages, wl1->palette, folder);
        if (!written)
            return state.SkipWithError(written.failure().text.c_str());
        files = written->size();
    }
    state.counters["files"] = static_cast<double>(files);
    fs::remove_all(folder);
}
BENCHMARK(BM_ExportEverything_WL1)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 2000 sprite chunks over one 60 KB post list (a 72 KB file): read, every
// sprite asked for, and the first-person pictures built; the counter is
// what stays decoded.
void BM_SharedPostList_2000Sprites(benchmark::State& state)
{
    ByteWriter sprite;
    sprite.U16(0);
    sprite.U16(63);
    for (int column = 0; column < 64; ++column)
        sprite.U16(4 + 128);
    for (int post = 0; post < 10000; ++post) {
        sprite.U16(128);
        sprite.U16(0);
        sprite.U16(0);
    }
    sprite.U16(0);
    ByteWriter file;
    file.U16(2000);
    file.U16(0);
    file.U16(2000);
    for (int i = 0; i < 2000; ++i)
        file.U32(6 + 6 * 2000);
    for (int i = 0; i < 2000; ++i)
        file.U16(static_cast<std::uint16_t>(sprite.Size()));
    file.Append(sprite.Data());
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "1," + std::to_string(i + 1) + ",sprite," + std::to_string(i) + "\r\n";
    const PictureTable table = *PictureTable::Parse(text, "pictures.txt");
    std::size_t decoded = 0;
    for (auto _ : state) {
        auto pages = PageFile::Parse(file.Data(), "VSWAP.TST");
        for (int s = 0; s < pages->SpriteCount(); ++s)
            benchmark::DoNotOptimize(pages->SpriteAt(s));
        const GamePictures pictures = BuildGamePictures(*pages, Palette{}, table, GraphicsSettings{});
        decoded = pages->DecodedBytes() + pictures.pages.DecodedBytes();
    }
    state.counters["file_bytes"] = static_cast<double>(file.Size());
    state.counters["decoded_bytes"] = static_cast<double>(decoded);
}
BENCHMARK(BM_SharedPostList_2000Sprites)->Unit(benchmark::kMillisecond);

} // namespace
