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

#include <zlib.h>

#include <array>
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
        auto written = WritePagesExport(pages, wl1->palette, *PlanPagesExport(pages), folder);
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

// PNG chunks as the file holds them: length, type, data, checksum.
void PutPngChunk(Bytes& png, const char* type, const Bytes& data, std::uint32_t length)
{
    const std::size_t start = png.size();
    for (int shift = 24; shift >= 0; shift -= 8)
        png.push_back(static_cast<std::uint8_t>(length >> shift));
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    const auto crc = static_cast<std::uint32_t>(crc32(0, png.data() + start + 4, static_cast<uInt>(png.size() - start - 4)));
    for (int shift = 24; shift >= 0; shift -= 8)
        png.push_back(static_cast<std::uint8_t>(crc >> shift));
}

// Two PNG files built to cost their reader: /0 a 64 x 64 picture whose text
// chunk claims 2 GB (141 bytes), /1 one whose pixel stream inflates to
// 1 GiB after its rows (in IDAT chunks of 64 KB). Both are read in
// microseconds: the first is refused before anything is allocated, the
// second is read as far as its rows (5 to 54 s and 2 GB, and 8 s, before).
void BM_ReadPngBuiltToCostItsReader(benchmark::State& state)
{
    static const std::array<Bytes, 2> files = [] {
        const Bytes picture = EncodeRgbaPng(64, 64, std::vector<std::uint32_t>(4096, 0xFF000000u));
        Bytes text(picture.begin(), picture.begin() + 33);
        PutPngChunk(text, "tEXt", {'a', 0, 'b'}, 0x7FFFFFF0u);
        text.insert(text.end(), picture.begin() + 33, picture.end());

        Bytes far(picture.begin(), picture.begin() + 33);
        z_stream stream{};
        deflateInit(&stream, Z_BEST_COMPRESSION);
        Bytes rows(64 * (1 + 4 * 64), 0), packed(1u << 16);
        const Bytes zeros(1u << 20, 0);
        const auto pack = [&](const Bytes& in, int flush) {
            stream.next_in = const_cast<std::uint8_t*>(in.data());
            stream.avail_in = static_cast<uInt>(in.size());
            do {
                stream.next_out = packed.data();
                stream.avail_out = static_cast<uInt>(packed.size());
                deflate(&stream, flush);
                const Bytes piece(packed.begin(), packed.end() - stream.avail_out);
                if (!piece.empty())
                    PutPngChunk(far, "IDAT", piece, static_cast<std::uint32_t>(piece.size()));
            } while (stream.avail_out == 0);
        };
        pack(rows, Z_NO_FLUSH);
        for (int mb = 0; mb < 1024; ++mb)
            pack(zeros, mb == 1023 ? Z_FINISH : Z_NO_FLUSH);
        deflateEnd(&stream);
        PutPngChunk(far, "IEND", {}, 0);
        return std::array<Bytes, 2>{text, far};
    }();
    const Bytes& file = files[static_cast<std::size_t>(state.range(0))];
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadPictureFile(file, "built.png"));
    state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_ReadPngBuiltToCostItsReader)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
