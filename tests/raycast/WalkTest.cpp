// A walk by the engine's rules on small drawn levels, timed in tics: doors,
// locks and keys, push walls, bonus items, the elevator switch, and which
// actors stand on which skill level, seen from which side.

#include "RulesTestUtil.h"
#include "raycast/Raycaster.h"
#include "raycast/Walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tsl {
namespace {

using test::DrawnMap;

WordPictures Words()
{
    WordPictures words;
    words.walls[1] = {0, 1};
    words.walls[21] = {40, 41}; // the switch, and thrown
    words.walls[22] = {42, 43};
    words.rules = std::make_shared<const EngineRules>(test::ShippedRules("WL6"));
    return words;
}

Walk WalkOf(const std::vector<std::string>& rows, int skill = 0)
{
    const MapList map = DrawnMap(rows);
    const WordPictures words = Words();
    return Walk(map, 0, words, skill, StartCamera(map, *words.rules));
}

void RunTics(Walk& walk, int tics, const WalkControl& control = {})
{
    for (int tic = 0; tic < tics; ++tic)
        walk.Tic(control);
}

constexpr WalkControl kForward{.forward = 1};
constexpr WalkControl kBack{.forward = -1};

TEST(WalkTest, ADoorSlidesOpenStaysOpenItsTimeAndSlidesShut)
{
    Walk walk = WalkOf({"#####", "#>|.#", "#####"});
    ASSERT_TRUE(walk.Use());
    struct Step {
        int tic;
        double opening;
        bool solid;
    };
    const Step steps[] = {
        {32, 0.5, true},                   // 1024 units a tic
        {64, 1.0, false},                  // open after 64
        {363, 1.0, false},                 // open for 300 tics
        {364, 65535 / 65536.0, true},      // then closing: solid at once
        {427, 1023 / 65536.0, true},
        {428, 0.0, true},
    };
    int at = 0;
    for (const Step& step : steps) {
        RunTics(walk, step.tic - at);
        at = step.tic;
        EXPECT_DOUBLE_EQ(walk.CurrentLevel().DoorOpening(2, 1), step.opening) << "tic " << step.tic;
        EXPECT_EQ(walk.CurrentLevel().Solid(2, 1), step.solid) << "tic " << step.tic;
    }
}

TEST(WalkTest, ADoorDoesNotCloseOnThePlayerOrAnActor)
{
    Walk walk = WalkOf({"#####", "#>|.#", "#####"});
    walk.Use();
    RunTics(walk, 64);
    RunTics(walk, 13, kForward); // into the door's tile
    ASSERT_EQ(static_cast<int>(walk.CurrentCamera().x), 2);
    RunTics(walk, 400);
    EXPECT_EQ(walk.CurrentLevel().DoorOpening(2, 1), 1.0);
    RunTics(walk, 13, kBack); // out of reach of it: it closes at once
    RunTics(walk, 65);
    EXPECT_EQ(walk.CurrentLevel().DoorOpening(2, 1), 0.0);

    MapList map = DrawnMap({"######", "#>.|.#", "######"});
    map.SetWord(1, 3, 1, 108); // a guard standing in the door
    Walk guarded(map, 0, Words(), 0, CameraAtTile(2, 1, 0));
    guarded.Use();
    RunTics(guarded, 64 + 300 + 64);
    EXPECT_EQ(guarded.CurrentLevel().DoorOpening(3, 1), 1.0);
}

TEST(WalkTest, ALockedDoorOpensOnlyWithItsKey)
{
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        int walkTics;
        bool given;
        bool opens;
    };
    const Case cases[] = {
        {"without the key", {"######", "#>G..#", "######"}, 0, false, false},
        {"with the key given", {"######", "#>G..#", "######"}, 0, true, true},
        {"with the key picked up on the way", {"#######", "#>gG..#", "#######"}, 30, false, true},
        {"another key does not do", {"######", "#>Q..#", "######"}, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Walk walk = WalkOf(c.rows);
        if (c.given)
            walk.GiveKey(1);
        RunTics(walk, c.walkTics, kForward);
        walk.Use();
        EXPECT_EQ(walk.MissingKey(), c.opens ? 0 : c.rows[1].find('Q') != std::string::npos ? 3 : 1);
        RunTics(walk, 64);
        const int door = static_cast<int>(c.rows[1].find_first_of("GQ"));
        EXPECT_EQ(walk.CurrentLevel().DoorOpening(door, 1), c.opens ? 1.0 : 0.0);
    }
}

TEST(WalkTest, APushWallMovesTwoTilesOrOneWhenBlocked)
{
    struct Case {
        const char* name;
        const char* row;
        int restsAt; // 0: not pushed
    };
    const Case cases[] = {
        {"two tiles", "#>P...#", 4},
        {"one tile, a barrel beyond", "#>P.B.#", 3},
        {"one tile, a dead guard beyond", "#>P.X.#", 3},
        {"not at all, a wall behind", "#>P#..#", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Walk walk = WalkOf({"#######", c.row, "#######"});
        EXPECT_EQ(walk.Use(), c.restsAt != 0);
        EXPECT_EQ(walk.Secrets(), (WalkCount{c.restsAt != 0 ? 1 : 0, 1}));
        if (c.restsAt == 0) {
            EXPECT_EQ(walk.CurrentLevel().At(2, 1).kind, CellKind::Wall);
            continue;
        }
        // A tile every 128 tics, drawn in 64ths of a tile.
        RunTics(walk, 63);
        ASSERT_TRUE(walk.CurrentLevel().pushWall);
        EXPECT_EQ(walk.CurrentLevel().pushWall->x, 2);
        EXPECT_DOUBLE_EQ(walk.CurrentLevel().pushWall->offset, 32 / 64.0);
        EXPECT_FALSE(walk.Use()); // one at a time, and this one was pushed
        RunTics(walk, 255 - 63);
        EXPECT_FALSE(walk.CurrentLevel().pushWall);
        for (int x = 2; x <= 4; ++x)
            EXPECT_EQ(walk.CurrentLevel().At(x, 1).kind, x == c.restsAt ? CellKind::Wall : CellKind::Empty) << x;
        EXPECT_EQ(walk.Marks(), (std::vector<WalkMark>{{2, 1, WalkMarkKind::WallPushed},
                                                       {c.restsAt, 1, WalkMarkKind::WallMoved}}));
    }
}

TEST(WalkTest, BonusItemsAreTakenByWalkingOverThemAsTheEngineCountsThem)
{
    struct Case {
        const char* name;
        const char* row;
        WalkCount treasure;
        int ammo;
        int taken;
    };
    const Case cases[] = {
        {"treasure and a weapon", "#>TTw...#", {2, 2}, 8 + 6, 3},
        {"health stays at full health", "#>f.T...#", {1, 1}, 8, 1},
        {"ammunition until 99 rounds", "#>ccccccccccccc...#", {0, 0}, 99, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Walk walk = WalkOf({std::string(std::string(c.row).size(), '#'), c.row, std::string(std::string(c.row).size(), '#')});
        RunTics(walk, 300, kForward);
        EXPECT_EQ(walk.Treasure(), c.treasure);
        EXPECT_EQ(walk.Ammo(), c.ammo);
        EXPECT_EQ(std::count_if(walk.Marks().begin(), walk.Marks().end(),
                                [](const WalkMark& m) { return m.kind == WalkMarkKind::ItemTaken; }),
                  c.taken);
    }
}

TEST(WalkTest, TheElevatorSwitchEndsTheWalkUsedFromEastOrWest)
{
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        Camera camera;
        WalkEnd end;
    };
    const Case cases[] = {
        {"the exit", {"####", "#.E#", "####"}, CameraAtTile(1, 1, 0), WalkEnd::Exit},
        {"the secret exit", {"####", "#sE#", "####"}, CameraAtTile(1, 1, 0), WalkEnd::SecretExit},
        {"not from the south", {"###", "#E#", "#.#", "###"}, CameraAtTile(1, 2, 90), WalkEnd::Playing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MapList map = DrawnMap(c.rows);
        Walk walk(map, 0, Words(), 0, c.camera);
        walk.Use();
        EXPECT_EQ(walk.End(), c.end);
        if (c.end == WalkEnd::Playing)
            continue;
        EXPECT_EQ(walk.CurrentLevel().At(2, 1).light, 42); // thrown
        EXPECT_FALSE(walk.Tic(kForward));
    }
}

TEST(WalkTest, OnlyTheActorsOfTheSkillLevelStandThere)
{
    // A guard of every level on the ambush floor, one of level 3 on it too,
    // one of level 4, and a standing dog, which the engine never places.
    MapList map = DrawnMap({"#######", "#a...4#", "#######"});
    map.SetWord(0, 2, 1, 106);
    map.SetWord(1, 2, 1, 144);
    map.SetWord(1, 3, 1, 134);
    WordPictures words = Words();
    for (std::uint16_t word : {108, 144, 180, 134})
        words.sprites[word] = {200, true, Facing::East, 1};
    const std::pair<int, std::vector<int>> cases[] = {
        {1, {1}}, {2, {1}}, {3, {1, 2}}, {4, {1, 2, 5}}, {0, {1, 2, 5}},
    };
    for (const auto& [skill, columns] : cases) {
        SCOPED_TRACE(skill);
        std::vector<int> standing;
        for (const LevelSprite& sprite : BuildLevel(map, 0, words, skill).sprites)
            standing.push_back(static_cast<int>(sprite.x));
        EXPECT_EQ(standing, columns);
    }
}

TEST(WalkTest, ABarrelStopsTheWalkerButAnActorDoesNot)
{
    Walk walk = WalkOf({"#######", "#>1.B.#", "#######"});
    RunTics(walk, 60, kForward);
    EXPECT_NEAR(walk.CurrentCamera().x, 4 - kMinDistance, 1e-5);
}

TEST(WalkTest, AGuardShowsThePictureOfTheSideItIsSeenFrom)
{
    // Eight pictures of one colour each; the guard at (4, 4) faces east.
    constexpr int kFirst = 10;
    PagePictures pictures;
    for (int frame = 0; frame < 8; ++frame)
        pictures.Set(kFirst + frame, std::vector<std::uint32_t>(kPagePixels, 0xFF000010u + static_cast<std::uint32_t>(frame)));
    std::vector<std::string> rows(9, "#.......#");
    rows.front() = rows.back() = "#########";
    MapList map = DrawnMap(rows);
    map.SetWord(1, 4, 4, 108);
    WordPictures words = Words();
    words.sprites[108] = {kFirst, true, Facing::East, 1};
    const Level level = BuildLevel(map, 0, words);
    // CalcRotate: (view angle - 180 - facing + 22) / 45 in whole degrees,
    // the view looking at the guard from `side` degrees round from its face.
    const std::pair<int, int> cases[] = {
        {0, 0}, {45, 1}, {90, 2}, {135, 3}, {180, 4}, {225, 5}, {270, 6}, {315, 7},
        {20, 0}, {25, 1}, // the sides meet 22 degrees either way of each
    };
    Raycaster raycaster;
    Image frame(320, 200);
    for (const auto& [side, expected] : cases) {
        SCOPED_TRACE(side);
        const double radians = side * 3.14159265358979 / 180;
        const Camera camera{4.5 + 2 * std::cos(radians), 4.5 - 2 * std::sin(radians), side + 180.0};
        raycaster.Render(level, pictures, camera, frame);
        EXPECT_EQ(frame.Pixel(159, 100), 0xFF000010u + static_cast<std::uint32_t>(expected));
    }
}

TEST(WalkTest, TheRatioLineAndTheEndAreTheGamesOwn)
{
    Walk walk = WalkOf({"#######", "#>gTsE#", "#P....#", "#######"});
    walk.GiveKey(2);
    RunTics(walk, 140, kForward); // onto the secret elevator's floor in 2 seconds
    EXPECT_EQ(WalkStatusLine(walk), "Keys: gold key, silver key   Ammo 8   Treasure 1 of 1   Secrets 0 of 1");
    EXPECT_TRUE(WalkEndLines(walk).empty());
    walk.Use();
    EXPECT_EQ(WalkEndLines(walk), (std::vector<std::string>{"Level completed by the secret elevator", "Time 0:02",
                                                            "Secret ratio 0% (0 of 1)",
                                                            "Treasure ratio 100% (1 of 1)"}));
}

} // namespace
} // namespace tsl
