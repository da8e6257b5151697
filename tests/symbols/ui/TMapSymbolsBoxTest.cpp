// The "Map Symbols" dialog and its companions on the sample project: what
// the controls show, a painted symbol in the written file, the messages of
// the add dialogs, "OK" asking first and "Cancel" writing nothing.

#include "ScriptedPrompter.h"
#include "UiTestUtil.h"
#include "editor/document/Project.h"
#include "symbols/ui/TMapSymbolTypeBox.h"
#include "symbols/ui/TMapSymbolsBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace tsl;
using namespace tsl::test;

namespace {

class MapSymbolsBoxTest : public ::testing::Test {
protected:
    AppFolder app;
    ScriptedPrompter prompter;
    std::unique_ptr<Project> project;
    TMapSymbolsBox box{prompter};

    void SetUp() override
    {
        project = app.OpenSampleProject(prompter);
        ASSERT_NE(project, nullptr);
    }

    fs::path Folder() const { return app.MapDefs() / "WL6"; }
    // The wall type renamed with a byte above 0x7F, as an old editor wrote it;
    // the file's text before the dialog.
    std::string NameTheWallTypeInWindows1252()
    {
        std::string types = FileText(Folder() / "mapsymboltypes.txt");
        types.replace(0, 8, "w,Mur \xE9,1");
        WriteFile(Folder() / "mapsymboltypes.txt", types);
        EXPECT_FALSE(project->Symbols.LoadMapSymbols(project->StructureFolder, *project->Settings, 3));
        return types;
    }
    bool Show(bool mapsChanged = false)
    {
        return box.ShowMapSymbols(project->Symbols, {"Walls and Floors", "Objects and Actors", "Extra"}, mapsChanged);
    }
    static void ChoosePlane(QWidget* dialog, int plane)
    {
        auto* planes = Find<QComboBox>(dialog, "planeSelector");
        planes->setCurrentIndex(plane);
        emit planes->activated(plane);
    }
    static void AddSymbol(QWidget* dialog, const QString& id)
    {
        WhenModal([id](QWidget* add) {
            TypeAndLeave(Find<QLineEdit>(add, "newSymbolIdEdit"), id);
            Click(add, "okButton");
            Finish(add);
        });
        Click(dialog, "addSymbolButton");
    }
    // The last of `count` boxes shown since the previous check (by default the only one).
    void ExpectShown(const std::string& text, const std::string& caption, MessageIcon icon = MessageIcon::Error,
                     Buttons buttons = Buttons::Ok, std::size_t count = 1)
    {
        ASSERT_EQ(prompter.Records().size(), count);
        EXPECT_EQ(prompter.Records().back().text, text);
        EXPECT_EQ(prompter.Records().back().caption, caption);
        EXPECT_EQ(prompter.Records().back().icon, icon);
        EXPECT_EQ(prompter.Records().back().buttons, buttons);
        prompter.Clear();
    }
};

} // namespace

TEST_F(MapSymbolsBoxTest, ANewSymbolPaintedForPlaneOneIsWrittenDigitForDigit)
{
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Map Symbols");
        auto* list = Find<QListWidget>(dialog, "symbolList");
        EXPECT_EQ(list->currentRow(), 0);
        EXPECT_EQ(S(list->item(1)->text()), "1 - Grey Stone 1");
        EXPECT_EQ(S(Find<QComboBox>(dialog, "typeBox")->currentText()), "Other Tile");
        for (const char* text : {"From which plane do wish to edit map symbols?", "Select map symbol", "Name:",
                                 "Direction:", "Type:", "Colors", "Map symbol", "Manage map symbol types"})
            EXPECT_TRUE(ShowsText(dialog, text)) << text;

        ChoosePlane(dialog, 1);
        AddSymbol(dialog, "500"); // selected: the rename below is its
        TypeAndLeave(Find<QLineEdit>(dialog, "symbolNameEdit"), "Exit sign");
        EXPECT_EQ(S(list->currentItem()->text()), "500 - Exit sign");
        auto* direction = Find<QComboBox>(dialog, "directionBox");
        direction->setCurrentIndex(3);
        emit direction->activated(3);

        // Red in front (left click on digit 9), lime behind (right click on A).
        auto* grid = Find<QWidget>(dialog, "colorGrid");
        QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(8 + 16, 8 + 32));
        QTest::mouseClick(grid, Qt::RightButton, {}, QPoint(8 + 32, 8 + 32));
        auto* preview = Find<QWidget>(dialog, "symbolPreview");
        QTest::mousePress(preview, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseMove(preview, QPoint(3 + 14, 3));
        QTest::mouseMove(preview, QPoint(3 + 28, 3));
        QTest::mouseRelease(preview, Qt::LeftButton, {}, QPoint(3 + 28, 3));
        QTest::mousePress(preview, Qt::RightButton, {}, QPoint(111, 111));
        QTest::mouseRelease(preview, Qt::RightButton, {}, QPoint(111, 111));
        QTest::mouseMove(preview, QPoint(50, 50)); // no button held: paints nothing
        Click(dialog, "okButton");
        Finish(dialog);
    });
    EXPECT_TRUE(Show());
    EXPECT_TRUE(prompter.Records().empty());
    const std::string lastLine = "500,Exit sign,999" + std::string(60, '0') + "A,ot,n\r\n";
    const std::string plane2 = FileText(Folder() / "plane2.txt");
    EXPECT_EQ(plane2.substr(plane2.size() - lastLine.size()), lastLine);
    EXPECT_EQ(FileText(Folder() / "plane1.txt"), FileText(SourceDir() / "data/MapDefs/WL6/plane1.txt"));
}

TEST_F(MapSymbolsBoxTest, TheChecksAndAFailedWriteKeepItOpenAndCancelWritesNothing)
{
    // The disk is full when plane3.txt is written; that the other files are
    // put back is SymbolEditingTest's.
    DiskFaults full([](int, DiskStep step, const fs::path& path) {
        return step == DiskStep::Create && path.filename().string().find("plane3.txt") != std::string::npos ? ENOSPC
                                                                                                          : 0;
    });
    const auto before = Snapshot(Folder());
    WhenModal([&](QWidget* dialog) {
        auto* list = Find<QListWidget>(dialog, "symbolList");
        AddSymbol(dialog, "65536");
        ExpectShown("The ID must be between 0 and 65535!", "Map symbol error");
        AddSymbol(dialog, "1");
        ExpectShown("The choosen ID already exists, please choose a different one!", "Map symbol error");

        list->setCurrentRow(2);
        TypeAndLeave(Find<QLineEdit>(dialog, "symbolNameEdit"), "Grey, cracked");
        ExpectShown("A map symbol name can't contain a comma!", "Map symbol error");
        EXPECT_EQ(S(list->item(2)->text()), "2 - Grey Stone 2");

        Click(dialog, "symbolMoveTopButton");
        EXPECT_EQ(S(list->item(0)->text()), "2 - Grey Stone 2"); // and selected: the deletion below
        EXPECT_EQ(Text(dialog, "symbolNameEdit"), "Grey Stone 2");
        Click(dialog, "deleteSymbolButton");
        EXPECT_EQ(S(list->item(0)->text()), "0 - Nothing");

        ChoosePlane(dialog, 2);
        Click(dialog, "deleteSymbolButton");
        ExpectShown("You must have at least one map symbol!", "Map symbol error");

        // "OK" while the maps have unsaved changes asks; "No" stays.
        prompter.Answer(Answer::No).Answer(Answer::Yes);
        Click(dialog, "okButton");
        EXPECT_TRUE(dialog->isVisible());
        ExpectShown("You will lose all undo / redo operations when saving the new map symbols now.\n\n"
                    "So you won't be able to undo / redo any actions you made recently to the maps.\n\n"
                    "Do you wish to continue?",
                    "Map symbols saving note", MessageIcon::Information, Buttons::YesNo);
        // "Yes" writes, and the failed write is shown with the dialog still open.
        Click(dialog, "okButton");
        EXPECT_TRUE(dialog->isVisible());
        ExpectShown("Couldn't write " + (Folder() / "plane3.txt").string() +
                        " (No space left on device)!\n\nThe map symbol files were left as they were.",
                    "Map symbol error", MessageIcon::Error, Buttons::Ok, 2); // after the question again
        Click(dialog, "cancelButton");
        Finish(dialog);
    });
    EXPECT_FALSE(Show(true));
    EXPECT_EQ(Snapshot(Folder()), before);
    EXPECT_TRUE(prompter.Finished()) << prompter.Unfinished();
}

TEST_F(MapSymbolsBoxTest, TheTypeEditorProtectsBuiltInTypesAndWritesItsListAtOnce)
{
    auto editTypes = [&](std::function<void(QWidget*)> inTypes) {
        WhenModal([&, inTypes](QWidget* dialog) {
            WhenModal(inTypes);
            Click(dialog, "manageTypesButton");
            Click(dialog, "cancelButton");
            Finish(dialog);
        });
        EXPECT_FALSE(Show());
    };
    const fs::path typesFile = Folder() / "mapsymboltypes.txt";
    const std::string before = FileText(typesFile);
    editTypes([&](QWidget* types) {
        EXPECT_EQ(S(types->windowTitle()), "Map Symbol Types");
        auto* list = Find<QListWidget>(types, "typeList");
        EXPECT_EQ(S(list->item(0)->text()), "w - Wall");
        EXPECT_FALSE(Find<QLineEdit>(types, "typeIdEdit")->isEnabled());
        EXPECT_FALSE(Find<QWidget>(types, "deleteTypeButton")->isEnabled());
        WhenModal([](QWidget* add) {
            EXPECT_EQ(S(add->windowTitle()), "Add map symbol type");
            TypeAndLeave(Find<QLineEdit>(add, "newTypeNameEdit"), "Exit");
            TypeAndLeave(Find<QLineEdit>(add, "newTypeIdEdit"), "d");
            Click(add, "okButton");
            Finish(add);
        });
        Click(types, "addTypeButton");
        ExpectShown("The choosen ID already exists, please choose a different one!", "Map symbol type error");
        WhenModal([](QWidget* add) {
            TypeAndLeave(Find<QLineEdit>(add, "newTypeNameEdit"), "Exit");
            TypeAndLeave(Find<QLineEdit>(add, "newTypeIdEdit"), "x,y");
            Click(add, "okButton");
            TypeAndLeave(Find<QLineEdit>(add, "newTypeIdEdit"), "x");
            Click(add, "okButton");
            Finish(add);
        });
        Click(types, "addTypeButton");
        ExpectShown("A map symbol type ID can't contain a comma!", "Map symbol type error");
        EXPECT_EQ(S(list->currentItem()->text()), "x - Exit");
        TypeAndLeave(Find<QLineEdit>(types, "typeIdEdit"), "w");
        ExpectShown("The choosen ID already exists, please choose a different one!", "Map symbol type error");
        EXPECT_EQ(Text(types, "typeIdEdit"), "");
        types->close(); // by the frame: counts as OK
    });
    EXPECT_EQ(FileText(typesFile), before + "x,Exit,1\r\n");

    // "Close" cancels: the file stays.
    editTypes([](QWidget* types) {
        Click(types, "deleteTypeButton");
        Click(types, "closeButton");
    });
    EXPECT_EQ(FileText(typesFile), before + "x,Exit,1\r\n");
    EXPECT_TRUE(prompter.Records().empty());
}

TEST_F(MapSymbolsBoxTest, NamesAreWindows1252AndComeBackAsTheyWereUnlessEdited)
{
    // Names an old editor wrote, with bytes above 0x7F.
    const fs::path plane1 = Folder() / "plane1.txt";
    std::string text = FileText(plane1);
    text.replace(text.find("Grey Stone 1"), 12, "Pierre \xE9\x80\x81\x9D");
    WriteFile(plane1, text);
    NameTheWallTypeInWindows1252();

    WhenModal([&](QWidget* dialog) {
        auto* list = Find<QListWidget>(dialog, "symbolList");
        auto* name = Find<QLineEdit>(dialog, "symbolNameEdit");
        EXPECT_EQ(S(list->item(1)->text()), "1 - Pierre \u00E9\u20AC\u0081\u009D");
        EXPECT_EQ(S(Find<QComboBox>(dialog, "typeBox")->itemText(0)), "Mur \u00E9");
        list->setCurrentRow(1);
        EXPECT_EQ(S(name->text()), "Pierre \u00E9\u20AC\u0081\u009D");
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(name, &leave); // left as it was
        list->setCurrentRow(2);
        TypeAndLeave(name, QString::fromUtf8("Granit \u2192"));
        ExpectShown("A map symbol name can't contain \"\u2192\"!\n\n"
                    "Names are stored as Windows-1252 text, which has no such character.",
                    "Map symbol error");
        TypeAndLeave(name, QString::fromUtf8("Granit\u00E9"));
        Click(dialog, "okButton");
        Finish(dialog);
    });
    EXPECT_TRUE(Show());
    text.replace(text.find("Grey Stone 2"), 12, "Granit\xE9");
    EXPECT_EQ(FileText(plane1), text);
}

TEST_F(MapSymbolsBoxTest, TheTypeEditorFollowsTheCurrentRowAndRenamesOnlyTheRowTypedFor)
{
    std::string types = NameTheWallTypeInWindows1252();

    WhenModal([&](QWidget* dialog) {
        WhenModal([&](QWidget* editor) {
            auto* list = Find<QListWidget>(editor, "typeList");
            auto* name = Find<QLineEdit>(editor, "typeNameEdit");
            EXPECT_EQ(S(list->item(0)->text()), "w - Mur \u00E9");
            QTest::keyClick(list, Qt::Key_Down); // the keyboard moves to "f - Floor"
            EXPECT_EQ(S(name->text()), "Floor");
            EXPECT_EQ(S(Text(editor, "typeIdEdit")), "f");
            QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(name, &leave); // renames nothing
            TypeAndLeave(name, "Ground");
            QTest::keyClick(list, Qt::Key_Up);
            EXPECT_EQ(S(name->text()), "Mur \u00E9");
            QApplication::sendEvent(name, &leave); // left as it was, byte for byte
            editor->close(); // by the frame: counts as OK
        });
        Click(dialog, "manageTypesButton");
        Click(dialog, "cancelButton");
        Finish(dialog);
    });
    EXPECT_FALSE(Show());
    types.replace(types.find("f,Floor,1"), 9, "f,Ground,1");
    EXPECT_EQ(FileText(Folder() / "mapsymboltypes.txt"), types);
    EXPECT_TRUE(prompter.Records().empty());
}
