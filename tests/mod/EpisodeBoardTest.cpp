// The episode board: floors grouped by the flow, exits with where they lead,
// every warning of a broken flow once, walk times worked out by hand from
// the engine's pace, and the real shareware episode.

#include "RulesTestUtil.h"
#include "TestUtil.h"
#include "mod/EpisodeBoard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

using namespace tsl;
using namespace tsl::test;

namespace {

constexpr std::array<int, 4> kAllSkills = {1, 2, 3, 4};

LevelFlow Flow(const std::string& text)
{
    auto flow = LevelFlow::Parse("walk,speed=10500,tics=70,door=64,pushwall=128\n" + text, "levels.txt");
    EXPECT_TRUE(flow) << flow.failure().text;
    return flow ? *flow : LevelFlow();
}

// Floors of one row: the start, and left of it an elevator, right of it a
// secret elevator (as asked).
const std::vector<std::string> kBoth = {"########", "#E.>.sE#", "########"};
const std::vector<std::string> kElevator = {"######", "#E.>.#", "######"};
const std::vector<std::string> kSecretOnly = {"######", "#.>sE#", "######"};
const std::vector<std::string> kVictory = {"######", "#.>.V#", "######"};
const std::vector<std::string> kClosed = {"#####", "#.>.#", "#####"};

TEST(EpisodeBoard, GroupsTheFloorsAndLeadsEachExitWhereTheFlowSays)
{
    const MapHandler set = DrawnSet("/nowhere", {kBoth, kVictory, kElevator, kElevator, kElevator});
    const LevelFlow flow = Flow("map,1,episode=1,par=60,elevator=2,secret_elevator=3\n"
                                "map,2,episode=1,elevator=3,secret_elevator=3,boss\n"
                                "map,3,episode=1,elevator=2,secret\n"
                                "map,4,episode=2,par=30,elevator=end\n");
    const EpisodeBoard board = BuildEpisodeBoard(set, ShippedRules("WL1"), &flow, kAllSkills);
    EXPECT_FALSE(board.Broken());
    EXPECT_TRUE(board.flowNote.empty());
    ASSERT_EQ(board.episodes.size(), 3u); // two episodes, then the map the flow does not place
    EXPECT_EQ(board.episodes[0].number, 1);
    EXPECT_EQ(board.episodes[1].number, 2);
    EXPECT_EQ(board.episodes[2].number, 0);
    ASSERT_EQ(board.episodes[0].floors.size(), 3u);

    const BoardFloor& first = board.episodes[0].floors[0];
    EXPECT_EQ(first.name, "Floor 1");
    EXPECT_EQ(first.exits, (std::vector<BoardExit>{{ExitKind::Elevator, 2}, {ExitKind::SecretElevator, 3}}));
    EXPECT_EQ(first.parSeconds, 60);
    EXPECT_EQ(first.skills.size(), 4u);
    EXPECT_EQ(board.episodes[0].floors[1].exits, (std::vector<BoardExit>{{ExitKind::Victory, kFlowEnd}}));
    EXPECT_TRUE(board.episodes[0].floors[1].boss);
    EXPECT_TRUE(board.episodes[0].floors[2].secret);
    EXPECT_EQ(board.episodes[1].floors[0].exits, (std::vector<BoardExit>{{ExitKind::Elevator, kFlowEnd}}));
    EXPECT_EQ(board.episodes[2].floors[0].exits, (std::vector<BoardExit>{{ExitKind::Elevator, std::nullopt}}));

    // Without a flow: one group, no destinations, and why.
    const EpisodeBoard bare = BuildEpisodeBoard(set, ShippedRules("WL1"), nullptr, kAllSkills, NoFlowNote("none."));
    ASSERT_EQ(bare.episodes.size(), 1u);
    EXPECT_EQ(bare.episodes[0].floors.size(), 5u);
    EXPECT_EQ(bare.flowNote, "The exits are shown without where they lead: none.");
    EXPECT_EQ(bare.episodes[0].floors[0].exits,
              (std::vector<BoardExit>{{ExitKind::Elevator, std::nullopt}, {ExitKind::SecretElevator, std::nullopt}}));
    EXPECT_FALSE(bare.episodes[0].floors[0].walkSeconds);
}

TEST(EpisodeBoard, WarnsOnceWhereverTheFlowBreaks)
{
    const MapHandler set = DrawnSet("/nowhere", {kSecretOnly, kBoth, kElevator, kElevator, kClosed, kElevator});
    const LevelFlow flow = Flow("map,1,episode=1,elevator=2,secret_elevator=5\n"
                                "map,2,episode=1,elevator=3,secret_elevator=2\n"
                                "map,3,episode=1,elevator=9,boss\n"
                                "map,4,episode=1,elevator=1,secret\n"
                                "map,5,episode=1,elevator=6\n"
                                "map,6,episode=1,elevator=7\n");
    const EpisodeBoard board = BuildEpisodeBoard(set, ShippedRules("WL1"), &flow, kAllSkills);
    ASSERT_EQ(board.episodes.size(), 1u);
    EXPECT_TRUE(board.Broken());
    const std::vector<BoardWarning> expected = {
        {BoardWarningKind::OnlySecretExit, 1, "Map 1 (Floor 1): its only exit is a secret elevator."},
        {BoardWarningKind::LeadsToItself, 2, "Map 2 (Floor 2): its secret elevator starts this floor again."},
        {BoardWarningKind::BossFloorElevator, 3,
         "Map 3 (Floor 3): the boss floor has an elevator, which leads to map 9, a map the set does not have."},
        {BoardWarningKind::SecretFloorUnreached, 4, "Map 4 (Floor 4): no secret elevator leads to this secret floor."},
        {BoardWarningKind::Unfinishable, 5, "Map 5 (Floor 5): cannot be finished on any skill level."},
        {BoardWarningKind::LeadsOutside, 6, "Map 6 (Floor 6): its elevator leads to map 7, which the set does not have."},
    };
    EXPECT_EQ(board.episodes[0].warnings, expected);

    const std::array<int, 1> one = {3};
    const EpisodeBoard single = BuildEpisodeBoard(set, ShippedRules("WL1"), &flow, one);
    EXPECT_EQ(single.episodes[0].warnings[4].text, "Map 5 (Floor 5): cannot be finished on skill 3.");
}

// Five steps of a tile at 10500/65536 of a tile a tic are ceil(327680 / 10500)
// = 32 tics and the door adds the 64 tics DoorOpening takes; three steps are
// ceil(196608 / 10500) = 19 tics and the push wall adds the 128 MovePWalls
// takes to leave its tile; 70 tics a second.
TEST(EpisodeBoard, AWalkTakesTheEnginesTicsForStepsDoorsAndPushWalls)
{
    const WalkPace pace{10500, 70, 64, 128};
    const MapHandler set = DrawnSet("/nowhere", {{"#########", "#>..|..E#", "#########"},
                                                 {"#####", "#>P.#", "##.##", "#E..#", "#####"}});
    const EngineRules rules = ShippedRules("WL1");
    const LevelAnalysis door = AnalyseLevel(set.Maps[0], rules, 1);
    ASSERT_EQ(door.route.size(), 6u);
    EXPECT_DOUBLE_EQ(WalkSeconds(set.Maps[0], rules, door.route, pace), (32 + 64) / 70.0);
    const LevelAnalysis push = AnalyseLevel(set.Maps[1], rules, 1);
    ASSERT_EQ(push.route.size(), 4u);
    EXPECT_DOUBLE_EQ(WalkSeconds(set.Maps[1], rules, push.route, pace), (19 + 128) / 70.0);
    EXPECT_EQ(MinutesText(96 / 70.0), "0:02");
    EXPECT_EQ(MinutesText(90), "1:30");
}

// The shareware episode by its shipped flow, and two of its floors worked
// out by hand: the shortest walk of floor 1 from the start at 29,57 to the
// elevator's east side at 25,47 is 126 steps through 12 doors:
// ceil(126 x 65536 / 10500) + 12 x 64 = 787 + 768 = 1555 tics, 22.2 seconds
// against a par of 1:30; floor 2's from 16,61 to 1,48 is 162 steps through
// 11 doors: 1012 + 704 = 1716 tics, 24.5 seconds against 2:00.
TEST(EpisodeBoard, TheSharewareEpisodeFlowsAndEveryWalkBeatsItsPar)
{
    const auto sets = RealGameSets();
    const auto dir = std::find_if(sets.begin(), sets.end(), [](const fs::path& d) { return EqualsNoCase(d.filename().string(), "wl1"); });
    if (dir == sets.end())
        GTEST_SKIP() << "the shareware set is not here";
    const MapHandler set = LoadSet(*dir);
    const fs::path structure = SourceDir() / "data" / "MapDefs" / "WL1";
    const FlowLoad flow = LoadLevelFlow(structure, IniFile(structure / "WL1.ini"));
    ASSERT_EQ(flow.Status, FlowStatus::Loaded);
    const EpisodeBoard board = BuildEpisodeBoard(set, ShippedRules("WL1"), flow.Flow.get(), kAllSkills);
    ASSERT_EQ(board.episodes.size(), 1u);
    const BoardEpisode& episode = board.episodes[0];
    ASSERT_EQ(episode.floors.size(), 10u);
    EXPECT_TRUE(episode.warnings.empty()) << episode.warnings.front().text;
    EXPECT_EQ(episode.floors[0].exits,
              (std::vector<BoardExit>{{ExitKind::Elevator, 2}, {ExitKind::SecretElevator, 10}}));
    EXPECT_EQ(episode.floors[9].exits, (std::vector<BoardExit>{{ExitKind::Elevator, 2}})); // ElevatorBackTo[0] + 1
    for (const BoardFloor& floor : episode.floors)
        EXPECT_TRUE(floor.ParBeatable()) << floor.map << ": " << *floor.walkSeconds << " s, par " << *floor.parSeconds;
    EXPECT_DOUBLE_EQ(*episode.floors[0].walkSeconds, 1555 / 70.0);
    EXPECT_DOUBLE_EQ(*episode.floors[1].walkSeconds, 1716 / 70.0);
    EXPECT_EQ(episode.floors[0].parSeconds, 90);
    EXPECT_EQ(episode.floors[1].parSeconds, 120);
}

} // namespace
