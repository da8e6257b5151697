// Every kind of set Tesselar writes, played by the engine: the shareware set
// after each way of writing it, each level played for four seconds by the
// source port without the engine stopping. One row per way of making the
// set; a row plays the maps it changed and one it did not (every level of
// the set resaved as it is), since each engine start costs seconds.

#include "EditorTestUtil.h"
#include "EngineSupport.h"
#include "editor/session/EditorSession.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

using namespace tsl;
using namespace tsl::test;

namespace {

// Runs tesselar-cli on the set in `dir`: its command, the set, then the rest.
void Cli(const fs::path& dir, const std::string& command, std::vector<std::string> rest = {})
{
    std::vector<std::string> args = {command, dir.string()};
    args.insert(args.end(), rest.begin(), rest.end());
    const CliResult result = RunCli(args);
    ASSERT_EQ(result.status, 0) << command << ": " << result.err;
}

// Opens the set in `dir` as the editor does (with the shipped WL1
// structure), lets `change` work on the session, and saves as the editor saves.
void InEditor(const fs::path& dir, const std::function<void(EditorSession&)>& change)
{
    const fs::path root = dir.parent_path() / "MapDefs";
    fs::create_directories(root);
    fs::copy(SourceDir() / "data" / "MapDefs" / "WL1", root / "WL1",
             fs::copy_options::recursive | fs::copy_options::skip_existing);
    auto project = OpenGame(dir, root);
    ASSERT_TRUE(project);
    EditorSession session(std::move(project));
    change(session);
    const auto failure = session.Maps().Save();
    ASSERT_FALSE(failure) << failure->text;
}

// Exports maps `maps` into `file` and imports them in front of map 1, as
// tesselar-cli's import does.
void ExportAndImport(const fs::path& dir, const std::string& file, const std::string& maps,
                     std::vector<std::string> exportOptions = {})
{
    const fs::path exchange = dir.parent_path() / file;
    exportOptions.insert(exportOptions.begin(), {exchange.string(), "--maps", maps});
    Cli(dir, "export", exportOptions);
    Cli(dir, "import", {exchange.string(), "--at", "1"});
}

// Clear Map (Solid, or Random) on map `index` (from 0), in the editor.
std::function<void(const fs::path&)> Cleared(int index, bool random)
{
    return [=](const fs::path& dir) {
        InEditor(dir, [=](EditorSession& session) {
            session.GoToLevel(index);
            EXPECT_FALSE(session.ClearMap(random).Message);
        });
    };
}

// Replaces a picture (--chunk N) or a sound (--sound K) of the page file
// with tesselar-cli import-page, from `file` as export-pages wrote it from
// the same page file: another wall, sprite or sound of the game.
std::function<void(const fs::path&)> PageImported(const std::string& option, int number, const std::string& file)
{
    return [=](const fs::path& dir) {
        const fs::path pages = dir.parent_path() / "pages";
        Cli(dir, "export-pages", {pages.string()});
        Cli(dir, "import-page", {option, std::to_string(number), (pages / file).string()});
    };
}

// Map 1's song (GETTHEM_MUS) replaced by POW_MUS as export-audio wrote it,
// map 2's (SEARCHN_MUS) by SUSPENSE_MUS made header-less (its commands alone,
// as an IMF file of the other kind), and the AdLib sound of an opening door
// (OPENDOORSND) by the one of a closing door: the engine loads them all when
// the level starts, and plays the song.
void AudioReplaced(const fs::path& dir)
{
    const fs::path audio = dir.parent_path() / "audio";
    Cli(dir, "export-audio", {audio.string(), "--chunks", "105-106,270,273"});
    Cli(dir, "import-audio", {"--chunk", "264", (audio / "music-270.imf").string()});
    const Bytes song = ReadFile(audio / "music-273.imf");
    const std::size_t length = Get16(song, 0);
    WriteFile(audio / "headerless.imf", Bytes(song.begin() + 2, song.begin() + 2 + static_cast<std::ptrdiff_t>(length)));
    Cli(dir, "import-audio", {"--chunk", "272", (audio / "headerless.imf").string()});
    Cli(dir, "import-audio", {"--chunk", "105", (audio / "adlib-106.adl").string()});
}

struct SetCase {
    std::string name;
    std::function<void(const fs::path& dir)> make;
    std::vector<int> levels; // from 0; empty: every level of the set
};

void PrintTo(const SetCase& row, std::ostream* out)
{
    *out << row.name;
}

const std::vector<SetCase>& SetCases()
{
    static const std::vector<SetCase> cases = {
        {"Resaved", [](const fs::path& d) { Cli(d, "resave"); }, {}},
        {"Rotated90", [](const fs::path& d) { Cli(d, "edit", {"--maps", "1", "--rotate", "90"}); }, {0, 1}},
        {"Rotated180", [](const fs::path& d) { Cli(d, "edit", {"--maps", "2", "--rotate", "180"}); }, {1, 2}},
        {"Rotated270", [](const fs::path& d) { Cli(d, "edit", {"--maps", "3", "--rotate", "270"}); }, {2, 3}},
        {"FlippedHorizontally",
         [](const fs::path& d) { Cli(d, "edit", {"--maps", "4", "--flip", "horizontal"}); }, {3, 4}},
        {"FlippedVertically", [](const fs::path& d) { Cli(d, "edit", {"--maps", "5", "--flip", "vertical"}); },
         {4, 5}},
        {"PlanesFlipped", [](const fs::path& d) { Cli(d, "edit", {"--maps", "6", "--flip-planes", "1,2"}); },
         {5, 6}},
        {"Autofloored", [](const fs::path& d) { Cli(d, "edit", {"--maps", "7", "--autofloor"}); }, {6, 7}},
        {"Replaced",
         [](const fs::path& d) { Cli(d, "edit", {"--maps", "8", "--plane", "0", "--replace", "1=8"}); }, {7, 8}},
        {"Cleared", Cleared(8, false), {8, 9}},
        {"ClearedAtRandom", Cleared(9, true), {9, 0}},
        {"Renamed",
         [](const fs::path& d) {
             InEditor(d, [](EditorSession& s) {
                 s.GoToLevel(0);
                 EXPECT_FALSE(s.ApplyMapProperties({"Renamed level", 64, 64, false}).Message);
             });
         },
         {0, 1}},
        {"MapAddedAndOneDeleted",
         [](const fs::path& d) {
             InEditor(d, [](EditorSession& s) {
                 // A new map in front of map 3, drawn as a copy of map 1,
                 // then map 6 (now 7) deleted.
                 s.GoToLevel(2);
                 EXPECT_FALSE(s.AddMap().Message);
                 auto change = s.Document().Begin();
                 change.Current().Planes = s.Maps().Maps[0].Planes;
                 change.Commit();
                 s.GoToLevel(6);
                 EXPECT_FALSE(s.DeleteMap().Message);
             });
         },
         {2, 6}},
        {"ImportedFromTsl", [](const fs::path& d) { ExportAndImport(d, "maps.tsl", "1-2"); }, {0, 2}},
        {"ImportedFromFloEdit", [](const fs::path& d) { ExportAndImport(d, "maps.lvl", "1-2"); }, {1, 2}},
        {"ImportedFromWdc", [](const fs::path& d) { ExportAndImport(d, "maps.map", "1-2"); }, {0, 3}},
        {"ImportedFromMapEdit", [](const fs::path& d) { ExportAndImport(d, "one.flr", "1"); }, {0, 1}},
        {"ImportedFromChaosEdit", [](const fs::path& d) { ExportAndImport(d, "one.map", "1", {"--chaosedit"}); },
         {0, 2}},
        {"Generated",
         [](const fs::path& d) {
             Cli(d, "generate", {"--map", "1", "--seed", "1"});
             Cli(d, "generate", {"--map", "2", "--seed", "2", "--keys", "2", "--secrets", "5", "--enemies", "many"});
             Cli(d, "generate", {"--map", "3", "--seed", "3", "--keys", "1", "--secrets", "2", "--enemies", "few"});
             Cli(d, "generate", {"--map", "4", "--seed", "4", "--rooms", "24", "--theme", "wood"});
         },
         {0, 1, 2, 3, 4}},
        // The grey stone wall of map 1, sprite 2 (chunk 108), and sound 0 (two
        // chunks) replaced by sound 2 (five): the later sounds' chunks move.
        {"PageFileWallReplaced", PageImported("--chunk", 0, "wall-0014.png"), {0, 1}},
        {"PageFileSpriteReplaced", PageImported("--chunk", 108, "sprite-0110.png"), {0, 1}},
        {"PageFileSoundReplaced", PageImported("--sound", 0, "sound-002.wav"), {0, 1}},
        {"SongsAndAnAdLibSoundReplaced", AudioReplaced, {0, 1}},
    };
    return cases;
}

// Why the levels cannot be played here (empty when they can).
std::string WhyNotPlayable(EnginePort& port)
{
    port = FindEnginePort();
    if (!port.unavailable.empty())
        return port.unavailable;
    if (SharewareSet().empty())
        return "the shareware set is not beside the source tree (../shared/games/wl1)";
    return {};
}

class EnginePlays : public ::testing::TestWithParam<SetCase> {};

TEST_P(EnginePlays, EveryLevelItChanged)
{
    EnginePort port;
    if (const std::string why = WhyNotPlayable(port); !why.empty())
        GTEST_SKIP() << why;
    const SetCase& row = GetParam();
    TempDir work;
    const fs::path game = work / "wl1";
    fs::create_directories(game);
    CopyGame(SharewareSet(), game);
    row.make(game);
    if (HasFatalFailure())
        return;
    std::vector<int> levels = row.levels;
    if (levels.empty()) {
        levels.resize(static_cast<std::size_t>(LoadSet(game).NumMaps()));
        std::iota(levels.begin(), levels.end(), 0);
    }
    for (const std::string& stopped : LevelsThatStopped(port.binary, game, levels))
        ADD_FAILURE() << stopped;
}

INSTANTIATE_TEST_SUITE_P(Sets, EnginePlays, ::testing::ValuesIn(SetCases()),
                         [](const auto& row) { return row.param.name; });

TEST(EngineLimits, AMapOfAnotherSizeIsFlaggedByTheCheck)
{
    // The engine crashes on a 64 x 65 map (free(): invalid pointer): the
    // check must say so before anyone plays it; the other maps still play.
    EnginePort port;
    if (const std::string why = WhyNotPlayable(port); !why.empty())
        GTEST_SKIP() << why;
    TempDir work;
    CopyGame(SharewareSet(), work.path());
    Cli(work.path(), "edit", {"--maps", "1", "--resize", "64x65"});
    const CliResult check = RunCli({"check", work.path().string(), "--maps", "1-2"});
    EXPECT_EQ(check.status, 1) << check.out << check.err;
    EXPECT_NE(check.out.find("Map 1 (Wolf1 Map1):\n  The engine plays only 64 x 64 maps; this one is not.\n"),
              std::string::npos)
        << check.out;
    for (const std::string& stopped : LevelsThatStopped(port.binary, work.path(), {1}))
        ADD_FAILURE() << stopped;
}

} // namespace
