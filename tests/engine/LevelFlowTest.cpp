// The level flow table: what each line gives, what it refuses, and the
// shipped structures' flows against the released engine source (GameLoop's
// ElevatorBackTo and FROMSECRET, parTimes, the running speed).

#include "TestUtil.h"
#include "core/IniFile.h"
#include "engine/LevelFlow.h"
#include "mapdefs/StructureStore.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

LevelFlow ShippedFlow(const std::string& structure)
{
    const fs::path folder = SourceDir() / "data" / "MapDefs" / structure;
    const FlowLoad load = LoadLevelFlow(folder, IniFile(folder / (structure + ".ini")));
    EXPECT_EQ(load.Status, FlowStatus::Loaded) << load.Problem.text;
    return load.Status == FlowStatus::Loaded ? *load.Flow : LevelFlow();
}

TEST(LevelFlow, ReadsFloorsDestinationsAndThePace)
{
    const auto flow = LevelFlow::Parse("# a note\r\n"
                                       "walk, speed=10500, tics=70, door=64, pushwall=128\r\n"
                                       "\r\n"
                                       "map,2,episode=1,elevator=end,secret_elevator=2,boss\n"
                                       "map,1,episode=1,par=90,elevator=2,secret_elevator=3,spear=4\n"
                                       "map,3,episode=2,secret\n",
                                       "levels.txt");
    ASSERT_TRUE(flow) << flow.failure().text;
    ASSERT_EQ(flow->Floors().size(), 3u);
    EXPECT_EQ(flow->Floors()[0], (FloorFlow{1, 1, 90, 2, 3, 4, false, false}));
    EXPECT_EQ(flow->Floors()[1], (FloorFlow{2, 1, std::nullopt, kFlowEnd, 2, std::nullopt, true, false}));
    EXPECT_EQ(flow->Floors()[2], (FloorFlow{3, 2, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false, true}));
    EXPECT_EQ(flow->Pace(), (WalkPace{10500, 70, 64, 128}));
    EXPECT_EQ(flow->Floor(4), nullptr);

    struct Row {
        int map;
        ExitKind kind;
        std::optional<int> to;
    };
    for (const Row& row : {Row{1, ExitKind::Elevator, 2}, Row{1, ExitKind::SecretElevator, 3},
                           Row{1, ExitKind::Spear, 4}, Row{1, ExitKind::Boss, kFlowEnd},
                           Row{2, ExitKind::Victory, kFlowEnd}, Row{2, ExitKind::Elevator, kFlowEnd},
                           Row{3, ExitKind::Elevator, std::nullopt}, Row{9, ExitKind::Boss, std::nullopt}})
        EXPECT_EQ(flow->Destination(row.map, row.kind), row.to) << row.map << " " << ExitKindName(row.kind);
}

TEST(LevelFlow, RefusesWhatDoesNotRead)
{
    struct Row {
        const char* line;
        const char* problem;
    };
    const Row rows[] = {
        {"level,1", "a line is walk,... or map,... (\"level\" is neither)"},
        {"map,0,episode=1", "a map line is map,N,episode=E[,attribute...] with N a map number from 1"},
        {"map,x,episode=1", "a map line is map,N,episode=E[,attribute...] with N a map number from 1"},
        {"map,1", "the map line names no episode (episode=E)"},
        {"map,1,episode=0", "the episode is a number from 1"},
        {"map,1,episode=1,par=-5", "the par time is seconds from 0 to 5940"},
        {"map,1,episode=1,par", "the par time is seconds from 0 to 5940"},
        {"map,1,episode=1,elevator=home", "\"elevator\" leads to a map number from 1 or to \"end\""},
        {"map,1,episode=1,secret_elevator", "\"secret_elevator\" leads to a map number from 1 or to \"end\""},
        {"map,1,episode=1,boss=1", "\"boss\" takes no value"},
        {"map,1,episode=1,lift=2", "a map line takes no attribute \"lift\""},
        {"walk,speed=0,tics=70", "\"speed\" is a number up to 1048576"},
        {"walk,tics=70", "the walk line gives speed=N and tics=N"},
        {"walk,speed=1,tics=1,run=3", "a walk line takes no attribute \"run\""},
    };
    for (const Row& row : rows) {
        const auto flow = LevelFlow::Parse(std::string("# note\n") + row.line + "\n", "levels.txt");
        ASSERT_FALSE(flow) << row.line;
        EXPECT_EQ(flow.failure().text, "Line 2 of \"levels.txt\": " + std::string(row.problem) + ".");
        EXPECT_EQ(flow.failure().caption, kLevelsErrorCaption);
    }
    const auto twice = LevelFlow::Parse("map,1,episode=1\nmap,1,episode=1\n", "levels.txt");
    ASSERT_FALSE(twice);
    EXPECT_EQ(twice.failure().text, "Line 2 of \"levels.txt\": map 1 is given twice.");
    const auto twoWalks = LevelFlow::Parse("walk,speed=1,tics=1\nwalk,speed=1,tics=1\n", "levels.txt");
    ASSERT_FALSE(twoWalks);
    EXPECT_EQ(twoWalks.failure().text, "Line 2 of \"levels.txt\": the walk is given twice.");
}

TEST(LevelFlow, AStructureWithoutOneSaysWhy)
{
    TempDir dir;
    IniFile settings(dir / "CO7.ini");
    FlowLoad load = LoadLevelFlow(dir.path(), settings);
    EXPECT_EQ(load.Status, FlowStatus::NotConfigured);
    EXPECT_EQ(load.Problem.text, "\"CO7.ini\" names no level flow (Levels= in section Engine).");
    ASSERT_TRUE(WriteLevelFlowFile(settings, "levels.txt"));
    load = LoadLevelFlow(dir.path(), settings);
    EXPECT_EQ(load.Status, FlowStatus::Failed);
    EXPECT_EQ(load.Problem.text, "The level flow \"levels.txt\" cannot be read from " + dir.path().string() + ".");
    WriteFile(dir / "levels.txt", std::string("map,1\n"));
    load = LoadLevelFlow(dir.path(), settings);
    EXPECT_EQ(load.Status, FlowStatus::Failed);
    EXPECT_EQ(load.Problem.text, "Line 1 of \"" + (dir / "levels.txt").string() +
                                     "\": the map line names no episode (episode=E).");
}

// GameLoop in WL_GAME.C: any secret elevator leads to the episode's tenth
// floor, which returns to ElevatorBackTo[episode] + 1; an elevator of the boss
// floor goes on to the tenth (mapon++). parTimes in WL_INTER.C.
TEST(LevelFlow, WolfensteinFloorsFollowTheEngine)
{
    const LevelFlow flow = ShippedFlow("WL6");
    ASSERT_EQ(flow.Floors().size(), 60u);
    const int backTo[] = {2, 2, 8, 4, 6, 4};
    for (int episode = 0; episode < 6; ++episode) {
        const int first = episode * 10 + 1;
        EXPECT_EQ(flow.Destination(first + 3, ExitKind::Elevator), first + 4);
        EXPECT_EQ(flow.Destination(first + 3, ExitKind::SecretElevator), first + 9);
        EXPECT_EQ(flow.Destination(first + 8, ExitKind::Elevator), first + 9);
        EXPECT_TRUE(flow.Floor(first + 8)->boss);
        EXPECT_TRUE(flow.Floor(first + 9)->secret);
        EXPECT_EQ(flow.Destination(first + 9, ExitKind::Elevator), first - 1 + backTo[episode]);
        EXPECT_EQ(flow.Floor(first + 4)->episode, episode + 1);
        EXPECT_FALSE(flow.Floor(first + 8)->par || flow.Floor(first + 9)->par);
    }
    const int pars[] = {90, 120, 120, 210, 180, 180, 150, 150}; // episode one: 1.5, 2, 2, 3.5, 3, 3, 2.5, 2.5 minutes
    for (int floor = 0; floor < 8; ++floor)
        EXPECT_EQ(flow.Floor(floor + 1)->par, pars[floor]);
    EXPECT_EQ(flow.Floor(58)->par, 510); // episode six, floor eight: 8.5 minutes
    EXPECT_EQ(flow.Pace(), (WalkPace{70 * 150, 70, 64, 128}));
    EXPECT_EQ(ShippedFlow("WL1").Floors().size(), 10u);
}

// Spear of Destiny: FROMSECRET1 3 and FROMSECRET2 11 lead to floors 19 and
// 20 and back to 5 and 13; a secret elevator elsewhere starts its floor again;
// the Spear leads to floor 21. The demo ends after its second floor.
TEST(LevelFlow, SpearFloorsFollowTheEngine)
{
    const LevelFlow flow = ShippedFlow("SOD");
    ASSERT_EQ(flow.Floors().size(), 21u);
    EXPECT_EQ(flow.Destination(4, ExitKind::SecretElevator), 19);
    EXPECT_EQ(flow.Destination(12, ExitKind::SecretElevator), 20);
    EXPECT_EQ(flow.Destination(7, ExitKind::SecretElevator), 7);
    EXPECT_EQ(flow.Destination(19, ExitKind::Elevator), 5);
    EXPECT_EQ(flow.Destination(20, ExitKind::Elevator), 13);
    EXPECT_EQ(flow.Destination(18, ExitKind::Spear), 21);
    EXPECT_EQ(flow.Floor(3)->par, 165); // 2.75 minutes
    for (const int boss : {5, 10, 16, 18})
        EXPECT_FALSE(flow.Floor(boss)->par) << boss;
    const LevelFlow demo = ShippedFlow("SDM");
    EXPECT_EQ(demo.Destination(2, ExitKind::Elevator), kFlowEnd);
}

} // namespace
