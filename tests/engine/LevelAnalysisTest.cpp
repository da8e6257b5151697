// The analysis of play on small drawn levels, one rule each, by the shipped
// rules of Wolfenstein 3-D.

#include "RulesTestUtil.h"
#include "engine/LevelAnalysis.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

using Rows = std::vector<std::string>;
using Tiles = std::vector<MapTile>;

std::vector<ExitKind> Kinds(const LevelAnalysis& analysis)
{
    std::vector<ExitKind> kinds;
    for (const LevelExit& exit : analysis.exits)
        kinds.push_back(exit.kind);
    return kinds;
}

} // namespace

TEST(LevelAnalysis, ExitsReachedByTheEnginesRules)
{
    const EngineRules rules = ShippedRules("WL6");
    using enum ExitKind;
    struct Case {
        const char* name;
        Rows rows;
        std::vector<ExitKind> exits;
    };
    const Case cases[] = {
        {"a switch used from the west", {"#####", "#>.E#", "#####"}, {Elevator}},
        {"a walled-off elevator", {"######", "#>.#E#", "######"}, {}},
        {"a switch touched only from the north", {"#####", "#>..#", "##E##", "#####"}, {}},
        {"the secret elevator's floor", {"######", "#>.sE#", "######"}, {SecretElevator}},
        {"an ambush guard stands on floor", {"#######", "#>.a.E#", "#######"}, {Elevator}},
        {"the victory tile", {"#####", "#>.V#", "#####"}, {Victory}},
        {"a boss whose death ends the level", {"#####", "#>.O#", "#####"}, {Boss}},
        {"an exit only through a push wall", {"#######", "#>.P..#", "####V##", "#######"}, {Victory}},
        {"a push wall moves two tiles, over the exit", {"#######", "#>.P.V#", "#######"}, {}},
        {"a push wall with a wall behind it", {"#######", "#>.P###", "###V###", "#######"}, {}},
        {"a push wall with a blocking object behind it", {"#######", "#>.PB.#", "###V###", "#######"}, {}},
        {"a push wall with a dead guard behind it", {"#######", "#>.PX.#", "###V###", "#######"}, {}},
        {"a push wall moves one tile when a wall stands after it", {"######", "#>.P.#", "###V##", "######"},
         {Victory}},
        {"a key behind its own door", {"########", "#>.G.gV#", "########"}, {}},
        {"a key outside its door", {"########", "#>g.G.V#", "########"}, {Victory}},
        {"a boss that drops the key to the only way out", {"#########", "#>.H.G.V#", "#########"}, {Victory}},
        {"a lock whose key the game does not have", {"#######", "#>.Q.V#", "#######"}, {}},
        {"no player start", {"#####", "#..V#", "#####"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LevelAnalysis analysis = AnalyseLevel(DrawnMap(c.rows), rules, 1);
        EXPECT_EQ(Kinds(analysis), c.exits);
        EXPECT_EQ(analysis.Finishable(), !c.exits.empty());
    }
}

TEST(LevelAnalysis, SaysWhyAWayIsShut)
{
    const EngineRules rules = ShippedRules("WL6");
    struct Case {
        const char* name;
        Rows rows;
        Tiles LevelAnalysis::*list;
        Tiles expected;
    };
    const Case cases[] = {
        {"a key behind its own door", {"########", "#>.G.gV#", "########"}, &LevelAnalysis::missingKeyDoors,
         {{3, 1}}},
        {"a key outside its door", {"########", "#>g.G.V#", "########"}, &LevelAnalysis::missingKeyDoors, {}},
        {"a lock whose key the game does not have", {"#######", "#>.Q.V#", "#######"},
         &LevelAnalysis::doorsNeverOpen, {{3, 1}}},
        {"a switch touched only from the north", {"#####", "#>..#", "##E##", "#####"},
         &LevelAnalysis::unusableElevators, {{2, 2}}},
        {"a switch touched from the west too", {"#####", "#>..#", "#.E.#", "#####"},
         &LevelAnalysis::unusableElevators, {}},
        {"id's elevator: switch walls north and south of the cell, the one east used",
         {"#######", "####E##", "#>...E#", "####E##", "#######"}, &LevelAnalysis::unusableElevators, {}},
        {"the elevator the player starts in needs no switch", {"######", "##E###", "##>.V#", "##E###", "######"},
         &LevelAnalysis::unusableElevators, {}},
        {"two elevators, one used from the east, one only from the north: its first switch",
         {"#########", "#>.....E#", "#.#######", "#.#######", "#E#######", "#########"},
         &LevelAnalysis::unusableElevators, {{1, 4}}},
        {"a wall between the player and an enemy", {"######", "#>.#1#", "######"},
         &LevelAnalysis::unreachableEnemies, {{4, 1}}},
        {"barrels between the player and an enemy: it can be shot", {"#######", "#>.BB1#", "#######"},
         &LevelAnalysis::unreachableEnemies, {}},
        {"an enemy seen over a barrel, from a corner", {"#######", "#>..###", "###B###", "###1###", "#######"},
         &LevelAnalysis::unreachableEnemies, {}},
        {"a door that never opens between them", {"######", "#>.Q1#", "######"},
         &LevelAnalysis::unreachableEnemies, {{4, 1}}},
        {"floor on the map's border", {"####", "#>..", "####"}, &LevelAnalysis::openEdges, {{3, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AnalyseLevel(DrawnMap(c.rows), rules, 1).*c.list, c.expected);
    }
}

TEST(LevelAnalysis, CountsWhatTheGameCountsOnEachSkillLevel)
{
    // Guards of every level, on the ambush floor, from level 3 and on level
    // 4 only; a boss; a dead guard that counts nothing; two treasures and a
    // push wall (one secret, wherever it stands).
    const MapList map = DrawnMap({"############", "#>1a34HXTTP#", "############"});
    const EngineRules rules = ShippedRules("WL6");
    const int kills[] = {3, 3, 4, 5};
    for (int skill = 1; skill <= 4; ++skill) {
        SCOPED_TRACE(skill);
        const LevelAnalysis analysis = AnalyseLevel(map, rules, skill);
        EXPECT_EQ(analysis.kills, kills[skill - 1]);
        EXPECT_EQ(analysis.treasure, 2);
        EXPECT_EQ(analysis.secrets, 1);
    }
}

TEST(LevelAnalysis, ListsWhatStaysOutOfReachOnEachSkillLevel)
{
    const MapList map = DrawnMap({"###########", "#>.E#T3gw4#", "###########"});
    const EngineRules rules = ShippedRules("WL6");
    const Tiles enemies[] = {{}, {}, {{6, 1}}, {{6, 1}, {9, 1}}};
    for (int skill = 1; skill <= 4; ++skill) {
        SCOPED_TRACE(skill);
        const LevelAnalysis analysis = AnalyseLevel(map, rules, skill);
        EXPECT_EQ(analysis.unreachableTreasure, Tiles({{5, 1}}));
        EXPECT_EQ(analysis.unreachableKeys, Tiles({{7, 1}}));
        EXPECT_EQ(analysis.unreachableWeapons, Tiles({{8, 1}}));
        EXPECT_EQ(analysis.unreachableEnemies, enemies[skill - 1]);
        EXPECT_TRUE(analysis.Finishable());
    }
}

TEST(LevelAnalysis, WalksTheShortestWayToTheNearestExitWithTheKeyFirst)
{
    const EngineRules rules = ShippedRules("WL6");
    struct Case {
        const char* name;
        Rows rows;
        Tiles route;
    };
    const Case cases[] = {
        {"to the nearer of two exits", {"########", "#V..>.E#", "########"}, {{4, 1}, {5, 1}}},
        {"to the key and back through its door",
         {"#######", "#>.G.V#", "#.#####", "#g#####", "#######"},
         {{1, 1}, {1, 2}, {1, 3}, {1, 2}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}},
        {"no exit, no walk", {"######", "#>.#E#", "######"}, {}},
        {"to the normal exit past a nearer secret one", {"#########", "#Es>...E#", "#########"},
         {{3, 1}, {4, 1}, {5, 1}, {6, 1}}},
        {"to the secret exit when the level has no other", {"######", "#Es>.#", "######"}, {{3, 1}, {2, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AnalyseLevel(DrawnMap(c.rows), rules, 1).route, c.route);
    }
    // The way to the secret elevator is walked too, when the route goes elsewhere.
    EXPECT_EQ(AnalyseLevel(DrawnMap(cases[3].rows), rules, 1).secretRoute, (Tiles{{3, 1}, {2, 1}}));
    EXPECT_TRUE(AnalyseLevel(DrawnMap(cases[4].rows), rules, 1).secretRoute.empty());
    EXPECT_TRUE(AnalyseLevel(DrawnMap(cases[0].rows), rules, 1).secretRoute.empty());
}

TEST(LevelAnalysis, SaysWhenSeveralPushWallsWereTakenTogether)
{
    const EngineRules rules = ShippedRules("WL6");
    const LevelAnalysis one = AnalyseLevel(DrawnMap({"#######", "#>.P..#", "####V##", "#######"}), rules, 1);
    EXPECT_EQ(one.pushWallsMoved, 1);
    EXPECT_EQ(PushWallNote(one), "");
    const LevelAnalysis two =
        AnalyseLevel(DrawnMap({"#######", "#>....#", "#P#P###", "#.#.V##", "#.#.###", "#######"}), rules, 1);
    EXPECT_TRUE(two.Finishable());
    EXPECT_EQ(two.pushWallsMoved, 2);
    EXPECT_EQ(PushWallNote(two), "2 push walls were taken together: each is pushed from the side first reached, as "
                                 "soon as it can be, whatever order the game would need.");
}

TEST(LevelAnalysis, PushWallWaysAreWhereTheEngineCouldPushIt)
{
    const EngineRules rules = ShippedRules("WL6");
    constexpr unsigned N = 1, E = 2, S = 4, W = 8;
    struct Case {
        const char* name;
        Rows rows; // the push wall in the middle of the middle row
        unsigned ways;
    };
    const Case cases[] = {
        {"free on every side", {"...", ".P.", "..."}, N | E | S | W},
        {"in a wall line between two rooms", {"...", "#P#", "..."}, N | S},
        {"nowhere to stand behind it", {"###", ".P.", "###"}, E | W},
        {"a door ahead stops it", {".|.", ".P.", "..."}, S | E | W},
        {"a blocking static ahead, a dead guard behind", {".B.", ".P.", ".X."}, E | W},
        {"a loose static ahead and behind", {".T.", "#P#", ".T."}, N | S},
        {"walled in", {"###", "#P#", "###"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PushWallWays(DrawnMap(c.rows), rules, 1, 1), c.ways);
    }
    EXPECT_EQ(PushWallWays(DrawnMap({"P.."}), rules, 0, 0), 0u) << "at the map's edge nothing is behind it";
}
