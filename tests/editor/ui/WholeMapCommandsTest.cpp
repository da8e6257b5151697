// The wiring of the whole-map commands in the main window: the menu items
// and their enabling, the erase question, find and replace with its markers
// in the view and F3, the map information and the plane manager. The rules
// themselves are pinned by the session's tests.

#include "EditorFixture.h"

#include "editor/ui/EditorActions.h"
#include "editor/ui/MapView.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QDialog>
#include <QTest>

using namespace tsl;
using namespace tsl::test;

namespace {

QMenu* SubMenu(QWidget* parent, const char* name)
{
    return parent->findChild<QMenu*>(name);
}

} // namespace

TEST_F(EditorFixture, WholeMapCommandsSitInTheirMenusAndNeedAProject)
{
    auto& editor = Editor();
    struct Row { const char* name; const char* caption; const char* shortcut; const char* menu; };
    const Row rows[] = {
        {"autofloorAction", "Auto&floor", "Ctrl+Alt+F", "mapMenu"},
        {"clearMapSolidAction", "Clear Map (Solid)", "", "mapMenu"},
        {"clearMapRandomAction", "Clear Map (Random)", "", "mapMenu"},
        {"rotate90Action", "&90 Degrees", "", "rotateMapMenu"},
        {"rotate180Action", "&180 Degrees", "", "rotateMapMenu"},
        {"rotate270Action", "&270 Degrees", "", "rotateMapMenu"},
        {"flipHorizontalAction", "&Horizontal", "", "flipMapMenu"},
        {"flipVerticalAction", "&Vertical", "", "flipMapMenu"},
        {"flipPlanesAction", "Flip &Planes", "", "advancedMenu"},
        {"findReplaceAction", "&Find && Replace", "Ctrl+F", "editMenu"},
        {"planeManagerAction", "Plan&e Manager", "Ctrl+D", "mapMenu"},
        {"mapInformationAction", "Map Info&rmation", "Ctrl+I", "mapMenu"},
    };
    for (const Row& row : rows) {
        QAction* action = editor.Action(row.name);
        ASSERT_NE(action, nullptr) << row.name;
        EXPECT_EQ(S(action->text()), row.caption);
        EXPECT_EQ(S(action->shortcut().toString()), row.shortcut);
        EXPECT_FALSE(action->isEnabled()) << row.name;
        QMenu* menu = SubMenu(editor.menuBar(), row.menu);
        ASSERT_NE(menu, nullptr) << row.menu;
        EXPECT_TRUE(menu->actions().contains(action)) << row.name;
    }
    EXPECT_EQ(S(SubMenu(editor.menuBar(), "advancedMenu")->title()), "Advan&ced");
    OpenSample();
    for (const Row& row : rows)
        EXPECT_TRUE(editor.Action(row.name)->isEnabled()) << row.name;
}

TEST_F(EditorFixture, ClearMapAsksFirstAndIsUndoable)
{
    OpenSample();
    auto& editor = Editor();
    const auto before = editor.CurrentProject()->Maps.Current().Planes;
    Prompts().Answer(Answer::No);
    editor.Action("clearMapSolidAction")->trigger();
    ExpectMessage(0, "Are you sure you want to erase the current map?", "Erase confirmation", MessageIcon::Question,
                  Buttons::YesNo);
    EXPECT_EQ(editor.CurrentProject()->Maps.Current().Planes, before);
    EXPECT_FALSE(editor.Action("undoAction")->isEnabled());

    Prompts().Answer(Answer::Yes);
    editor.Action("clearMapRandomAction")->trigger();
    EXPECT_NE(editor.CurrentProject()->Maps.Current().Planes, before);
    EXPECT_TRUE(editor.Changed());
    editor.Action("undoAction")->trigger();
    EXPECT_EQ(editor.CurrentProject()->Maps.Current().Planes, before);
}

TEST_F(EditorFixture, FindAllMarksTheMatchesInTheViewAndAPressClearsThem)
{
    OpenSample();
    auto& editor = Editor();
    const MapList& map = editor.CurrentProject()->Maps.Current();
    const std::uint16_t wall = map.Word(0, 0, 0);
    WhenModal([&](QWidget* dialog) {
        TypeAndLeave(Find<QLineEdit>(dialog, "findEdit"), QString::number(wall));
        Click(dialog, "findAllButton");
    });
    editor.Action("findReplaceAction")->trigger();
    MapPaintArea* area = editor.View()->PaintArea();
    ASSERT_FALSE(area->Markers().empty());
    EXPECT_EQ(area->Markers().size(), editor.Session()->Finds().Marked().size());
    EXPECT_EQ(area->Markers().front(), QPoint(0, 0));

    // The marker's outline is the picture's pixel exclusive-or'd with white
    // (pixel (1, 0) lies on the outline, off the hatch's diagonals); the
    // hatch covers pixel (3, 3).
    const QImage shown = area->grab(QRect(0, 0, 8, 8)).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& picture = area->Picture();
    EXPECT_EQ(shown.pixel(1, 0) & 0xFFFFFF, (picture.pixel(1, 0) ^ 0xFFFFFF) & 0xFFFFFF);
    EXPECT_NE(shown.pixel(3, 3) & 0xFFFFFF, picture.pixel(3, 3) & 0xFFFFFF);

    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(300, 300));
    EXPECT_TRUE(area->Markers().empty());
}

TEST_F(EditorFixture, FindNextMarksOneMatchAndF3StepsOn)
{
    OpenSample();
    auto& editor = Editor();
    const std::uint16_t wall = editor.CurrentProject()->Maps.Current().Word(0, 0, 0);
    WhenModal([&](QWidget* dialog) {
        TypeAndLeave(Find<QLineEdit>(dialog, "findEdit"), QString::number(wall));
        Click(dialog, "findNextButton");
    });
    editor.Action("findReplaceAction")->trigger();
    MapPaintArea* area = editor.View()->PaintArea();
    ASSERT_EQ(area->Markers().size(), 1u);
    const QPoint first = area->Markers().front();
    // F3 as the window's shortcut delivers it (the dialog has just closed,
    // so the offscreen window is not active again).
    for (QShortcut* shortcut : editor.findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(Qt::Key_F3))
            emit shortcut->activated();
    ASSERT_EQ(area->Markers().size(), 1u);
    EXPECT_NE(area->Markers().front(), first);
}

TEST_F(EditorFixture, MapInformationAndPlaneManagerOpenOnTheProject)
{
    OpenSample();
    auto& editor = Editor();
    bool shown = false;
    WhenModal([&](QWidget* dialog) {
        shown = S(dialog->windowTitle()) == "Map Information";
        qobject_cast<QDialog*>(dialog)->accept();
    });
    editor.Action("mapInformationAction")->trigger();
    EXPECT_TRUE(shown);

    shown = false;
    WhenModal([&](QWidget* dialog) {
        shown = S(dialog->windowTitle()) == "Plane Manager";
        qobject_cast<QDialog*>(dialog)->accept();
    });
    editor.Action("planeManagerAction")->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(editor.CurrentProject()->Maps.NumPlanes, 3);
}
