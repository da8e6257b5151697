// tesselar-cli stats, check and edit: output, exit status and files, on the
// sample game and on the real games beside the repository.

#include "TestUtil.h"
#include "core/FileSystem.h"
#include "core/IniFile.h"
#include "core/TextFile.h"
#include "core/Windows1252.h"
#include "editor/operations/MapOperations.h"
#include "symbols/SymbolFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <map>

using namespace tsl;
using namespace tsl::test;

namespace {

// The ten counters of a map counted here from the shipped symbol files:
// each plane's file read line by line, the first symbol of a value whose
// type is one of the counted ones deciding.
std::array<int, 10> CountFromSymbolFiles(const MapList& map, const std::string& structure)
{
    const std::map<std::string, std::vector<int>> counters = {
        {"to", {0}}, {"k", {0}}, {"so", {0}}, {"tt", {1}}, {"tp", {1}}, {"sp", {1}}, {"sd", {1, 3}},
        {"d", {2}}, {"ld", {2}}, {"sg1", {4}}, {"mg1", {4}}, {"sg3", {5}}, {"mg3", {5}}, {"sg4", {6}},
        {"mg4", {6}}, {"b", {7}}, {"oa", {8}}};
    std::array<int, 10> counts{};
    for (std::size_t p = 0; p < map.Planes.size(); ++p) {
        const auto text = ReadTextFile(SourceDir() / "data" / "MapDefs" / structure /
                                       ("plane" + std::to_string(p + 1) + ".txt"));
        std::map<int, std::vector<int>> byValue;
        for (const std::string& line : SplitLines(*text)) {
            const auto fields = SplitFields(line);
            const int value = std::stoi(fields[0]);
            if (!byValue.contains(value) && counters.contains(fields[3]))
                byValue[value] = counters.at(fields[3]);
        }
        for (std::uint16_t word : map.Planes[p])
            if (word != 0 && byValue.contains(word))
                for (int counter : byValue[word])
                    ++counts[static_cast<std::size_t>(counter)];
    }
    counts[9] = counts[4] + counts[5] + counts[6] + counts[7] + counts[8];
    return counts;
}

FacingGroups SampleFacingGroups()
{
    return ReadFacingGroups(IniFile(SourceDir() / "data" / "MapDefs" / "WL6" / "WL6.ini"));
}

std::string StatsJsonLine(int number, const MapList& map, const std::array<int, 10>& c)
{
    const char* keys[] = {"static_objects", "tile_objects", "doors", "secrets", "guards_level1",
                          "guards_level3", "guards_level4", "bosses", "other_actors", "total_actors"};
    std::string line = "  {\"map\": " + std::to_string(number) + ", \"name\": \"" + MapNameText(map.Name) + "\"";
    for (std::size_t i = 0; i < 10; ++i)
        line += ", \"" + std::string(keys[i]) + "\": " + std::to_string(c[i]);
    return line + "}";
}

} // namespace

TEST(CliStats, PrintsTheTenCountersAsATableOrAsJson)
{
    CliResult r = RunCli({"stats", SampleGameDir().string(), "--maps", "3,7", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const MapHandler sample = LoadSet(SampleGameDir());
    EXPECT_EQ(r.out, "[\n" + StatsJsonLine(3, sample.Maps[2], CountFromSymbolFiles(sample.Maps[2], "WL6")) + ",\n" +
                         StatsJsonLine(7, sample.Maps[6], CountFromSymbolFiles(sample.Maps[6], "WL6")) + "\n]\n");

    r = RunCli({"stats", SampleGameDir().string(), "--maps", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
              " Map  Name             Statics   Tiles   Doors Secrets  Level1  Level3  Level4  Bosses   Other  Actors")
        << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);
}

TEST(CliCheck, ReportsEveryFindingAndExitsWithOneWhenAnyMapHasOne)
{
    // The sample game's maps stand dogs, which the engine's spawning does
    // not place (the standing-dog words change the actor placed before).
    CliResult r = RunCli({"check", SampleGameDir().string(), "--maps", "6-7", "--json"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("{\"kind\": \"spawns_wrongly\"")),
              "[\n"
              "  {\"map\": 6, \"name\": \"Catacombs\", \"findings\": ["
              "{\"kind\": \"doors\", \"count\": 120, \"limit\": 64, \"x\": 27, \"y\": 45, \"plane\": null}, "
              "{\"kind\": \"statics\", \"count\": 545, \"limit\": 399, \"x\": 90, \"y\": 67, \"plane\": null}, "
              "{\"kind\": \"actors\", \"count\": 208, \"limit\": 149, \"x\": 24, \"y\": 68, \"plane\": null}, "
              "{\"kind\": \"map_size\", \"count\": 1, \"limit\": 64, \"x\": null, \"y\": null, \"plane\": null}, ");
    EXPECT_NE(r.out.find("{\"kind\": \"spawns_wrongly\", \"count\": 2, \"limit\": null, \"x\": 55, \"y\": 25, "
                         "\"plane\": 1, \"tiles\": [[55, 25], [24, 48]], \"word\": 134, \"name\": \"Dog Standing East "
                         "(Level 1)\"}"),
              std::string::npos)
        << r.out;

    r = RunCli({"check", SampleGameDir().string(), "--maps", "7,6"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n', r.out.find('\n') + 1) + 1),
              "Map 7 (Boss Keep):\n  The game places nothing for Dog Standing East (Level 1) (plane 1 word 134), on 2 "
              "tiles (the first at column 55, row 25): its spawning has no case for the word and changes the actor "
              "placed before it instead.\n")
        << r.out;
    EXPECT_NE(r.out.find("Map 6 (Catacombs):\n  120 doors, more than the 64 the engine holds; door 65 is at "
                         "column 27, row 45.\n"),
              std::string::npos)
        << r.out;

    // With its dogs patrolling, the first maps pass.
    TempDir patrols;
    CopyGame(SampleGameDir(), patrols.path());
    MapHandler dogs = LoadSet(patrols.path());
    for (MapList& map : dogs.Maps)
        for (std::uint16_t& word : map.Planes[1])
            if ((word >= 134 && word <= 137) || (word >= 170 && word <= 173) || (word >= 206 && word <= 209))
                word = static_cast<std::uint16_t>(word + 4);
    ASSERT_FALSE(dogs.Save());
    EXPECT_EQ(RunCli({"check", patrols.path().string(), "--maps", "1-4"}).status, 0);
    r = RunCli({"check", patrols.path().string(), "--maps", "5"});
    EXPECT_TRUE(r.out.starts_with("Map 5 (Bunker):\n  The engine plays only 64 x 64 maps; this one is not.\n")) << r.out;
    // A barrel in the outer wall, and a horizontal door in it with no wall to its west.
    TempDir broken;
    CopyGame(SampleGameDir(), broken.path());
    MapHandler set = LoadSet(broken.path());
    set.Maps[0].Planes[1][0] = 58;
    set.Maps[0].Planes[0][set.Maps[0].Width] = 91;
    ASSERT_FALSE(set.Save());
    r = RunCli({"check", broken.path().string(), "--maps", "1", "--json"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find(", {\"kind\": \"spawns_wrongly\"")),
              "[\n"
              "  {\"map\": 1, \"name\": \"Gatehouse\", \"findings\": ["
              "{\"kind\": \"object_in_wall\", \"count\": 1, \"limit\": null, \"x\": 0, \"y\": 0, \"plane\": 1}, "
              "{\"kind\": \"door_frame\", \"count\": 1, \"limit\": null, \"x\": 0, \"y\": 1, \"plane\": 0}, "
              "{\"kind\": \"open_edge\", \"count\": 1, \"limit\": null, \"x\": 0, \"y\": 1, \"plane\": null, "
              "\"tiles\": [[0, 1]]}");

    TempDir empty;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"check", empty.path().string()}, {"check", SampleGameDir().string(), "--maps", "9"}})
        EXPECT_EQ(RunCli(args).status, 2) << args.back();
}

TEST(CliEdit, AppliesTheOperationsInOrderAndSavesOnce)
{
    TempDir dir;
    CopyGame(SampleGameDir(), dir.path());
    const CliResult r = RunCli({"edit", dir.path().string(), "--maps", "2", "--flip", "horizontal", "--plane", "1",
                                "--replace", "0=Dog Moving East (Level 1)", "--rotate=270", "--flip-planes", "0,2"});
    ASSERT_EQ(r.status, 0) << r.err;
    const FacingGroups facing = SampleFacingGroups();
    MapList expected = LoadSet(SampleGameDir()).Maps[1];
    TransformMap(expected, MapTransform::FlipHorizontal, facing);
    std::string replaced = std::to_string(std::count(expected.Planes[1].begin(), expected.Planes[1].end(), 0));
    std::replace(expected.Planes[1].begin(), expected.Planes[1].end(), std::uint16_t{0}, std::uint16_t{138});
    TransformMap(expected, MapTransform::Rotate270, facing);
    FlipPlanes(expected, 0, 2);
    EXPECT_EQ(r.out, "Map 2 (Cell Block): flipped horizontally\n"
                     "Map 2 (Cell Block): " + replaced + " occurrences were replaced\n"
                     "Map 2 (Cell Block): rotated by 270 degrees\n"
                     "Map 2 (Cell Block): planes 0 and 2 exchanged\n"
                     "Maps saved!\n");
    const MapHandler saved = LoadSet(dir.path());
    EXPECT_EQ(saved.Maps[1].Planes, expected.Planes);
    EXPECT_EQ(saved.Maps[0].Planes, LoadSet(SampleGameDir()).Maps[0].Planes);
}

// The facing objects turn by default (the test above); --keep-facing keeps them.
TEST(CliEdit, KeepFacingTurnsOnlyTheTiles)
{
    TempDir dir;
    CopyGame(SampleGameDir(), dir.path());
    ASSERT_EQ(RunCli({"edit", dir.path().string(), "--maps", "1", "--keep-facing", "--rotate", "90"}).status, 0);
    MapList kept = LoadSet(SampleGameDir()).Maps[0];
    MapList turned = kept;
    TransformMap(kept, MapTransform::Rotate90);
    TransformMap(turned, MapTransform::Rotate90, SampleFacingGroups());
    ASSERT_NE(kept.Planes, turned.Planes);
    EXPECT_EQ(LoadSet(dir.path()).Maps[0].Planes, kept.Planes);
}

TEST(CliEdit, AnyErrorStopsBeforeAnythingIsSaved)
{
    TempDir dir;
    CopyGame(SampleGameDir(), dir.path());
    const std::string d = dir.path().string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--replace", "Nonsense=0"}, "Plane 0 has no symbol \"Nonsense\".\n"},
        {{"--plane", "1", "--replace", "0=70000"}, "Plane 1 has no symbol \"70000\".\n"},
        {{"--flip-planes", "0,3"}, "There is no plane 3: the maps have planes 0 to 2.\n"},
        {{"--flip-planes", "1,1"}, "You can't flip a plane with itself!\n"},
        {{"--plane", "3", "--autofloor"}, "There is no plane 3: the maps have planes 0 to 2.\n"},
        {{"--maps", "2-8"}, "There is no map 8: the set has 7 maps.\n"},
    };
    for (const auto& [operations, message] : cases) {
        std::vector<std::string> args = {"edit", d, "--autofloor"};
        args.insert(args.end(), operations.begin(), operations.end());
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_EQ(r.err, message);
        EXPECT_EQ(r.out, "");
    }
    // A replacement that changes no word: nothing to save.
    const CliResult same = RunCli({"edit", d, "--maps", "1", "--replace", "0=0"});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "Map 1 (Gatehouse): 0 occurrences were replaced\nNo map was changed; nothing was saved.\n");
    EXPECT_EQ(Snapshot(dir.path()), Snapshot(SampleGameDir()));
}

TEST(CliMapCommands, NamesAreWindows1252AndPrintAsTheSameCharactersInUtf8)
{
    TempDir dir;
    CopyGame(SampleGameDir(), dir.path());
    MapHandler set = LoadSet(dir.path());
    set.Maps[0].Name = MakeNameBuffer("\xC9t\xE9 \x80\x81 caf\xE9", 16);
    ASSERT_FALSE(set.Save());
    const std::string json = "\"name\": \"\u00C9t\u00E9 \u20AC\\u0081 caf\u00E9\"";
    for (const char* command : {"stats", "check"}) {
        const CliResult r = RunCli({command, dir.path().string(), "--maps", "1", "--json"});
        EXPECT_NE(r.out.find(json), std::string::npos) << r.out;
    }
    // The table pads by characters, not bytes: the columns stay in line.
    const CliResult table = RunCli({"stats", dir.path().string(), "--maps", "1,2"});
    const auto lines = SplitLines(table.out);
    ASSERT_EQ(lines.size(), 3u) << table.out;
    EXPECT_EQ(lines[1].rfind("   1  \u00C9t\u00E9 \u20AC\\x81 caf\u00E9  ", 0), 0u) << lines[1];
    const auto characters = [](const std::string& line) {
        return std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; });
    };
    EXPECT_EQ(characters(lines[1]), characters(lines[2]));
}

// Every byte from 0x80 to 0xFF in the names: each document parses as JSON
// and gives the names back, byte for byte.
TEST(CliMapCommands, JsonGivesBackNamesOfEveryHighByte)
{
    TempDir dir;
    MapHandler set = EmptySet(dir.path());
    std::vector<std::string> names;
    for (int first = 0x80; first <= 0xFF; first += 15) {
        std::string name;
        for (int byte = first; byte < std::min(first + 15, 0x100); ++byte)
            name += static_cast<char>(byte);
        names.push_back(name);
        AddBlankMap(set, 8, 8, name);
    }
    ASSERT_FALSE(set.Save());
    for (const std::string command : {"info", "stats", "check"}) {
        const CliResult r = RunCli({command, dir.path().string(), "--json"});
        ASSERT_TRUE(nlohmann::json::accept(r.out)) << command << r.out << r.err;
        const nlohmann::json document = nlohmann::json::parse(r.out);
        const nlohmann::json& maps = command == "info" ? document["maps"] : document;
        ASSERT_EQ(maps.size(), names.size()) << command;
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(Utf8ToWindows1252(maps[i]["name"].get<std::string>()), names[i]) << command << " " << i;
    }
}

TEST(CliMapCommands, RealGamesPassTheCheckCountAsCountedHereAndTurnFourTimesBack)
{
    const auto sets = RealGameSets();
    if (sets.empty())
        GTEST_SKIP() << "no real game data";
    for (const fs::path& game : sets) {
        SCOPED_TRACE(game.string());
        const MapHandler original = LoadSet(game);
        const std::string structure = ToUpperAscii(original.Extension);

        CliResult r = RunCli({"check", game.string(), "--json"});
        EXPECT_EQ(r.status, 0) << r.out << r.err;
        // Nothing but warnings: the walls beside id's elevators carry the switch's picture.
        auto count = [&](const std::string& text) {
            std::size_t n = 0;
            for (std::size_t at = r.out.find(text); at != std::string::npos; at = r.out.find(text, at + 1))
                ++n;
            return n;
        };
        std::size_t warnings = 0;
        for (const char* kind : {"elevator_side", "unreachable_treasure", "unreachable_key", "unreachable_enemy",
                                 "patrol_blocked"})
            warnings += count("\"kind\": \"" + std::string(kind) + "\"");
        EXPECT_EQ(count("\"kind\""), warnings) << r.out;

        r = RunCli({"stats", game.string(), "--json"});
        ASSERT_EQ(r.status, 0) << r.err;
        std::string expected = "[\n";
        for (int i = 0; i < original.NumMaps(); ++i) {
            const MapList& map = original.Maps[static_cast<std::size_t>(i)];
            expected += StatsJsonLine(i + 1, map, CountFromSymbolFiles(map, structure)) +
                        (i + 1 < original.NumMaps() ? ",\n" : "\n");
        }
        EXPECT_EQ(r.out, expected + "]\n");

        TempDir turned, resaved;
        CopyGame(game, turned.path());
        CopyGame(game, resaved.path());
        for (int i = 0; i < 4; ++i)
            ASSERT_EQ(RunCli({"edit", turned.path().string(), "--rotate", "90"}).status, 0);
        ASSERT_EQ(RunCli({"resave", resaved.path().string()}).status, 0);
        ExpectSameMaps(original, LoadSet(turned.path()));
        for (const std::string& name : ListDirectory(game))
            EXPECT_EQ(ReadFile(turned / name), ReadFile(resaved / name)) << name;
    }
}
