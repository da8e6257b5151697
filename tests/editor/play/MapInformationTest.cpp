// The map information counters and the map check against the engine's limits.

#include "EditorTestUtil.h"
#include "GraphicsTestUtil.h"
#include "RulesTestUtil.h"
#include "editor/play/MapInformation.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

using Words = std::vector<std::uint16_t>;

// Plane 0: 1 wall, 2 door, 3 a value with a wall and then a door symbol,
// 4 secret door, 5 a tile object, 6 a locked door, 8 static by "to".
// Plane 1: 2 door, 10 player start, 11 static, 12 key, 13..15 guards of
// levels 1, 3, 4 (standing), 16 a moving level 1 guard, 17 boss, 18 other.
SymbolTables Tables()
{
    return TablesOf({{{0}, {1, "w"}, {2, "d"}, {3, "w"}, {3, "d"}, {4, "sd"}, {5, "tt"}, {6, "ld"}, {8, "to"}},
                     {{0}, {2, "d"}, {10, "sp"}, {11, "so"}, {12, "k"}, {13, "sg1"}, {14, "sg3"}, {15, "sg4"},
                      {16, "mg1"}, {17, "b"}, {18, "oa"}, {19, "tp"}}});
}

MapList Map(Words plane0, Words plane1)
{
    const int width = static_cast<int>(plane0.size());
    return GridMap(width, 1, {std::move(plane0), std::move(plane1)});
}

} // namespace

TEST(MapInformation, CountsEachCellByItsFirstCountedSymbol)
{
    const SymbolTables tables = Tables();
    struct Case {
        const char* name;
        Words plane0, plane1;
        MapStatistics expected;
    };
    const Case cases[] = {
        {"all zero", {0, 0}, {0, 0}, {}},
        {"wall then door symbol: a door", {3, 1}, {0, 0}, {.Doors = 1}},
        {"secret door: a tile object and a secret", {4, 0}, {0, 0}, {.TileObjects = 1, .Secrets = 1}},
        {"tile object, locked door, static by to", {5, 6, 8}, {0, 0, 0}, {.StaticObjects = 1, .TileObjects = 1, .Doors = 1}},
        {"a door drawn in plane 1", {0}, {2}, {.Doors = 1}},
        {"values without a symbol count nothing", {9, 7}, {99, 3}, {}},
        {"objects and actors",
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {10, 11, 12, 13, 14, 15, 16, 17, 18, 19},
         {.StaticObjects = 2, .TileObjects = 2, .Guards1 = 2, .Guards3 = 1, .Guards4 = 1, .Bosses = 1,
          .OtherActors = 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CountMapObjects(Map(c.plane0, c.plane1), tables), c.expected);
    }
    EXPECT_EQ(cases[6].expected.TotalActors(), 6); // every kind of actor, and no object
}

TEST(MapInformation, LimitsComeFromTheStructureWithTheEnginesDefaults)
{
    TempDir dir;
    IniFile settings(dir / "WL6.ini");
    const MapLimits defaults = ReadMapLimits(settings);
    EXPECT_EQ(defaults.MaxDoors, 64);
    EXPECT_EQ(defaults.MaxStatics, 399);
    EXPECT_EQ(defaults.MaxActors, 149);
    settings.WriteInteger("Limits", "MaxDoors", 3);
    settings.WriteInteger("Limits", "MaxActors", 0);
    const MapLimits read = ReadMapLimits(settings);
    EXPECT_EQ(read.MaxDoors, 3);
    EXPECT_EQ(read.MaxStatics, 399);
    EXPECT_EQ(read.MaxActors, 0);
}

TEST(MapCheck, ReportsEachKindWithItsCountLimitAndFirstTile)
{
    const SymbolTables tables = Tables();
    const std::vector<bool> shown = {true, true};
    struct Case {
        const char* name;
        Words plane0, plane1;
        MapLimits limits;
        std::vector<MapFinding> findings;
    };
    const Case cases[] = {
        {"one start, within limits", {0, 5, 0}, {10, 11, 13}, {}, {}},
        // Doors, statics and actors over their limits, each with the first tile
        // past the limit: the check command's test on the sample game.
        {"a limit of 0 is no limit", {0, 1, 3, 1}, {10, 0, 0, 0}, {.MaxDoors = 0}, {}},
        {"no player start", {0}, {0}, {}, {{FindingKind::PlayerStarts, 0, 1, std::nullopt, std::nullopt, std::nullopt}}},
        {"two player starts: the second shows", {0, 0, 0}, {10, 0, 10}, {},
         {{FindingKind::PlayerStarts, 2, 1, 2, 0, std::nullopt}}},
        {"words without a symbol, per plane", {0, 9, 9}, {10, 0, 99}, {},
         {{FindingKind::UnknownWords, 2, std::nullopt, 1, 0, 0}, {FindingKind::UnknownWords, 1, std::nullopt, 2, 0, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckMap(Map(c.plane0, c.plane1), tables, EngineRules::FromSymbols(tables), c.limits, shown), c.findings);
    }
    // Planes that are not shown are not checked for unknown words.
    EXPECT_EQ(CheckMap(Map({0, 9}, {10, 99}), tables, EngineRules::FromSymbols(tables), {}, {false, true}),
              (std::vector<MapFinding>{{FindingKind::UnknownWords, 1, std::nullopt, 1, 0, 1}}));
}

namespace {

// Three by three tiles. Plane 0: 1 a wall, 90 and 92 doors in a vertical
// wall line, 91 in a horizontal one, 107 a marker. Plane 1: objects and actors
// (19, 24, 43, 108) and markers (90 turning point, 98 pushwall, 99 end).
SymbolTables PlacementTables()
{
    return TablesOf({{{0}, {1, "w", "Grey Stone"}, {90, "d", "Door Vertical"}, {91, "d", "Door Horizontal"},
                      {92, "ld", "Gold Door Vertical"}, {107, "tt"}},
                     {{0}, {19, "sp", "Player Start"}, {24, "so", "Barrel"}, {43, "k", "Gold Key"},
                      {108, "sg1", "Guard"}, {90, "tp"}, {98, "sd"}, {99, "tt"}}});
}

std::vector<MapFinding> Placement(const std::vector<MapFinding>& findings)
{
    std::vector<MapFinding> placement;
    for (const MapFinding& f : findings)
        if (f.Kind == FindingKind::ObjectInWall || f.Kind == FindingKind::DoorFrame)
            placement.push_back(f);
    return placement;
}

MapFinding InWall(int x, int y, std::uint16_t word, std::string name, std::string under)
{
    return {FindingKind::ObjectInWall, 1, std::nullopt, x, y, 1, word, std::move(name), std::move(under)};
}

MapFinding OpenFrame(int x, int y, std::uint16_t word, std::string name)
{
    return {FindingKind::DoorFrame, 1, std::nullopt, x, y, 0, word, std::move(name), {}};
}

} // namespace

TEST(MapCheck, FindsObjectsInWallsOrDoorsAndDoorsWithoutTheirFrame)
{
    const SymbolTables tables = PlacementTables();
    struct Case {
        const char* name;
        Words plane0, plane1;
        std::vector<MapFinding> findings;
    };
    const Words walled = {1, 1, 1, 1, 0, 1, 1, 1, 1};
    const Case cases[] = {
        {"a barrel and a key in walls", walled, {24, 0, 0, 0, 0, 43, 0, 0, 0},
         {InWall(0, 0, 24, "Barrel", "Grey Stone"), InWall(2, 1, 43, "Gold Key", "Grey Stone")}},
        {"markers may stand in walls", walled, {98, 90, 99, 0, 0, 0, 0, 0, 0}, {}},
        {"a guard in an even door framed north and south", {0, 1, 0, 0, 90, 0, 0, 1, 0},
         {0, 0, 0, 0, 108, 0, 0, 0, 0}, {InWall(1, 1, 108, "Guard", "Door Vertical")}},
        {"an odd door framed east and west", {0, 0, 0, 1, 91, 1, 0, 0, 0}, {}, {}},
        {"an even door with walls east and west", {0, 0, 0, 1, 92, 1, 0, 0, 0}, {},
         {OpenFrame(1, 1, 92, "Gold Door Vertical")}},
        {"an odd door with walls north and south", {0, 1, 0, 0, 91, 0, 0, 1, 0}, {},
         {OpenFrame(1, 1, 91, "Door Horizontal")}},
        {"no wall outside the map", {1, 90, 1, 0, 1, 0, 0, 0, 0}, {}, {OpenFrame(1, 0, 90, "Door Vertical")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MapList map = GridMap(3, 3, {c.plane0, c.plane1.empty() ? Words(9) : c.plane1});
        EXPECT_EQ(Placement(CheckMap(map, tables, EngineRules::FromSymbols(tables), {}, {})), c.findings);
    }
}

TEST(MapCheck, FindingsReadAsSentences)
{
    // The sentence of a limit passed is the check command's (CliCheck).
    EXPECT_EQ(FindingText({FindingKind::PlayerStarts, 0, 1, std::nullopt, std::nullopt, std::nullopt}),
              "No player start; the engine needs exactly one.");
    EXPECT_EQ(FindingText({FindingKind::UnknownWords, 1, std::nullopt, 3, 4, 2}),
              "1 word of plane 2 without a symbol; the first is at column 3, row 4.");
    EXPECT_EQ(FindingText(InWall(3, 4, 24, "Barrel", "Grey Stone")),
              "Barrel at column 3, row 4 stands in Grey Stone; objects, actors and player starts need an open tile.");
    EXPECT_EQ(FindingText(OpenFrame(3, 4, 91, "Door Horizontal")),
              "Door Horizontal at column 3, row 4 has an open frame: it needs walls east and west of it.");
    EXPECT_EQ(FindingKindName(FindingKind::PlayerStarts), "player_starts");
    EXPECT_EQ(FindingKindName(FindingKind::UnknownWords), "unknown_words");
    EXPECT_EQ(FindingKindName(FindingKind::ObjectInWall), "object_in_wall");
    EXPECT_EQ(FindingKindName(FindingKind::DoorFrame), "door_frame");
}

TEST(MapCheck, FindsWhatKeepsALevelFromBeingFinishedByTheGamesRules)
{
    EngineRules rules = ShippedRules("WL6");
    const SymbolTables tables;
    using Tiles = std::vector<MapTile>;
    using enum FindingKind;
    struct Expected {
        FindingKind kind;
        Tiles tiles;
        std::vector<int> skills;
        bool operator==(const Expected&) const = default;
    };
    auto found = [&](const std::vector<std::string>& rows) {
        std::vector<Expected> out;
        for (const MapFinding& f : CheckMap(DrawnMap(rows), tables, rules, {}, {}))
            out.push_back({f.Kind, f.Tiles, f.Skills});
        return out;
    };
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        std::vector<Expected> findings;
    };
    const Case cases[] = {
        {"a walled-off elevator", {"######", "#>.#E#", "######"}, {{NoExit, {}, {1, 2, 3, 4}}}},
        {"a key behind its own door", {"########", "#>.G.gV#", "########"},
         {{NoExit, {}, {1, 2, 3, 4}}, {MissingKey, {{3, 1}}, {}}, {UnreachableKey, {{5, 1}}, {}}}},
        {"a lock the game has no key for", {"#######", "#>.Q.V#", "#######"},
         {{NoExit, {}, {1, 2, 3, 4}}, {DoorNeverOpens, {{3, 1}}, {}}}},
        {"floor on the map's border", {"#####", "#>.V.", "#####"}, {{OpenEdge, {{4, 1}}, {}}}},
        {"a switch reached from the north only", {"#####", "#>.V#", "##E##", "#####"}, {{ElevatorSide, {{2, 2}}, {}}}},
        {"what is sealed away", {"#########", "#>.V#Tg4#", "#########"},
         {{UnreachableTreasure, {{5, 1}}, {}}, {UnreachableKey, {{6, 1}}, {}}, {UnreachableEnemy, {{7, 1}}, {}}}},
        {"a patrol facing a wall, one facing a door", {"########", "#>.#..R#", "#.R|..V#", "########"},
         {{PatrolBlocked, {{6, 1}}, {}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(found(c.rows), c.findings);
    }
    // Only the game's own rules are analysed; its engine plays one map size.
    const MapList sealed = DrawnMap(cases[0].rows);
    const SymbolTables withStart = TablesOf({{{0}, {1, "w"}}, {{0}, {20, "sp"}}});
    EXPECT_EQ(CheckMap(sealed, withStart, EngineRules::FromSymbols(withStart), {}, {}), std::vector<MapFinding>{});
    rules.SetMapSize(64);
    EXPECT_EQ(found(cases[3].rows).front(), (Expected{MapSize, {}, {}}));
}

TEST(MapCheck, FindingsOfPlayReadAsSentencesAndOnlyTheUnreachableAndTheSwitchWarn)
{
    MapFinding noExit{FindingKind::NoExit, 2, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    noExit.Skills = {3, 4};
    EXPECT_EQ(FindingText(noExit), "No exit can be reached from the player start on skill levels 3 and 4.");
    noExit.Skills = {1, 2, 3, 4};
    EXPECT_EQ(FindingText(noExit), "No exit can be reached from the player start on skill levels 1, 2, 3 and 4.");
    MapFinding gold{FindingKind::MissingKey, 1, std::nullopt, 3, 1, std::nullopt};
    gold.Key = 1;
    EXPECT_EQ(FindingText(gold), "The locked door at column 3, row 1 opens with the gold key, which cannot be had.");
    gold.Count = 2;
    gold.Key = 2;
    EXPECT_EQ(FindingText(gold),
              "2 locked doors open with the silver key, which cannot be had; the first is at column 3, row 1.");
    EXPECT_EQ(FindingText({FindingKind::ElevatorSide, 1, std::nullopt, 2, 2, std::nullopt}),
              "The elevator at column 2, row 2 cannot be used: its switches are reached only from the north or the "
              "south, where the game does not let them be used.");
    EXPECT_EQ(FindingText({FindingKind::UnreachableEnemy, 4, std::nullopt, 7, 1, std::nullopt}),
              "4 enemies cannot be reached; the first is at column 7, row 1.");
    EXPECT_EQ(FindingText({FindingKind::MapSize, 1, 64, std::nullopt, std::nullopt, std::nullopt}),
              "The engine plays only 64 x 64 maps; this one is not.");
    EXPECT_EQ(FindingKindName(FindingKind::DoorNeverOpens), "door_never_opens");
    std::vector<FindingKind> warnings;
    EXPECT_EQ(FindingText({FindingKind::PatrolBlocked, 1, std::nullopt, 4, 1, std::nullopt}),
              "The patrol at column 4, row 1 walks into a wall at once.");
    EXPECT_EQ(FindingKindName(FindingKind::PatrolBlocked), "patrol_blocked");
    for (int k = 0; k <= static_cast<int>(FindingKind::SpawnsNothing); ++k)
        if (IsWarning(static_cast<FindingKind>(k)))
            warnings.push_back(static_cast<FindingKind>(k));
    EXPECT_EQ(warnings, (std::vector<FindingKind>{FindingKind::ElevatorSide, FindingKind::UnreachableTreasure,
                                                  FindingKind::UnreachableKey, FindingKind::UnreachableEnemy,
                                                  FindingKind::PatrolBlocked, FindingKind::SpawnsNothing}));
}

TEST(MapCheck, NamesTheKeyThatCannotBeHadOnePerKey)
{
    // A gold door with its key behind it, and a silver door (94) whose key is nowhere.
    MapList map = DrawnMap({"#########", "#>.G.g.V#", "#.#######", "#.|....T#", "#########"});
    map.SetWord(0, 2, 3, 94);
    std::vector<MapFinding> keys;
    for (const MapFinding& f : CheckMap(map, SymbolTables(), ShippedRules("WL6"), {}, {}))
        if (f.Kind == FindingKind::MissingKey)
            keys.push_back(f);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].Key, 1);
    EXPECT_EQ(keys[0].Tiles, (std::vector<MapTile>{{3, 1}}));
    EXPECT_EQ(keys[1].Key, 2);
    EXPECT_EQ(FindingText(keys[1]), "The locked door at column 2, row 3 opens with the silver key, which cannot be had.");
}

TEST(MapCheck, FindsWordsTheGamePlacesNothingForAndWallsWithoutAPicture)
{
    // A standing dog (134), which the engine's spawning turns into a change
    // of the guard before it; word 5 of plane 1, which it places nothing
    // for; the turning point, push wall and victory tile it reads otherwise.
    MapList map = DrawnMap({"#########", "#>1..F.V#", "###P#####"});
    map.SetWord(1, 3, 1, 134);
    map.SetWord(1, 4, 1, 5);
    map.SetWord(1, 6, 1, 5);
    // Walls 2 (its chunks there), 3 (its dark chunk empty), 5 (past the
    // walls) and 70 (past the engine's wall tables).
    map.SetWord(0, 0, 0, 2);
    map.SetWord(0, 1, 0, 3);
    map.SetWord(0, 2, 0, 5);
    map.SetWord(0, 3, 0, 5);
    map.SetWord(0, 4, 0, 70);
    const Bytes wall = TestWall(1);
    auto pages = PageFile::Parse(TestPageFile({wall, wall, wall, wall, wall, {}, wall, wall}, 8, 8), "VSWAP.TST");
    ASSERT_TRUE(pages) << pages.failure().text;
    const SymbolTables tables = TablesOf({{{0}, {5, "w", "Blue wall"}}, {{0}, {134, "sg1", "Dog standing"}}});

    std::vector<MapFinding> found;
    for (const MapFinding& f : CheckMap(map, tables, ShippedRules("WL6"), {}, {}, &*pages))
        if (f.Kind == FindingKind::SpawnsWrongly || f.Kind == FindingKind::SpawnsNothing ||
            f.Kind == FindingKind::NoWallPicture)
            found.push_back(f);
    std::vector<std::string> texts;
    for (const MapFinding& f : found)
        texts.push_back(std::string(FindingKindName(f.Kind)) + ": " + FindingText(f));
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "spawns_wrongly: The game places nothing for Dog standing (plane 1 word 134) at column 3, row "
                         "1: its spawning has no case for the word and changes the actor placed before it instead.",
                         "spawns_nothing: The game places nothing for plane 1 word 5, on 2 tiles (the first at "
                         "column 4, row 1).",
                         "no_wall_picture: Wall word 3 at column 1, row 0 has no picture: its chunk 5 of VSWAP.TST is "
                         "empty.",
                         "no_wall_picture: Blue wall (wall word 5), on 2 tiles (the first at column 2, row 0), has no "
                         "picture: its chunks 8 and 9 are past the walls of VSWAP.TST (chunks 0 to 7).",
                         "no_wall_picture: Wall word 70 at column 4, row 0 has no picture: the engine draws walls 1 "
                         "to 63 only.",
                     }));
    EXPECT_FALSE(IsWarning(FindingKind::SpawnsWrongly));
    EXPECT_FALSE(IsWarning(FindingKind::NoWallPicture));
}
