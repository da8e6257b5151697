// The bundled sample game: the committed files are exactly what the
// generator writes, and they hold a set like a real game's.

#include "SampleGame.h"
#include "TestUtil.h"
#include "core/FileSystem.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

TEST(SampleGame, TheCommittedFilesAreWhatTheGeneratorWrites)
{
    TempDir dir;
    ASSERT_FALSE(sample::WriteSampleGame(dir.path()));
    EXPECT_EQ(ListDirectory(dir.path()), (std::vector<std::string>{"GAMEMAPS.WL6", "MAPHEAD.WL6"}));
    EXPECT_EQ(ReadFile(dir / "MAPHEAD.WL6"), ReadFile(SampleGameDir() / "MAPHEAD.WL6"))
        << "run make_sample_game data/sample after changing the generator";
    EXPECT_EQ(ReadFile(dir / "GAMEMAPS.WL6"), ReadFile(SampleGameDir() / "GAMEMAPS.WL6"));
}

TEST(SampleGame, HoldsWolfensteinStyleLevelsAndOneOfAnotherSize)
{
    const MapHandler set = LoadSet(SampleGameDir());
    ASSERT_GE(set.NumMaps(), 5);
    int square = 0, other = 0;
    for (const MapList& map : set.Maps) {
        (map.Width == 64 && map.Height == 64 ? square : other)++;
        const auto& walls = map.Planes[0];
        const auto& objects = map.Planes[1];
        auto has = [](const std::vector<std::uint16_t>& plane, std::uint16_t lo, std::uint16_t hi) {
            return std::any_of(plane.begin(), plane.end(), [&](std::uint16_t w) { return w >= lo && w <= hi; });
        };
        const std::string name = MapNameText(map.Name);
        EXPECT_TRUE(has(walls, 1, 63)) << name << ": walls";
        EXPECT_TRUE(has(walls, 90, 101)) << name << ": doors";
        EXPECT_TRUE(has(walls, 108, 143)) << name << ": floor areas";
        EXPECT_TRUE(has(objects, 19, 22)) << name << ": a player start";
        EXPECT_TRUE(has(objects, 23, 74)) << name << ": static objects";
        EXPECT_TRUE(has(objects, 108, 227)) << name << ": guards";
        // The outer ring is closed.
        for (int x = 0; x < map.Width; ++x)
            EXPECT_TRUE(map.Word(0, x, 0) < 90 && map.Word(0, x, map.Height - 1) < 90) << name;
    }
    EXPECT_GE(square, 4);
    EXPECT_GE(other, 1);
}
