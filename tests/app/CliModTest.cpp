// tesselar-cli episodes, diff and package: what each prints, as text and as
// JSON, and its exit status, on drawn sets of the shareware's layout (and
// on the shareware itself, where it is there).

#include "RulesTestUtil.h"
#include "TestUtil.h"
#include "audio/AudioSet.h"
#include "mapdefs/ChunkNames.h"
#include "mod/ZipArchive.h"
#include "vgagraph/GraphicsSet.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace tsl;
using namespace tsl::test;

namespace {

const std::vector<std::string> kBoth = {"########", "#E.>.sE#", "########"};
const std::vector<std::string> kElevator = {"######", "#E.>.#", "######"};
const std::vector<std::string> kClosed = {"######", "#..>.#", "######"};

// A set of drawn floors in the shareware's layout (the shipped WL1
// structure, with its level flow), in a folder of its own.
struct DrawnGame {
    TempDir dir;
    explicit DrawnGame(const std::vector<std::vector<std::string>>& floors)
    {
        EXPECT_FALSE(DrawnSet(dir.path(), floors).Save());
    }
    std::string Dir() const { return dir.path().string(); }
};

TEST(CliEpisodes, PrintsTheBoardAndFailsWhereTheFlowBreaks)
{
    const DrawnGame game({kBoth, kElevator, kClosed});
    const CliResult json = RunCli({"episodes", game.Dir(), "--skill", "2", "--json"});
    EXPECT_EQ(json.status, 1) << json.err;
    const auto board = nlohmann::ordered_json::parse(json.out);
    ASSERT_EQ(board["episodes"].size(), 1u);
    const auto& episode = board["episodes"][0];
    EXPECT_EQ(episode["number"], 1);
    ASSERT_EQ(episode["maps"].size(), 3u);
    const auto& first = episode["maps"][0];
    EXPECT_EQ(first["map"], 1);
    EXPECT_EQ(first["name"], "Floor 1");
    EXPECT_EQ(first["exits"].dump(),
              R"([{"kind":"elevator","to":2},{"kind":"secret_elevator","to":10}])");
    EXPECT_EQ(first["par_seconds"], 90);
    EXPECT_EQ(first["walk_seconds"], 0.1); // one step: ceil(65536 / 10500) = 7 tics
    ASSERT_EQ(first["skills"].size(), 1u);
    EXPECT_EQ(first["skills"][0]["skill"], 2);
    EXPECT_TRUE(episode["maps"][2]["walk_seconds"].is_null());
    EXPECT_EQ(episode["warnings"].dump(),
              R"([{"map":1,"kind":"leads_outside","text":"Map 1 (Floor 1): its secret elevator leads to map 10, )"
              R"(which the set does not have."},{"map":3,"kind":"unfinishable","text":"Map 3 (Floor 3): cannot be )"
              R"(finished on skill 2."}])");

    const CliResult text = RunCli({"episodes", game.Dir(), "--skill", "1"});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out.substr(0, text.out.find("  Map 2")),
              "Episode 1:\n"
              "  Map 1 (Floor 1): par 1:30, shortest walk 0:01\n"
              "    Exits: elevator to map 2; secret elevator to map 10\n"
              "    Skill 1: 0 kills, 0 treasure, 0 secrets\n");
    EXPECT_NE(text.out.find("  Warning: Map 3 (Floor 3): cannot be finished on skill 1.\n"), std::string::npos);

    // Floors 1 to 8 lead on, floor 9 ends the episode at its victory tile.
    const DrawnGame fine({kElevator, kElevator, kElevator, kElevator, kElevator, kElevator, kElevator, kElevator,
                          {"######", "#.>.V#", "######"}});
    const CliResult flows = RunCli({"episodes", fine.Dir()});
    EXPECT_EQ(flows.status, 0) << flows.out;
}

TEST(CliDiff, TellsWhatDiffersFromAnotherFolderAndFromABackup)
{
    const DrawnGame original({kElevator, kElevator});
    std::vector<std::string> moved = kElevator;
    moved[1] = "#E>..#";
    const DrawnGame mod({kElevator, moved, kClosed});
    const CliResult json = RunCli({"diff", mod.Dir(), original.Dir(), "--json"});
    EXPECT_EQ(json.status, 1) << json.err;
    EXPECT_EQ(json.out, "{\n"
                        "  \"maps\": [\n"
                        "    {\"map\": 2, \"changes\": [\"changed\"], \"planes\": [{\"plane\": 1, \"tiles\": 2}]},\n"
                        "    {\"map\": 3, \"changes\": [\"added\"], \"planes\": []}\n"
                        "  ],\n"
                        "  \"pages\": [],\n"
                        "  \"graphics\": [],\n"
                        "  \"audio\": []\n"
                        "}\n");
    const CliResult text = RunCli({"diff", original.Dir(), mod.Dir()});
    EXPECT_EQ(text.out, "Map 2 (Floor 2): changed (plane 1: 2 tiles)\nMap 3 (Floor 3): removed\n");
    const CliResult same = RunCli({"diff", original.Dir(), original.Dir()});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "Nothing differs.\n");

    // A save keeps the files it replaced: the set compared with them.
    ASSERT_EQ(RunCli({"edit", mod.Dir(), "--maps", "1", "--flip", "horizontal"}).status, 0);
    const auto generations = nlohmann::json::parse(RunCli({"backups", mod.Dir(), "--json"}).out);
    ASSERT_EQ(generations.size(), 1u);
    const CliResult backup = RunCli({"diff", mod.Dir(), "--generation", generations[0]["id"].get<std::string>()});
    EXPECT_EQ(backup.status, 1) << backup.err;
    EXPECT_EQ(backup.out.substr(0, 26), "Map 1 (Floor 1): changed (");
}

TEST(CliPackage, WritesTheReleaseOrRefusesWithTheFindings)
{
    const DrawnGame original({kElevator, kElevator});
    const DrawnGame mod({{"########", "#E..>..#", "########"}, kElevator});
    TempDir out;
    const std::string zip = (out / "mod.zip").string();
    const CliResult made = RunCli({"package", mod.Dir(), "--against", original.Dir(), zip});
    EXPECT_EQ(made.status, 0) << made.err;
    // Floor 1 packs to as many bytes as before: MAPHEAD.WL1 comes out the same and stays out.
    EXPECT_EQ(made.out, "The release " + zip + " holds GAMEMAPS.WL1, with README.TXT and SHA256SUMS.\n");
    const auto entries = ReadZip(ReadFile(zip), 1 << 20);
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->size(), 3u);

    const DrawnGame stuck({kClosed, kElevator});
    const std::string refused = (out / "stuck.zip").string();
    const CliResult r = RunCli({"package", stuck.Dir(), "--against", original.Dir(), refused});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "The release is held back by what the check found:\n"
                     "- Map 1 (Floor 1) cannot be finished on skill 1, 2, 3 and 4.\n"
                     "Nothing was written. Give --allow-findings to make the release anyway.\n");
    EXPECT_FALSE(fs::exists(refused));
    const CliResult allowed = RunCli({"package", stuck.Dir(), "--against", original.Dir(), refused, "--allow-findings"});
    EXPECT_EQ(allowed.status, 0) << allowed.err;
    EXPECT_TRUE(fs::exists(refused));

    const CliResult nothing = RunCli({"package", original.Dir(), "--against", original.Dir() + "/.", zip});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_EQ(nothing.err, "Make Release: The mod's folder and the original game's are the same folder.\n");
}

} // namespace

// The game's other pictures and sounds are compared chunk by chunk: the
// title with one pixel changed and a PC speaker sound replaced by another.
TEST(CliDiff, TellsTheChunksOfVgagraphAndAudiotThatDiffer)
{
    const auto shareware = SharewareDir();
    if (!shareware)
        GTEST_SKIP() << "The shareware game data is not there.";
    TempDir original, mod;
    fs::copy(*shareware, original.path(), fs::copy_options::recursive);
    fs::copy(*shareware, mod.path(), fs::copy_options::recursive);
    const auto names = ChunkNames::Load(SourceDir() / "data" / "MapDefs" / "WL1" / "chunks.txt");
    ASSERT_TRUE(names);

    const auto graphicsPaths = FindGraphicsFiles(mod.path(), "WL1");
    auto graphics = GraphicsSet::Load(*graphicsPaths, &*names);
    ASSERT_TRUE(graphics) << graphics.failure().text;
    const int title = graphics->Layout().Find("TITLEPIC");
    auto picture = *graphics->Picture(title);
    picture.indices[0] ^= 1;
    ASSERT_FALSE(graphics->ReplacePicture(title, picture));
    const GraphicsFiles g = graphics->Encode();
    WriteFile(graphicsPaths->head, g.head);
    WriteFile(graphicsPaths->dictionary, g.dictionary);
    WriteFile(graphicsPaths->graph, g.graph);

    const auto audioPaths = FindAudioFiles(mod.path(), "WL1");
    auto audio = AudioSet::Load(*audioPaths, &*names);
    ASSERT_TRUE(audio) << audio.failure().text;
    const auto other = audio->ChunkBytes(1);
    ASSERT_FALSE(audio->Replace(0, Bytes(other.begin(), other.end())));
    const AudioFiles a = audio->Encode();
    WriteFile(audioPaths->head, a.head);
    WriteFile(audioPaths->audio, a.audio);

    const CliResult json = RunCli({"diff", mod.path().string(), original.path().string(), "--json"});
    EXPECT_EQ(json.status, 1) << json.err;
    const auto difference = nlohmann::json::parse(json.out);
    EXPECT_EQ(difference["maps"].size(), 0u);
    EXPECT_EQ(difference["graphics"], nlohmann::json::array({title}));
    EXPECT_EQ(difference["audio"], nlohmann::json::array({0}));
    const CliResult text = RunCli({"diff", mod.path().string(), original.path().string()});
    EXPECT_EQ(text.out, "VGAGRAPH chunks: " + std::to_string(title) + "\nAUDIOT chunks: 0\n");
}
