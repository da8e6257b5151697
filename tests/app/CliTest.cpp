// tesselar-cli through its real interface: arguments in, text and exit
// status out, files changed on disk.

#include "TestUtil.h"

#include <gtest/gtest.h>

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

TEST(CliInfo, ReportsUsageErrorsOnStandardError)
{
    struct Case {
        std::vector<std::string> args;
        std::string message; // found in the error output
        bool whole;          // the message is the whole error output, and nothing is printed
    };
    const Case cases[] = {
        {{"info"}, "Usage: tesselar-cli info DIR", false},
        {{"info", SampleGameDir().string(), "--bogus"}, "Unknown option --bogus.", false},
        {{"info", SampleGameDir().string(), "--near", "XYZ"}, "The NEARTAG must be two hexadecimal digits.\n", true},
        {{"frobnicate"}, "Unknown command \"frobnicate\"", false},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        if (c.whole) {
            EXPECT_EQ(r.err, c.message);
            EXPECT_EQ(r.out, "");
        } else {
            EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        }
    }
}

TEST(CliHelp, NamesEveryCommandAndOption)
{
    const CliResult r = RunCli({"--help"});
    ASSERT_EQ(r.status, 0);
    for (const char* text : {"info DIR", "resave DIR", "--planes N", "--near XX", "--far XX", "--wdc", "--extended-names"})
        EXPECT_NE(r.out.find(text), std::string::npos) << text << "\n" << r.out;
    EXPECT_EQ(RunCli({}).status, 2);
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
