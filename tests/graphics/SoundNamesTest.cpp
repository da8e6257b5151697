// The names of the digitised sounds ("sounds.txt").

#include "graphics/SoundNames.h"

#include <gtest/gtest.h>

using namespace tsl;

TEST(SoundNames, ReadsANameForEachNumber)
{
    auto names = SoundNames::Parse("# number,name\r\n0,Halt\r\n 13 , Death scream 2, and 3 \r\n\r\n45,Rose\r\n",
                                   "sounds.txt");
    ASSERT_TRUE(names) << names.failure().text;
    EXPECT_EQ(names->Count(), 3);
    EXPECT_EQ(names->Name(0), "Halt");
    EXPECT_EQ(names->Name(13), "Death scream 2, and 3") << "the name is the rest of the line";
    EXPECT_EQ(names->Name(1), "");
    EXPECT_EQ(names->Name(-1), "");
}

TEST(SoundNames, NamesTheLineOfABadEntry)
{
    const struct {
        const char* line;
        const char* message;
    } cases[] = {
        {"1", "a sound is number,name"},
        {"1,", "a sound is number,name"},
        {"x,Halt", "the sound is a number from 0 to 16382"},
        {"16383,Halt", "the sound is a number from 0 to 16382"},
        {"0,Again", "sound 0 has a name already, on line 1"},
    };
    for (const auto& c : cases) {
        auto names = SoundNames::Parse(std::string("0,Halt\r\n") + c.line + "\r\n", "s.txt");
        ASSERT_FALSE(names) << c.line;
        EXPECT_EQ(names.failure().text, std::string("Line 2 of \"s.txt\": ") + c.message + ".");
    }
}
