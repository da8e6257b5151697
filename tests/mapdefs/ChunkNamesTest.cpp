// The structure's chunk names: what a layout of chunks.txt must be, and how
// a line that is wrong is told.

#include "mapdefs/ChunkNames.h"

#include <gtest/gtest.h>

namespace tsl {
namespace {

TEST(ChunkNames, ALayoutListsEveryChunkOnceInOrder)
{
    const auto names = ChunkNames::Parse("# notes\r\n\r\ngraphics,2,0,table,\r\ngraphics,2,1,picture,TITLEPIC\r\n"
                                         "audio,1,0,music,CORNER_MUS\r\n",
                                         "chunks.txt");
    ASSERT_TRUE(names) << names.failure().text;
    ASSERT_NE(names->Layout("graphics", 2), nullptr);
    EXPECT_EQ(names->Layout("graphics", 2)->chunks[1], (NamedChunk{1, "picture", "TITLEPIC"}));
    EXPECT_EQ(names->Layout("audio", 1)->chunks[0].name, "CORNER_MUS");
    EXPECT_EQ(names->Layout("graphics", 3), nullptr);
}

TEST(ChunkNames, ALineThatIsWrongIsToldWithItsNumber)
{
    const struct {
        const char* text;
        std::string said;
    } cases[] = {
        {"graphics,2,0,table\n", "Line 1 of \"chunks.txt\": a line takes file,count,chunk,kind,name."},
        {"#\nsounds,1,0,music,\n", "Line 2 of \"chunks.txt\": the file is graphics or audio, not \"sounds\"."},
        {"audio,0,0,music,\n", "Line 1 of \"chunks.txt\": the count is a number from 1 to 65535."},
        {"audio,2,2,music,\n", "Line 1 of \"chunks.txt\": the chunk is a number from 0 to 1."},
        {"audio,1,0,picture,\n", "Line 1 of \"chunks.txt\": \"picture\" is no kind of audio chunk."},
        {"audio,2,1,music,\n",
         "Line 1 of \"chunks.txt\": chunk 1 of the audio layout of 2 chunks should be 0: a layout lists its chunks in "
         "order."},
        {"audio,2,0,music,\n", "\"chunks.txt\": the audio layout of 2 chunks lists only 1."},
    };
    for (const auto& c : cases) {
        const auto names = ChunkNames::Parse(c.text, "chunks.txt");
        ASSERT_FALSE(names) << c.text;
        EXPECT_EQ(names.failure().text, c.said);
    }
}

} // namespace
} // namespace tsl
