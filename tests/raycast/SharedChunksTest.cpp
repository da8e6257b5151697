// Page files built to cost memory: thousands of sprite chunks over one post
// list, thousands of wall chunks over one wall, and chunks that overlap. What
// is decoded stays the size of what the file holds.

#include "GraphicsTestUtil.h"
#include "TestUtil.h"
#include "graphics/PageFile.h"
#include "raycast/GamePictures.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

// A page file of `count` chunks that all are the one `chunk`.
Bytes AllTheSame(int count, int firstSprite, const Bytes& chunk)
{
    Bytes file;
    Put16(file, static_cast<std::uint16_t>(count));
    Put16(file, static_cast<std::uint16_t>(firstSprite));
    Put16(file, static_cast<std::uint16_t>(count));
    const auto at = static_cast<std::uint32_t>(6 + 6 * count);
    for (int i = 0; i < count; ++i)
        Put32(file, at);
    for (int i = 0; i < count; ++i)
        Put16(file, static_cast<std::uint16_t>(chunk.size()));
    file.insert(file.end(), chunk.begin(), chunk.end());
    return file;
}

// 64 columns that all point at one list of `posts` posts over the whole
// column, their pixels the chunk's first bytes.
Bytes OnePostList(int posts)
{
    Bytes sprite;
    Put16(sprite, 0);
    Put16(sprite, 63);
    for (int column = 0; column < 64; ++column)
        Put16(sprite, 4 + 128);
    for (int i = 0; i < posts; ++i) {
        Put16(sprite, 64 * 2);
        Put16(sprite, 0);
        Put16(sprite, 0);
    }
    Put16(sprite, 0);
    return sprite;
}

PictureTable TableOf(int plane, const char* kind, int count, int step, const char* more = "")
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::to_string(plane) + "," + std::to_string(i + 1) + "," + kind + "," + std::to_string(i * step) +
                more + "\r\n";
    auto table = PictureTable::Parse(text, "pictures.txt");
    EXPECT_TRUE(table) << table.failure().text;
    return std::move(*table);
}

} // namespace

TEST(SharedChunks, WhatIsDecodedStaysTheSizeOfWhatTheFileHolds)
{
    const struct {
        const char* what;
        Bytes file;
        PictureTable table;
        std::size_t fileLimit;     // bytes PageFile may hold decoded
        std::size_t picturesLimit; // bytes the raycaster's pictures may hold
    } cases[] = {
        {"2000 sprites over one post list of 10000 posts", AllTheSame(2000, 0, OnePostList(10000)),
         TableOf(1, "sprite", 2000, 1), 20'000, 2000 * 16 + 20'000},
        {"20000 walls over one wall", AllTheSame(20000, 20000, TestWall(3)), TableOf(0, "wall", 9996, 2), 0,
         20000 * 16 + 20'000},
        {"actors with eight steps of eight sides over one post list", AllTheSame(2000, 0, OnePostList(10000)),
         TableOf(1, "patrol", 1000, 1, ",e,0,8"), 20'000, 2000 * 16 + 20'000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_LT(c.file.size(), 150'000u);
        auto pages = PageFile::Parse(c.file, "VSWAP.TST");
        ASSERT_TRUE(pages) << pages.failure().text;
        for (int sprite = 0; sprite < pages->SpriteCount(); ++sprite)
            ASSERT_NE(pages->SpriteAt(sprite), nullptr);
        EXPECT_LE(pages->DecodedBytes(), c.fileLimit);
        const GamePictures pictures = BuildGamePictures(*pages, Palette{}, c.table, GraphicsSettings{});
        EXPECT_LE(pictures.pages.DecodedBytes(), c.picturesLimit);
        // The first sprite chunk is 0; an actor's last side is decoded too.
        const PictureEntry& last = c.table.Entries().back();
        EXPECT_NE(pictures.pages.Pixels(last.number + std::max(1, last.frames * kRotations) - 1), nullptr);
    }
    // The sprite's column is the post drawn over itself 10000 times: once.
    auto pages = PageFile::Parse(AllTheSame(3, 0, OnePostList(10000)), "VSWAP.TST");
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->SpriteAt(2)->spans.size(), 64u);
    EXPECT_EQ(pages->SpriteAt(1), pages->SpriteAt(2));
}

TEST(SharedChunks, ChunksThatOverlapAreRefused)
{
    Bytes file = TestPageFile({TestWall(1), TestWall(2), TestWall(3)}, 3, 3);
    PutU32(file.data() + 6 + 8, Get32(file, 6 + 4) + 100); // chunk 2 starts inside chunk 1
    auto pages = PageFile::Parse(file, "VSWAP.TST");
    ASSERT_FALSE(pages);
    EXPECT_EQ(pages.failure().text, "The page file \"VSWAP.TST\" is damaged: chunk 2 overlaps chunk 1.");
}

TEST(SharedChunks, AWallAndASpriteOverTheSameBytesAreEachWhatTheyAre)
{
    Bytes both(4096, 0); // as a sprite: column 0 alone, without posts
    PutU16(both.data() + 4, 6);
    Bytes file = TestPageFile({both, both}, 1, 2);
    PutU32(file.data() + 6 + 4, Get32(file, 6)); // the sprite chunk is the wall's bytes
    auto pages = PageFile::Parse(file, "VSWAP.TST");
    ASSERT_TRUE(pages) << pages.failure().text;
    EXPECT_EQ(pages->FirstAlike(1), 1);
    ASSERT_NE(pages->SpriteAt(0), nullptr);
    EXPECT_TRUE(pages->SpriteAt(0)->spans.empty());
    Palette black;
    black.colours.fill(0xFF000000u);
    const auto table = PictureTable::Parse("0,1,wall,0\r\n1,2,sprite,0\r\n", "pictures.txt");
    const GamePictures pictures = BuildGamePictures(*pages, black, *table, GraphicsSettings{});
    EXPECT_EQ(pictures.pages.FirstOpaqueRow(0, 0), 0) << "the wall is opaque";
    EXPECT_GT(pictures.pages.FirstOpaqueRow(1, 0), pictures.pages.LastOpaqueRow(1, 0)) << "the sprite is not";

    // Bytes that make a wall but no sprite are refused as the sprite.
    PutU16(both.data() + 2, 70);
    file = TestPageFile({both, both}, 1, 2);
    PutU32(file.data() + 6 + 4, Get32(file, 6));
    auto refused = PageFile::Parse(file, "VSWAP.TST");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.failure().text,
              "The page file \"VSWAP.TST\" is damaged: chunk 1 (sprite 0) has the columns 0 to 70, outside 0 to 63.");
}

TEST(SharedChunks, AChunkReplacedIsReadAgainAndTheChunksThatSharedItsPictureKeepTheirs)
{
    // Walls 0 to 3 the same bytes; words 1 and 2 show walls 0 and 2.
    const auto table = PictureTable::Parse("0,1,wall,0\r\n0,2,wall,2\r\n", "pictures.txt");
    auto pages = PageFile::Parse(AllTheSame(4, 4, TestWall(3)), "VSWAP.TST");
    ASSERT_TRUE(pages && table);
    Palette palette;
    for (std::uint32_t i = 0; i < 256; ++i)
        palette.colours[i] = 0xFF000000u | i;
    GamePictures pictures = BuildGamePictures(*pages, palette, *table, GraphicsSettings{});
    ASSERT_EQ(pictures.pages.Pixels(0), pictures.pages.Pixels(2));

    auto replaced = PageFile::Parse(TestPageFile({TestWall(3), TestWall(3), TestWall(9), TestWall(3)}, 4, 4), "VSWAP.TST");
    ASSERT_TRUE(replaced);
    const std::uint32_t* before = pictures.pages.Pixels(0);
    RefreshPicture(pictures, *replaced, palette, 2);
    EXPECT_EQ(pictures.pages.Pixels(0), before) << "wall 0 keeps its picture";
    const std::uint32_t* after = pictures.pages.Pixels(2);
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_EQ(after[0], palette[TestWall(9)[0]]);
}
