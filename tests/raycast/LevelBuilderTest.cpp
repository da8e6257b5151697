// From a map's words to the raycaster's level, by the engine's rules.

#include "RulesTestUtil.h"
#include "raycast/LevelBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tsl {
namespace {

MapList BlankMap(int width, int height)
{
    MapList map;
    map.Width = static_cast<std::uint16_t>(width);
    map.Height = static_cast<std::uint16_t>(height);
    map.Planes.assign(3, std::vector<std::uint16_t>(map.WordCount(), 0));
    return map;
}

WordPictures Pictures()
{
    WordPictures words;
    words.walls[1] = {0, 1};
    words.doors[90] = {98, 99};
    words.sprites[23] = {108, false};
    words.sprites[108] = {158, true};
    words.frame = {100, 101};
    words.ceilings = {0xFF111111u, 0xFF222222u};
    words.floor = 0xFF707070u;
    words.rules = std::make_shared<const EngineRules>(test::ShippedRules("WL6"));
    return words;
}

TEST(LevelBuilderTest, WordsBecomeWallsDoorsFloorsAndSprites)
{
    MapList map = BlankMap(8, 1);
    const std::uint16_t row[8] = {1, 63, 90, 101, 106, 107, 0, 200};
    for (int x = 0; x < 8; ++x)
        map.SetWord(0, x, 0, row[x]);
    map.SetWord(1, 6, 0, 23);
    map.SetWord(1, 7, 0, 108);
    map.SetWord(1, 5, 0, 19); // a player start: no sprite

    Level level = BuildLevel(map, 1, Pictures());
    struct Expected {
        CellKind kind;
        int light, dark;
    };
    const Expected cells[8] = {
        {CellKind::Wall, 0, 1},                  // a wall with its pictures
        {CellKind::Wall, kNoPicture, kNoPicture}, // a wall word without a picture: plain
        {CellKind::Door, 98, 99},
        {CellKind::Door, kNoPicture, kNoPicture}, // a door word without a picture: still a door
        {CellKind::Empty, kNoPicture, kNoPicture}, // the ambush marker stands on floor
        {CellKind::Empty, kNoPicture, kNoPicture}, // a floor area
        {CellKind::Empty, kNoPicture, kNoPicture},
        {CellKind::Empty, kNoPicture, kNoPicture},
    };
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(level.At(x, 0).kind, cells[x].kind) << x;
        EXPECT_EQ(level.At(x, 0).light, cells[x].light) << x;
        EXPECT_EQ(level.At(x, 0).dark, cells[x].dark) << x;
    }
    ASSERT_EQ(level.sprites.size(), 2u);
    EXPECT_EQ(level.sprites[0].x, 6.5);
    EXPECT_EQ(level.sprites[0].picture, 108);
    EXPECT_FALSE(level.sprites[0].actor);
    EXPECT_TRUE(level.sprites[1].actor);
    EXPECT_EQ(level.frameLight, 100);
    EXPECT_EQ(level.ceiling, 0xFF222222u); // the map's own ceiling colour
    EXPECT_EQ(BuildLevel(map, 5, Pictures()).ceiling, WordPictures().ceiling);

    // An edit keeps the doors that stay doors open as they were.
    level.SetDoorOpening(2, 0, 1);
    level.SetDoorOpening(3, 0, 1);
    map.SetWord(0, 3, 0, 107);
    RebuildLevel(level, map, 1, Pictures());
    EXPECT_EQ(level.DoorOpening(2, 0), 1.0);
    EXPECT_EQ(level.At(3, 0).kind, CellKind::Empty);
    map.SetWord(0, 3, 0, 91);
    RebuildLevel(level, map, 1, Pictures());
    EXPECT_EQ(level.DoorOpening(3, 0), 0.0) << "a new door is closed";

    // Without rules of play, the words with a wall or door picture.
    WordPictures pictured = Pictures();
    pictured.rules.reset();
    level = BuildLevel(map, 1, pictured);
    EXPECT_EQ(level.At(0, 0).kind, CellKind::Wall);
    EXPECT_EQ(level.At(1, 0).kind, CellKind::Empty);
    EXPECT_EQ(level.At(2, 0).kind, CellKind::Door);
    EXPECT_EQ(level.At(3, 0).kind, CellKind::Empty);
}

// An edit rebuilds the cells of its region alone, and gives the level a
// whole rebuild would give (sprites in any order); doors outside keep how far
// they were open.
TEST(LevelBuilderTest, ARegionRebuildGivesWhatAWholeRebuildGives)
{
    MapList map = BlankMap(6, 4);
    map.SetWord(0, 0, 0, 90);
    map.SetWord(1, 4, 3, 23);
    map.SetWord(1, 2, 1, 23);
    Level level = BuildLevel(map, 0, Pictures());
    level.SetDoorOpening(0, 0, 0.5);
    map.SetWord(0, 2, 1, 1);   // a wall where a sprite stood
    map.SetWord(1, 2, 1, 108); // and an actor
    map.SetWord(0, 3, 2, 90);
    RebuildRegion(level, map, 0, Pictures(), TileRect{3, 2, 2, 1});
    Level whole = BuildLevel(map, 0, Pictures());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(level.At(x, y).kind, whole.At(x, y).kind) << x << "," << y;
            EXPECT_EQ(level.At(x, y).light, whole.At(x, y).light) << x << "," << y;
        }
    auto pictures = [](const Level& l) {
        std::vector<int> found;
        for (const LevelSprite& sprite : l.sprites)
            found.push_back(sprite.picture * 100 + static_cast<int>(sprite.x) * 10 + static_cast<int>(sprite.y));
        std::sort(found.begin(), found.end());
        return found;
    };
    EXPECT_EQ(pictures(level), pictures(whole));
    EXPECT_EQ(level.DoorOpening(0, 0), 0.5);
    EXPECT_EQ(level.DoorOpening(3, 2), 0.0);
}

TEST(LevelBuilderTest, TheCameraStartsAtThePlayerStartTheRulesName)
{
    const EngineRules rules = test::ShippedRules("WL6");
    MapList map = BlankMap(10, 8);
    EXPECT_EQ(StartCamera(map, rules), (Camera{5, 4, 0})) << "no start: the middle, looking east";
    const double angles[4] = {90, 0, 270, 180}; // words 19 to 22: north, east, south, west
    for (std::uint16_t word = 19; word <= 22; ++word) {
        map.SetWord(1, 3, 6, word);
        EXPECT_EQ(StartCamera(map, rules), (Camera{3.5, 6.5, angles[word - 19]})) << word;
    }
    map.SetWord(1, 8, 7, 19);
    EXPECT_EQ(StartCamera(map, rules), (Camera{8.5, 7.5, 90})) << "the engine keeps the last start";
    EXPECT_EQ(StartCamera(map, EngineRules()), (Camera{5, 4, 0})) << "rules without a start word";
}

// Only the actors the game spawns on the skill level chosen stand in the
// level; the others keep theirs whatever the skill.
TEST(LevelBuilderTest, ASkillLevelKeepsTheActorsTheGameSpawnsOnIt)
{
    WordPictures words = Pictures();
    words.sprites[144] = {160, true}; // a guard from skill level 3
    MapList map = BlankMap(4, 1);
    map.SetWord(1, 0, 0, 108); // every level
    map.SetWord(1, 1, 0, 144);
    map.SetWord(1, 2, 0, 23);  // a static
    auto pictures = [](const Level& level) {
        std::vector<int> found;
        for (const LevelSprite& sprite : level.sprites)
            found.push_back(sprite.picture);
        std::sort(found.begin(), found.end());
        return found;
    };
    EXPECT_EQ(pictures(BuildLevel(map, 0, words)), (std::vector<int>{108, 158, 160}));
    EXPECT_EQ(pictures(BuildLevel(map, 0, words, 3)), (std::vector<int>{108, 158, 160}));
    Level level = BuildLevel(map, 0, words, 2);
    EXPECT_EQ(pictures(level), (std::vector<int>{108, 158}));
    RebuildRegion(level, map, 0, words, TileRect{0, 0, 4, 1}, 1);
    EXPECT_EQ(pictures(level), (std::vector<int>{108, 158}));
    RebuildLevel(level, map, 0, words, 4);
    EXPECT_EQ(pictures(level), (std::vector<int>{108, 158, 160}));
}

} // namespace
} // namespace tsl
