// tesselar-cli analyze: the analysis of play per map and skill level, as
// text and as JSON, and its exit status, on drawn levels and the real games.

#include "RulesTestUtil.h"
#include "TestUtil.h"
#include "core/IniFile.h"
#include "core/MapHandler.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <functional>
#include <tuple>

using namespace tsl;
using namespace tsl::test;

namespace {

// A copy of the sample game whose first two maps are drawn levels: one with
// a way out past a treasure, one whose elevator is walled off.
struct DrawnGame {
    TempDir dir;
    DrawnGame()
    {
        CopyGame(SampleGameDir(), dir.path());
        MapHandler set = LoadSet(dir.path());
        for (auto [index, rows, name] : {std::tuple{0, std::vector<std::string>{"######", "#>T.E#", "######"}, "Open"},
                                         std::tuple{1, std::vector<std::string>{"#######", "#>.#TE#", "#######"},
                                                    "Sealed"}}) {
            MapList map = DrawnMap(rows);
            map.Name = MakeNameBuffer(name, set.Maps[static_cast<std::size_t>(index)].Name.size());
            set.Maps[static_cast<std::size_t>(index)] = map;
        }
        EXPECT_FALSE(set.Save());
    }
    CliResult operator()(std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"analyze", dir.path().string()});
        return RunCli(args);
    }
};

const char* const kMapSize =
    "{\"kind\": \"map_size\", \"count\": 1, \"limit\": 64, \"x\": null, \"y\": null, \"plane\": null}";

} // namespace

TEST(CliAnalyze, PrintsEachSkillOfEachMapAsJson)
{
    const DrawnGame game;
    const CliResult r = game({"--maps", "1,2", "--skill", "1", "--json"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out,
              "[\n"
              "  {\"map\": 1, \"name\": \"Open\", \"skills\": [{\"skill\": 1, \"kills\": 0, \"treasure\": 1, "
              "\"secrets\": 0, \"finishable\": true, \"exits\": [{\"kind\": \"elevator\", \"x\": 4, \"y\": 1}], "
              "\"route\": [[1, 1], [2, 1], [3, 1]], \"secret_route\": null, \"unreachable\": {\"treasure\": [], "
              "\"keys\": [], \"weapons\": [], \"enemies\": []}}], \"findings\": [" + std::string(kMapSize) + "]},\n"
              "  {\"map\": 2, \"name\": \"Sealed\", \"skills\": [{\"skill\": 1, \"kills\": 0, \"treasure\": 1, "
              "\"secrets\": 0, \"finishable\": false, \"exits\": [], \"route\": null, \"secret_route\": null, "
              "\"unreachable\": {\"treasure\": [[4, 1]], \"keys\": [], \"weapons\": [], \"enemies\": []}}], "
              "\"findings\": [" + std::string(kMapSize) + ", "
              "{\"kind\": \"no_exit\", \"count\": 4, \"limit\": null, \"x\": null, \"y\": null, \"plane\": null, "
              "\"skills\": [1, 2, 3, 4]}, {\"kind\": \"unreachable_treasure\", \"count\": 1, \"limit\": null, "
              "\"x\": 4, \"y\": 1, \"plane\": null, \"tiles\": [[4, 1]]}]}\n"
              "]\n");
    // Every skill level without --skill.
    const auto all = nlohmann::json::parse(game({"--maps", "1", "--json"}).out);
    ASSERT_EQ(all.at(0).at("skills").size(), 4u);
    EXPECT_EQ(all.at(0).at("skills").at(3).at("skill"), 4);
}

TEST(CliAnalyze, PrintsOneBlockPerMapAndExitsWithZeroOnlyWhenEveryLevelCanBeFinished)
{
    const DrawnGame game;
    CliResult r = game({"--maps", "2,1", "--skill", "2"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "Map 2 (Sealed):\n"
                     "  Skill 2: 0 kills, 1 treasure, 0 secrets\n"
                     "    No exit can be reached.\n"
                     "    Out of reach: 1 treasure, 0 keys, 0 weapons, 0 enemies\n"
                     "  The engine plays only 64 x 64 maps; this one is not.\n"
                     "  No exit can be reached from the player start on skill levels 1, 2, 3 and 4.\n"
                     "  1 treasure cannot be reached, at column 4, row 1.\n"
                     "Map 1 (Open):\n"
                     "  Skill 2: 0 kills, 1 treasure, 0 secrets\n"
                     "    Exits: elevator at 4,1\n"
                     "    Shortest walk: 3 tiles to 3,1\n"
                     "  The engine plays only 64 x 64 maps; this one is not.\n");
    r = game({"--maps", "1"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1 + 4 * 3 + 1) << r.out;
}

TEST(CliAnalyze, AStructureWithoutRulesOfPlayGetsNoAnalysis)
{
    const DrawnGame game;
    TempDir mapDefs;
    fs::copy(SourceDir() / "data" / "MapDefs", mapDefs.path(), fs::copy_options::recursive);
    IniFile settings(mapDefs / "WL6" / "WL6.ini");
    ASSERT_TRUE(settings.WriteString("Engine", "Rules", ""));
    const CliResult r = game({"--mapdefs", mapDefs.path().string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "No analysis: the map definition structure \"WL6\" has no rules of play.\n");
}

// Rules that a structure names but that do not load are an error for
// every command that plays by them, with the file and the line: never a
// check that passes without them.
TEST(CliAnalyze, RulesOfPlayThatDoNotLoadAreAnErrorOfCheckAndAnalyze)
{
    const DrawnGame game;
    TempDir mapDefs;
    fs::copy(SourceDir() / "data" / "MapDefs", mapDefs.path(), fs::copy_options::recursive);
    const fs::path rules = mapDefs / "WL6" / "engine.txt";
    const std::string text = FileText(rules);
    const std::string badLine = std::to_string(std::count(text.begin(), text.begin() + text.find("0,1-2,"), '\n') + 1);
    const struct {
        const char* what;
        std::function<void()> spoil;
        std::string said;
    } cases[] = {
        {"a bad line", [&] { WriteFile(rules, text.substr(0, text.find("0,1-2,")) + "0,1-2,wal\n"); },
         "Error loading rules of play: Line " + badLine + " of \"" + rules.string() + "\": the kind \"wal\" is none of"},
        {"the file gone", [&] { fs::remove(rules); },
         "Error loading rules of play: The rules of play \"engine.txt\" cannot be read from " +
             (mapDefs / "WL6").string() + ".\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.spoil();
        for (const char* command : {"check", "analyze"}) {
            const CliResult r = RunCli({command, game.dir.path().string(), "--maps", "1", "--mapdefs",
                                        mapDefs.path().string()});
            EXPECT_EQ(r.status, 2) << command;
            EXPECT_EQ(r.out, "") << command;
            EXPECT_NE(r.err.find(c.said), std::string::npos) << command << ": " << r.err;
        }
    }
}

TEST(CliAnalyze, EveryRealLevelCanBeFinishedOnEverySkill)
{
    const auto sets = RealGameSets();
    if (sets.empty())
        GTEST_SKIP() << "no real game data";
    for (const fs::path& game : sets) {
        SCOPED_TRACE(game.string());
        const CliResult r = RunCli({"analyze", game.string(), "--json"});
        EXPECT_EQ(r.status, 0) << r.err;
        const auto maps = nlohmann::json::parse(r.out);
        ASSERT_EQ(maps.size(), LoadSet(game).Maps.size());
        for (const auto& map : maps) {
            ASSERT_EQ(map.at("skills").size(), 4u);
            for (const auto& skill : map.at("skills"))
                EXPECT_TRUE(skill.at("finishable").get<bool>()) << map.at("map") << " " << skill.at("skill");
        }
    }
}

TEST(CliGenerate, ALevelOfASizeTheEngineDoesNotPlayIsSavedAndSaidSo)
{
    TempDir game;
    CopyGame(SampleGameDir(), game.path());
    CliResult r = RunCli({"generate", game.path().string(), "--map", "2", "--seed", "5", "--size", "16x16"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "The engine of this game plays only 64 x 64 maps; map 2 is 16 x 16 as --size asks, for an "
                     "engine that plays others.\n");
    EXPECT_EQ(LoadSet(game.path()).Maps[1].Width, 16);
    // Finishable all the same; the check's one finding is the size.
    r = RunCli({"analyze", game.path().string(), "--maps", "2", "--json"});
    EXPECT_EQ(r.status, 0) << r.err;
    const auto findings = nlohmann::json::parse(r.out)[0].at("findings");
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].at("kind"), "map_size");
}
