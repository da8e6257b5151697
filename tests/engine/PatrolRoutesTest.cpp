// The patrols' walks on small drawn levels, one rule of the engine's each.

#include "RulesTestUtil.h"
#include "engine/PatrolRoutes.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

TEST(PatrolRoutes, WalkAsTheEngineWalksThem)
{
    const EngineRules rules = ShippedRules("WL6");
    using Tiles = std::vector<MapTile>;
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        Tiles path;
        bool loops;
        int loopsTo;
        bool blockedAtOnce;
    };
    const Case cases[] = {
        {"straight on until a wall", {"######", "#R...#", "######"}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}, false, 0, false},
        {"into a wall at once, without looking", {"####", "#.R#", "####"}, {{2, 1}, {3, 1}}, false, 0, true},
        {"the map's edge at once", {"#.R"}, {{2, 0}}, false, 0, true},
        {"a blocking static stops it", {"######", "#R.B.#", "######"}, {{1, 1}, {2, 1}}, false, 0, false},
        {"a guard opens a door", {"#####", "#R|.#", "#####"}, {{1, 1}, {2, 1}, {3, 1}}, false, 0, false},
        {"a dog opens none", {"######", "#D.|.#", "######"}, {{1, 1}, {2, 1}}, false, 0, false},
        {"a turning point turns it", {"#####", "#RW.#", "#####"}, {{1, 1}, {2, 1}, {1, 1}}, false, 0, false},
        {"turned round a square for ever",
         {"######", "#FR.S#", "#....#", "#N..W#", "######"},
         {{2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}, {3, 3}, {2, 3}, {1, 3}, {1, 2}, {1, 1}, {2, 1}, {3, 1}},
         true, 1, false},
        {"a diagonal step needs both tiles beside it", {"######", "#....#", "#.#ML#", "######"},
         {{4, 2}, {3, 2}}, false, 0, false},
        {"a diagonal step between free tiles", {"######", "#....#", "#..ML#", "######"},
         {{4, 2}, {3, 2}, {2, 1}}, false, 0, false},
        {"back and forth between two turning points", {"######", "#FR.W#", "######"},
         {{2, 1}, {3, 1}, {4, 1}, {3, 1}, {2, 1}, {1, 1}, {2, 1}, {3, 1}}, true, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<PatrolRoute> routes = TracePatrols(DrawnMap(c.rows), rules);
        ASSERT_EQ(routes.size(), 1u);
        EXPECT_EQ(routes[0].path, c.path);
        EXPECT_EQ(routes[0].loops, c.loops);
        EXPECT_EQ(routes[0].blocked, !c.loops);
        if (c.loops) {
            EXPECT_EQ(routes[0].loopsTo, c.loopsTo);
        }
        EXPECT_EQ(routes[0].blockedAtOnce, c.blockedAtOnce);
    }
}

TEST(PatrolRoutes, OnlyThePatrolsPlacedOnTheSkillLevel)
{
    const EngineRules rules = ShippedRules("WL6");
    MapList map = DrawnMap({"#######", "#R.1..#", "#R....#", "#######"});
    map.SetWord(1, 1, 2, 148); // a guard patrolling east, from skill level 3
    EXPECT_EQ(TracePatrols(map, rules, 2).size(), 1u);
    EXPECT_EQ(TracePatrols(map, rules, 3).size(), 2u);
    EXPECT_EQ(TracePatrols(map, rules).size(), 2u);
}
