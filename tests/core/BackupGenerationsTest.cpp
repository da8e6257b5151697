// Backup generations: every save keeps the files it replaces, one generation
// per save in a folder of the game's own, the newest Keep of them; one that
// cannot be written never costs the save nor leaves half a generation.

#include "TestUtil.h"
#include "core/BackupGenerations.h"
#include "core/UserFolders.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;
using namespace std::chrono;

namespace {

struct Saves {
    TempDir game, backups;
    MapHandler set;

    explicit Saves(int keep)
    {
        set = EmptySet(game.path());
        std::mt19937 random(3);
        AddRandomMap(set, random, 16, 16, "One");
        AddRandomMap(set, random, 8, 8, "Two");
        set.Backups = {backups.path(), keep};
    }
    std::vector<BackupGeneration> Generations() const
    {
        return ListGenerations(GenerationsFolder(set.Backups, game.path()));
    }
    // The game files (not their .BAK) a save with `word` in the first tile replaces.
    std::map<std::string, Bytes> Save(std::uint16_t word, std::string* kept = nullptr)
    {
        std::map<std::string, Bytes> before;
        for (auto& [name, bytes] : Snapshot(game.path()))
            if (!name.ends_with(".BAK"))
                before[name] = bytes;
        set.Maps[0].Planes[0][0] = word;
        EXPECT_FALSE(set.Save({}, kept));
        return before;
    }
};

std::map<std::string, Bytes> GameFilesOf(const BackupGeneration& generation)
{
    auto content = ReadGeneration(generation);
    EXPECT_TRUE(bool(content)) << content.failure().text;
    std::map<std::string, Bytes> files;
    if (content)
        for (const KeptFile& file : content->GameFiles)
            files[file.Name] = file.Content;
    return files;
}

} // namespace

TEST(BackupGenerations, EverySaveKeepsWhatItReplacesAndTheNewestKeepStay)
{
    Saves s(3);
    std::vector<std::map<std::string, Bytes>> replaced;
    for (std::uint16_t word = 1; word <= 5; ++word)
        replaced.push_back(s.Save(word)); // within a second or two: the ids still differ
    // The first save replaced nothing; of the four others the oldest went.
    const auto generations = s.Generations();
    ASSERT_EQ(generations.size(), 3u);
    for (std::size_t i = 0; i < generations.size(); ++i) {
        const BackupGeneration& g = generations[i];
        EXPECT_EQ(GameFilesOf(g), replaced[i + 2]) << g.Id;
        EXPECT_EQ(g.GameFiles, (std::vector<std::string>{"GAMEMAPS.WL6", "MAPHEAD.WL6"})); // the listing last
        EXPECT_EQ(g.Maps, 2);
        EXPECT_EQ(g.Planes, 3);
        EXPECT_EQ(g.Bytes, replaced[i + 2].at("GAMEMAPS.WL6").size() + replaced[i + 2].at("MAPHEAD.WL6").size());
        if (i > 0) {
            EXPECT_LT(generations[i - 1].Id, g.Id);
        }
    }
    // The .BAK files are as they always were.
    EXPECT_EQ(ReadFile(s.game / "GAMEMAPS.WL6.BAK"), replaced[4].at("GAMEMAPS.WL6"));

    Saves none(0);
    none.Save(1);
    none.Save(2);
    EXPECT_FALSE(fs::exists(none.backups / GameFolderKey(none.game.path())));
}

TEST(BackupGenerations, AGenerationKnowsWhenItsFilesWereSaved)
{
    Saves s(5);
    s.Save(1);
    const sys_seconds saved = sys_days{year(2025) / 3 / 14} + hours(10) + minutes(12) + seconds(17);
    fs::last_write_time(s.game / "GAMEMAPS.WL6", fs::file_time_type::clock::from_sys(saved - seconds(1)));
    fs::last_write_time(s.game / "MAPHEAD.WL6", fs::file_time_type::clock::from_sys(saved));
    s.Save(2);
    const auto generations = s.Generations();
    ASSERT_EQ(generations.size(), 1u);
    EXPECT_EQ(generations[0].Saved, saved) << "the newest of its files";
    EXPECT_GT(generations[0].Time, saved);
}

TEST(BackupGenerations, EachGameFolderHasAFolderOfItsOwn)
{
    TempDir dir;
    fs::create_directories(dir / "a" / "wl6");
    fs::create_directories(dir / "b" / "wl6");
    fs::create_directory_symlink(dir / "a" / "wl6", dir / "link");
    const std::string key = GameFolderKey(dir / "a" / "wl6");
    EXPECT_EQ(key.size(), 12u);
    EXPECT_EQ(key.rfind("wl6-", 0), 0u) << key;
    EXPECT_NE(key, GameFolderKey(dir / "b" / "wl6"));
    for (const fs::path& same : {dir / "a" / "wl6" / "", dir / "a" / "." / "wl6", dir / "link"})
        EXPECT_EQ(GameFolderKey(same), key) << same;
}

TEST(BackupGenerations, IdsAreTheUtcTimeAndSortAsTheTimesDo)
{
    const sys_seconds t = sys_days{year(2025) / 3 / 14} + hours(10) + minutes(15) + seconds(2);
    EXPECT_EQ(TimeId(t), "20250314T101502Z");
    EXPECT_EQ(IsoTime(t), "2025-03-14T10:15:02Z");
    EXPECT_EQ(LocalTimeText(t), "2025-03-14 10:15:02"); // the tests run in UTC
    const std::pair<const char*, std::optional<sys_seconds>> ids[] = {
        {"20250314T101502Z", t},         {"20250314T101502Z-01", t},   {"20250314T101502Z-1", std::nullopt},
        {"20250230T101502Z", std::nullopt}, {"20250314T241502Z", std::nullopt}, {"20250314T101502", std::nullopt},
        {"2025-314T101502Z", std::nullopt}, {"20250314T101502Z-0x", std::nullopt},
    };
    for (const auto& [id, time] : ids)
        EXPECT_EQ(ParseTimeId(id), time) << id;
}

TEST(BackupGenerations, AGenerationThatCannotBeWrittenCostsNeitherTheSaveNorLeavesHalfOfIt)
{
    for (int at = 1;; ++at) {
        SCOPED_TRACE("backup step " + std::to_string(at));
        Saves s(5);
        s.Save(1);
        s.Save(2);
        const std::size_t before = s.Generations().size();
        int steps = 0;
        std::string kept;
        {
            const std::string root = s.backups.path().string();
            DiskFaults faults([&](int, DiskStep, const fs::path& path) {
                return path.string().rfind(root, 0) == 0 && ++steps == at ? ENOSPC : 0;
            });
            s.Save(3, &kept);
        }
        EXPECT_EQ(LoadSet(s.game.path()).Maps[0].Planes[0][0], 3); // saved all the same
        const std::size_t after = s.Generations().size();
        if (kept.empty()) {
            EXPECT_EQ(after, before + 1);
        } else {
            EXPECT_EQ(after, before);
            EXPECT_EQ(kept.rfind("The previous files couldn't be kept as a backup generation: ", 0), 0u) << kept;
            EXPECT_TRUE(kept.ends_with(" (No space left on device).")) << kept;
        }
        // Nothing but whole generations in the game's folder.
        EXPECT_EQ(ListDirectory(GenerationsFolder(s.set.Backups, s.game.path())).size(), after);
        if (steps < at)
            break;
    }
}
