// tesselar-cli backups and restore: the generations every save keeps,
// listed as text and JSON, one put back, and what is wrong with a request.

#include "GraphicsTestUtil.h"
#include "TestUtil.h"
#include "core/UserFolders.h"
#include "graphics/PageFileSaving.h"

#include <gtest/gtest.h>

#include <cctype>
#include <iterator>
#include <sstream>
#include <vector>

using namespace tsl;
using namespace tsl::test;

namespace {

// `text` has the shape of `pattern`, where '#' stands for one digit and '?'
// for an optional "-##" (the suffix of a second generation in one second).
bool HasShape(const std::string& text, const std::string& pattern)
{
    std::size_t t = 0;
    for (char c : pattern) {
        if (c == '?') {
            if (t + 2 < text.size() && text[t] == '-' && std::isdigit(static_cast<unsigned char>(text[t + 1])) &&
                std::isdigit(static_cast<unsigned char>(text[t + 2])))
                t += 3;
            continue;
        }
        if (t >= text.size())
            return false;
        const bool ok = c == '#' ? std::isdigit(static_cast<unsigned char>(text[t])) != 0 : text[t] == c;
        if (!ok)
            return false;
        ++t;
    }
    return t == text.size();
}

const char* const kIdShape = "########T######Z?";
const char* const kTimeShape = "####-##-##T##:##:##Z";

} // namespace

TEST(CliBackups, ListsTheGenerationsAndRestoresOne)
{
    TempDir dir;
    CopyGame(SampleGameDir(), dir.path());
    const std::string game = dir.path().string();
    EXPECT_EQ(RunCli({"backups", game}).out, "There are no backups of " + game + ".\n");
    EXPECT_EQ(RunCli({"backups", game, "--json"}).out, "[]\n");
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(RunCli({"resave", game}).status, 0);

    const CliResult text = RunCli({"backups", game});
    ASSERT_EQ(text.status, 0) << text.err;
    // Two rows under the heading: ID, when saved, when replaced, "7 maps" and the bytes kept.
    const auto rowsOf = [](const std::string& listing) {
        std::istringstream lines(listing);
        std::string heading;
        std::getline(lines, heading);
        EXPECT_EQ(heading, "ID                   Saved (UTC)          Replaced (UTC)       Holds              Bytes");
        std::vector<std::vector<std::string>> rows;
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            rows.emplace_back(std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
        }
        return rows;
    };
    const auto rows = rowsOf(text.out);
    ASSERT_EQ(rows.size(), 2u) << text.out;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 6u) << text.out;
        EXPECT_TRUE(HasShape(row[0], kIdShape) && HasShape(row[1], kTimeShape) && HasShape(row[2], kTimeShape) &&
                    row[3] == "7" && row[4] == "maps")
            << text.out;
    }
    const std::string oldest = rows[0][0];
    const std::string bytes = std::to_string(fs::file_size(SampleGameDir() / "GAMEMAPS.WL6") +
                                             fs::file_size(SampleGameDir() / "MAPHEAD.WL6"));
    EXPECT_EQ(rows[0][5], bytes);

    const CliResult json = RunCli({"backups", game, "--json"});
    std::string object = std::string(R"(  {"id": ")") + kIdShape + R"(", "time": ")" + kTimeShape +
                         R"(", "maps": 7, "page_file": false, "bytes": )" + std::string(bytes.size(), '#') + R"(, "saved": ")" +
                         kTimeShape + R"(", "complete": true, "missing": []})";
    EXPECT_TRUE(HasShape(json.out, "[\n" + object + ",\n" + object + "\n]\n")) << json.out;
    EXPECT_NE(json.out.find("\"id\": \"" + oldest + "\""), std::string::npos);

    fs::remove(dir / "GAMEMAPS.WL6"); // a set that no longer opens is restored all the same
    const CliResult restored = RunCli({"restore", game, oldest});
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(restored.out.rfind("Backup " + oldest + " (saved ", 0), 0u) << restored.out;
    EXPECT_TRUE(restored.out.ends_with(", which is incomplete.\n")) << restored.out;
    EXPECT_EQ(ReadFile(dir / "GAMEMAPS.WL6"), ReadFile(SampleGameDir() / "GAMEMAPS.WL6"));
    EXPECT_EQ(ReadFile(dir / "MAPHEAD.WL6"), ReadFile(SampleGameDir() / "MAPHEAD.WL6"));

    // The files it replaced lacked their data file: so says the listing, and that generation is not restored.
    const std::string listing = RunCli({"backups", game}).out;
    EXPECT_TRUE(listing.ends_with("  incomplete: GAMEMAPS.WL6 is missing\n")) << listing;
    const std::string incomplete = rowsOf(listing).back()[0];
    EXPECT_TRUE(RunCli({"backups", game, "--json"}).out.ends_with(R"("complete": false, "missing": ["GAMEMAPS.WL6"]})"
                                                                  "\n]\n"));
    const CliResult refused = RunCli({"restore", game, incomplete});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "Restore backup: The backup " + incomplete +
                               " cannot be restored: it is incomplete, GAMEMAPS.WL6 is missing, so its maps would not "
                               "load.\n\nNothing was restored.\n");
}

TEST(CliBackups, WrongRequestsAreToldWithTheUsualStatuses)
{
    TempDir dir, empty;
    CopyGame(SampleGameDir(), dir.path());
    ASSERT_EQ(RunCli({"resave", dir.path().string()}).status, 0);
    const std::string game = dir.path().string(), none = empty.path().string(), missing = (dir / "nothing").string();
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"restore", game}, 2, "The argument ID is missing.\nUsage: tesselar-cli restore DIR ID [loader options]\n"},
        {{"backups", missing}, 1, "The directory " + missing + " doesn't exist!\n"},
        {{"restore", game, "20990101T000000Z"}, 1,
         "Restore backup: There is no backup 20990101T000000Z of " + game + ".\n"},
        {{"restore", none, "20990101T000000Z"}, 1, "Restore backup: There are no backups of " + none + ".\n"},
    };
    for (const auto& c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0];
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(CliBackups, RestoresAGenerationOfThePageFile)
{
    TempDir dir;
    CopyGame(SampleGameDir(), dir.path());
    const Bytes original = TestPageFile({TestWall(1), TestWall(2)}, 2, 2);
    WriteFile(dir / "VSWAP.WL6", original);
    auto pages = PageFile::Load(dir / "VSWAP.WL6");
    ASSERT_TRUE(pages);
    PageSet set = PageSet::From(*pages);
    ASSERT_FALSE(set.Replace(1, TestWall(9)));
    ASSERT_FALSE(SavePageFile(set, dir / "VSWAP.WL6", {DefaultBackupsRoot(), 5}));
    ASSERT_NE(ReadFile(dir / "VSWAP.WL6"), original);

    const auto generations = ListGenerations(GenerationsFolder({DefaultBackupsRoot(), 5}, dir.path()));
    ASSERT_EQ(generations.size(), 1u);
    const CliResult restored = RunCli({"restore", dir.path().string(), generations[0].Id});
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_TRUE(HasShape(restored.out, "Backup " + generations[0].Id +
                                           " (saved ####-##-## ##:##:##, replaced ####-##-## ##:##:##) of the page file VSWAP.WL6 was restored. The files "
                                           "it replaced were kept as backup " + std::string(kIdShape) + ".\n"))
        << restored.out;
    EXPECT_EQ(ReadFile(dir / "VSWAP.WL6"), original);
    EXPECT_EQ(ReadFile(dir / "GAMEMAPS.WL6"), ReadFile(SampleGameDir() / "GAMEMAPS.WL6")) << "the maps are left alone";
}
