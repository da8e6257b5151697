// tesselar-cli against damaged sets, links, directories in the way, failing
// disks and interrupted saves, and the messages of its own use. The commands
// run in-process here, so that the file-system seam can make the disk fail.

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
          {"edit", "--autofloor"}}) {
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

TEST(CliUse, OptionsSayWhatIsWrongWithThem)
{
    Game game;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"info", "--near", "A7", "--near=A8"}, "The option --near is given twice.\n"},
        {{"info", "--wdc", "--wdc"}, "The option --wdc is given twice.\n"},
        {{"info", "--wdc", "--no-wdc"}, "The options --wdc and --no-wdc contradict each other.\n"},
        {{"info", "--mapdefs", (game.dir / "nothing").string()},
         "The MapDefs folder " + (game.dir / "nothing").string() + " doesn't exist!\n"},
        {{"export", "x.tsl", "--maps", "2-1"}, "The map list must be map numbers from 1 and ranges, such as 1,3,5-9.\n"},
        {{"render", "x.bmp", "--zoom", "5"}, "The zoom must be a track-bar position from 0 to 4 (1x, 2x, 4x, 6x, 8x).\n"},
    };
    for (const auto& [args, message] : cases) {
        std::vector<std::string> full = args;
        full.insert(full.begin() + 1, game.path());
        const CliResult r = RunHere(full);
        EXPECT_EQ(r.status, 2) << args[1];
        EXPECT_EQ(r.err, message);
    }
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

TEST(CliUse, MapNamesCannotDriveTheTerminal)
{
    Game game;
    MapHandler set = LoadSet(game.dir.path());
    set.Maps[0].Name = MakeNameBuffer("Evil\x1b[2J\x07", 16);
    ASSERT_FALSE(set.Save());
    const CliResult r = game({"info"});
    EXPECT_TRUE(Has(r.out, "   1  Evil\\x1B[2J\\x07")) << r.out;
}
