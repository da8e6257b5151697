// The Map menu's list commands and the dialogs that hand their choices to the
// session: Add Map and Delete Map, "Go To Level", "Map Properties" with its
// refusals and its question, and the "Clipboard Manager".

#include "EditorFixture.h"

#include "editor/ui/MapView.h"
#include "editor/ui/SidePanel.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using namespace tsl;
using namespace tsl::test;

namespace {

// Types into a size field and leaves it, as the user would.
void TypeSize(QSpinBox* field, const QString& text)
{
    ASSERT_NE(field, nullptr);
    field->findChild<QLineEdit*>()->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &leave);
}

std::vector<std::string> Lines(QComboBox* box)
{
    std::vector<std::string> lines;
    for (int i = 0; i < box->count(); ++i)
        lines.push_back(S(box->itemText(i)));
    return lines;
}

std::vector<std::string> Lines(QListWidget* list)
{
    std::vector<std::string> lines;
    for (int i = 0; i < list->count(); ++i)
        lines.push_back(S(list->item(i)->text()));
    return lines;
}

} // namespace

TEST_F(EditorFixture, AddAndDeleteMapRefreshTheTitleAndTheCommands)
{
    OpenSample();
    auto& editor = Editor();
    editor.NextMap(); // "Cell Block"
    editor.Action("addMapAction")->trigger();
    EXPECT_EQ(S(editor.windowTitle()), "Tesselar: New map");
    EXPECT_EQ(editor.CurrentProject()->Maps.NumMaps(), 8);
    EXPECT_TRUE(editor.Changed());
    EXPECT_EQ(editor.ViewImage().width, 64 * 8);
    editor.Action("deleteMapAction")->trigger();
    EXPECT_EQ(S(editor.windowTitle()), "Tesselar: Gatehouse") << "the map before the deleted one";
    EXPECT_FALSE(editor.Action("previousLevelAction")->isEnabled());

    // The last map cannot be deleted.
    for (int i = 0; i < 10; ++i)
        editor.NextMap();
    EXPECT_FALSE(editor.Action("deleteMapAction")->isEnabled());
}

TEST_F(EditorFixture, TheHundredAndFirstMapOfAPlainHeaderIsRefusedWithAMessage)
{
    OpenSample();
    auto& editor = Editor();
    while (editor.CurrentProject()->Maps.NumMaps() < 100)
        editor.Action("addMapAction")->trigger();
    EXPECT_TRUE(Prompts().Records().empty());
    editor.Action("addMapAction")->trigger();
    ExpectMessage(0, "The map files can hold at most 100 maps!", "Error adding map", MessageIcon::Error, Buttons::Ok);
    EXPECT_EQ(editor.CurrentProject()->Maps.NumMaps(), 100);
}

TEST_F(EditorFixture, GoToLevelListsTheMapsAndCancelStaysPut)
{
    OpenSample();
    auto& editor = Editor();
    std::vector<std::string> lines;
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Go To Level");
        EXPECT_TRUE(ShowsText(dialog, "Choose a level from the list:"));
        auto* levels = Find<QComboBox>(dialog, "levelList");
        lines = Lines(levels);
        EXPECT_EQ(levels->currentIndex(), 0);
        levels->setCurrentIndex(5);
        Click(dialog, "cancelButton");
    });
    editor.Action("goToLevelAction")->trigger();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "1 - Gatehouse");
    EXPECT_EQ(lines[1], "2 - Cell Block");
    EXPECT_EQ(editor.CurrentProject()->Maps.CurrentMap, 0);

    WhenModal([](QWidget* dialog) {
        Find<QComboBox>(dialog, "levelList")->setCurrentIndex(4);
        Click(dialog, "okButton");
    });
    editor.Action("goToLevelAction")->trigger();
    EXPECT_EQ(editor.CurrentProject()->Maps.CurrentMap, 4);
    EXPECT_EQ(S(editor.windowTitle()), "Tesselar: Bunker");
    EXPECT_EQ(editor.ViewImage().width, 40 * 8);
    EXPECT_TRUE(editor.Action("previousLevelAction")->isEnabled());
    EXPECT_FALSE(editor.Changed());
}

TEST_F(EditorFixture, MapPropertiesRefusesSizesOutsideOneTo256AndAsksAboutAllMaps)
{
    OpenSample();
    auto& editor = Editor();
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

        TypeSize(width, "300");
        EXPECT_EQ(width->value(), 256) << "corrected on leaving the field";
        ExpectMessage(0, "The maximum map width is 256!", "Map width error", MessageIcon::Error, Buttons::Ok);
        TypeSize(width, "");
        Click(dialog, "okButton");
        ExpectMessage(1, "The minimum map width is 1!", "Map width error", MessageIcon::Error, Buttons::Ok);
        TypeSize(width, "32");
        TypeSize(height, "0");
        Click(dialog, "okButton");
        ExpectMessage(2, "The minimum map height is 1!", "Map height error", MessageIcon::Error, Buttons::Ok);
        EXPECT_TRUE(dialog->isVisible()) << "a refused size keeps the dialog open";
        TypeSize(height, "80");
        // The arrows stay within 1 ... 256.
        height->stepBy(500);
        EXPECT_EQ(height->value(), 256);
        height->setValue(80);
        name->setText("Gatehouse Two And More");
        Prompts().Answer(Answer::No);
        Click(dialog, "okButton");
        Finish(dialog);
    });
    editor.Action("mapPropertiesAction")->trigger();
    ExpectMessage(3, "Do you wish to apply the new map size to all maps?", "Map size", MessageIcon::Question,
                  Buttons::YesNo);
    const MapHandler& maps = editor.CurrentProject()->Maps;
    EXPECT_EQ(maps.Current().Width, 32);
    EXPECT_EQ(maps.Current().Height, 80);
    EXPECT_EQ(maps.Maps[1].Width, 64) << "No: the current map alone";
    EXPECT_EQ(S(editor.windowTitle()), "Tesselar: Gatehouse Two A");
    EXPECT_EQ(editor.View()->PaintArea()->size(), QSize(32 * 8, 80 * 8));
    EXPECT_TRUE(editor.Action("undoAction")->isEnabled());
    editor.Action("undoAction")->trigger();
    EXPECT_EQ(maps.Current().Width, 64);
    EXPECT_EQ(editor.View()->PaintArea()->size(), QSize(512, 512));
}

TEST_F(EditorFixture, TheClipboardManagerDeletesClearsAndPastesIntoTheMap)
{
    OpenSample();
    auto& editor = Editor();
    EditorSession& session = *editor.Session();
    CB_Manager& manager = session.CreateClipboardManager();
    for (std::uint16_t word : {1, 2, 3})
        manager.Entries.push_back(session.MakeClipboardEntry(
            2, 3, std::vector<std::vector<std::uint16_t>>(3, std::vector<std::uint16_t>(6, word))));
    editor.RefreshCommands();
    ASSERT_TRUE(editor.Action("clipboardManagerAction")->isEnabled());

    std::vector<std::string> afterDelete;
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Clipboard Manager");
        auto* list = Find<QListWidget>(dialog, "clipboardList");
        EXPECT_EQ(Lines(list), (std::vector<std::string>{"Clipboard #0", "Clipboard #1", "Clipboard #2"}));
        list->setCurrentRow(1);
        Click(dialog, "deleteSelectionButton");
        afterDelete = Lines(list);
        // The entry now in the deleted one's place is the one placed.
        Click(dialog, "pastIntoMapButton");
    });
    editor.Action("clipboardManagerAction")->trigger();
    EXPECT_EQ(afterDelete, (std::vector<std::string>{"Clipboard #0", "Clipboard #2"}));
    ASSERT_EQ(manager.Entries.size(), 2u);
    EXPECT_EQ(session.CurrentTool(), kToolPastePlacement);

    MapPaintArea* area = editor.View()->PaintArea();
    QTest::mouseMove(area, QPoint(10 * 8 + 2, 20 * 8 + 2));
    EXPECT_EQ(area->PreviewArea(), QRect(80, 160, 16, 24));
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(10 * 8 + 2, 20 * 8 + 2));
    const MapList& map = editor.CurrentProject()->Maps.Current();
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(map.Word(static_cast<std::size_t>(p), 11, 22), 3) << p;
    EXPECT_EQ(session.CurrentTool(), kToolPencil) << "a placement from the manager returns to the Pencil";
    EXPECT_TRUE(editor.Panel()->ToolButton(kToolPencil)->isChecked());

    WhenModal([](QWidget* dialog) {
        Click(dialog, "clearListButton");
        for (const char* name : {"deleteSelectionButton", "clearListButton", "pastIntoMapButton"})
            EXPECT_FALSE(Find<QPushButton>(dialog, name)->isEnabled()) << name;
        Click(dialog, "cancelButton");
    });
    editor.Action("clipboardManagerAction")->trigger();
    EXPECT_TRUE(manager.Discard);
    EXPECT_FALSE(editor.Action("clipboardManagerAction")->isEnabled());
}
