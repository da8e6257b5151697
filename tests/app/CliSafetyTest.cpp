// tesselar-cli against damaged sets, links, directories in the way, failing
// disks and interrupted saves, and the messages of its own use. The commands
// run in-process here, so that the file-system seam can make the disk fail.

#include "GraphicsTestUtil.h"
#include "TestUtil.h"
#include "app/cli/Cli.h"
#include "mapdefs/StructureStore.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace tsl;
using namespace tsl::test;

namespace {

CliResult RunHere(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    CliResult result;
    result.status = cli::RunCommandLine(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// A copy of the sample game, and a MapDefs folder of its own (empty: the
// loader's defaults apply).
struct Game {
    TempDir dir, mapDefs;
    Game() { CopyGame(SampleGameDir(), dir.path()); }
    std::string path() const { return dir.path().string(); }
    std::string Option() const { return "--mapdefs=" + mapDefs.path().string(); }
    CliResult operator()(std::vector<std::string> args) const
    {
        args.insert(args.begin() + 1, path());
        args.push_back(Option());
        return RunHere(args);
    }
    void Truncate(std::uintmax_t size) const { fs::resize_file(dir / "MAPHEAD.WL6", size); }
    void ClearEntry(std::ptrdiff_t index) const
    {
        Bytes head = ReadFile(dir / "MAPHEAD.WL6");
        std::fill_n(head.begin() + 2 + 4 * index, 4, 0);
        WriteFile(dir / "MAPHEAD.WL6", head);
    }
};

const std::string kRefused = "Some maps were damaged when they were loaded (see above); saving would write them as they "
                             "are now. Nothing was saved. Give --force to save anyway";

} // namespace

struct DamageCase {
    const char* what;
    std::function<void(const Game&)> damage;
    std::vector<std::string> extra; // options for the load
    const char* note;               // what the load says
};

class CliDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(CliDamage, SavesAreRefusedUnlessForcedAndNeverReplaceTheBackup)
{
    const DamageCase& c = GetParam();
    Game game;
    ASSERT_EQ(game({"resave"}).status, 0); // a backup to protect
    c.damage(game);
    StructureSettings choice; // for edit, which needs the symbols
    ASSERT_FALSE(CreateFromScratch(game.mapDefs.path(), "WL6", "", choice, 3));
    auto withExtra = [&](std::vector<std::string> args) {
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        return game(args);
    };
    const auto before = Snapshot(game.dir.path());

    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"resave"}, {"import", (SampleGameDir() / "MAPHEAD.WL6").string()},
          {"edit", "--autofloor"}, {"generate", "--seed", "1"}}) {
        const CliResult refused = withExtra(command);
        EXPECT_EQ(refused.status, 1) << command[0];
        EXPECT_TRUE(Has(refused.err, c.note)) << refused.err;
        EXPECT_TRUE(Has(refused.err, kRefused)) << refused.err;
        EXPECT_EQ(Snapshot(game.dir.path()), before);
    }
    for (const char* reader : {"info", "export"}) {
        std::vector<std::string> args{reader};
        if (std::string(reader) == "export")
            args.push_back((game.mapDefs / "out.tsl").string());
        const CliResult read = withExtra(args);
        EXPECT_EQ(read.status, 3) << reader << read.err;
        EXPECT_TRUE(Has(read.err, "The set is damaged (see above)")) << read.err;
    }

    const CliResult forced = withExtra({"resave", "--force"});
    ASSERT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(forced.out, "Maps saved! The previous files were kept as GAMEMAPS.WL6.BAK1 and MAPHEAD.WL6.BAK1.\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliDamage,
    ::testing::Values(
        DamageCase{"SwappedTags", [](const Game&) {}, {"--near", "A8", "--far", "A7"}, "Some maps are damaged."},
        DamageCase{"HeaderCutInAnEntry", [](const Game& g) { g.Truncate(13); }, {},
                   "The map header lists more maps than were loaded: it ends in the middle of an entry."},
        DamageCase{"EntriesAfterAnEmptyOne", [](const Game& g) { g.ClearEntry(2); }, {},
                   "The map header lists more maps than were loaded: 4 entries follow an empty one."}),
    [](const auto& param) { return std::string(param.param.what); });

TEST(CliSafety, AnInterruptedSaveIsToldWithTheFilesToRestore)
{
    Game game;
    ASSERT_EQ(game({"resave"}).status, 0);
    // Stopped after the header went to its backup: the backups hold the whole previous set.
    fs::rename(game.dir / "MAPHEAD.WL6", game.dir / "MAPHEAD.WL6.BAK");
    CliResult r = game({"info"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error loading maps: An earlier save was interrupted: MAPHEAD.WL6 is missing.\n\nTo get the "
                     "previous maps back, rename MAPHEAD.WL6.BAK to MAPHEAD.WL6 and GAMEMAPS.WL6.BAK to "
                     "GAMEMAPS.WL6, then open the game again.\n");
    // Stopped after the data file went: only it is to be restored.
    fs::rename(game.dir / "MAPHEAD.WL6.BAK", game.dir / "MAPHEAD.WL6");
    fs::rename(game.dir / "GAMEMAPS.WL6", game.dir / "GAMEMAPS.WL6.BAK");
    r = game({"info"});
    EXPECT_TRUE(Has(r.err, "GAMEMAPS.WL6 is missing.\n\nTo get the previous maps back, rename GAMEMAPS.WL6.BAK to "
                           "GAMEMAPS.WL6, then open"))
        << r.err;
}

TEST(CliSafety, CommandsThatReadWriteNothingButTheirOutput)
{
    Game game;
    StructureSettings choice;
    ASSERT_FALSE(CreateFromScratch(game.mapDefs.path(), "WL6", "", choice, 3));
    for (const std::string& name : ListDirectory(game.mapDefs / "WL6"))
        if (name != "WL6.ini")
            WriteFile(game.mapDefs / "WL6" / name, std::string()); // empty symbol and type files
    auto everything = [&] { return std::pair(Snapshot(game.mapDefs.path()), Snapshot(game.dir.path())); };
    const auto before = everything();
    TempDir out;
    EXPECT_EQ(game({"info"}).status, 0);
    EXPECT_EQ(game({"export", (out / "maps.tsl").string()}).status, 0);
    const CliResult r = game({"render", (out / "map.bmp").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(everything(), before);
}

TEST(CliUse, EachProblemWithTheDirectoryHasItsOwnMessage)
{
    TempDir dir;
    WriteFile(dir / "file", std::string("x"));
    fs::create_directory(dir / "game");
    fs::create_directory(dir / "game" / "MAPHEAD.WL6");
    const std::pair<std::string, std::string> cases[] = {
        {(dir / "missing").string(), "The directory " + (dir / "missing").string() + " doesn't exist!"},
        {(dir / "file").string(), (dir / "file").string() + " is a file, not a directory!"},
        {(dir / "game").string(), "MAPHEAD.WL6 is a directory, not a map header file!"},
    };
    for (const auto& [path, message] : cases) {
        const CliResult r = RunHere({"info", path});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Error loading maps: " + message + "\n");
    }
    SetDiskFaultHook([](DiskStep step, const fs::path&) { return step == DiskStep::List ? EACCES : 0; });
    const CliResult r = RunHere({"info", (dir / "game").string()});
    SetDiskFaultHook({});
    EXPECT_EQ(r.err, "Error loading maps: Couldn't read the directory " + (dir / "game").string() +
                         " (Permission denied)!\n");
}

// Every refusal of the command line, command by command: each is told on
// standard error with the option it is about, with status 2, before any
// file is read or written.
TEST(CliUse, RefusesWhatTheDeclarationsDoNotAllow)
{
    TempDir game, out;
    CopyGame(SampleGameDir(), game.path());
    const std::string d = game.path().string(), f = (out / "file.tsl").string();
    const std::string missing = (game / "nothing").string();
    const std::string infoUsage = "Usage: tesselar-cli info DIR [--json] [loader options]\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"frobnicate"}, "Unknown command \"frobnicate\". See tesselar-cli --help.\n"},
        {{"eidt", d}, "Unknown command \"eidt\". Did you mean \"edit\"? See tesselar-cli --help.\n"},
        {{"analyse"}, "Unknown command \"analyse\". Did you mean \"analyze\"? See tesselar-cli --help.\n"},
        {{"--bogus"}, "Unknown option --bogus. See tesselar-cli --help.\n"},
        {{"--version=1"}, "--version takes no value.\n"},
        {{"info"}, "The argument DIR is missing.\n" + infoUsage},
        {{"info", d, "--bogus"}, "Unknown option --bogus.\n" + infoUsage},
        {{"info", d, "--json", "--json"}, "The option --json is given twice.\n"},
        {{"info", d, "--json=yes"}, "--json takes no value.\n"},
        // The loader options, as every command that loads a set has them.
        {{"info", d, "--planes", "0"}, "--planes takes a number from 1 to 32767.\n"},
        {{"info", d, "--planes"}, "The option --planes needs a value.\n"},
        {{"info", d, "--near", "XYZ"}, "--near takes two hexadecimal digits.\n"},
        {{"info", d, "--far", "100"}, "--far takes two hexadecimal digits.\n"},
        {{"info", d, "--near", "A7", "--near=A8"}, "The option --near is given twice.\n"},
        {{"info", d, "--wdc", "--wdc"}, "The option --wdc is given twice.\n"},
        {{"info", d, "--wdc", "--no-wdc"}, "The options --wdc and --no-wdc contradict each other.\n"},
        {{"info", d, "--no-extended-names", "--extended-names"},
         "The options --extended-names and --no-extended-names contradict each other.\n"},
        {{"info", d, "--mapdefs", missing}, "The MapDefs folder " + missing + " doesn't exist!\n"},
        {{"info", d, "--mapdefs"}, "The option --mapdefs needs a value.\n"},
        {{"resave", d, "--force", "--force"}, "The option --force is given twice.\n"},
        {{"resave", d, f}, "The argument \"" + f + "\" is one too many.\nUsage: tesselar-cli resave DIR [--force] [loader options]\n"},
        {{"render", d}, "The argument OUT is missing.\nUsage: tesselar-cli render DIR OUT [--map N] [--zoom Z] [--graphics] [loader options]\n"},
        {{"render", d, f, "--map", "0"}, "--map takes a map number from 1.\n"},
        {{"render", d, f, "--zoom", "5"}, "--zoom takes a track-bar position from 0 to 4 (1x, 2x, 4x, 6x, 8x).\n"},
        {{"render", d, f, "--zoom"}, "The option --zoom needs a value.\n"},
        {{"render", d, f, "--graphics", "--graphics"}, "The option --graphics is given twice.\n"},
        {{"render3d", d, f, "--map", "x"}, "--map takes a map number from 1.\n"},
        {{"render3d", d, f, "--at", "3"}, "--at takes X,Y, each from 0 to 255.\n"},
        {{"render3d", d, f, "--at", "256,0"}, "--at takes X,Y, each from 0 to 255.\n"},
        {{"render3d", d, f, "--angle", "east"},
         "--angle takes a number of degrees (0 east, 90 north, 180 west, 270 south).\n"},
        {{"render3d", d, f, "--size", "640x0"}, "--size takes WxH, each from 1 to 8192, such as 640x400.\n"},
        {{"render3d", d, f, "--size", "8x8", "--size=9x9"}, "The option --size is given twice.\n"},
        {{"render3d", d, f, "--skill", "5"}, "--skill takes a skill level from 1 to 4.\n"},
        {{"export", d, f, "--maps", "2-1"}, "--maps takes map numbers from 1 and ranges, such as 1,3,5-9.\n"},
        {{"export", d, f, "--chaosedit", "--chaosedit"}, "The option --chaosedit is given twice.\n"},
        {{"import", d, f, "--at", "0"}, "--at takes a map number from 1.\n"},
        {{"import", d, f, "--at"}, "The option --at needs a value.\n"},
        {{"import", d, f, "--force", "--force"}, "The option --force is given twice.\n"},
        {{"stats", d, "--maps"}, "The option --maps needs a value.\n"},
        {{"stats", d, "--maps", "1", "--maps", "2"}, "The option --maps is given twice.\n"},
        {{"stats", d, "--json=no"}, "--json takes no value.\n"},
        {{"stats", d, "--maps", "1,1"}, "Map 1 is listed twice in --maps.\n"},
        {{"check", d, "--maps", "0"}, "--maps takes map numbers from 1 and ranges, such as 1,3,5-9.\n"},
        {{"check", d, "--json", "--json"}, "The option --json is given twice.\n"},
        {{"check"}, "The argument DIR is missing.\nUsage: tesselar-cli check DIR [--maps LIST] [--json] [loader options]\n"},
        {{"analyze"}, "The argument DIR is missing.\nUsage: tesselar-cli analyze DIR [--maps LIST] [--skill K] [--json] [loader options]\n"},
        {{"analyze", d, "--skill", "5"}, "--skill takes a skill level from 1 (easiest) to 4 (hardest).\n"},
        {{"analyze", d, "--skill", "2", "--skill", "3"}, "The option --skill is given twice.\n"},
        {{"analyze", d, "--maps", "1,1"}, "Map 1 is listed twice in --maps.\n"},
        {{"edit", d, "--rotate", "45"}, "--rotate takes 90, 180 or 270.\n"},
        {{"edit", d, "--flip", "sideways"}, "--flip takes horizontal or vertical.\n"},
        {{"edit", d, "--autofloor", "--rotate"}, "The option --rotate needs a value.\n"},
        {{"edit", d, "--rotate", "--flip", "vertical"}, "The option --rotate needs a value.\n"},
        {{"edit", d, "--autofloor=x"}, "--autofloor takes no value.\n"},
        {{"edit", d, "--flip-planes", "0"}, "--flip-planes takes A,B, each from 0 to 32766.\n"},
        {{"edit", d, "--replace", "0"}, "--replace takes FIND=WITH: two symbols of the plane, by name or value.\n"},
        {{"edit", d, "--resize", "257x64"}, "--resize takes WxH, each from 1 to 256, such as 64x64.\n"},
        {{"edit", d, "--autofloor", "--plane"}, "The option --plane needs a value.\n"},
        {{"edit", d, "--plane", "--rotate", "90"}, "The option --plane needs a value.\n"},
        {{"edit", d, "--autofloor", "--plane", "-1"}, "--plane takes a plane number from 0.\n"},
        {{"edit", d, "--autofloor", "--plane", "1", "--plane=2"}, "The option --plane is given twice.\n"},
        {{"edit", d, "--force", "--rotate", "90", "--force"}, "The option --force is given twice.\n"},
        {{"edit", d, "--keep-facing", "--autofloor", "--keep-facing"}, "The option --keep-facing is given twice.\n"},
        {{"edit", d, "--autofloor", "--maps", "1,3-4,3"}, "Map 3 is listed twice in --maps.\n"},
        {{"edit", d}, "Name at least one operation (see tesselar-cli edit --help).\n"},
        {{"generate", d, "--map", "0"}, "--map takes a map number from 1.\n"},
        {{"generate", d, "--seed", "4294967296"}, "--seed takes a number from 0 to 4294967295.\n"},
        {{"generate", d, "--rooms", "x"}, "--rooms takes a number of rooms.\n"},
        {{"generate", d, "--rooms", "2"}, "Generate Level: A map of 64 x 64 tiles holds 3 to 40 rooms.\n"},
        {{"generate", d, "--rooms", "0"}, "Generate Level: A map of 64 x 64 tiles holds 3 to 40 rooms.\n"},
        {{"generate", d, "--rooms", "41"}, "Generate Level: A map of 64 x 64 tiles holds 3 to 40 rooms.\n"},
        {{"generate", d, "--enemies", "lots"}, "--enemies takes none, few, normal or many.\n"},
        {{"generate", d, "--keys", "3"}, "--keys takes a number from 0 to 2.\n"},
        {{"generate", d, "--secrets", "6"}, "--secrets takes a number from 0 to 5.\n"},
        {{"generate", d, "--theme"}, "The option --theme needs a value.\n"},
        {{"generate", d, "--theme", "marble"}, "Generate Level: There is no theme \"marble\"; the themes are grey-stone, "
                                               "blue-stone, wood, steel, red-brick, purple-stone.\n"},
        {{"generate", d, "--size", "8x8"}, "--size takes WxH, each from 16 to 128, such as 64x64.\n"},
        {{"generate", d, "--json", "--json"}, "The option --json is given twice.\n"},
        {{"backups", d, "--json", "--json"}, "The option --json is given twice.\n"},
        {{"backups"}, "The argument DIR is missing.\nUsage: tesselar-cli backups DIR [--json]\n"},
        {{"restore", d}, "The argument ID is missing.\nUsage: tesselar-cli restore DIR ID [loader options]\n"},
        {{"restore", d, "20990101T000000Z", "--planes", "x"}, "--planes takes a number from 1 to 32767.\n"},
        {{"pages"}, "The argument DIR is missing.\nUsage: tesselar-cli pages DIR [--json] [loader options]\n"},
        {{"graphics", d, "--json", "--json"}, "The option --json is given twice.\n"},
        {{"audio"}, "The argument DIR is missing.\nUsage: tesselar-cli audio DIR [--json] [loader options]\n"},
        {{"export-graphics", d, ""}, "The argument OUT is empty: name the folder to write into.\n"},
        {{"export-audio", d, f, "--chunks", "3-1"}, "--chunks takes chunk numbers from 0 and ranges, such as 0,3,5-9.\n"},
        {{"import-graphic", d, f, "--chunk", "65535"}, "--chunk takes a chunk number from 0 to 65534.\n"},
        {{"import-audio", d, f, "--chunk", "1", "--chunk", "2"}, "The option --chunk is given twice.\n"},
        {{"pages", d, "--json", "--json"}, "The option --json is given twice.\n"},
        {{"export-pages", d, f, "--chunks", "3-1"}, "--chunks takes chunk numbers from 0 and ranges, such as 0,3,5-9.\n"},
        {{"export-pages", d, ""}, "The argument OUTDIR is empty: name the folder to write into.\n"},
        {{"export-pages", d, f, "--chunks"}, "The option --chunks needs a value.\n"},
        {{"export-pages", d, f, "--chunks", "1", "--chunks=2"}, "The option --chunks is given twice.\n"},
        {{"import-page", d}, "The argument FILE is missing.\nUsage: tesselar-cli import-page DIR FILE (--chunk N | --sound K) [loader options]\n"},
        {{"import-page", d, f, "--chunk", "65535"}, "--chunk takes a chunk number from 0 to 65534.\n"},
        {{"import-page", d, f, "--sound", "16383"}, "--sound takes a sound number from 0 to 16382.\n"},
        {{"import-page", d, f, "--chunk", "1", "--sound", "2"}, "The options --chunk and --sound contradict each other.\n"},
        {{"import-page", d, f, "--chunk", "1", "--chunk", "2"}, "The option --chunk is given twice.\n"},
        // The page commands on a folder that is not there, as every command's DIR.
        {{"pages", missing}, "Error loading maps: The directory " + missing + " doesn't exist!\n"},
        {{"export-pages", missing, f}, "Error loading maps: The directory " + missing + " doesn't exist!\n"},
        {{"import-page", missing, f, "--chunk", "1"}, "Error loading maps: The directory " + missing + " doesn't exist!\n"},
        // An empty value after = is no value, and the word after it no value of it.
        {{"analyze", d, "--skill=", "4"}, "The option --skill needs a value.\n"},
        {{"render", d, f, "--zoom=", "2"}, "The option --zoom needs a value.\n"},
        {{"info", d, "--json="}, "--json takes no value.\n"},
        {{"info", d, "--mapdefs", d + "/MAPHEAD.WL6"}, "--mapdefs takes a folder; " + d + "/MAPHEAD.WL6 is not one.\n"},
        // After -- every word is an argument, one that starts with - too.
        {{"pages", "--", d, "--json"}, "The argument \"--json\" is one too many.\nUsage: tesselar-cli pages DIR [--json] [loader options]\n"},
        {{"pages", d, "--", "--json"}, "The argument \"--json\" is one too many.\nUsage: tesselar-cli pages DIR [--json] [loader options]\n"},
        {{"--", "pages", d, "--json"}, "The argument \"--json\" is one too many.\nUsage: tesselar-cli pages DIR [--json] [loader options]\n"},
        {{"render", d, "--map", "1", "--", f, "--zoom", "1"},
         "The argument \"--zoom\" is one too many.\nUsage: tesselar-cli render DIR OUT [--map N] [--zoom Z] [--graphics] [loader options]\n"},
        {{"pages", "--", "--json"}, "Error loading maps: The directory --json doesn't exist!\n"},
        {{"episodes"}, "The argument DIR is missing.\nUsage: tesselar-cli episodes DIR [--skill K] [--json] [loader options]\n"},
        {{"episodes", d, "--skill", "0"}, "--skill takes a skill level from 1 (easiest) to 4 (hardest).\n"},
        {{"episodes", d, "--json", "--json"}, "The option --json is given twice.\n"},
        {{"diff", d}, "Give either OTHER, a game folder, or --generation ID, one of DIR's backups.\n"},
        // An argument that may be left out stays optional after --.
        {{"diff", "--", d}, "Give either OTHER, a game folder, or --generation ID, one of DIR's backups.\n"},
        {{"diff", d, d, "--generation", "20990101T000000Z"},
         "Give either OTHER, a game folder, or --generation ID, one of DIR's backups.\n"},
        {{"diff", d, "--generation", "20990101T000000Z"},
         "There is no backup generation 20990101T000000Z of " + d + "; tesselar-cli backups DIR lists them.\n"},
        {{"diff", d, missing}, "The directory " + missing + " doesn't exist!\n"},
        {{"diff", d, d, f}, "The argument \"" + f + "\" is one too many.\nUsage: tesselar-cli diff DIR [OTHER] [--generation ID] [--json] [loader options]\n"},
        {{"package", d, f}, "The option --against ORIGINAL is missing.\nUsage: tesselar-cli package DIR OUT.zip --against ORIGINAL [--allow-findings] [loader options]\n"},
        {{"package", d, f, "--against", d}, "The release is a zip file: " + f + " does not end in .zip.\n"},
        {{"package", d, f + ".zip", "--against", missing}, "The directory " + missing + " doesn't exist!\n"},
        {{"package", d, f + ".zip", "--against", d, "--allow-findings", "--allow-findings"},
         "The option --allow-findings is given twice.\n"},
    };
    const auto before = Snapshot(game.path());
    for (const auto& [args, message] : cases) {
        const CliResult r = RunHere(args);
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_EQ(r.err, message);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(Snapshot(game.path()), before);
    EXPECT_TRUE(fs::is_empty(out.path()));
}

TEST(CliUse, TwoDashesEndTheOptionsWhereverTheyStand)
{
    TempDir game, out;
    CopyGame(SampleGameDir(), game.path());
    const std::string d = game.path().string();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info", "--", d}, {"--", "info", d}, {"info", "--json", "--", d},
          {"export", d, "--maps", "1", "--", (out / "one.tsl").string()},
          {"render", "--map", "2", "--", d, (out / "two.png").string()}}) {
        const CliResult r = RunHere(args);
        EXPECT_EQ(r.status, 0) << args.front() << " " << r.err;
    }
    EXPECT_TRUE(fs::exists(out / "one.tsl"));
    EXPECT_TRUE(fs::exists(out / "two.png"));
}

TEST(CliUse, APlaneCountThatDoesNotReadTheMapsIsNamed)
{
    Game game;
    const CliResult r = game({"info", "--planes", "100"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error loading maps: The maps do not read with --planes 100 (the map files then look damaged); "
                     "they read with 3 planes a map: leave out --planes, or give --planes 3.\n");
    // Files that are damaged stay damaged, with the option or without.
    game.Truncate(1);
    EXPECT_EQ(game({"info", "--planes", "100"}).err, game({"info"}).err);
}

TEST(CliUse, TheHeadersSizeAndTheWdcSettingMustAgree)
{
    Game plain, wdc;
    MapHandler set = LoadSet(plain.dir.path());
    set.Path = wdc.dir.path();
    set.WDCCompatibleMaps = true;
    ASSERT_FALSE(set.Save());

    CliResult r = wdc({"info"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error loading maps: Couldn't read MAPHEAD file!\n\n(Maybe compiled with WDC)? Give --wdc to "
                     "read it as WDC compatible (with --extended-names for 32-character names).\n");
    EXPECT_EQ(wdc({"info", "--wdc"}).status, 0);

    // A structure that says WDC and extended names, and the options that override it.
    StructureSettings choice;
    choice.WDCCompatibleMaps = true;
    choice.ExtendedMapNames = true;
    ASSERT_FALSE(CreateFromScratch(plain.mapDefs.path(), "WL6", "", choice, 3));
    r = plain({"info"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error loading maps: Your map definition is configured for WDC compatible maps, but your maps "
                     "aren't in WDC compatible format.\n\nGive --no-wdc to read them as plain maps.\n");
    EXPECT_NE(plain({"info", "--no-wdc"}).status, 0); // 32-character names do not fit the sample
    r = plain({"info", "--no-wdc", "--no-extended-names"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "Name length: 16\n")) << r.out;
}

TEST(CliUse, WriteFailuresGiveTheFullPathAndTheSystemsReason)
{
    Game game;
    DiskFaults full(2, false, ENOSPC);
    const CliResult r = game({"resave"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error saving maps: Couldn't write " + (game.dir / "GAMEMAPS.WL6").string() +
                         " (No space left on device)!\n\nThe previous map files were kept.\n");
}

TEST(CliUse, NamesCannotDriveTheTerminal)
{
    Game game;
    MapHandler set = LoadSet(game.dir.path());
    set.Maps[0].Name = MakeNameBuffer("Evil\x1b[2J\x07", 16);
    ASSERT_FALSE(set.Save());
    CliResult r = game({"info"});
    EXPECT_TRUE(Has(r.out, "   1  Evil\\x1B[2J\\x07")) << r.out;
    // Nor the names the user typed, when they are printed back.
    TempDir out;
    r = RunCli({"export", game.dir.path().string(), (out / "x\x1b[7m\a.tsl").string(), "--maps", "1"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "x\\x1B[7m\\x07.tsl.")) << r.out;
    r = RunCli({"info", game.dir.path().string(), "--\x1b]0;x\a\xc2\x9b"});
    EXPECT_TRUE(Has(r.err, "Unknown option --\\x1B]0;x\\x07\\xC2\\x9B.")) << r.err;
}

// Every place a typed name comes back: control characters, C1 controls
// (which some terminals obey as they stand, and others as UTF-8) and bytes
// that are no UTF-8 are written as \xNN, as in map names.
TEST(CliUse, NoTypedNameCanDriveTheTerminal)
{
    const std::string evil = "x\x1b[7m\xc2\x9b\x9b\xe2\x82", shown = "x\\x1B[7m\\xC2\\x9B\\x9B\\xE2\\x82";
    TempDir game, out;
    CopyGame(SampleGameDir(), game.path());
    WriteFile(game / "VSWAP.WL6", TestPageFile({TestWall(1), TestWall(2)}, 2, 2));
    const std::string d = game.path().string(), o = out.path().string();
    ASSERT_EQ(RunHere({"resave", d}).status, 0); // a backup, so that restore looks for the ID
    const struct {
        std::vector<std::string> args;
        std::string said;
    } cases[] = {
        {{evil}, "Unknown command \"" + shown + "\"."},
        {{"info", o + "/" + evil}, "The directory " + o + "/" + shown + " doesn't exist!"},
        {{"backups", o + "/" + evil}, "The directory " + o + "/" + shown + " doesn't exist!"},
        {{"generate", d, "--theme", evil}, "There is no theme \"" + shown + "\""},
        {{"import-page", d, o + "/" + evil + "1", "--chunk", "1"}, "The picture \"" + o + "/" + shown + "1\" cannot be read"},
        {{"render", d, o + "/" + evil + "2"}, "saved as " + o + "/" + shown + "2,"},
        {{"export-pages", d, o + "/" + evil + "3"}, "written into " + o + "/" + shown + "3."},
        {{"restore", d, evil}, "There is no backup " + shown + " of"},
        {{"info", d, "--mapdefs", o + "/" + evil + "4"}, "The MapDefs folder " + o + "/" + shown + "4 doesn't exist!"},
    };
    for (const auto& c : cases) {
        const CliResult r = RunHere(c.args);
        EXPECT_TRUE(Has(r.out + r.err, c.said)) << c.args.front() << ": " << r.out << r.err;
        for (const std::string& text : {r.out, r.err})
            EXPECT_FALSE(Has(text, "\x1b") || Has(text, "\x9b")) << c.args.front();
    }
}
