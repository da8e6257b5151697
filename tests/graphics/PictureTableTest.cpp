// The word-to-picture table of a structure ("pictures.txt").

#include "graphics/PictureTable.h"

#include <gtest/gtest.h>

using namespace tsl;

TEST(PictureTable, ReadsEveryKindWithFacingAndSkill)
{
    auto table = PictureTable::Parse("# plane,value,kind,number[,facing[,skill]]\r\n"
                                     "0,1,wall,0\r\n"
                                     "\r\n"
                                     "0,90,door,1\r\n"
                                     " 0 , 108 , floor , 1 \r\n"
                                     "1,23,sprite,2\r\n"
                                     "1,108,actor,50,e,1\r\n"
                                     "1,184,patrol,58,s,4\r\n",
                                     "pictures.txt");
    ASSERT_TRUE(table) << table.failure().text;
    EXPECT_EQ(table->Entries().size(), 6u);
    const PictureEntry* wall = table->Find(0, 1);
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(*wall, (PictureEntry{0, 1, PictureKind::Wall, 0, Facing::None, 0}));
    EXPECT_EQ(*table->Find(0, 108), (PictureEntry{0, 108, PictureKind::Floor, 1, Facing::None, 0}));
    EXPECT_EQ(*table->Find(1, 108), (PictureEntry{1, 108, PictureKind::Actor, 50, Facing::East, 1}));
    EXPECT_EQ(*table->Find(1, 184), (PictureEntry{1, 184, PictureKind::Patrol, 58, Facing::South, 4}));
    EXPECT_EQ(table->Find(1, 1), nullptr);
    EXPECT_EQ(table->Find(0, 109), nullptr);
    EXPECT_EQ(table->Find(2, 1), nullptr);
    EXPECT_EQ(table->Find(-1, 1), nullptr);
}

TEST(PictureTable, NamesTheLineOfABadEntry)
{
    const struct {
        const char* line;
        std::string message;
    } cases[] = {
        {"0,1,wall", "a picture is plane,value,kind,number[,facing[,skill]]"},
        {"0,1,wall,0,e,1,x", "a picture is plane,value,kind,number[,facing[,skill]]"},
        {"x,1,wall,0", "the plane is a number from 0 to 99"},
        {"0,65536,wall,0", "the value is a number from 0 to 65535"},
        {"0,1,window,0", "the kind \"window\" is none of wall, door, floor, sprite, actor, patrol"},
        {"0,90,door,8", "a door is one of the door chunks 0 to 7"},
        {"0,1,wall,-1", "the number is a number from 0 to 65535"},
        {"1,108,actor,50,up,1", "the facing \"up\" is none of 0, e, ne, n, nw, w, sw, s, se"},
        {"1,108,actor,50,e,2", "the skill level is 0, 1, 3 or 4"},
        {"0,2,wall,0", "plane 0 value 2 has a picture already, on line 1"},
    };
    for (const auto& c : cases) {
        auto table = PictureTable::Parse(std::string("0,2,wall,2\r\n") + c.line + "\r\n", "pics.txt");
        ASSERT_FALSE(table) << c.line;
        EXPECT_EQ(table.failure().text, "Line 2 of \"pics.txt\": " + c.message + ".");
    }
}
