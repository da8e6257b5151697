// Comparing a mod with its game: every way two sets of maps differ, the
// tiles that differ, and the page chunks that differ.

#include "GraphicsTestUtil.h"
#include "TestUtil.h"
#include "engine/LevelAnalysis.h"
#include "graphics/PageFile.h"
#include "mod/SetDifference.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tsl;
using namespace tsl::test;

namespace {

MapHandler ThreeMaps()
{
    MapHandler set = EmptySet("/nowhere");
    for (const char* name : {"A", "B", "C"})
        AddBlankMap(set, 8, 8, name);
    return set;
}

TEST(SetDifference, TellsEachWayTwoSetsOfMapsDiffer)
{
    using enum MapChange;
    struct Row {
        const char* what;
        std::function<void(MapHandler&)> change;
        std::vector<MapDifference> expected;
    };
    const Row rows[] = {
        {"nothing", [](MapHandler&) {}, {}},
        {"tiles",
         [](MapHandler& s) {
             s.Maps[1].SetWord(0, 3, 4, 7);
             s.Maps[1].SetWord(1, 0, 0, 19);
             s.Maps[1].SetWord(1, 7, 7, 20);
         },
         {{2, {Changed}, {{0, 1}, {1, 2}}}}},
        {"a name", [](MapHandler& s) { s.Maps[2].Name = MakeNameBuffer("Z", 16); }, {{3, {Renamed}, {}}}},
        {"a size",
         [](MapHandler& s) {
             MapList& map = s.Maps[0];
             map.Height = 10;
             for (auto& plane : map.Planes)
                 plane.resize(map.WordCount(), 0); // the two new rows: every word of them only ours has
         },
         {{1, {Changed, Resized}, {{0, 16}, {1, 16}, {2, 16}}}}},
        {"a map more", [](MapHandler& s) { AddBlankMap(s, 8, 8, "D"); }, {{4, {Added}, {}}}},
        {"a map fewer", [](MapHandler& s) { s.DeleteMap(2); }, {{3, {Removed}, {}}}},
        {"a plane fewer", [](MapHandler& s) { s.Maps[0].Planes.pop_back(); }, {{1, {Changed}, {{2, 64}}}}},
    };
    const MapHandler theirs = ThreeMaps();
    for (const Row& row : rows) {
        MapHandler ours = ThreeMaps();
        row.change(ours);
        EXPECT_EQ(CompareMaps(ours, theirs), row.expected) << row.what;
    }
}

TEST(SetDifference, ListsTheTilesThatDifferRowByRow)
{
    MapHandler ours = ThreeMaps();
    const MapHandler theirs = ThreeMaps();
    ours.Maps[0].SetWord(2, 5, 1, 9);
    ours.Maps[0].SetWord(0, 2, 6, 9);
    ours.Maps[0].SetWord(1, 2, 6, 9); // two planes of one tile: the tile once
    ours.Maps[0].SetWord(0, 0, 1, 9);
    EXPECT_EQ(ChangedTiles(ours.Maps[0], theirs.Maps[0]), (std::vector<MapTile>{{0, 1}, {5, 1}, {2, 6}}));
    EXPECT_TRUE(ChangedTiles(ours.Maps[1], theirs.Maps[1]).empty());
}

TEST(SetDifference, TellsThePageChunksThatDiffer)
{
    const Bytes sound = {1, 2, 3, 4};
    const Bytes table = {0, 0, 4, 0}; // one sound: chunk 0 of the sounds, 4 bytes
    const auto file = [&](const std::vector<Bytes>& chunks, int firstSprite, int firstSound) {
        auto pages = PageFile::Parse(TestPageFile(chunks, firstSprite, firstSound), "VSWAP.WL1");
        EXPECT_TRUE(pages) << pages.failure().text;
        return *pages;
    };
    const PageFile theirs = file({TestWall(1), TestWall(2), TestSprite(30, 31, {}), sound, table}, 2, 3);
    const PageFile same = file({TestWall(1), TestWall(2), TestSprite(30, 31, {}), sound, table}, 2, 3);
    const PageFile ours = file({TestWall(1), TestWall(5), TestSprite(30, 32, {}), Bytes{4, 3, 2, 1}, table}, 2, 3);
    const PageFile longer = file({TestWall(1), TestWall(2), TestWall(3), TestSprite(30, 31, {}), sound, table}, 3, 4);
    EXPECT_TRUE(ComparePages(&same, &theirs).empty());
    EXPECT_EQ(ComparePages(&ours, &theirs), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ComparePages(&longer, &theirs), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(ComparePages(nullptr, &theirs), (std::vector<int>{0, 1, 2, 3, 4}));
}

} // namespace
