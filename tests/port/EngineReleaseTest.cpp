// The engine is the judge of a release: a copy of the shareware set with two
// levels changed (one generated, one mirrored) and a wall of its page file
// replaced is packed by tesselar-cli package against the clean set, the zip
// is unpacked by unzip over another clean copy, its checksums are checked by
// sha256sum, and every level the release changed is played by the source port.

#include "EngineSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace tsl;
using namespace tsl::test;

namespace {

void Cli(const std::vector<std::string>& args)
{
    const CliResult result = RunCli(args);
    ASSERT_EQ(result.status, 0) << args.front() << ": " << result.err;
}

TEST(EngineRelease, PlaysEveryLevelAReleaseChanged)
{
    const EnginePort port = FindEnginePort();
    if (!port.unavailable.empty())
        GTEST_SKIP() << port.unavailable;
    if (SharewareSet().empty())
        GTEST_SKIP() << "the shareware set is not beside the source tree (../shared/games/wl1)";
    if (!OnPath("unzip") || !OnPath("sha256sum"))
        GTEST_SKIP() << "unzip or sha256sum is not installed";
    TempDir work;
    const fs::path mod = work / "mod", original = work / "original", player = work / "player";
    for (const fs::path& dir : {mod, original, player}) {
        fs::create_directories(dir);
        CopyGame(SharewareSet(), dir);
    }
    Cli({"generate", mod.string(), "--map", "2", "--seed", "40", "--keys", "1", "--secrets", "2"});
    Cli({"edit", mod.string(), "--maps", "5", "--flip", "horizontal"});
    Cli({"export-pages", mod.string(), (work / "pages").string(), "--chunks", "14"});
    Cli({"import-page", mod.string(), (work / "pages" / "wall-0014.png").string(), "--chunk", "0"});
    const fs::path zip = work / "release.zip";
    Cli({"package", mod.string(), "--against", original.string(), zip.string()});

    const CommandResult unzipped =
        RunCommand("unzip -o -q " + ShellQuote(zip.string()) + " -d " + ShellQuote(player.string()) + " 2>&1");
    ASSERT_EQ(unzipped.status, 0) << unzipped.output;
    const CommandResult sums = RunCommand("cd " + ShellQuote(player.string()) + " && sha256sum -c SHA256SUMS 2>&1");
    ASSERT_EQ(sums.status, 0) << sums.output;
    EXPECT_NE(sums.output.find("VSWAP.WL1: OK"), std::string::npos) << sums.output;

    // What the player now has against the clean game: the two levels.
    const CliResult diff = RunCli({"diff", player.string(), original.string(), "--json"});
    ASSERT_EQ(diff.status, 1) << diff.err;
    std::vector<int> levels;
    const auto differences = nlohmann::json::parse(diff.out);
    for (const auto& map : differences["maps"])
        levels.push_back(map["map"].get<int>() - 1);
    EXPECT_EQ(levels, (std::vector<int>{1, 4}));
    for (const std::string& stopped : LevelsThatStopped(port.binary, player, levels))
        ADD_FAILURE() << stopped;
}

} // namespace
