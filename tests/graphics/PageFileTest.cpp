// The page file reader: hand-built chunks, damaged files refused with the
// chunk named, and the real shareware VSWAP.WL1.

#include "GraphicsTestUtil.h"
#include "TestUtil.h"
#include "graphics/PageFile.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

// Column 0 with three posts, column 63 with one; the columns between are empty.
Bytes EdgeSprite()
{
    return TestSprite(0, 63, {{0, {{0, 2, TestPixels(2, 10)}, {5, 9, TestPixels(4, 20)}, {60, 64, TestPixels(4, 30)}}},
                              {63, {{31, 33, TestPixels(2, 40)}}}});
}

std::string Refusal(const Bytes& file)
{
    auto parsed = PageFile::Parse(file, "VSWAP.TST");
    return parsed ? std::string("accepted") : parsed.failure().text;
}

} // namespace

TEST(PageFile, ReadsWallsSpritesAndEmptyChunks)
{
    // Walls 0 and 1 (1 empty), sprites 2 to 4 (3 empty), one sound.
    const Bytes file = TestPageFile({TestWall(5), {}, EdgeSprite(), {}, TestSprite(7, 7, {{7, {{60, 64, TestPixels(4, 90)}}}}),
                                     Bytes{1, 2, 3}},
                                    2, 5);
    auto pages = PageFile::Parse(file, "VSWAP.TST");
    ASSERT_TRUE(pages) << pages.failure().text;
    EXPECT_EQ(pages->ChunkCount(), 6);
    EXPECT_EQ(pages->FirstSpriteChunk(), 2);
    EXPECT_EQ(pages->FirstSoundChunk(), 5);
    EXPECT_EQ(pages->SpriteCount(), 3);

    const auto wall = pages->Wall(0);
    ASSERT_EQ(wall.size(), 4096u);
    EXPECT_TRUE(std::equal(wall.begin(), wall.end(), TestWall(5).begin()));
    EXPECT_TRUE(pages->Wall(1).empty());
    EXPECT_FALSE(pages->HasChunk(1));
    EXPECT_TRUE(pages->Wall(2).empty()) << "a sprite chunk is no wall";
    EXPECT_EQ(pages->ChunkBytes(5).size(), 3u);

    const Sprite* edge = pages->SpriteAt(0);
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(edge->firstColumn, 0);
    EXPECT_EQ(edge->lastColumn, 63);
    const std::vector<SpriteSpan> spans = {{0, 0, 2}, {0, 5, 9}, {0, 60, 64}, {63, 31, 33}};
    EXPECT_EQ(edge->spans, spans);
    for (int row = 0; row < 64; ++row) {
        const bool opaque = row < 2 || (row >= 5 && row < 9) || row >= 60;
        EXPECT_EQ(edge->Opaque(0, row), opaque) << row;
        EXPECT_EQ(edge->Opaque(63, row), row == 31 || row == 32) << row;
        EXPECT_FALSE(edge->Opaque(30, row));
    }
    EXPECT_EQ(edge->Pixel(0, 1), 11);
    EXPECT_EQ(edge->Pixel(0, 5), 20);
    EXPECT_EQ(edge->Pixel(0, 63), 33);
    EXPECT_EQ(edge->Pixel(63, 32), 41);
    EXPECT_EQ(edge->Pixel(0, 3), 0);

    EXPECT_EQ(pages->SpriteAt(1), nullptr);
    // A post low in a small chunk: its pixel offset wraps below 0.
    const Sprite* low = pages->SpriteAt(2);
    ASSERT_NE(low, nullptr);
    EXPECT_EQ(low->Pixel(7, 60), 90);
    EXPECT_EQ(low->Pixel(7, 63), 93);
    EXPECT_EQ(pages->SpriteAt(3), nullptr);
    EXPECT_EQ(pages->SpriteAt(-1), nullptr);
}

TEST(PageFile, RefusesADamagedFileNamingTheChunk)
{
    const std::string damaged = "The page file \"VSWAP.TST\" is damaged: ";
    Bytes pastEnd = TestPageFile({TestWall(1), TestWall(2)}, 2, 2);
    PutU32(pastEnd.data() + 10, static_cast<std::uint32_t>(pastEnd.size() - 100));
    Bytes shortWall = TestPageFile({TestWall(1), Bytes(100, 7)}, 2, 2);
    Bytes badColumns = TestPageFile({TestSprite(10, 12, {})}, 0, 1);
    PutU16(badColumns.data() + 12 + 2, 64);
    Bytes columnOffset = TestPageFile({TestSprite(0, 1, {})}, 0, 1);
    PutU16(columnOffset.data() + 12 + 6, 500);
    Bytes postOutside = TestPageFile({TestSprite(3, 3, {{3, {{10, 20, TestPixels(10, 0)}}}})}, 0, 1);
    PutU16(postOutside.data() + 12 + 8, 2000);
    Bytes rowsOutside = TestPageFile({TestSprite(3, 3, {{3, {{10, 20, TestPixels(10, 0)}}}})}, 0, 1);
    PutU16(rowsOutside.data() + 12 + 6, 66 * 2);
    Bytes unended; // one post, its pixels the chunk's first bytes, and no closing 0
    for (const int word : {3, 3, 6, 20 * 2, 0x10000 - 10, 10 * 2})
        Put16(unended, static_cast<std::uint16_t>(word));
    const Bytes endless = TestPageFile({unended}, 0, 1);
    // Sound chunks 0 to 2 of 10 bytes each, the table in chunk 3.
    const auto sounds = [](std::initializer_list<std::uint16_t> words) {
        Bytes table;
        for (const std::uint16_t word : words)
            Put16(table, word);
        return TestPageFile({TestPixels(10, 1), TestPixels(10, 2), TestPixels(10, 3), table}, 0, 0);
    };

    const struct {
        const char* what;
        Bytes file;
        std::string message;
    } cases[] = {
        {"header", Bytes{3, 0, 1}, damaged + "it is 3 bytes long, shorter than its header."},
        {"chunk past the end", pastEnd, damaged + "chunk 1 reaches past the end of the file (offset " +
                                            std::to_string(pastEnd.size() - 100) + ", 4096 bytes)."},
        {"short wall", shortWall, damaged + "chunk 1 is a wall of 100 bytes instead of 4096."},
        {"columns", badColumns, damaged + "chunk 0 (sprite 0) has the columns 10 to 64, outside 0 to 63."},
        {"column offset", columnOffset,
         damaged + "chunk 0 (sprite 0) has a post list of column 1 that reaches past the chunk."},
        {"post outside its chunk", postOutside,
         damaged + "chunk 0 (sprite 0) has a post in column 3 whose pixels lie outside the chunk."},
        {"rows", rowsOutside, damaged + "chunk 0 (sprite 0) has a post in column 3 with the rows 10 to 65, outside 0 to 63."},
        {"no end of the post list", endless,
         damaged + "chunk 0 (sprite 0) has a post list of column 3 that reaches past the chunk."},
        {"sound longer than its chunks", sounds({0, 10, 1, 21}),
         damaged + "its sound table says sound 1 is 21 bytes long, more than the 20 its chunks hold."},
        {"sounds out of order", sounds({2, 10, 1, 10}),
         damaged + "its sound table says sound 0 is 10 bytes long, more than the 0 its chunks hold."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Refusal(c.file), c.message) << c.what;

    Bytes lying = TestPageFile({TestWall(1)}, 1, 1);
    PutU16(lying.data(), 2000);
    EXPECT_EQ(Refusal(lying), damaged + "its header lists 2000 chunks, more than its " + std::to_string(lying.size()) +
                                  " bytes hold.");
    Bytes order = TestPageFile({TestWall(1)}, 1, 1);
    PutU16(order.data() + 2, 2);
    EXPECT_EQ(Refusal(order), damaged + "its first sprite chunk 2 and first sound chunk 1 do not fit its 1 chunks.");
}

TEST(PageFile, IsFoundBesideTheMapsWithoutRegardToCase)
{
    TempDir dir;
    WriteFile(dir / "vswap.wl1", TestPageFile({}, 0, 0));
    EXPECT_EQ(FindPageFile(dir.path(), "WL1"), dir / "vswap.wl1");
    EXPECT_EQ(FindPageFile(dir.path(), "WL6"), std::nullopt);
    auto missing = PageFile::Load(dir / "VSWAP.WL6");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().text, "The page file \"" + (dir / "VSWAP.WL6").string() + "\" cannot be read.");
}

TEST(PageFile, ReadsTheSharewareFile)
{
    const auto path = RealPageFileWL1();
    if (!path)
        GTEST_SKIP() << "no VSWAP.WL1";
    auto pages = PageFile::Load(*path);
    ASSERT_TRUE(pages) << pages.failure().text;
    EXPECT_EQ(pages->ChunkCount(), 663);
    EXPECT_EQ(pages->FirstSpriteChunk(), 106);
    EXPECT_EQ(pages->FirstSoundChunk(), 542);

    // The first wall: its first column begins 1e 08 08 17 ..., its last ends in 08 ... 1d.
    const auto wall = pages->Wall(0);
    ASSERT_EQ(wall.size(), 4096u);
    const Bytes head = {0x1e, 0x08, 0x08, 0x17, 0x12, 0x07, 0x14, 0x14, 0x16, 0x17, 0x19, 0x1b, 0x1f, 0x1e, 0x1d, 0x08};
    const Bytes column1 = {0x1e, 0x08, 0x08, 0x17, 0x11, 0x07, 0x16, 0x14, 0x07, 0x17, 0x19, 0x1b, 0x1f, 0x1e, 0x1d, 0x1c};
    const Bytes tail = {0x1d, 0x1d, 0x1d, 0x1d, 0x1d, 0x1c, 0x1c, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x1d};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), wall.begin()));
    EXPECT_TRUE(std::equal(column1.begin(), column1.end(), wall.begin() + 64));
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), wall.end() - 16));
    int sum = 0;
    for (std::uint8_t b : wall)
        sum += b;
    EXPECT_EQ(sum, 90616);
    // The shareware leaves the walls of the later episodes out.
    EXPECT_TRUE(pages->Wall(56).empty());
    EXPECT_EQ(pages->Wall(98).size(), 4096u);

    // Sprite 2, the puddle: columns 10 to 56, low on the floor.
    const Sprite* puddle = pages->SpriteAt(2);
    ASSERT_NE(puddle, nullptr);
    EXPECT_EQ(puddle->firstColumn, 10);
    EXPECT_EQ(puddle->lastColumn, 56);
    const struct {
        int column, top, bottom;
        std::vector<std::uint8_t> pixels;
    } columns[] = {{10, 61, 62, {0x01}},
                   {13, 60, 64, {0x8e, 0x8e, 0x8e, 0x96}},
                   {37, 58, 64, {0x92, 0x92, 0x94, 0x94, 0x94, 0x96}},
                   {56, 59, 60, {0x99}}};
    for (const auto& c : columns)
        for (int row = 0; row < 64; ++row) {
            const bool opaque = row >= c.top && row < c.bottom;
            EXPECT_EQ(puddle->Opaque(c.column, row), opaque) << c.column << "," << row;
            if (opaque) {
                EXPECT_EQ(puddle->Pixel(c.column, row), c.pixels[static_cast<std::size_t>(row - c.top)]);
            }
        }
}
