// The commands on the list of maps and the dialogs that hand their choices
// to the session: Add Map and Delete Map, "Go To Level", "Map Properties"
// with its refusals and its question, the "Clipboard Manager", "Map
// Symbols", after whose "OK" the window's tables and symbol list come from
// the files just written, and import and export with the status line while
// they run, the map exporter's order, and what an import does to the window.

#include "EditorFixture.h"
#include "exchange/ExchangeFormats.h"

#include "editor/ui/views/MapView.h"
#include "editor/ui/views/SidePanel.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include <numeric>

using namespace tsl;
using namespace tsl::test;

TEST_F(OpenedEditor, AddAndDeleteMapRefreshTheTitleAndTheCommandsAndMap101CannotBeAdded)
{
    Editor().NextMap(); // "Cell Block"
    Editor().Action("addMapAction")->trigger();
    EXPECT_EQ(ShownTitle(), "Tesselar: New map*");
    // The Delete key, the menu item and the tool button are one action: each asks.
    Prompts().Answer(Answer::No);
    QTest::keyClick(&Editor(), Qt::Key_Delete);
    ExpectMessage(0, "Delete map 2 \"New map\"?\n\nThis cannot be undone.", "Delete map", MessageIcon::Question,
                  Buttons::YesNo);
    EXPECT_EQ(Prompts().Records()[0].defaultButton, std::make_optional(Answer::No));
    EXPECT_EQ(Editor().CurrentProject()->Maps().NumMaps(), 8) << "No keeps the map";
    Prompts().Answer(Answer::Yes);
    Editor().Action("deleteMapAction")->trigger();
    EXPECT_EQ(ShownTitle(), "Tesselar: Gatehouse*") << "the map before the deleted one";
    EXPECT_FALSE(Editor().Action("previousLevelAction")->isEnabled());

    // The last map cannot be deleted.
    for (int i = 0; i < 10; ++i)
        Editor().NextMap();
    EXPECT_FALSE(Editor().Action("deleteMapAction")->isEnabled());

    // A plain header holds 100 maps: the command greys out (the refusal of
    // AddMap itself is the session's test).
    while (Editor().CurrentProject()->Maps().NumMaps() < 100)
        Editor().Action("addMapAction")->trigger();
    EXPECT_FALSE(Editor().Action("addMapAction")->isEnabled());
    Editor().Action("addMapAction")->trigger();
    EXPECT_EQ(Editor().CurrentProject()->Maps().NumMaps(), 100);
}

TEST_F(OpenedEditor, GoToLevelListsTheMapsAndCancelStaysPut)
{
    std::vector<std::string> lines;
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Go To Level");
        EXPECT_TRUE(ShowsText(dialog, "Choose a level from the list:"));
        auto* levels = Find<QComboBox>(dialog, "levelList");
        lines = Items(levels);
        EXPECT_EQ(levels->currentIndex(), 0);
        levels->setCurrentIndex(5);
        Click(dialog, "cancelButton");
    });
    Editor().Action("goToLevelAction")->trigger();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "1 - Gatehouse");
    EXPECT_EQ(lines[1], "2 - Cell Block");
    EXPECT_EQ(Editor().CurrentProject()->Maps().CurrentMap, 0);

    WhenModal([](QWidget* dialog) {
        Find<QComboBox>(dialog, "levelList")->setCurrentIndex(4);
        Click(dialog, "okButton");
    });
    Editor().Action("goToLevelAction")->trigger();
    EXPECT_EQ(ShownTitle(), "Tesselar: Bunker");
    EXPECT_EQ(Editor().ViewImage().width, 40 * 8);
    EXPECT_TRUE(Editor().Action("previousLevelAction")->isEnabled());
    EXPECT_FALSE(Editor().Changed());
}

TEST_F(OpenedEditor, MapPropertiesRefusesSizesOutsideOneTo256AndAsksAboutAllMaps)
{
    WhenModal([this](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Map Properties");
        EXPECT_TRUE(ShowsText(dialog, "Map name:"));
        EXPECT_TRUE(ShowsText(dialog, "Map size:"));
        EXPECT_TRUE(ShowsText(dialog, "x"));
        auto* name = Find<QLineEdit>(dialog, "mapNameEdit");
        auto* width = Find<QSpinBox>(dialog, "mapWidthBox");
        auto* height = Find<QSpinBox>(dialog, "mapHeightBox");
        EXPECT_EQ(S(name->text()), "Gatehouse");
        EXPECT_EQ(name->maxLength(), 15);
        EXPECT_EQ(width->value(), 64);
        EXPECT_EQ(height->value(), 64);

        TypeAndLeave(width, "300");
        EXPECT_EQ(width->value(), 256) << "corrected on leaving the field";
        ExpectMessage(0, "The maximum map width is 256!", "Map width error", MessageIcon::Error, Buttons::Ok);
        TypeAndLeave(width, "");
        Click(dialog, "okButton");
        ExpectMessage(1, "The minimum map width is 1!", "Map width error", MessageIcon::Error, Buttons::Ok);
        EXPECT_TRUE(dialog->isVisible()) << "a refused size keeps the dialog open";
        TypeAndLeave(width, "32");
        TypeAndLeave(height, "80");
        // The arrows stay within 1 ... 256.
        height->stepBy(500);
        EXPECT_EQ(height->value(), 256);
        height->setValue(80);
        name->setText("Gatehouse Two And More");
        Prompts().Answer(Answer::No);
        Click(dialog, "okButton");
        Finish(dialog);
    });
    Editor().Action("mapPropertiesAction")->trigger();
    ExpectMessage(2, "Do you wish to apply the new map size to all maps?", "Map size", MessageIcon::Question,
                  Buttons::YesNo);
    // The view has the map's new size, then the old one after Undo.
    EXPECT_EQ(Editor().CurrentProject()->Maps().Maps[1].Width, 64) << "No: the current map alone";
    EXPECT_EQ(ShownTitle(), "Tesselar: Gatehouse Two A*");
    EXPECT_EQ(Editor().View()->PaintArea()->size(), QSize(32 * 8, 80 * 8));
    Editor().Action("undoAction")->trigger();
    EXPECT_EQ(Editor().View()->PaintArea()->size(), QSize(512, 512));
}

TEST_F(OpenedEditor, TheClipboardManagerDeletesClearsAndPastesIntoTheMap)
{
    EditorSession& session = *Editor().Session();
    CB_Manager& manager = session.CreateClipboardManager();
    for (std::uint16_t word : {1, 2, 3})
        manager.Entries.push_back(session.MakeClipboardEntry(
            2, 3, std::vector<std::vector<std::uint16_t>>(3, std::vector<std::uint16_t>(6, word))));
    Editor().RefreshCommands();
    ASSERT_TRUE(Editor().Action("clipboardManagerAction")->isEnabled());

    std::vector<std::string> afterDelete;
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Clipboard Manager");
        auto* list = Find<QListWidget>(dialog, "clipboardList");
        EXPECT_EQ(Items(list), (std::vector<std::string>{"Clipboard #0", "Clipboard #1", "Clipboard #2"}));
        list->setCurrentRow(1);
        Click(dialog, "deleteSelectionButton");
        afterDelete = Items(list);
        // The entry now in the deleted one's place is the one placed.
        Click(dialog, "pastIntoMapButton");
    });
    Editor().Action("clipboardManagerAction")->trigger();
    EXPECT_EQ(afterDelete, (std::vector<std::string>{"Clipboard #0", "Clipboard #2"}));
    ASSERT_EQ(manager.Entries.size(), 2u);

    MapPaintArea* area = Editor().View()->PaintArea();
    QTest::mouseMove(area, QPoint(10 * 8 + 2, 20 * 8 + 2));
    EXPECT_EQ(area->PreviewArea(), QRect(80, 160, 16, 24));
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(10 * 8 + 2, 20 * 8 + 2));
    EXPECT_EQ(Editor().CurrentProject()->Maps().Current().Word(1, 11, 22), 3);
    EXPECT_TRUE(Editor().Panel()->ToolButton(kToolPencil)->isChecked()) << "back to the Pencil";

    WhenModal([](QWidget* dialog) {
        Click(dialog, "clearListButton");
        for (const char* name : {"deleteSelectionButton", "clearListButton", "pastIntoMapButton"})
            EXPECT_FALSE(Find<QPushButton>(dialog, name)->isEnabled()) << name;
        Click(dialog, "cancelButton");
    });
    Editor().Action("clipboardManagerAction")->trigger();
    EXPECT_TRUE(manager.Discard);
    EXPECT_FALSE(Editor().Action("clipboardManagerAction")->isEnabled());
}

TEST_F(OpenedEditor, MapSymbolsOkRebuildsTheWindowsSymbolsFromTheFiles)
{
    EditWord(0, 0, 1, 1, 2);
    Prompts().Answer(Answer::Yes);
    WhenModal([](QWidget* dialog) {
        Find<QListWidget>(dialog, "symbolList")->setCurrentRow(1);
        TypeAndLeave(Find<QLineEdit>(dialog, "symbolNameEdit"), "Granite");
        Click(dialog, "okButton");
        Finish(dialog);
    });
    // The answer is the dialog's saving note (TMapSymbolsBoxTest): asked since the maps changed.
    Editor().Action("mapSymbolsAction")->trigger();
    EXPECT_EQ(Editor().CurrentProject()->Symbols.PlaneSymbols(0)[1].SymbolName, "Granite");
    EXPECT_EQ(S(Editor().Panel()->SymbolList()->item(1)->text()), "1 - Granite");
    EXPECT_TRUE(Editor().Changed()); // the maps were not saved
}

TEST_F(OpenedEditor, TheExporterWritesEveryMapOnceInTheSetsOrder)
{
    // Two maps of one name (Add Map names each "New map"), told apart by a word.
    Editor().Action("addMapAction")->trigger();
    Editor().Action("addMapAction")->trigger();
    EditWord(1, 0, 0, 0, 1);
    const MapHandler& maps = Editor().Session()->Maps();
    const fs::path file = App().path() / "all.tsl";
    Prompts().Answer(Answer::No).File(file);
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Map exporter");
        EXPECT_EQ(S(Editor().StatusText()), "Exporting...");
        EXPECT_FALSE(Find<QPushButton>(dialog, "moveLeftButton")->isEnabled());
        Click(dialog, "moveAllRightButton");
        const std::vector<std::string> entries = Items(Find<QListWidget>(dialog, "exportList"));
        EXPECT_EQ(std::vector<std::string>(entries.begin(), entries.begin() + 3),
                  (std::vector<std::string>{"New map", "New map", "Gatehouse"}));
        Click(dialog, "exportButton");
        Finish(dialog);
    });
    Editor().Action("exportMapAction")->trigger();
    std::vector<int> all(static_cast<std::size_t>(maps.NumMaps()));
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(ReadFile(file), *BuildExchangeFile(ExchangeFormat::TSL, all, maps));
    EXPECT_EQ(S(Editor().StatusText()), "Ready");
}

TEST_F(OpenedEditor, AnImportGoesToTheClipboardManagerOrTheMapList)
{
    const fs::path file = App().path() / "two.tsl";
    const MapHandler& maps = Editor().Session()->Maps();
    ASSERT_FALSE(WriteExchangeFile(file, ExchangeFormat::TSL, std::vector<int>{0, 1}, maps));

    EXPECT_FALSE(Editor().Action("clipboardManagerAction")->isEnabled());
    Prompts().File(file).Answer(Answer::Yes);
    Editor().Action("importMapAction")->trigger();
    EXPECT_TRUE(Editor().Action("clipboardManagerAction")->isEnabled());
    EXPECT_EQ(S(Editor().statusBar()->currentMessage()), "2 maps put into the clipboard manager");

    Prompts().File(file).Answer(Answer::No);
    Editor().Action("importMapAction")->trigger();
    EXPECT_EQ(maps.NumMaps(), 9);
    EXPECT_EQ(S(Editor().statusBar()->currentMessage()), "2 maps imported");
    EXPECT_EQ(ShownTitle(), "Tesselar: Cell Block*");
    EXPECT_FALSE(Editor().Action("undoAction")->isEnabled());
    EXPECT_EQ(S(Editor().StatusText()), "Ready");
}
