// tesselar-cli through its real interface: arguments in, text and exit
// status out, files changed on disk.

#include "TestUtil.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace tsl;
using namespace tsl::test;

TEST(CliInfo, ListsTheSetsFactsAndEveryMap)
{
    // The loader options as the set has them anyway: in both spellings, tags in either case.
    const CliResult r = RunCli({"info", SampleGameDir().string(), "--planes", "3", "--near=A7", "--far", "a8"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("Extension:   WL6\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Data file:   GAMEMAPS.WL6 (Carmack over RLEW)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("RLEW tag:    0xABCD\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Planes:      3\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Name length: 16\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Maps:        7\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("   1  Gatehouse         64 x 64\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("   6  Catacombs         128 x 96\n"), std::string::npos) << r.out;
}

TEST(CliInfo, PrintsTheFactsAndTheMapsAsJson)
{
    const CliResult r = RunCli({"info", SampleGameDir().string(), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("    {\"map\": 2")),
              "{\n"
              "  \"extension\": \"WL6\",\n"
              "  \"header\": \"MAPHEAD.WL6\",\n"
              "  \"map_table_in_executable\": false,\n"
              "  \"wdc_compatible\": false,\n"
              "  \"data_file\": \"GAMEMAPS.WL6\",\n"
              "  \"carmack\": true,\n"
              "  \"rlew_tag\": 43981,\n"
              "  \"planes\": 3,\n"
              "  \"name_length\": 16,\n"
              "  \"maps\": [\n"
              "    {\"map\": 1, \"name\": \"Gatehouse\", \"width\": 64, \"height\": 64},\n");
    EXPECT_TRUE(r.out.ends_with("    {\"map\": 7, \"name\": \"Boss Keep\", \"width\": 64, \"height\": 64}\n  ]\n}\n"))
        << r.out;
}

TEST(CliHelp, NamesEveryCommandAndOption)
{
    const CliResult r = RunCli({"--help"});
    ASSERT_EQ(r.status, 0);
    for (const char* text : {"info DIR", "resave DIR", "--planes N", "--near XX", "--far XX", "--wdc", "--extended-names"})
        EXPECT_NE(r.out.find(text), std::string::npos) << text << "\n" << r.out;
    EXPECT_EQ(RunCli({}).status, 2);
    const CliResult edit = RunCli({"edit", "--help"});
    EXPECT_EQ(edit.status, 0);
    EXPECT_TRUE(edit.out.starts_with("Usage: tesselar-cli edit DIR [--maps LIST] [--plane P] [--force] [--keep-facing] "
                                     "OPERATION... [loader options]\n"))
        << edit.out;
    for (const char* text : {"\n  --rotate 90|180|270 ", "\n  --flip horizontal|vertical\n", "\n  --mapdefs DIR "})
        EXPECT_NE(edit.out.find(text), std::string::npos) << text << "\n" << edit.out;
}

// The completion the build wrote from the declarations, in a bash of its own.
TEST(CliCompletion, OffersCommandsOptionsChoicesAndFolders)
{
    const std::string script = TESSELAR_COMPLETION_PATH;
    ASSERT_EQ(std::system(("bash -n '" + script + "'").c_str()), 0);
    TempDir dir;
    fs::create_directory(dir / "game");
    WriteFile(dir / "gamemaps.tsl", std::string("x"));
    const std::string g = (dir / "ga").string();
    // The words after tesselar-cli, the last being completed; what is offered (in C order).
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"ed"}, "edit"},
        {{"an"}, "analyze"},
        {{"analyze", "x", "--sk"}, "--skill"},
        {{"ex"}, "export export-audio export-graphics export-pages"},
        {{"import-page", "x", "--s"}, "--sound"},
        {{"export-pages", "x", "y", "--c"}, "--chunks"},
        {{"import-audio", "x", "y", "--c"}, "--chunk"},
        {{"p"}, "package pages"},
        {{"package", "x", "y", "--a"}, "--against --allow-findings"},
        {{"episodes", "x", "--s"}, "--skill"},
        {{"diff", "x", g}, (dir / "game").string()},
        {{"diff", "x", "--g"}, "--generation"},
        {{"edit", "--fl"}, "--flip --flip-planes"},
        {{"edit", "x", "--flip", "h"}, "horizontal"},
        {{"edit", "x", "--rotate", "=", ""}, "180 270 90"},
        {{"edit", "--maps", "1", g}, (dir / "game").string()},
        {{"export", "x", g}, (dir / "game").string() + " " + (dir / "gamemaps.tsl").string()},
        {{"render", "x", "y", "--zoom", ""}, ""},
        {{"gen"}, "generate"},
        {{"generate", "x", "--enemies", ""}, "few many none normal"},
    };
    for (const auto& [words, expected] : cases) {
        std::string line = "source '" + script + "'; COMP_WORDS=(tesselar-cli";
        for (const std::string& word : words)
            line += " '" + word + "'";
        line += "); COMP_CWORD=" + std::to_string(words.size()) +
                "; _tesselar_cli; for w in \"${COMPREPLY[@]}\"; do echo \"$w\"; done | LC_ALL=C sort";
        WriteFile(dir / "complete.sh", line + "\n");
        ASSERT_EQ(std::system(("bash '" + (dir / "complete.sh").string() + "' > '" + (dir / "offered").string() + "'")
                                  .c_str()),
                  0);
        std::istringstream offers(expected);
        std::string lines;
        for (std::string word; offers >> word;)
            lines += word + "\n";
        EXPECT_EQ(FileText(dir / "offered"), lines) << words.back();
    }
}

TEST(CliResave, SavesInPlaceWithBackupsAndTheSameMaps)
{
    TempDir dir;
    CopyGame(SampleGameDir(), dir.path());
    const CliResult r = RunCli({"resave", dir.path().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Maps saved!\n");
    EXPECT_EQ(ReadFile(dir / "GAMEMAPS.WL6.BAK"), ReadFile(SampleGameDir() / "GAMEMAPS.WL6"));
    ExpectSameMaps(LoadSet(SampleGameDir()), LoadSet(dir.path()));
}
