// Walls and sprites out as PNG and in from PNG and BMP: indices kept where
// the picture carries the game's palette, colours mapped otherwise, sprites
// encoded as id's files are, wrong sizes and damaged files refused with
// their messages, and every picture of the shareware file round-tripped.

#include "GraphicsTestUtil.h"
#include "TestUtil.h"
#include "core/FileSystem.h"
#include "core/ImageFile.h"
#include "graphics/PageExport.h"
#include "graphics/PageFile.h"
#include "graphics/PagePictureExchange.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

using namespace tsl;
using namespace tsl::test;

namespace {

// Distinct colours, except that entry 20 repeats entry 10.
Palette TestPalette()
{
    Palette palette;
    for (std::uint32_t i = 0; i < 256; ++i)
        palette.colours[i] = 0xFF000000u | i << 16 | (255 - i) << 8 | ((i * 7) & 0xFF);
    palette.colours[20] = palette.colours[10];
    return palette;
}

// Column by column, as the chunks hold them.
Bytes Indices(const std::function<int(int x, int y)>& index)
{
    Bytes wall(kPicturePixels);
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 64; ++y)
            wall[static_cast<std::size_t>(x * 64 + y)] = static_cast<std::uint8_t>(index(x, y));
    return wall;
}

PictureFile Read(const Bytes& file)
{
    auto picture = ReadPictureFile(file, "in.png");
    EXPECT_TRUE(picture) << picture.failure().text;
    return picture ? *picture : PictureFile{};
}

std::string Refusal(const Bytes& file)
{
    auto picture = ReadPictureFile(file, "in.png");
    return picture ? "accepted" : picture.failure().text;
}

// An RGBA PNG of a picture given by a colour per pixel.
Bytes RgbaPng(const std::function<std::uint32_t(int x, int y)>& colour, int width = 64, int height = 64)
{
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(colour(x, y));
    return EncodeRgbaPng(width, height, pixels);
}

// An 8-bit indexed bottom-up BMP with the given palette.
Bytes IndexedBmp(const Bytes& columns, const Palette& palette)
{
    Bytes bmp;
    PutText(bmp, "BM");
    Put32(bmp, 14 + 40 + 1024 + 4096);
    Put32(bmp, 0);
    Put32(bmp, 14 + 40 + 1024);
    for (const std::uint32_t v : {40u, 64u, 64u})
        Put32(bmp, v);
    Put16(bmp, 1);
    Put16(bmp, 8);
    for (int i = 0; i < 6; ++i)
        Put32(bmp, 0);
    for (const std::uint32_t colour : palette.colours)
        Put32(bmp, colour & 0x00FFFFFFu);
    for (int y = 63; y >= 0; --y)
        for (int x = 0; x < 64; ++x)
            bmp.push_back(columns[static_cast<std::size_t>(x * 64 + y)]);
    return bmp;
}

// A PNG chunk: its length, type, data and the checksum over type and data;
// `length` says another length than the data's.
Bytes PngChunk(const std::string& type, const Bytes& data, std::optional<std::uint32_t> length = std::nullopt)
{
    Bytes chunk;
    chunk.reserve(12 + type.size() + data.size());
    for (const std::uint32_t value : {length.value_or(static_cast<std::uint32_t>(data.size()))})
        for (int shift = 24; shift >= 0; shift -= 8)
            chunk.push_back(static_cast<std::uint8_t>(value >> shift));
    chunk.insert(chunk.end(), type.begin(), type.end());
    chunk.insert(chunk.end(), data.begin(), data.end());
    const auto crc = static_cast<std::uint32_t>(crc32(0, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4)));
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk.push_back(static_cast<std::uint8_t>(crc >> shift));
    return chunk;
}

// `png` with `chunk` after its header (the signature and IHDR).
Bytes WithChunk(const Bytes& png, const Bytes& chunk)
{
    constexpr std::ptrdiff_t kHeader = 33;
    Bytes out(png.size() + chunk.size());
    const auto at = std::copy(png.begin(), png.begin() + kHeader, out.begin());
    std::copy(png.begin() + kHeader, png.end(), std::copy(chunk.begin(), chunk.end(), at));
    return out;
}

std::uint32_t Get32BigEndian(const Bytes& data, std::size_t at)
{
    return static_cast<std::uint32_t>(data[at]) << 24 | static_cast<std::uint32_t>(data[at + 1]) << 16 |
           static_cast<std::uint32_t>(data[at + 2]) << 8 | data[at + 3];
}

// A 64 x 64 RGBA PNG of the colour 0xFF010203 whose pixel stream goes on
// after the rows, in an IDAT chunk of its own: with `zeros` more bytes that
// inflate, or with bytes that do not inflate.
Bytes PngWithMoreAfterTheRows(std::size_t zeros, bool inflates)
{
    Bytes rows;
    for (int y = 0; y < 64; ++y) {
        rows.push_back(0); // no filter
        for (int x = 0; x < 64; ++x)
            rows.insert(rows.end(), {1, 2, 3, 255});
    }
    const Bytes rest(zeros, 0);
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    const auto pack = [&stream](const Bytes& in, int flush) {
        Bytes out(compressBound(static_cast<uLong>(in.size())) + 64);
        stream.next_in = const_cast<std::uint8_t*>(in.data());
        stream.avail_in = static_cast<uInt>(in.size());
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        deflate(&stream, flush);
        return Bytes(out.begin(), out.end() - static_cast<std::ptrdiff_t>(stream.avail_out));
    };
    const Bytes first = pack(rows, Z_SYNC_FLUSH); // the rows whole, the stream not ended
    const Bytes more = inflates ? pack(rest, Z_FINISH) : Bytes(100, 0xFF);
    deflateEnd(&stream);
    const Bytes header = RgbaPng([](int, int) { return 0u; });
    Bytes png(header.begin(), header.begin() + 33);
    for (const Bytes& chunk : {PngChunk("IDAT", first), PngChunk("IDAT", more), PngChunk("IEND", {})})
        png.insert(png.end(), chunk.begin(), chunk.end());
    return png;
}

Sprite Decoded(const Bytes& chunk)
{
    Sprite sprite;
    const auto fault = DecodeSprite(chunk, sprite);
    EXPECT_FALSE(fault) << *fault;
    return sprite;
}

} // namespace

TEST(PagePictureExchange, PaletteColoursComeBackAsTheirIndices)
{
    const Palette palette = TestPalette();
    const Bytes wall = Indices([](int x, int y) { return (x * 64 + y) % 256; });
    Bytes firstOfEqual = wall;
    std::replace(firstOfEqual.begin(), firstOfEqual.end(), std::uint8_t{20}, std::uint8_t{10});
    Image rgb(64, 64);
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 64; ++y)
            rgb.pixels[static_cast<std::size_t>(y * 64 + x)] = palette.colours[wall[static_cast<std::size_t>(x * 64 + y)]];

    const struct {
        const char* what;
        Bytes file;
        Bytes expected;
    } cases[] = {
        {"indexed PNG with the game's palette", WallPng(wall, palette), wall},
        {"indexed BMP with the game's palette", IndexedBmp(wall, palette), wall},
        {"RGB PNG: equal colours take the first index", EncodePng(rgb), firstOfEqual},
        {"24-bit BMP", EncodeBmp(rgb), firstOfEqual},
    };
    for (const auto& c : cases) {
        auto chunk = WallFromPicture(Read(c.file), palette);
        ASSERT_TRUE(chunk) << c.what;
        EXPECT_EQ(*chunk, c.expected) << c.what;
    }
}

TEST(PagePictureExchange, OtherColoursTakeTheNearestByLabDistance)
{
    Palette palette;
    palette.colours.fill(0xFF000000u);
    palette.colours[1] = 0xFFFF0000u; // red
    palette.colours[2] = 0xFF00C000u; // green
    palette.colours[3] = 0xFF808080u; // grey
    ColourMatcher matcher(palette);
    const struct {
        std::uint32_t colour;
        int index;
    } cases[] = {{0xF01010, 1}, {0x10B020, 2}, {0x707878, 3}, {0x101010, 0}, {0x00C000, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(matcher.Index(c.colour), c.index) << std::hex << c.colour;
}

TEST(PagePictureExchange, SpritesAreEncodedAsTheEngineReadsThem)
{
    const Palette palette = TestPalette();
    const struct {
        const char* what;
        std::function<bool(int x, int y)> opaque;
        int first, last;
    } cases[] = {
        {"holes", [](int x, int y) { return x >= 10 && x < 50 && (x + y) % 3 != 0; }, 10, 49},
        {"touching column 0 and 63", [](int x, int y) { return (x == 0 || x == 63) && y > 5; }, 0, 63},
        {"fully transparent", [](int, int) { return false; }, 0, 0},
    };
    for (const auto& c : cases) {
        const auto pixel = [&](int x, int y) { return c.opaque(x, y) ? palette.colours[21 + (x + 2 * y) % 200] : 0u; };
        auto chunk = SpriteFromPicture(Read(RgbaPng(pixel)), palette);
        ASSERT_TRUE(chunk) << c.what;
        const Sprite sprite = Decoded(*chunk);
        EXPECT_EQ(sprite.firstColumn, c.first) << c.what;
        EXPECT_EQ(sprite.lastColumn, c.last) << c.what;
        for (int x = 0; x < 64; ++x)
            for (int y = 0; y < 64; ++y) {
                ASSERT_EQ(sprite.Opaque(x, y), c.opaque(x, y)) << c.what << " " << x << "," << y;
                if (c.opaque(x, y)) {
                    ASSERT_EQ(sprite.Pixel(x, y), 21 + (x + 2 * y) % 200) << c.what;
                }
            }
        // Written as a PNG and read back: the same chunk.
        auto again = SpriteFromPicture(Read(SpritePng(sprite, palette)), palette);
        ASSERT_TRUE(again);
        EXPECT_EQ(*again, *chunk) << c.what;
    }
    EXPECT_EQ(*SpriteFromPicture(Read(RgbaPng([](int, int) { return 0u; })), palette), (Bytes{0, 0, 0, 0, 6, 0, 0, 0}));
}

TEST(PagePictureExchange, ASpriteThatUsesEntry255IsMarkedWithAFreeOne)
{
    const Palette palette = TestPalette();
    Sprite sprite;
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 32; ++y) {
            sprite.opaque[static_cast<std::size_t>(x * 64 + y)] = 1;
            sprite.pixels[static_cast<std::size_t>(x * 64 + y)] = static_cast<std::uint8_t>(255 - (x + y) % 3);
        }
    const PictureFile picture = Read(SpritePng(sprite, palette));
    EXPECT_EQ(picture.palette[252] >> 24, 0u) << "the first free entry from 255 down";
    EXPECT_EQ(Decoded(*SpriteFromPicture(picture, palette)).pixels, sprite.pixels);
    // Without alpha, palette entry 255's colour is transparent.
    const auto pixel = [&](int x, int) { return x < 32 ? palette.colours[255] : palette.colours[7]; };
    Image rgb(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            rgb.pixels[static_cast<std::size_t>(y * 64 + x)] = pixel(x, y);
    const Sprite half = Decoded(*SpriteFromPicture(Read(EncodePng(rgb)), palette));
    EXPECT_EQ(half.firstColumn, 32);
}

TEST(PagePictureExchange, WrongSizesAndDamagedFilesAreRefused)
{
    const std::string name = "The picture \"in.png\" ";
    Bytes huge = RgbaPng([](int, int) { return 0xFF000000u; });
    PutU32(huge.data() + 16, 0xA0860100u); // 100000, big-endian
    PutU32(huge.data() + 20, 0xA0860100u);
    Bytes good = RgbaPng([](int, int) { return 0xFF000000u; });
    const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    Bytes badCrc = good;
    badCrc[29] ^= 0xFF;
    Bytes shortBmp = EncodeBmp(Image(64, 64));
    shortBmp.erase(shortBmp.end() - 100, shortBmp.end());
    Bytes rle = IndexedBmp(Bytes(4096, 1), TestPalette());
    PutU32(rle.data() + 30, 1);

    const struct {
        const char* what;
        Bytes file;
        std::string message;
    } cases[] = {
        {"65 x 64 PNG", RgbaPng([](int, int) { return 0u; }, 65, 64),
         name + "is 65 x 64 pixels; walls and sprites are 64 x 64."},
        {"32 x 32 BMP", EncodeBmp(Image(32, 32)), name + "is 32 x 32 pixels; walls and sprites are 64 x 64."},
        {"100000 x 100000", huge, name + "is 100000 x 100000 pixels; walls and sprites are 64 x 64."},
        {"a PNG cut in half", cut, name + "is damaged: its IDAT chunk of " + std::to_string(Get32BigEndian(good, 33)) +
                                       " bytes reaches past the end of the file."},
        // Refused before a byte of it is allocated, and any chunk larger than a picture of 64 x 64 needs.
        {"a text chunk that claims 2 GB", WithChunk(good, PngChunk("tEXt", {'a', 0, 'b'}, 0x7FFFFFF0u)),
         name + "is damaged: its tEXt chunk of 2147483632 bytes reaches past the end of the file."},
        {"a text chunk of 2 MB", WithChunk(good, PngChunk("tEXt", Bytes(2u << 20, 'a'))),
         name + "is damaged: tEXt: chunk data is too large."},
        {"a PNG with a bad header checksum", badCrc, name + "is damaged: IHDR: CRC error."},
        {"a BMP cut short", shortBmp, name + "is damaged: its pixels reach past the end of the file."},
        {"an RLE BMP", rle, name + "is a BMP file of a kind this program does not read (8 bits a pixel, compression 1)."},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o'}, name + "is neither a PNG nor a BMP file."},
        {"a PNG signature alone", Bytes(good.begin(), good.begin() + 8), name + "is damaged: its header is missing."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Refusal(c.file), c.message) << c.what;
}

TEST(PagePictureExchange, APngIsReadNoFurtherThanItsRows)
{
    // What follows the rows is never inflated: neither data that does not
    // inflate nor a stream that would inflate far beyond the picture.
    for (const bool inflates : {false, true}) {
        const PictureFile picture = Read(PngWithMoreAfterTheRows(64u << 20, inflates));
        ASSERT_EQ(picture.pixels.size(), 4096u);
        EXPECT_TRUE(std::all_of(picture.pixels.begin(), picture.pixels.end(),
                                [](std::uint32_t pixel) { return pixel == 0xFF010203u; }));
    }
    // Ancillary chunks it does not need are skipped, even one whose checksum is wrong.
    Bytes text = PngChunk("tEXt", {'a', 0, 'b'});
    text.back() ^= 0xFF;
    EXPECT_EQ(Refusal(WithChunk(RgbaPng([](int, int) { return 0xFF000000u; }), text)), "accepted");
}

TEST(PagePictureExchange, EveryPictureOfTheSharewareFileComesBackAsItsBytes)
{
    const auto path = RealPageFileWL1();
    const auto palettePath = SourceDir() / "data" / "MapDefs" / "WL1" / "palette.txt";
    if (!path)
        GTEST_SKIP() << "no VSWAP.WL1";
    auto pages = PageFile::Load(*path);
    auto palette = Palette::Load(palettePath);
    ASSERT_TRUE(pages && palette);
    for (int chunk = 0; chunk < pages->FirstSoundChunk(); ++chunk) {
        if (!pages->HasChunk(chunk))
            continue;
        const auto bytes = pages->ChunkBytes(chunk);
        if (chunk < pages->FirstSpriteChunk()) {
            auto back = WallFromPicture(Read(WallPng(bytes, *palette)), *palette);
            ASSERT_TRUE(back);
            EXPECT_TRUE(std::equal(back->begin(), back->end(), bytes.begin(), bytes.end())) << "wall " << chunk;
        } else {
            const Sprite* sprite = pages->SpriteAt(chunk - pages->FirstSpriteChunk());
            auto back = SpriteFromPicture(Read(SpritePng(*sprite, *palette)), *palette);
            ASSERT_TRUE(back);
            EXPECT_TRUE(std::equal(back->begin(), back->end(), bytes.begin(), bytes.end())) << "sprite " << chunk;
        }
    }
}

TEST(PagePictureExchange, EverythingIsExportedUnderNamesThatSortAndSayWhatTheyAre)
{
    Bytes table;
    for (const int v : {0, 100, 1, 10, 2, 5})
        Put16(table, static_cast<std::uint16_t>(v));
    const Bytes sprite = TestSprite(3, 3, {{3, {{1, 2, TestPixels(1, 9)}}}});
    auto file = PageFile::Parse(
        TestPageFile({TestWall(1), {}, sprite, sprite, TestPixels(100, 0), TestPixels(10, 0), {}, table}, 2, 4),
        "VSWAP.TST");
    ASSERT_TRUE(file) << file.failure().text;
    const PageSet pages = PageSet::From(*file);
    TempDir dir;
    const struct {
        std::optional<std::set<int>> chunks;
        std::vector<std::string> names;
    } cases[] = {
        {std::nullopt, {"wall-0000.png", "sprite-0002.png", "sprite-0003.png", "sound-000.wav", "sound-001.wav"}},
        {std::set<int>{3, 5}, {"sprite-0003.png", "sound-001.wav"}},
    };
    for (const auto& c : cases) {
        auto written = WritePagesExport(pages, TestPalette(), *PlanPagesExport(pages, c.chunks), dir / "out");
        ASSERT_TRUE(written) << written.failure().text;
        EXPECT_EQ(*written, c.names);
    }
    EXPECT_EQ(*WallFromPicture(Read(ReadFile(dir / "out" / "wall-0000.png")), TestPalette()), TestWall(1));

    // A disk that fails at any step: the failure is told and nothing half-written stays.
    for (int at = 1;; ++at) {
        TempDir failing;
        std::optional<Failure> failure;
        int steps = 0;
        {
            DiskFaults faults(at);
            auto written = WritePagesExport(pages, TestPalette(), *PlanPagesExport(pages), failing / "out");
            failure = written ? std::nullopt : std::optional(written.failure());
            steps = faults.Steps();
        }
        if (failure) {
            EXPECT_EQ(failure->text.rfind("Couldn't write " + (failing / "out").string(), 0), 0u) << failure->text;
        }
        for (const auto& entry : fs::recursive_directory_iterator(failing.path()))
            EXPECT_FALSE(IsTemporaryName(entry.path().filename().string())) << entry.path();
        if (steps < at)
            break;
    }
}

// Entries of the table that repeat each other are one file, named once; the
// bytes written out never outgrow the sound chunks of the file.
TEST(PagePictureExchange, SoundsOfTheSameBytesAreExportedOnce)
{
    const auto set = [](const std::vector<std::pair<int, int>>& entries) {
        Bytes table;
        for (const auto& [start, length] : entries) {
            Put16(table, static_cast<std::uint16_t>(start));
            Put16(table, static_cast<std::uint16_t>(length));
        }
        auto file = PageFile::Parse(TestPageFile({TestWall(1), TestPixels(100, 0), TestPixels(4096, 1),
                                                  TestPixels(10, 2), table},
                                                 1, 1),
                                    "VSWAP.TST");
        EXPECT_TRUE(file) << file.failure().text;
        return PageSet::From(*file);
    };
    const struct {
        std::vector<std::pair<int, int>> table;
        std::vector<int> written;
        std::vector<std::string> shared;
    } cases[] = {
        {{{0, 100}, {1, 4106}}, {0, 1}, {}},
        {{{0, 100}, {1, 4106}, {0, 100}}, {0, 1}, {"sound-000.wav is also sound 2 (the same bytes)."}},
        {{{1, 4106}, {0, 100}, {1, 4106}, {0, 100}, {1, 4106}},
         {0, 1},
         {"sound-000.wav is also sounds 2 and 4 (the same bytes).", "sound-001.wav is also sound 3 (the same bytes)."}},
    };
    for (const auto& c : cases) {
        const auto plan = PlanPagesExport(set(c.table));
        ASSERT_TRUE(plan) << plan.failure().text;
        std::vector<int> written;
        for (const auto& sound : plan->sounds)
            written.push_back(sound.number);
        EXPECT_EQ(written, c.written);
        EXPECT_EQ(plan->Shared(), c.shared);
    }
    // Lengths that make every entry differ: more than the 4206 bytes the chunks hold.
    const auto refused = PlanPagesExport(set({{0, 4206}, {0, 4205}, {0, 4204}}));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.failure().text, "The sounds would take 12615 bytes written out, more than the 4206 bytes of the page "
                                      "file's sound chunks: sounds of its table overlap. Nothing was written.");
}
