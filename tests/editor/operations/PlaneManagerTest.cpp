// Changing the number of planes of an open project: the structure's files
// and keys, the reloaded maps, the saved game files, and a failed save that
// leaves everything as it was.

#include "EditorTestUtil.h"
#include "ScriptedPrompter.h"
#include "core/FileSystem.h"
#include "editor/session/EditorSession.h"
#include "editor/operations/PlaneManager.h"

#include <gtest/gtest.h>

#include <random>

using namespace tsl;
using namespace tsl::test;

namespace {

// The sample game opened, with what the plane count tests ask of it.
struct OpenedGame : OpenedSampleGame {
    fs::path Folder() const { return root / "WL6"; }
    // The game files and `now` hold `count` planes: those of `before`, then zeros.
    void ExpectSaved(const MapHandler& before, int count, const MapHandler& now)
    {
        const MapHandler saved = LoadSet(game, count);
        ASSERT_EQ(saved.NumMaps(), before.NumMaps());
        for (std::size_t i = 0; i < saved.Maps.size(); ++i) {
            PlaneSet expected = before.Maps[i].Planes;
            const std::vector<std::uint16_t> zeros(before.Maps[i].WordCount());
            expected.resize(static_cast<std::size_t>(count), zeros);
            EXPECT_EQ(saved.Maps[i].Planes, expected) << i;
            EXPECT_EQ(now.Maps[i].Planes, expected) << i;
        }
    }
};

} // namespace

TEST(PlaneCount, TheFieldTakesOneTo32767Planes)
{
    for (const char* bad : {"", "0", "32768", "-1", "3a", " 3", "99999999999"}) {
        const auto parsed = ParsePlaneCount(bad);
        ASSERT_FALSE(parsed) << bad;
        EXPECT_EQ(parsed.failure().text, "The number of planes must be between 1 and 32767!");
        EXPECT_EQ(parsed.failure().caption, "Plane Manager");
        EXPECT_EQ(parsed.failure().icon, MessageIcon::Error);
    }
    EXPECT_EQ(*ParsePlaneCount("1"), 1);
    EXPECT_EQ(*ParsePlaneCount("32767"), 32767);
}

// Which files lowering spares is RemovePlaneEntries' rule (StructureStoreTest).
TEST(PlaneCount, RaisingAddsFilesKeysAndZeroPlanesLoweringDeletesThemAndEachSavesTheGameFiles)
{
    OpenedGame g;
    const MapHandler before = LoadSet(g.game, 3);
    EditorSession session(std::move(g.project));
    ASSERT_FALSE(session.ChangePlaneCount(5).Message);

    // The keys each added plane gets are AddPlaneEntries' (StructureStoreTest).
    for (const char* file : {"plane4.txt", "plane5.txt"})
        EXPECT_EQ(FileText(g.Folder() / file), kDefaultSymbolRecord) << file;
    const Project& project = session.CurrentProject();
    EXPECT_EQ(project.Settings->ReadInteger("Planes", "NumPlanes", 0), 5);
    EXPECT_EQ(session.Maps().NumPlanes, 5);
    EXPECT_EQ(project.Symbols.NumPlanes(), 5);
    EXPECT_FALSE(session.Changed());
    g.ExpectSaved(before, 5, session.Maps());

    // Edits that were not saved are gone: the maps come again from the files.
    session.SetButtonValue(PointerButton::Left, 4321);
    session.Pointer({PointerAction::Press, PointerButton::Left, 0, 0});
    session.Pointer({PointerAction::Release, PointerButton::Left, 0, 0});
    session.GoToLevel(2);
    ASSERT_FALSE(session.ChangePlaneCount(2).Message);
    EXPECT_FALSE(fs::exists(g.Folder() / "plane3.txt"));
    EXPECT_TRUE(fs::exists(g.Folder() / "plane2.txt"));
    EXPECT_FALSE(project.Settings->HasKey("Planes", "2")); // the rest: RemovePlaneEntries'
    EXPECT_EQ(session.Maps().CurrentMap, 0);
    EXPECT_FALSE(session.Changed());
    g.ExpectSaved(before, 2, session.Maps());
}

TEST(PlaneCount, AFailedSaveLeavesTheStructureTheGameFilesAndTheProjectAsTheyWere)
{
    for (int count : {5, 1}) {
        OpenedGame g;
        const auto structure = Snapshot(g.root);
        const auto gameFiles = Snapshot(g.game);
        EditorSession session(std::move(g.project));
        session.GoToLevel(1);
        session.SelectPlane(1);
        session.SetButtonValue(PointerButton::Left, 99); // an edit not yet saved stays
        session.Pointer({PointerAction::Press, PointerButton::Left, 3, 0});
        session.Pointer({PointerAction::Release, PointerButton::Left, 3, 0});
        const EditResult result = session.ChangePlaneCount(count, [](const MapHandler& maps) {
            EXPECT_EQ(maps.FilePlanes, 0);
            return std::optional<Failure>(Failure{"Couldn't write the map files!", "Error saving maps"});
        });
        ASSERT_TRUE(result.Message);
        EXPECT_EQ(result.Message->text, "Couldn't write the map files!");
        EXPECT_EQ(Snapshot(g.root), structure) << count;
        EXPECT_EQ(Snapshot(g.game), gameFiles);
        EXPECT_EQ(session.Maps().NumPlanes, 3);
        EXPECT_EQ(session.CurrentProject().Symbols.NumPlanes(), 3);
        EXPECT_EQ(session.Maps().Maps[1].Planes[1][3], 99);
        EXPECT_TRUE(session.Changed());
        EXPECT_EQ(session.CurrentProject().Settings->ReadInteger("Planes", "NumPlanes", 0), 3);
    }
}

TEST(PlaneCount, TheCorridor7FloppyStructureGetsItsFilesInItsOwnFolder)
{
    TempDir dir;
    const fs::path game = dir / "game";
    const fs::path root = dir / "MapDefs";
    fs::create_directories(game);
    MapHandler set = EmptySet(game, DataFileVersion::MapTemp, 3, "CO7");
    WriteFile(game / "C7.EXE", FakeExecutable());
    set.HeaderInExecutable = true;
    set.HeaderExecutable = "C7.EXE";
    std::mt19937 random(7);
    AddRandomMap(set, random, 16, 16, "One");
    ASSERT_FALSE(set.Save());
    ASSERT_FALSE(CreateFromScratch(root, "CO7", "C7.EXE", StructureSettings{}, 3));

    auto project = OpenGame(game, root);
    ASSERT_TRUE(project);
    EditorSession session(std::move(project));
    ASSERT_FALSE(session.ChangePlaneCount(4).Message);
    EXPECT_EQ(FileText(root / "CO7_Floppy" / "plane4.txt"), kDefaultSymbolRecord);
    EXPECT_FALSE(fs::exists(root / "CO7"));
    ASSERT_FALSE(session.ChangePlaneCount(2).Message);
    EXPECT_FALSE(fs::exists(root / "CO7_Floppy" / "plane4.txt"));
    EXPECT_FALSE(fs::exists(root / "CO7_Floppy" / "plane3.txt"));
}

TEST(PlaneManager, WritesNamesAndBothFlagsAtOnce)
{
    TempDir dir;
    IniFile settings(dir / "WL6.ini");
    WritePlaneFlags(settings, 1, true, false);
    WritePlaneName(settings, 1, "Objects");
    EXPECT_EQ(FileText(dir / "WL6.ini"), "[ShowPlanes]\r\n1=1\r\n[SplitPlanes]\r\n1=0\r\n[PlaneNames]\r\n1=Objects\r\n");
    EXPECT_EQ(PlaneNames(settings, 2), (std::vector<std::string>{"Unknown Plane", "Objects"}));
}

TEST(PlaneCount, TheSessionStartsAfreshWithoutClipboardOrHistory)
{
    OpenedGame g;
    EditorSession session(std::move(g.project));
    session.CreateClipboardManager().Entries.push_back(session.MakeClipboardEntry(1, 1, {{0}, {0}, {0}}));
    session.SelectPlane(2);

    EXPECT_EQ(session.ChangePlaneCount(3).What, EditResult::Redraw::Nothing);
    const EditResult result = session.ChangePlaneCount(4);
    EXPECT_FALSE(result.Message);
    EXPECT_EQ(result.What, EditResult::Redraw::Map);
    EXPECT_EQ(session.Maps().NumPlanes, 4);
    EXPECT_EQ(session.ClipboardManager(), nullptr);
    EXPECT_EQ(session.SelectedPlane(), 0);
    EXPECT_EQ(session.LeftValue(3), 0);
    EXPECT_FALSE(session.Changed());
}
