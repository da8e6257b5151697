// A mod's release: the zip holds exactly the game files that differ (under
// the mod's spelling) with a text and their checksums; the checks find a
// level that cannot be finished and a file that does not load; a failed
// write leaves no file; nothing in the game's folders changes.

#include "RulesTestUtil.h"
#include "TestUtil.h"
#include "engine/LevelFlow.h"
#include "mod/Release.h"
#include "mod/Sha256.h"
#include "mod/ZipArchive.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

const std::vector<std::string> kFloor = {"######", "#E.>.#", "######"};
const std::vector<std::string> kClosed = {"######", "#..>.#", "######"};

// The original game in `original` (two floors and a file of its own), and
// the mod in `mod`: floor 1 as `first` draws it, that file changed and spelt
// in lower case, a game file the game does not have and a note that is no
// game file.
struct Folders {
    TempDir dir;
    fs::path original = dir / "game";
    fs::path mod = dir / "mod";

    MapHandler layout; // how the mod's maps are stored

    explicit Folders(const std::vector<std::string>& first)
    {
        fs::create_directories(original);
        fs::create_directories(mod);
        EXPECT_FALSE(DrawnSet(original, {kFloor, kFloor}).Save());
        WriteFile(original / "VENDOR.WL1", std::string("pictures"));
        EXPECT_FALSE(DrawnSet(mod, {first, kFloor}).Save());
        WriteFile(mod / "vendor.wl1", std::string("new pictures"));
        WriteFile(mod / "ADDON.WL1", std::string("music"));
        WriteFile(mod / "notes.txt", std::string("mine"));
        layout = LoadSet(mod);
    }

    Outcome<ReleasePlan> Plan(const EngineRules& rules, const LevelFlow* flow = nullptr) const
    {
        return PlanRelease({mod, original, "My Mod", &layout, &rules, flow});
    }
};

TEST(Release, Sha256GivesTheStandardDigests)
{
    EXPECT_EQ(Sha256Hex({}), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    const std::string abc = "abc";
    EXPECT_EQ(Sha256Hex(std::span(reinterpret_cast<const std::uint8_t*>(abc.data()), abc.size())),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(Release, TheZipHoldsExactlyTheChangedFilesWithTheirChecksums)
{
    Folders folders({"########", "#E..>..#", "########"});
    const auto flow = LevelFlow::Parse("map,1,episode=1,par=90,elevator=2\n", "levels.txt");
    const auto plan = folders.Plan(ShippedRules("WL1"), &*flow);
    ASSERT_TRUE(plan) << plan.failure().text;
    EXPECT_TRUE(plan->findings.empty()) << plan->findings.front();

    const auto before = Snapshot(folders.mod);
    const fs::path zip = folders.dir / "mymod.zip";
    ASSERT_FALSE(WriteRelease(*plan, zip));
    EXPECT_EQ(Snapshot(folders.mod), before);
    auto entries = ReadZip(ReadFile(zip), 1 << 20);
    ASSERT_TRUE(entries) << entries.failure().text;
    std::vector<std::string> names;
    for (const ZipEntry& entry : *entries)
        names.push_back(entry.name);
    // Floor 1 packs to as many bytes as before: MAPHEAD.WL1 comes out the same and stays out.
    EXPECT_EQ(names, (std::vector<std::string>{"ADDON.WL1", "GAMEMAPS.WL1", "vendor.wl1", kReleaseText, kReleaseSums}));
    ASSERT_EQ(names.size(), 5u);
    std::string sums;
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ((*entries)[i].content, ReadFile(folders.mod / names[i])) << names[i];
        sums += Sha256Hex((*entries)[i].content) + "  " + names[i] + "\n";
    }
    EXPECT_EQ(std::string((*entries)[4].content.begin(), (*entries)[4].content.end()), sums);
    const std::string text((*entries)[3].content.begin(), (*entries)[3].content.end());
    for (const char* part : {"My Mod\r\n======\r\n", "Map 1: Floor 1 (par 1:30)\r\n  Skill 1: 0 kills, 0 treasure, 0 secrets\r\n",
                             "ADDON.WL1 (new, 5 bytes)\r\n", "vendor.wl1 (replaces the game's, 12 bytes)\r\n",
                             "folder that holds MAPHEAD.WL1"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    EXPECT_EQ(text.find("Map 2"), std::string::npos); // the game's own floor is no level of the mod
    EXPECT_EQ(ReleaseDoneText(*plan, zip), "The release " + zip.string() +
                                               " holds ADDON.WL1, GAMEMAPS.WL1 and vendor.wl1, with "
                                               "README.TXT and SHA256SUMS.");
}

TEST(Release, FindsALevelThatCannotBeFinishedAndAFileThatDoesNotLoad)
{
    Folders folders(kClosed);
    WriteFile(folders.mod / "VSWAP.WL1", std::string("not a page file"));
    WriteFile(folders.mod / "AUDIOT.WL1", std::string("no sounds"));
    const auto plan = folders.Plan(ShippedRules("WL1"));
    ASSERT_TRUE(plan);
    ASSERT_EQ(plan->findings.size(), 3u);
    EXPECT_EQ(plan->findings[0], "Map 1 (Floor 1) cannot be finished on skill 1, 2, 3 and 4.");
    EXPECT_TRUE(plan->findings[1].starts_with("VSWAP.WL1 does not load: ")) << plan->findings[1];
    EXPECT_EQ(plan->findings[2], "AUDIOHED and AUDIOT do not load: a file is missing.");
    EXPECT_EQ(FindingsText(*plan), "The release is held back by what the check found:\n- " + plan->findings[0] +
                                       "\n- " + plan->findings[1] + "\n- " + plan->findings[2]);

    WriteFile(folders.mod / "GAMEMAPS.WL1", std::string("cut"));
    const auto broken = folders.Plan(ShippedRules("WL1"));
    ASSERT_TRUE(broken);
    EXPECT_TRUE(broken->findings[0].starts_with("The mod's maps do not load: ")) << broken->findings[0];
}

TEST(Release, RefusesAReleaseOfNothingAndLeavesNoFileWhenTheWriteFails)
{
    Folders folders(kFloor);
    fs::remove(folders.mod / "vendor.wl1");
    fs::remove(folders.mod / "ADDON.WL1");
    WriteFile(folders.mod / "VENDOR.WL1", std::string("pictures"));
    const MapHandler layout = LoadSet(folders.mod);
    const EngineRules rules = ShippedRules("WL1");
    auto nothing = PlanRelease({folders.mod, folders.original, "Mod", &layout, &rules, nullptr});
    ASSERT_FALSE(nothing);
    EXPECT_EQ(nothing.failure().text, "Nothing to release: the game files of " + folders.mod.string() +
                                          " are those of " + folders.original.string() + ".");
    auto same = PlanRelease({folders.mod, folders.mod, "Mod", &layout, &rules, nullptr});
    ASSERT_FALSE(same);
    EXPECT_EQ(same.failure().text, "The mod's folder and the original game's are the same folder.");

    WriteFile(folders.mod / "ADDON.WL1", std::string("music"));
    const auto plan = PlanRelease({folders.mod, folders.original, "Mod", &layout, &rules, nullptr});
    ASSERT_TRUE(plan);
    const fs::path zip = folders.dir / "out" / "mod.zip";
    fs::create_directories(zip.parent_path());
    for (int step = 1; step <= 3; ++step) {
        DiskFaults faults(step);
        const auto failure = WriteRelease(*plan, zip);
        ASSERT_TRUE(failure) << step;
        EXPECT_TRUE(failure->text.starts_with("Couldn't write " + zip.string())) << failure->text;
        EXPECT_TRUE(ListDirectory(zip.parent_path()).empty()) << step;
    }
}

} // namespace
