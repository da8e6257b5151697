// The word-to-picture table of a structure ("pictures.txt"), and the chunks
// of a page file each word shows.

#include "graphics/PageFile.h"
#include "graphics/PictureTable.h"

#include <gtest/gtest.h>

using namespace tsl;

namespace {

PictureEntry Entry(int plane, std::uint16_t value, PictureKind kind, int number, Facing facing = Facing::None,
                   int skill = 0, int frames = 0)
{
    return {plane, value, kind, number, facing, skill, frames, value};
}

} // namespace

TEST(PictureTable, ReadsEveryKindWithFacingSkillAndFrames)
{
    auto table = PictureTable::Parse("# plane,words,kind[,number[,facing[,skill[,frames]]]]\r\n"
                                     "0,1,wall,0\r\n"
                                     "\r\n"
                                     "0,90,door,1\r\n"
                                     " 0 , 108 , floor , 1 \r\n"
                                     "1,23,sprite,2\r\n"
                                     "1,108,actor,50,e,1\r\n"
                                     "1,184,patrol,58,s,4,4\r\n"
                                     "1,160,actor,170\r\n",
                                     "pictures.txt");
    ASSERT_TRUE(table) << table.failure().text;
    EXPECT_EQ(table->Entries().size(), 7u);
    EXPECT_EQ(table->Find(0, 1), Entry(0, 1, PictureKind::Wall, 0));
    EXPECT_EQ(table->Find(0, 108), Entry(0, 108, PictureKind::Floor, 1));
    EXPECT_EQ(table->Find(1, 108), Entry(1, 108, PictureKind::Actor, 50, Facing::East, 1, 1)) << "a facing: one frame";
    EXPECT_EQ(table->Find(1, 184), Entry(1, 184, PictureKind::Patrol, 58, Facing::South, 4, 4));
    EXPECT_EQ(table->Find(1, 160), Entry(1, 160, PictureKind::Actor, 170)) << "no facing: the same from every side";
    EXPECT_EQ(table->Find(1, 1), std::nullopt);
    EXPECT_EQ(table->Find(0, 109), std::nullopt);
    EXPECT_EQ(table->Find(2, 1), std::nullopt);
    EXPECT_EQ(table->Find(-1, 1), std::nullopt);
}

TEST(PictureTable, ARangeOfWallsWithoutANumberShowsTheEnginesChunks)
{
    auto table = PictureTable::Parse("0,1-63,wall\r\n0,70-72,wall,4\r\n1,30-31,sprite,9\r\n", "pictures.txt");
    ASSERT_TRUE(table) << table.failure().text;
    ASSERT_EQ(table->Entries().size(), 3u);
    EXPECT_EQ(table->Entries()[0].number, kEngineWall);
    EXPECT_EQ(table->Entries()[0].last, 63);
    // Word w shows chunks 2w - 2 and 2w - 1.
    EXPECT_EQ(table->Find(0, 1)->number, 0);
    EXPECT_EQ(table->Find(0, 50)->number, 98);
    EXPECT_EQ(table->Find(0, 63)->number, 124);
    EXPECT_EQ(table->Find(0, 64), std::nullopt);
    EXPECT_EQ(table->Find(0, 71), Entry(0, 71, PictureKind::Wall, 4)) << "a range with a number shows it on every word";
    EXPECT_EQ(table->Find(1, 31)->number, 9);
}

TEST(PictureTable, NamesTheLineOfABadEntry)
{
    const struct {
        const char* line;
        std::string message;
    } cases[] = {
        {"0,1", "a picture is plane,words,kind[,number[,facing[,skill[,frames]]]]"},
        {"1,108,actor,50,e,1,1,x", "a picture is plane,words,kind[,number[,facing[,skill[,frames]]]]"},
        {"1,23,sprite", "a sprite names its picture: plane,words,kind,number"},
        {"0,0-5,wall", "a wall without a number shows the engine's chunks of the words from 1"},
        {"x,1,wall,0", "the plane is a number from 0 to 99"},
        {"0,65536,wall,0", "the words are a number from 0 to 65535 or a range first-last"},
        {"0,9-5,wall", "the words are a number from 0 to 65535 or a range first-last"},
        {"0,1,window,0", "the kind \"window\" is none of wall, door, floor, sprite, actor, patrol"},
        {"0,90,door,8", "a door is one of the door chunks 0 to 7"},
        {"0,1,wall,-1", "the number is a number from 0 to 65535"},
        {"1,108,actor,50,up,1", "the facing \"up\" is none of 0, e, ne, n, nw, w, sw, s, se"},
        {"1,108,actor,50,e,2", "the skill level is 0, 1, 3 or 4"},
        {"1,108,actor,50,e,1,9", "the frames are a number from 0 to 8"},
        {"1,23,sprite,2,0,0,1", "only an actor or a patrol has frames"},
        {"0,2,wall,0", "plane 0 word 2 has a picture already, on line 1"},
        {"0,1-5,wall", "plane 0 word 2 has a picture already, on line 1"},
    };
    for (const auto& c : cases) {
        auto table = PictureTable::Parse(std::string("0,2,wall,2\r\n") + c.line + "\r\n", "pics.txt");
        ASSERT_FALSE(table) << c.line;
        EXPECT_EQ(table.failure().text, "Line 2 of \"pics.txt\": " + c.message + ".");
    }
}

TEST(PictureTable, EachWordShowsTheChunksTheEngineDrawsItWith)
{
    // A page file of 49 walls (chunks 0 to 97), its door pictures 98 to 105
    // and sprites from 106; then one with a wall more.
    constexpr int kSprites = 106;
    const struct {
        const char* what;
        PictureEntry entry;
        int firstSprite;
        int flat;
        std::vector<int> chunks;
    } cases[] = {
        {"a wall", Entry(0, 2, PictureKind::Wall, 2), kSprites, 2, {2, 3}},
        {"the last wall", Entry(0, 49, PictureKind::Wall, 96), kSprites, 96, {96, 97}},
        {"a wall past the walls: a door picture", Entry(0, 50, PictureKind::Wall, 98), kSprites, -1, {}},
        {"the same with a wall added", Entry(0, 50, PictureKind::Wall, 98), kSprites + 2, 98, {98, 99}},
        {"a wall whose dark side is a door picture", Entry(0, 1, PictureKind::Wall, 97), kSprites, 97, {97}},
        {"a door: its pair", Entry(0, 90, PictureKind::Door, 1), kSprites, 99, {98, 99}},
        {"a locked door", Entry(0, 93, PictureKind::Door, 6), kSprites, 104, {104, 105}},
        {"doors of a file too small for them", Entry(0, 90, PictureKind::Door, 1), 5, -1, {}},
        {"a floor", Entry(0, 108, PictureKind::Floor, 1), kSprites, -1, {}},
        {"a sprite", Entry(1, 23, PictureKind::Sprite, 2), kSprites, 108, {108}},
        {"an actor without sides", Entry(1, 160, PictureKind::Actor, 170), kSprites, 276, {276}},
        {"a standing guard's sides", Entry(1, 108, PictureKind::Actor, 50, Facing::East, 1, 1), kSprites, 156,
         {156, 157, 158, 159, 160, 161, 162, 163}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(EntryChunk(c.entry, c.firstSprite), c.flat);
        EXPECT_EQ(EntryChunks(c.entry, c.firstSprite), c.chunks);
    }
    // A patrol shows the sides of each of its steps.
    const std::vector<int> steps = EntryChunks(Entry(1, 112, PictureKind::Patrol, 58, Facing::East, 1, 4), kSprites);
    ASSERT_EQ(steps.size(), 32u);
    EXPECT_EQ(steps.front(), kSprites + 58);
    EXPECT_EQ(steps.back(), kSprites + 58 + 31);
}
