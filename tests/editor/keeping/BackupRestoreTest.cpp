// Restoring a backup generation: its files come back and the current ones
// are kept first; one whose maps would not load is refused; a failing disk
// leaves the current files whole; and a generation saved by a reduction of
// the plane count gives the structure its planes and symbol files back, so
// the reduction is undone.

#include "EditorTestUtil.h"
#include "ScriptedPrompter.h"
#include "editor/keeping/BackupRestore.h"
#include "editor/operations/PlaneManager.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

// A copy of the sample game and of the shipped WL6 structure, opened as the
// editor opens it, its saves keeping generations.
struct Game : OpenedSampleGame {
    Game() : OpenedSampleGame(true) {}
    std::map<std::string, Bytes> GameFiles() const
    {
        std::map<std::string, Bytes> files;
        for (auto& [name, bytes] : Snapshot(game))
            if (!name.ends_with(".BAK"))
                files[name] = bytes;
        return files;
    }
    // The set saved with a word changed (a copy of it: the project's own
    // words change only through a document).
    void SaveWith(std::uint16_t word)
    {
        MapHandler maps = project->Maps();
        maps.Maps[0].Planes[0][0] = word;
        ASSERT_FALSE(maps.Save());
    }
    std::vector<BackupGeneration> Generations() const
    {
        return ListGenerations(GenerationsFolder(project->Maps().Backups, game));
    }
    Outcome<RestoreReport> Restore(const std::string& id)
    {
        RestoreRequest request{project->Maps().Backups, game, id, &project->Maps(), project->Settings.get(), root / "WL6"};
        return RestoreBackup(request, std::chrono::system_clock::now());
    }
};

} // namespace

TEST(RestoreBackup, TheOldestComesBackAndTheCurrentFilesAreKeptToUndoIt)
{
    Game g;
    const auto original = g.GameFiles();
    g.SaveWith(1);
    g.SaveWith(2);
    const auto current = g.GameFiles();
    const BackupGeneration oldest = g.Generations().front();

    auto report = g.Restore(oldest.Id);
    ASSERT_TRUE(report) << report.failure().text;
    EXPECT_EQ(g.GameFiles(), original);
    const BackupGeneration kept = g.Generations().back();
    ASSERT_TRUE(oldest.Saved);
    EXPECT_EQ(report->Text, "Backup " + oldest.Id + " (saved " + LocalTimeText(*oldest.Saved) + ", replaced " +
                                LocalTimeText(oldest.Time) +
                                ") with 7 maps was restored. The files it replaced were kept as backup " + kept.Id +
                                ".");
    EXPECT_EQ(g.Generations().size(), 3u);

    ASSERT_TRUE(g.Restore(kept.Id)); // undone the same way
    EXPECT_EQ(g.GameFiles(), current);
}

TEST(RestoreBackup, AGenerationWhoseMapsDoNotLoadIsRefused)
{
    Game g;
    const auto files = g.GameFiles();
    const Bytes data = files.at("GAMEMAPS.WL6"), header = files.at("MAPHEAD.WL6");
    Bytes outside = header;
    PutU32(outside.data() + 2, 0x7FFFFFFF);
    const struct {
        std::vector<KeptFile> kept;
        int maps;
        std::vector<std::string> missing; // as a save or restore after an interrupted save records it
        std::string why;
    } rows[] = {
        {{{"GAMEMAPS.WL6", data}}, 0, {"MAPHEAD.WL6"},
         "it is incomplete, MAPHEAD.WL6 is missing, so its maps would not load."},
        // Kept before missing files were recorded: no header, no map listed.
        {{{"GAMEMAPS.WL6", data}}, 0, {}, "it is incomplete, no map is listed, so its maps would not load."},
        {{{"MAPHEAD.WL6", header}}, 7, {}, "its maps do not load.\n\nCouldn't find MAPTEMP or GAMEMAPS file!"},
        {{{"GAMEMAPS.WL6", data}, {"MAPHEAD.WL6", outside}}, 7, {},
         "its maps do not load.\n\nThe header of map 1 lies outside GAMEMAPS.WL6!\n\nThe map files are damaged; no "
         "map was loaded."},
    };
    for (const auto& row : rows) {
        GenerationContent content;
        content.GameFiles = row.kept;
        content.MissingFiles = row.missing;
        content.Maps = row.maps;
        content.Planes = 3;
        const std::string id =
            KeepGeneration(g.project->Maps().Backups, g.game, content, std::chrono::system_clock::now()).Id;
        const auto refused = g.Restore(id);
        ASSERT_FALSE(refused) << row.why;
        EXPECT_EQ(refused.failure().text,
                  "The backup " + id + " cannot be restored: " + row.why + "\n\nNothing was restored.");
        EXPECT_EQ(g.GameFiles(), files);
    }
}

TEST(RestoreBackup, AFailingDiskLeavesTheCurrentFilesWhole)
{
    // Made once, and laid out afresh for every step: the saves are the slow part.
    Game model;
    const auto original = model.GameFiles();
    model.SaveWith(1);
    const auto current = model.GameFiles();
    const auto content = ReadGeneration(model.Generations().front());
    ASSERT_TRUE(content);

    for (int at = 1;; ++at) {
        SCOPED_TRACE("step " + std::to_string(at));
        TempDir dir;
        for (const auto& [name, bytes] : current)
            WriteFile(dir / name, bytes);
        const BackupPolicy backups{dir / "Backups", 20};
        const std::string id =
            KeepGeneration(backups, dir.path(), *content, std::chrono::system_clock::now()).Id;
        auto files = [&] {
            std::map<std::string, Bytes> now;
            for (const auto& entry : current)
                now[entry.first] = ReadFile(dir / entry.first);
            return now;
        };
        int steps = 0;
        std::optional<Failure> failure;
        {
            DiskFaults faults(at);
            auto report = RestoreBackup({backups, dir.path(), id, &model.project->Maps(), nullptr, {}},
                                        std::chrono::system_clock::now());
            if (!report)
                failure = report.failure();
            steps = faults.Steps();
        }
        // One failure is always undone (failures that go on are ReplaceFiles' rule:
        // SaveSafetyTest), and the current files' own generation goes again.
        if (!failure) {
            EXPECT_EQ(files(), original);
        } else {
            EXPECT_EQ(files(), current) << failure->text;
            EXPECT_EQ(ListGenerations(GenerationsFolder(backups, dir.path())).size(), 1u);
        }
        if (steps < at)
            break;
    }
}

TEST(RestoreBackup, AReductionOfThePlaneCountIsUndoneWithItsSymbolFiles)
{
    Game g;
    const MapHandler before = LoadSet(g.game, 3);
    const fs::path folder = g.root / "WL6";
    const auto structure = Snapshot(folder);
    EXPECT_EQ(PlaneReductionQuestion(*g.project, 1).text,
              "Reducing the number of planes from 3 to 1 deletes plane 2 \"Objects and Actors\" and plane 3 "
              "\"Extra\" with all their words in every map, and their symbol files plane2.txt and plane3.txt.\n\n"
              "The previous map files and these symbol files are kept with the backup of this save, from which the "
              "change can be undone.\n\nDo you wish to delete these planes?");
    ASSERT_TRUE(ChangePlaneCount(*g.project, 1));
    ASSERT_FALSE(fs::exists(folder / "plane3.txt"));

    auto report = g.Restore(g.Generations().back().Id);
    ASSERT_TRUE(report) << report.failure().text;
    EXPECT_TRUE(report->Text.ends_with(" The map definition structure has 3 planes again. The symbol files plane2.txt "
                                       "and plane3.txt are back in " + folder.string() + "."))
        << report->Text;
    // The kept symbol files and the planes' keys are back; the settings file
    // is otherwise as the reduction left it.
    const auto now = Snapshot(folder);
    for (const char* name : {"plane1.txt", "plane2.txt", "plane3.txt", "mapsymboltypes.txt"})
        EXPECT_EQ(now.at(name), structure.at(name)) << name;
    for (const char* section : {"Planes", "PlaneNames", "ShowPlanes", "SplitPlanes"})
        for (const char* key : {"1", "2"})
            EXPECT_EQ(IniFile(folder / "WL6.ini").ReadString(section, key, "-"),
                      IniDocument::Parse(std::string(structure.at("WL6.ini").begin(), structure.at("WL6.ini").end()))
                          .Find(section, key)
                          .value_or("-"))
                << section << key;
    EXPECT_EQ(IniFile(folder / "WL6.ini").ReadInteger("Planes", "NumPlanes", 0), 3);
    const MapHandler restored = LoadSet(g.game, 3);
    for (std::size_t i = 0; i < before.Maps.size(); ++i)
        EXPECT_EQ(restored.Maps[i].Planes, before.Maps[i].Planes) << i;
}
