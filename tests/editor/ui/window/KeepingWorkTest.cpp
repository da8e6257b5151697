// Keeping work, in the window: the title's modified marker, the question
// before the plane count goes down, the autosave and the recovery question at
// open, and Restore Backup. (The Delete Map question is with the map list
// commands.) The rules behind them are the core's tests; here, the wiring.

#include "EditorFixture.h"

#include "editor/keeping/BackupRestore.h"
#include "editor/operations/PlaneManager.h"
#include "editor/keeping/Recovery.h"
#include "editor/ui/views/SidePanel.h"

#include <QAction>
#include <QSlider>
#include <QTest>
#include <QTimer>

using namespace tsl;
using namespace tsl::test;

namespace {

class KeepingWork : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        UseUserFolders();
        OpenSample();
    }
    const MapHandler& Maps() { return Editor().CurrentProject()->Maps(); }
    // A word of the second map changed as a command changes it.
    void Edit(std::uint16_t word) { EditWord(1, 0, 2, 2, word); }
    fs::path RecoveryFile() { return RecoveryFilePath(RecoveryRoot(), SampleCopy()); }
    // Map `map` shown at zoom position `zoom`, with `value` on the left
    // button and `value` + 1 on the right one in planes 0 and 1.
    void GoTo(int map, int zoom, std::uint16_t value)
    {
        EditorSession& session = *Editor().Session();
        session.GoToLevel(map);
        Editor().Panel()->ZoomSlider()->setValue(zoom);
        for (int plane : {0, 1}) {
            session.SelectPlane(plane);
            session.SetButtonValue(PointerButton::Left, value);
            session.SetButtonValue(PointerButton::Right, static_cast<std::uint16_t>(value + 1));
        }
        session.SelectPlane(0);
    }
    void ExpectAt(int map, int zoom, std::uint16_t value)
    {
        const EditorSession& session = *Editor().Session();
        EXPECT_EQ(session.Maps().CurrentMap, map);
        EXPECT_EQ(Editor().ZoomPosition(), zoom);
        for (int plane : {0, 1}) {
            EXPECT_EQ(session.LeftValue(plane), value) << plane;
            EXPECT_EQ(session.RightValue(plane), value + 1) << plane;
        }
        EXPECT_EQ(PanelText("leftText").substr(0, 3), std::to_string(value) + " ");
    }
    // The unsaved maps autosaved, then the editor gone as if killed: nothing
    // asked, nothing saved.
    void AutosaveAndDie()
    {
        Editor().Autosave();
        ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(RecoveryFile()); }));
        Recreate();
    }
};

} // namespace

TEST_F(OpenedEditor, TheTitleIsMarkedWhileChangesAreUnsaved)
{
    EXPECT_EQ(ShownTitle(), "Tesselar: Gatehouse");
    Editor().Action("autofloorAction")->trigger();
    EXPECT_EQ(ShownTitle(), "Tesselar: Gatehouse*");
    Editor().Action("undoAction")->trigger();
    EXPECT_EQ(ShownTitle(), "Tesselar: Gatehouse");
    Editor().Action("redoAction")->trigger();
    EXPECT_EQ(ShownTitle(), "Tesselar: Gatehouse*");
    WhenModal([](QWidget* dialog) { ClickClose(dialog); });
    Editor().Action("saveProjectAction")->trigger();
    EXPECT_EQ(ShownTitle(), "Tesselar: Gatehouse");
}

TEST_F(OpenedEditor, LoweringThePlaneCountSaysWhatItDeletesAndNoKeepsThePlanes)
{
    const Question question = PlaneReductionQuestion(*Editor().CurrentProject(), 2);
    WhenModal([&](QWidget* dialog) {
        Click(dialog, "planeCountDown");
        Prompts().Answer(Answer::Yes).Answer(Answer::No); // the autosave warning, then what goes
        Click(dialog, "changePlaneCountButton");
        Click(dialog, "okButton");
        Finish(dialog);
    });
    Editor().Action("planeManagerAction")->trigger();
    ExpectMessage(1, question.text, "Plane Manager", MessageIcon::Question, Buttons::YesNo);
    EXPECT_EQ(Prompts().Records().size(), 2u) << "No: not even the save question";
    EXPECT_EQ(Editor().CurrentProject()->Maps().NumPlanes, 3);
}

TEST_F(KeepingWork, AnAutosaveOutlivesTheEditorAndIsOfferedBackAtTheNextOpen)
{
    EXPECT_EQ(Editor().AutosaveTimer()->interval(), 60 * 1000) << "[Autosave] Interval, 60 s unless set";
    const std::uint16_t onDisk = Maps().Maps[1].Word(0, 2, 2);
    Editor().Autosave();
    EXPECT_FALSE(fs::exists(RecoveryFile())) << "nothing unsaved";

    // No: the file is set aside under its time and the game's files open.
    Edit(7);
    AutosaveAndDie();
    Prompts().Answer(Answer::No);
    OpenSample();
    EXPECT_EQ(Prompts().Records().size(), 1u);
    EXPECT_FALSE(fs::exists(RecoveryFile()));
    EXPECT_EQ(Snapshot(RecoveryRoot()).size(), 1u);
    EXPECT_EQ(Maps().Maps[1].Word(0, 2, 2), onDisk);
    EXPECT_FALSE(Editor().Changed());

    // Yes: the maps of the file, changed and not yet saved, at the place
    // the work was when it was autosaved (not the one of a later close).
    Edit(8);
    GoTo(2, 3, 12);
    Editor().Autosave();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(PlaceFilePath(RecoveryFile())); }));
    GoTo(0, 1, 0);
    Recreate();
    const Question question = RecoveryQuestion(RecoveryFile(), *RecoveryTime(RecoveryFile()));
    Prompts().Answer(Answer::Yes);
    OpenSample();
    ExpectMessage(0, question.text, "Recover unsaved changes", MessageIcon::Question, Buttons::YesNo);
    EXPECT_EQ(Maps().Maps[1].Word(0, 2, 2), 8);
    ExpectAt(2, 3, 12);
    EXPECT_EQ(ShownTitle(), "Tesselar: " + MapNameText(Maps().Current().Name) + "*");
    EXPECT_EQ(LoadSet(SampleCopy()).Maps[1].Word(0, 2, 2), onDisk) << "the game's files wait for a save";

    // Closing without saving gives them up.
    Prompts().Answer(Answer::No);
    EXPECT_TRUE(Editor().close());
    EXPECT_FALSE(fs::exists(RecoveryFile()));
}

TEST_F(KeepingWork, RestoreBackupPutsASavedGenerationBackAndOpensTheProjectAgain)
{
    const std::uint16_t onDisk = Maps().Maps[1].Word(0, 2, 2);
    Edit(7);
    WhenModal([](QWidget* dialog) { ClickClose(dialog); });
    ASSERT_TRUE(Editor().SaveProject()); // the files it replaced are a generation now
    const auto generations = GenerationsOf(Maps().Backups, Maps().Path);
    ASSERT_TRUE(generations);
    ASSERT_EQ(generations->size(), 1u);

    GoTo(3, 2, 13);
    WhenModal([](QWidget* dialog) {
        Click(dialog, "okButton");
        Finish(dialog);
    });
    Prompts().Answer(Answer::Yes);
    Editor().Action("restoreBackupAction")->trigger();
    ExpectAt(3, 2, 13); // where the user was
    ExpectMessage(0, RestoreQuestion(generations->front()).text, "Restore backup", MessageIcon::Question,
                  Buttons::YesNo);
    ASSERT_EQ(Prompts().Records().size(), 2u);
    EXPECT_EQ(Prompts().Records()[1].icon, MessageIcon::Information);
    EXPECT_EQ(Maps().Maps[1].Word(0, 2, 2), onDisk) << "opened again from the restored files";
    EXPECT_EQ(LoadSet(SampleCopy()).Maps[1].Word(0, 2, 2), onDisk);
    EXPECT_FALSE(Editor().Changed());
}

TEST_F(KeepingWork, AnIncompleteBackupIsRefusedBeforeTheQuestion)
{
    GenerationContent content;
    content.GameFiles = {{"MAPHEAD.WL6", Bytes{0xCD, 0xAB}}};
    content.MissingFiles = {"GAMEMAPS.WL6"};
    content.Maps = 1;
    const std::string id = KeepGeneration(Maps().Backups, Maps().Path, content, std::chrono::system_clock::now()).Id;
    WhenModal([](QWidget* dialog) {
        Click(dialog, "okButton");
        Finish(dialog);
    });
    Editor().Action("restoreBackupAction")->trigger();
    ASSERT_EQ(Prompts().Records().size(), 1u) << "no question whose yes is refused";
    EXPECT_EQ(Prompts().Records()[0].text,
              "The backup " + id +
                  " cannot be restored: it is incomplete, GAMEMAPS.WL6 is missing, so its maps would not load."
                  "\n\nNothing was restored.");
}
