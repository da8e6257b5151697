// A save never loses a map: every failure of the disk, at every step, leaves
// the complete previous set or the complete new one, and the message says
// which; an interrupted save is recognised and explained when the game is
// opened again; links and directories in the way are never followed or moved.

#include "TestUtil.h"
#include "core/DamagedSave.h"
#include "core/FileSystem.h"
#include "core/MapHandler.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <random>

#include <sys/wait.h>
#include <unistd.h>

using namespace tsl;
using namespace tsl::test;

namespace {

// A set on disk that was saved twice, so that every file has a backup, and
// the same set changed in memory.
struct Scene {
    TempDir dir;
    MapHandler set;
    std::map<std::string, Bytes> before;   // the previous set with its backups
    std::map<std::string, Bytes> newFiles; // what the save is to write, by name

    explicit Scene(bool corridor7)
    {
        // Made once and copied: the saves that make it are the slow part.
        static std::map<bool, Scene> made;
        auto it = made.find(corridor7);
        if (it == made.end())
            it = made.try_emplace(corridor7, corridor7, true).first;
        const Scene& model = it->second;
        set = model.set;
        set.Path = dir.path();
        before = model.before;
        newFiles = model.newFiles;
        for (const auto& [name, bytes] : before)
            WriteFile(dir / name, bytes);
    }

    Scene(bool corridor7, bool)
    {
        set = EmptySet(dir.path(), corridor7 ? DataFileVersion::MapTemp : DataFileVersion::GameMaps, 3,
                       corridor7 ? "CO7" : "WL6");
        if (corridor7)
            UseFakeExecutable(set, "C7.EXE");
        std::mt19937 random(7);
        AddRandomMap(set, random, 64, 64, "First");
        AddRandomMap(set, random, 32, 16, "Second");
        EXPECT_FALSE(set.Save());
        set.Maps[0].SetWord(0, 3, 3, 999);
        EXPECT_FALSE(set.Save());
        before = Snapshot(dir.path());
        set.Maps[1].SetWord(1, 2, 2, 4242);
        auto image = set.BuildSaveImage();
        newFiles[set.DataFilePath().filename().string()] = image->data;
        newFiles[set.HeaderFilePath().filename().string()] = image->header;
        if (image->executable)
            newFiles["C7.EXE"] = *image->executable;
    }

    // "old" or "new" when every file of the set is that version, else "mixed".
    std::string Version() const
    {
        bool allOld = true, allNew = true;
        for (const auto& [name, bytes] : newFiles) {
            const Bytes now = fs::exists(dir / name) ? ReadFile(dir / name) : Bytes{};
            allOld = allOld && before.count(name) && now == before.at(name);
            allNew = allNew && now == bytes;
        }
        return allNew ? "new" : allOld ? "old" : "mixed";
    }
    // A complete new set keeps the previous files as its backups.
    void ExpectBackupsOfTheOldSet() const
    {
        for (const auto& entry : newFiles)
            EXPECT_EQ(ReadFile(dir / (entry.first + ".BAK")), before.at(entry.first)) << entry.first;
    }
};

// Carries out the "rename A to B, C to D and E to F" of a message.
void FollowRenames(const fs::path& dir, std::string text)
{
    const auto start = text.find("rename ");
    ASSERT_NE(start, std::string::npos) << text;
    text = text.substr(start + 7);
    text = text.substr(0, std::min(text.find(", then"), text.rfind('.')));
    for (std::size_t pos; (pos = text.find(" and ")) != std::string::npos;)
        text.replace(pos, 5, ", ");
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t end = std::min(text.find(", ", from), text.size());
        const std::string item = text.substr(from, end - from);
        const auto to = item.find(" to ");
        ASSERT_NE(to, std::string::npos) << item;
        fs::rename(dir / item.substr(0, to), dir / item.substr(to + 4));
        from = end + 2;
    }
}

} // namespace

class SaveFaults : public ::testing::TestWithParam<bool> {};

// One failing step, or every step from one on: a single failure is always
// undone; when undoing fails too, the message says how to get the old set back.
TEST_P(SaveFaults, AFailureAtAnyStepKeepsTheOldSetOrCompletesTheNewOne)
{
    for (bool lasting : {false, true})
        for (int at = 1;; ++at) {
            SCOPED_TRACE((lasting ? "steps from " : "step ") + std::to_string(at));
            Scene scene(GetParam());
            std::optional<Failure> failure;
            int steps = 0;
            {
                DiskFaults faults(at, lasting);
                failure = scene.set.Save();
                steps = faults.Steps();
            }
            if (!failure) {
                // Past the last rename only tidying can fail: the new set stands.
                EXPECT_EQ(scene.Version(), "new");
                scene.ExpectBackupsOfTheOldSet();
            } else if (failure->text.find("The previous map files were kept.") != std::string::npos) {
                EXPECT_NE(failure->text.find("(Input/output error)!"), std::string::npos) << failure->text;
                if (lasting)
                    EXPECT_EQ(scene.Version(), "old");
                else
                    EXPECT_EQ(Snapshot(scene.dir.path()), scene.before);
            } else {
                EXPECT_TRUE(lasting) << failure->text;
                EXPECT_NE(failure->text.find("Undoing the save failed as well."), std::string::npos)
                    << failure->text;
                // Each file is what the message says it is.
                for (const auto& [name, bytes] : scene.newFiles) {
                    if (failure->text.find("- " + name + " is the new file") != std::string::npos) {
                        EXPECT_EQ(ReadFile(scene.dir / name), bytes) << name;
                    }
                    if (failure->text.find("- " + name + " is missing") != std::string::npos) {
                        EXPECT_FALSE(fs::exists(scene.dir / name)) << name;
                    }
                }
                FollowRenames(scene.dir.path(), failure->text);
                EXPECT_EQ(scene.Version(), "old") << failure->text;
            }
            if (steps < at)
                break; // the save had no step left to fail
        }
}

TEST_P(SaveFaults, ASaveKilledAtAnyStepIsRecognisedAndUndoneByTheMessage)
{
    for (int at = 1;; ++at) {
        SCOPED_TRACE("killed at step " + std::to_string(at));
        Scene scene(GetParam());
        const pid_t child = fork();
        if (child == 0) {
            DiskFaults kill([at](int number, DiskStep, const fs::path&) {
                if (number == at)
                    _exit(9);
                return 0;
            });
            _exit(scene.set.Save() ? 1 : 0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 0) {
            EXPECT_EQ(scene.Version(), "new");
            break; // the save ran to its end
        }
        ASSERT_EQ(WEXITSTATUS(status), 9);
        auto files = LocateGameFiles(scene.dir.path());
        if (files) {
            const std::string version = scene.Version();
            EXPECT_TRUE(version == "old" || version == "new") << version;
            continue;
        }
        EXPECT_EQ(files.failure().text.rfind("An earlier save was interrupted: ", 0), 0u) << files.failure().text;
        FollowRenames(scene.dir.path(), files.failure().text);
        EXPECT_EQ(scene.Version(), "old") << files.failure().text;
    }
}

INSTANTIATE_TEST_SUITE_P(GameMapsAndCorridor7, SaveFaults, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "Corridor7" : "GameMaps"; });

TEST(SaveSafety, TemporaryFilesAreCreatedAfreshNeverThroughALink)
{
    Scene scene(false);
    const fs::path victim = scene.dir / "victim.txt";
    WriteFile(victim, std::string("precious"));
    // Links at the names an older writer used, at the backups, and at the
    // very name a temporary file is about to get.
    fs::create_symlink(victim, scene.dir / ".MAPHEAD.WL6.tesselar-new");
    fs::remove(scene.dir / "GAMEMAPS.WL6.BAK");
    fs::create_symlink(victim, scene.dir / "GAMEMAPS.WL6.BAK");
    int planted = 0;
    DiskFaults plant([&](int, DiskStep step, const fs::path& path) {
        if (step == DiskStep::Create && planted++ == 0)
            fs::create_symlink(victim, path);
        return 0;
    });
    EXPECT_FALSE(scene.set.Save());
    EXPECT_EQ(FileText(victim), "precious");
    EXPECT_EQ(scene.Version(), "new");
    EXPECT_FALSE(fs::is_symlink(scene.dir / "MAPHEAD.WL6"));
    EXPECT_FALSE(fs::is_symlink(scene.dir / "GAMEMAPS.WL6"));
}

TEST(SaveSafety, TheNewFilesKeepThePermissionsOfThePreviousOnes)
{
    Scene scene(true);
    fs::permissions(scene.dir / "C7.EXE", fs::perms(0750));
    fs::permissions(scene.dir / "MAPTEMP.CO7", fs::perms(0600));
    ASSERT_FALSE(scene.set.Save());
    EXPECT_EQ(fs::status(scene.dir / "C7.EXE").permissions(), fs::perms(0750));
    EXPECT_EQ(fs::status(scene.dir / "MAPTEMP.CO7").permissions(), fs::perms(0600));
}

TEST(SaveSafety, ADirectoryInThePlaceOfABackupIsNeverMoved)
{
    Scene scene(false);
    fs::remove(scene.dir / "MAPHEAD.WL6.BAK");
    fs::create_directory(scene.dir / "MAPHEAD.WL6.BAK");
    WriteFile(scene.dir / "MAPHEAD.WL6.BAK" / "notes.txt", std::string("mine"));
    const auto before = Snapshot(scene.dir.path());
    auto failure = scene.set.Save();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, (scene.dir / "MAPHEAD.WL6.BAK").string() +
                                 " is a directory, where the save must put a file. Move it away, then save "
                                 "again.\n\nNo file was changed.");
    EXPECT_EQ(Snapshot(scene.dir.path()), before);
    EXPECT_EQ(ListDirectory(scene.dir / "MAPHEAD.WL6.BAK"), std::vector<std::string>{"notes.txt"});
    const auto listing = ListDirectory(scene.dir.path());
    EXPECT_TRUE(std::none_of(listing.begin(), listing.end(), [](const std::string& name) {
        return IsTemporaryName(name); // nothing hidden left behind
    }));
}

TEST(SaveSafety, ASetLoadedWithDamageNeverReplacesABackup)
{
    Scene scene(false);
    scene.set.LoadedWithDamage = true;
    std::string kept;
    ASSERT_FALSE(scene.set.Save({}, &kept));
    EXPECT_EQ(kept, "The previous files were kept as GAMEMAPS.WL6.BAK1 and MAPHEAD.WL6.BAK1.");
    EXPECT_EQ(ReadFile(scene.dir / "GAMEMAPS.WL6.BAK"), scene.before.at("GAMEMAPS.WL6.BAK"));
    EXPECT_EQ(ReadFile(scene.dir / "GAMEMAPS.WL6.BAK1"), scene.before.at("GAMEMAPS.WL6"));
    ASSERT_FALSE(scene.set.Save({}, &kept));
    EXPECT_EQ(kept, "The previous files were kept as GAMEMAPS.WL6.BAK2 and MAPHEAD.WL6.BAK2.");
    EXPECT_EQ(ReadFile(scene.dir / "MAPHEAD.WL6.BAK1"), scene.before.at("MAPHEAD.WL6"));

    // Without any backup yet, the usual name is taken.
    TempDir fresh;
    for (const char* name : {"MAPHEAD.WL6", "GAMEMAPS.WL6"})
        fs::copy_file(scene.dir / name, fresh / name);
    scene.set.Path = fresh.path();
    ASSERT_FALSE(scene.set.Save({}, &kept));
    EXPECT_EQ(kept, "The previous files were kept as GAMEMAPS.WL6.BAK and MAPHEAD.WL6.BAK.");
}

TEST(SaveSafety, TheEditorAsksOnceBeforeSavingADamagedSet)
{
    MapHandler set;
    ScriptedPrompter prompter;
    EXPECT_TRUE(ConfirmDamagedSave(set, prompter)); // a sound set: no question
    set.LoadedWithDamage = true;
    prompter.Answer(Answer::No).Answer(Answer::Yes);
    EXPECT_FALSE(ConfirmDamagedSave(set, prompter));
    EXPECT_TRUE(ConfirmDamagedSave(set, prompter));
    EXPECT_TRUE(ConfirmDamagedSave(set, prompter)); // asked once
    ASSERT_EQ(prompter.Records().size(), 2u);
    EXPECT_EQ(prompter.Records()[0].text, "Some maps were damaged when they were loaded. Saving writes them as they "
                                          "are shown now.\n\nDo you wish to save anyway?");
    EXPECT_EQ(prompter.Records()[0].caption, "Save maps");
    EXPECT_EQ(prompter.Records()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(prompter.Records()[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(prompter.Finished()) << prompter.Unfinished();
}
