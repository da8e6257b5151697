// tesselar-cli graphics, export-graphics and import-graphic, audio,
// export-audio and import-audio on a copy of the shareware game: the
// listings and their JSON, chunks written out and taken back without a byte
// changing, a title and a song of our own saved with backups, and files that
// are refused with the game's files left as they were.

#include "TestUtil.h"
#include "audio/AudioSet.h"
#include "graphics/PictureFile.h"
#include "vgagraph/GraphicsSet.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

std::optional<fs::path> Shareware()
{
    for (const fs::path& dir : RealGameSets())
        if (FindGraphicsFiles(dir, "WL1") && FindAudioFiles(dir, "WL1"))
            return dir;
    return std::nullopt;
}

struct SharewareCopy {
    TempDir dir, out;
    explicit SharewareCopy(const fs::path& from) { CopyGame(from, dir.path()); }
    CliResult operator()(const std::string& command, std::vector<std::string> rest = {}) const
    {
        rest.insert(rest.begin(), {command, dir.path().string()});
        return RunCli(rest);
    }
};

} // namespace

TEST(CliGameData, ListsThePicturesAndSoundsWithTheHeadersNames)
{
    const auto from = Shareware();
    if (!from)
        GTEST_SKIP() << "The shareware game data is not there.";
    SharewareCopy game(*from);
    CliResult r = game("graphics", {"--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("{\"number\": 99, \"kind\": \"picture\", \"name\": \"TITLEPIC\", \"bytes\": 46433, "
                         "\"length\": 64000, \"width\": 320, \"height\": 200}"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"number\": 1, \"kind\": \"font\", \"name\": null, \"bytes\": 3471, \"length\": 8300}"),
              std::string::npos);
    r = game("audio", {"--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("{\"number\": 264, \"kind\": \"music\", \"name\": \"GETTHEM_MUS\", \"bytes\": 18734, "
                         "\"seconds\": 80.03714285714285}"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"number\": 262, \"kind\": \"music\", \"name\": \"DUNGEON_MUS\", \"bytes\": 88, \"seconds\": 0.0}"),
              std::string::npos);
    r = game("audio");
    EXPECT_NE(r.out.find("  264  music         18734    80.04  GETTHEM_MUS\n"), std::string::npos) << r.out;
}

TEST(CliGameData, ChunksWrittenOutAndTakenBackLeaveTheFilesAsTheyWere)
{
    const auto from = Shareware();
    if (!from)
        GTEST_SKIP() << "The shareware game data is not there.";
    SharewareCopy game(*from);
    const auto before = Snapshot(game.dir.path());
    ASSERT_EQ(game("export-graphics", {game.out.path().string(), "--chunks", "1,98-99,147,150"}).status, 0);
    ASSERT_EQ(game("export-audio", {game.out.path().string(), "--chunks", "0,87,262"}).status, 0);
    for (const auto& [chunk, file] : std::vector<std::pair<std::string, std::string>>{
             {"1", "font-001.fnt"}, {"98", "picture-098.png"}, {"99", "picture-099.png"}, {"147", "tile8-147.png"},
             {"150", "text-150.txt"}}) {
        const CliResult r = game("import-graphic", {"--chunk", chunk, (game.out / file).string()});
        EXPECT_EQ(r.status, 0) << file << ": " << r.err;
        EXPECT_NE(r.out.find("It held that already: nothing was saved."), std::string::npos) << r.out;
    }
    for (const auto& [chunk, file] : std::vector<std::pair<std::string, std::string>>{
             {"0", "pcspeaker-000.pcs"}, {"87", "adlib-087.adl"}, {"262", "music-262.imf"}}) {
        const CliResult r = game("import-audio", {"--chunk", chunk, (game.out / file).string()});
        EXPECT_EQ(r.status, 0) << file << ": " << r.err;
    }
    EXPECT_EQ(Snapshot(game.dir.path()), before);
}

TEST(CliGameData, ATitleAndASongOfOurOwnAreSavedWithBackups)
{
    const auto from = Shareware();
    if (!from)
        GTEST_SKIP() << "The shareware game data is not there.";
    SharewareCopy game(*from);
    std::vector<std::uint32_t> pixels(320 * 200);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i % 320 < 160 ? 0xFF0000 : 0x0000FF);
    const fs::path title = game.out / "title.png";
    WriteFile(title, EncodeRgbaPng(320, 200, pixels));
    CliResult r = game("import-graphic", {"--chunk", "99", title.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Chunk 99 (TITLEPIC) replaced from " + title.string() +
                         ". VGAHEAD.WL1 and VGAGRAPH.WL1 saved, the previous files kept as .BAK.\n");
    EXPECT_EQ(ReadFile(game.dir / "VGAGRAPH.WL1.BAK"), ReadFile(*from / "VGAGRAPH.WL1"));
    EXPECT_FALSE(fs::exists(game.dir / "VGADICT.WL1.BAK"));
    r = game("export-graphics", {(game.out / "back").string(), "--chunks", "99"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Image back = DecodePng(ReadFile(game.out / "back" / "picture-099.png"));
    EXPECT_EQ(back.pixels[0] & 0xFFFFFF, 0xFF0000u) << "red stays red";
    EXPECT_EQ(back.pixels[319] & 0xFFFFFF, 0x0000FFu);

    // A header-less song: four notes, then silence.
    Bytes song = {0, 0, 0, 0};
    for (int note = 0; note < 4; ++note)
        for (const auto& [reg, value, wait] : {std::tuple{0xA1, 0x40 + note * 16, 0}, std::tuple{0xB1, 0x31, 140},
                                              std::tuple{0xB1, 0x11, 0}}) {
            song.push_back(static_cast<std::uint8_t>(reg));
            song.push_back(static_cast<std::uint8_t>(value));
            Put16(song, static_cast<std::uint16_t>(wait));
        }
    const fs::path imf = game.out / "song.imf";
    WriteFile(imf, song);
    r = game("import-audio", {"--chunk", "264", imf.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Chunk 264 (GETTHEM_MUS) replaced from " + imf.string() +
                         ". AUDIOHED.WL1 and AUDIOT.WL1 saved, the previous files kept as .BAK.\n");
    r = game("audio");
    EXPECT_NE(r.out.find("  264  music            54     0.80  GETTHEM_MUS\n"), std::string::npos) << r.out;
    r = RunCli({"backups", game.dir.path().string()});
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 3) << "a generation for each save: " << r.out;
}

TEST(CliGameData, FilesThatCannotBeTakenAreRefusedAndChangeNothing)
{
    const auto from = Shareware();
    if (!from)
        GTEST_SKIP() << "The shareware game data is not there.";
    SharewareCopy game(*from);
    const auto before = Snapshot(game.dir.path());
    const fs::path narrow = game.out / "narrow.png";
    WriteFile(narrow, EncodeRgbaPng(10, 10, std::vector<std::uint32_t>(100, 0xFF000000u)));
    const fs::path huge = game.out / "huge.png";
    WriteFile(huge, EncodeRgbaPng(400, 10, std::vector<std::uint32_t>(4000, 0xFF000000u)));
    const fs::path junk = game.out / "junk.imf";
    WriteFile(junk, Bytes{1, 2, 3});
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message;
    } rows[] = {
        {{"import-graphic", "--chunk", "100", narrow.string()}, 2,
         "Game pictures: The picture is 10 pixels wide: the game keeps its pictures in four planes"},
        {{"import-graphic", "--chunk", "99", narrow.string()}, 2,
         "Game pictures: TITLEPIC is drawn by the engine as a whole screen, so it is 320 x 200 pixels"},
        {{"import-graphic", "--chunk", "99", huge.string()}, 2,
         "Import picture: The picture \"" + huge.string() + "\" is 400 x 10 pixels; the game's pictures are at most 320 x 200"},
        {{"import-graphic", "--chunk", "150", narrow.string()}, 2,
         "Import picture: \"" + narrow.string() + "\" is a picture, but chunk 150 is data"},
        {{"import-graphic", "--chunk", "0", narrow.string()}, 2, "Game pictures: The picture table follows the pictures"},
        {{"import-graphic", "--chunk", "156", narrow.string()}, 2, "There is no chunk 156: the game's pictures have 156 chunks."},
        {{"import-graphic", narrow.string()}, 2, "Name the chunk to replace (--chunk N)."},
        {{"import-audio", "--chunk", "264", junk.string()}, 2, "Import sound: \"" + junk.string() + "\" is no IMF file"},
        {{"import-audio", "--chunk", "180", junk.string()}, 2, "Import sound: \"" + junk.string() + "\" cannot go there"},
        {{"export-audio", game.out.path().string(), "--chunks", "288"}, 2, "There is no chunk 288: the game's sounds have 288 chunks."},
    };
    for (const auto& row : rows) {
        const CliResult r = game(row.args.front(), std::vector<std::string>(row.args.begin() + 1, row.args.end()));
        EXPECT_EQ(r.status, row.status) << row.message;
        EXPECT_TRUE(r.err.starts_with(row.message)) << r.err;
    }
    EXPECT_EQ(Snapshot(game.dir.path()), before);

    // A damaged file: said, status 3.
    Bytes graph = ReadFile(game.dir / "VGAGRAPH.WL1");
    graph.resize(graph.size() - 10);
    WriteFile(game.dir / "VGAGRAPH.WL1", graph);
    const CliResult r = game("graphics");
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.err.starts_with("Error loading game pictures: VGAGRAPH.WL1 is damaged: VGAHEAD.WL1 ends the chunks at"))
        << r.err;
}
