// What the page browser says beside a picture: the words that show it, by
// the engine's reading of the picture table.

#include "editor/render/PageWords.h"

#include <gtest/gtest.h>

using namespace tsl;

TEST(PageWords, EachKindShowsItsChunks)
{
    // 20 walls (the last eight the doors, from chunk 12), sprites from 20.
    const auto table = PictureTable::Parse("0,1,wall,0\r\n0,2,wall,2\r\n0,3,wall,0\r\n0,90,door,0\r\n0,91,door,1\r\n"
                                           "0,100,door,5\r\n0,108,floor,1\r\n1,23,sprite,0\r\n1,108,actor,3,e,1\r\n",
                                           "pictures.txt");
    ASSERT_TRUE(table);
    auto symbols = SymbolTables::FromLines({{"1,Grey stone,0000000000000000000000000000000000000000000000000000000000000000,w,0"},
                                            {"23,Lamp,0000000000000000000000000000000000000000000000000000000000000000,ot,0"}},
                                           {"w,Wall,1", "ot,Other,1"});
    ASSERT_TRUE(symbols);
    const auto words = WordsByChunk(*table, 20, &*symbols);
    const auto values = [&](int chunk) {
        std::vector<int> out;
        if (const auto found = words.find(chunk); found != words.end())
            for (const PageWord& word : found->second)
                out.push_back(word.value);
        return out;
    };
    const struct {
        int chunk;
        std::vector<int> words;
    } rows[] = {
        {0, {1, 3}}, {1, {1, 3}}, {2, {2}},       {3, {2}},   {4, {}}, // light and dark sides
        {12, {90, 91}}, {13, {90, 91}}, {16, {100}}, {17, {100}}, // door pairs among the last eight walls
        {20, {23}},  {23, {108}},                                  // sprites and actors
    };
    for (const auto& row : rows)
        EXPECT_EQ(values(row.chunk), row.words) << row.chunk;
    EXPECT_EQ(WordList(words.at(0)), "1 Grey stone, 3");
    EXPECT_EQ(WordList(words.at(20)), "23 Lamp");
    EXPECT_EQ(SoundSeconds(7042 + 3521), "1.50 s");
}
