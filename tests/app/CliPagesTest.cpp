// tesselar-cli pages, export-pages and import-page on a hand-built page file
// beside a copy of the sample game: the listing and its JSON, the files
// written out, a wall, a sprite and a sound replaced from them, and the
// files that are refused with the page file left as it was.

#include "GraphicsTestUtil.h"
#include "TestUtil.h"
#include "core/FileSystem.h"
#include "graphics/PageFile.h"
#include "graphics/PictureFile.h"
#include "graphics/SoundFiles.h"
#include "graphics/Sprite.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tsl;
using namespace tsl::test;

namespace {

constexpr int kSounds = 16383;

// Walls 0 to 11 (the last eight the doors), sprites 12 and 13, sound 0 in
// chunk 14 and sound 1 over chunks 15 to 17, the table in 18.
std::vector<Bytes> PageChunks()
{
    std::vector<Bytes> chunks;
    for (int i = 0; i < 12; ++i)
        chunks.push_back(TestWall(i * 7));
    chunks.push_back(TestSprite(3, 4, {{3, {{2, 9, TestPixels(7, 40)}}}, {4, {{0, 64, TestPixels(64, 1)}}}}));
    chunks.push_back(TestSprite(30, 30, {{30, {{10, 20, TestPixels(10, 200)}}}}));
    chunks.push_back(TestPixels(100, 3));
    chunks.insert(chunks.end(), {TestPixels(4096, 4), TestPixels(4096, 5), TestPixels(10, 6)});
    Bytes table;
    for (const std::uint16_t word : {0, 100, 1, 8202})
        Put16(table, word);
    chunks.push_back(table);
    return chunks;
}

Bytes HandBuiltPages()
{
    return TestPageFile(PageChunks(), 12, 14);
}

struct PagesGame {
    TempDir dir, out;
    PagesGame()
    {
        CopyGame(SampleGameDir(), dir.path());
        WriteFile(Pages(), HandBuiltPages());
    }
    fs::path Pages() const { return dir / "VSWAP.WL6"; }
    CliResult operator()(const std::string& command, std::vector<std::string> rest = {}) const
    {
        rest.insert(rest.begin(), {command, dir.path().string()});
        return RunCli(rest);
    }
};

PageFile Read(const fs::path& path)
{
    auto file = PageFile::Load(path);
    EXPECT_TRUE(file) << file.failure().text;
    return *file;
}

bool Same(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

} // namespace

TEST(CliPages, ListsEveryChunkAndSoundAsJson)
{
    PagesGame game;
    const CliResult r = game("pages", {"--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line : {"{\n  \"chunks\": [\n    {\"index\": 0, \"kind\": \"wall\", \"length\": 4096},\n",
                             "    {\"index\": 12, \"kind\": \"sprite\", \"length\": ",
                             "    {\"index\": 17, \"kind\": \"sound\", \"length\": 10},\n",
                             "    {\"index\": 18, \"kind\": \"sound_table\", \"length\": 8}\n  ],\n",
                             "  \"sounds\": [\n    {\"number\": 0, \"first_chunk\": 14, \"length\": 100, \"name\": \"Halt\"},\n"
                             "    {\"number\": 1, \"first_chunk\": 15, \"length\": 8202, \"name\": \"Dog bark\"}\n  ]\n}\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    // A structure that names no sounds leaves them unnamed.
    TempDir bare;
    fs::copy(SourceDir() / "data" / "MapDefs" / "WL6", bare / "WL6");
    WriteFile(bare / "WL6" / "WL6.ini", "[Graphics]\r\nPalette=palette.txt\r\nPictures=pictures.txt\r\n");
    const CliResult unnamed = game("pages", {"--json", "--mapdefs", bare.path().string()});
    EXPECT_NE(unnamed.out.find("{\"number\": 0, \"first_chunk\": 14, \"length\": 100, \"name\": null}"),
              std::string::npos)
        << unnamed.err << unnamed.out;

    const CliResult text = game("pages");
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("VSWAP.WL6: 19 chunks; walls from 0, sprites from 12, sounds from 14.\n"),
              std::string::npos)
        << text.out;
    const std::string row = "    1" + std::string(11, ' ') + "15" + std::string(5, ' ') + "8202" + std::string(5, ' ') + "1.16\n";
    EXPECT_NE(text.out.find(row), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("The sound table lists"), std::string::npos);

    // An opaque sprite outgrows the page the DOS engine loads it into (a source port takes it).
    std::vector<TestColumn> opaque;
    for (int column = 0; column < 64; ++column)
        opaque.push_back({column, {{0, 64, TestPixels(64, column)}}});
    std::vector<Bytes> chunks = PageChunks();
    chunks[13] = TestSprite(0, 63, opaque);
    WriteFile(game.Pages(), TestPageFile(chunks, 12, 14));
    EXPECT_NE(game("pages").out.find("Chunk 13 is larger than a page of the game (4096 bytes): the DOS engine cannot "
                                     "load it safely.\n"),
              std::string::npos);

    // Sound 1 starting past the table: the game plays the file without it, and the listing says so.
    Bytes pages = HandBuiltPages();
    pages[pages.size() - 4] = pages[pages.size() - 3] = 0xFF; // the table's bytes end the file
    WriteFile(game.Pages(), pages);
    const CliResult cut = game("pages");
    ASSERT_EQ(cut.status, 0) << cut.err;
    EXPECT_TRUE(cut.out.ends_with("The sound table lists 2 sounds; the game reads only the first 1: sound 1 starts at "
                                  "or past the table, and the list ends there.\n"))
        << cut.out;
}

TEST(CliPages, ExportsEveryPictureAndSoundOrTheChunksListed)
{
    PagesGame game;
    CliResult r = game("export-pages", {(game.out / "all").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "16 files written into " + (game.out / "all").string() + ".\n");
    std::vector<std::string> expected;
    for (int i = 0; i < 12; ++i)
        expected.push_back("wall-00" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".png");
    expected.insert(expected.end(), {"sound-000.wav", "sound-001.wav", "sprite-0012.png", "sprite-0013.png"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ListDirectory(game.out / "all"), expected);

    r = game("export-pages", {(game.out / "some").string(), "--chunks", "1,12-13,15"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ListDirectory(game.out / "some"),
              (std::vector<std::string>{"sound-001.wav", "sprite-0012.png", "sprite-0013.png", "wall-0001.png"}));
    r = game("export-pages", {(game.out / "past").string(), "--chunks", "1,19"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "There is no chunk 19: the page file has 19 chunks.\n");
    EXPECT_FALSE(fs::exists(game.out / "past"));
}

// A 143 KB page file whose table lists 16383 sounds over the same 16
// chunks: one file for them, which the output names; lengths that make
// them all differ would write a gigabyte, and are refused.
TEST(CliPages, SoundsOfTheSameBytesAreExportedOnceAndATableThatWouldWriteFarMoreIsRefused)
{
    PagesGame game;
    const auto pages = [](const std::function<int(int)>& length) {
        std::vector<Bytes> chunks{TestWall(1)};
        for (int i = 0; i < 16; ++i)
            chunks.push_back(TestPixels(4096, i));
        Bytes table;
        for (int i = 0; i < kSounds; ++i) {
            Put16(table, 0);
            Put16(table, static_cast<std::uint16_t>(length(i)));
        }
        chunks.push_back(table);
        return TestPageFile(chunks, 1, 1);
    };
    WriteFile(game.Pages(), pages([](int) { return 65535; }));
    CliResult r = game("export-pages", {(game.out / "same").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2 files written into " + (game.out / "same").string() + ".\nsound-000.wav is also sounds 1 to " +
                         std::to_string(kSounds - 1) + " (the same bytes).\n");
    EXPECT_EQ(ListDirectory(game.out / "same"), (std::vector<std::string>{"sound-000.wav", "wall-0000.png"}));

    WriteFile(game.Pages(), pages([](int i) { return 65535 - i; }));
    r = game("export-pages", {(game.out / "apart").string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Nothing was written."), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(game.out / "apart"));
}

TEST(CliPages, ImportsAWallASpriteAndASoundAndSavesWithABackup)
{
    PagesGame game;
    ASSERT_EQ(game("export-pages", {game.out.path().string()}).status, 0);
    const PageFile before = Read(game.Pages());

    CliResult r = game("import-page", {"--chunk", "2", (game.out / "wall-0005.png").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Wall 2 replaced from " + (game.out / "wall-0005.png").string() +
                         ". VSWAP.WL6 saved, the previous file kept as VSWAP.WL6.BAK.\n");
    EXPECT_EQ(ReadFile(game.dir / "VSWAP.WL6.BAK"), HandBuiltPages());
    ASSERT_EQ(game("import-page", {(game.out / "sprite-0012.png").string(), "--chunk=13"}).status, 0);
    ASSERT_EQ(game("import-page", {"--sound", "0", (game.out / "sound-001.wav").string()}).status, 0);

    const PageFile after = Read(game.Pages());
    EXPECT_TRUE(Same(after.ChunkBytes(2), before.ChunkBytes(5))) << "an indexed picture keeps its indices";
    Sprite original;
    ASSERT_FALSE(DecodeSprite(before.ChunkBytes(12), original));
    EXPECT_TRUE(Same(after.ChunkBytes(13), EncodeSprite(original))) << "its pixels in the smallest encoding";
    EXPECT_TRUE(Same(after.ChunkBytes(0), before.ChunkBytes(0)));
    r = game("pages", {"--json"});
    EXPECT_NE(r.out.find("{\"number\": 0, \"first_chunk\": 14, \"length\": 8202, \"name\": \"Halt\"},\n"
                         "    {\"number\": 1, \"first_chunk\": 17, \"length\": 8202, \"name\": \"Dog bark\"}"),
              std::string::npos)
        << r.out;
    r = RunCli({"backups", game.dir.path().string(), "--json"});
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 5) << "a generation for each save: " << r.out;
    EXPECT_NE(r.out.find(R"("maps": 0, "page_file": true,)"), std::string::npos) << r.out;
    r = RunCli({"backups", game.dir.path().string()});
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4) << r.out;
    EXPECT_EQ(r.out.find(" 0 maps "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Z the page file "), std::string::npos) << r.out;
}

TEST(CliPages, AFileThatCannotBeTakenIsRefusedByNameAndChangesNothing)
{
    PagesGame game;
    const fs::path small = game.out / "small.png";
    WriteFile(small, EncodeRgbaPng(32, 64, std::vector<std::uint32_t>(32 * 64, 0xFF000000u)));
    const fs::path opaque = game.out / "opaque.png";
    WriteFile(opaque, EncodeRgbaPng(64, 64, std::vector<std::uint32_t>(64 * 64, 0xFF000000u)));
    const fs::path noise = game.out / "noise.wav";
    WriteFile(noise, std::string("RIFF but not a sound"));
    const fs::path sound = game.out / "sound.wav";
    WriteFile(sound, EncodeWav(TestPixels(50, 1)));
    const fs::path missing = game.out / "missing.png";
    const struct {
        std::vector<std::string> args;
        std::string message;
    } rows[] = {
        {{"--chunk", "3", missing.string()}, "Import picture: The picture \"" + missing.string() + "\" cannot be read."},
        {{"--chunk", "12", small.string()},
         "Import picture: The picture \"" + small.string() + "\" is 32 x 64 pixels; walls and sprites are 64 x 64."},
        {{"--chunk", "12", opaque.string()}, "Game pictures and sounds: The new sprite takes 4740 bytes; "},
        {{"--sound", "1", noise.string()}, "Import sound: The sound \"" + noise.string() + "\" cannot be read: "},
        {{"--chunk", "14", small.string()},
         "Game pictures and sounds: Chunk 14 is no wall or sprite of the page file."},
        {{"--sound", "2", sound.string()}, "Game pictures and sounds: The page file has no sound 2."},
        {{small.string()}, "Name the chunk (--chunk N) or the sound (--sound K) to replace."},
    };
    for (const auto& row : rows) {
        const CliResult r = game("import-page", row.args);
        EXPECT_EQ(r.status, 2) << row.message;
        EXPECT_TRUE(r.err.starts_with(row.message)) << r.err;
        EXPECT_EQ(ReadFile(game.Pages()), HandBuiltPages()) << row.message;
        EXPECT_FALSE(fs::exists(game.dir / "VSWAP.WL6.BAK"));
    }
    fs::remove(game.Pages());
    const CliResult r = game("pages");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "There is no page file \"VSWAP.WL6\" in " + game.dir.path().string() + ".\n");
}
