// The wiring of the whole-map commands in the main window: the erase
// question, find and replace with its markers in the view and F3, the map
// information, the plane manager and the level generator (their menu items
// are in EditingTest).
// The rules themselves are pinned by the session's tests.

#include "EditorFixture.h"

#include "editor/ui/views/MapView.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QShortcut>
#include <QDialog>
#include <QStatusBar>
#include <QTest>

using namespace tsl;
using namespace tsl::test;

TEST_F(OpenedEditor, ClearMapAsksFirstAndIsUndoable)
{
    const auto before = Editor().CurrentProject()->Maps().Current().Planes;
    Prompts().Answer(Answer::No);
    Editor().Action("clearMapSolidAction")->trigger();
    ExpectMessage(0, "Are you sure you want to erase the current map?", "Erase confirmation", MessageIcon::Question,
                  Buttons::YesNo);
    EXPECT_EQ(Editor().CurrentProject()->Maps().Current().Planes, before);

    Prompts().Answer(Answer::Yes);
    Editor().Action("clearMapRandomAction")->trigger();
    EXPECT_NE(Editor().CurrentProject()->Maps().Current().Planes, before);
    Editor().Action("undoAction")->trigger();
    EXPECT_EQ(Editor().CurrentProject()->Maps().Current().Planes, before);
}

TEST_F(OpenedEditor, FindAllAndFindNextMarkTheViewAPressClearsItAndF3StepsOn)
{
    const std::uint16_t wall = Editor().CurrentProject()->Maps().Current().Word(0, 0, 0);
    auto find = [&](const char* button) {
        WhenModal([&](QWidget* dialog) {
            TypeAndLeave(Find<QLineEdit>(dialog, "findEdit"), QString::number(wall));
            Click(dialog, button);
        });
        Editor().Action("findReplaceAction")->trigger();
    };
    find("findAllButton");
    MapPaintArea* area = Editor().View()->PaintArea();
    ASSERT_FALSE(area->Markers().empty());
    EXPECT_EQ(area->Markers().size(), Editor().Session()->Finds().Marked().size());
    EXPECT_EQ(area->Markers().front(), QPoint(0, 0));
    EXPECT_EQ(S(Editor().statusBar()->currentMessage()),
              "Find All marked " + std::to_string(area->Markers().size()) + " tiles");

    // The marker's outline is the picture's pixel exclusive-or'd with white
    // (pixel (1, 0) lies on the outline, off the hatch's diagonals); the
    // hatch covers pixel (3, 3).
    const QImage shown = area->grab(QRect(0, 0, 8, 8)).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& picture = area->Picture();
    EXPECT_EQ(shown.pixel(1, 0) & 0xFFFFFF, (picture.pixel(1, 0) ^ 0xFFFFFF) & 0xFFFFFF);
    EXPECT_NE(shown.pixel(3, 3) & 0xFFFFFF, picture.pixel(3, 3) & 0xFFFFFF);

    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(300, 300));
    EXPECT_TRUE(area->Markers().empty());

    find("findNextButton");
    ASSERT_EQ(area->Markers().size(), 1u);
    const QPoint first = area->Markers().front();
    // F3 as the window's shortcut delivers it (the dialog has just closed,
    // so the offscreen window is not active again).
    for (QShortcut* shortcut : Editor().findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(Qt::Key_F3))
            emit shortcut->activated();
    ASSERT_EQ(area->Markers().size(), 1u);
    EXPECT_NE(area->Markers().front(), first);
}

TEST_F(OpenedEditor, MapInformationAndPlaneManagerOpenOnTheProject)
{
    for (auto [action, title] : {std::pair{"mapInformationAction", "Map Information"},
                                 std::pair{"planeManagerAction", "Plane Manager"}}) {
        QString shown;
        WhenModal([&shown](QWidget* dialog) {
            shown = dialog->windowTitle();
            qobject_cast<QDialog*>(dialog)->accept();
        });
        Editor().Action(action)->trigger();
        EXPECT_EQ(S(shown), title);
    }
    EXPECT_EQ(Editor().CurrentProject()->Maps().NumPlanes, 3);
}

TEST_F(OpenedEditor, GenerateLevelPutsThePreviewedLevelIntoTheMapAndUndoTakesItBack)
{
    const MapList before = Editor().CurrentProject()->Maps().Current();
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Generate Level");
        Find<QLineEdit>(dialog, "seedEdit")->setText("seventy");
        EXPECT_EQ(S(Find<QLabel>(dialog, "statusLabel")->text()), "The seed is a whole number from 0 to 4294967295.");
        EXPECT_FALSE(Find<QPushButton>(dialog, "generateButton")->isEnabled());
        Find<QLineEdit>(dialog, "seedEdit")->setText("77");
        Find<QSpinBox>(dialog, "widthBox")->setValue(32);
        EXPECT_TRUE(S(Find<QLabel>(dialog, "statusLabel")->text())
                        .ends_with(" The engine of this game plays only 64 x 64 maps: this one is for an engine that "
                                   "plays others."));
        Find<QSpinBox>(dialog, "widthBox")->setValue(64);
        Find<QSpinBox>(dialog, "keysBox")->setValue(1);
        EXPECT_TRUE(Find<QPushButton>(dialog, "generateButton")->isEnabled());
        EXPECT_FALSE(Find<QLabel>(dialog, "previewLabel")->pixmap().isNull());
        Click(dialog, "generateButton");
    });
    Editor().Action("generateLevelAction")->trigger();

    const Project& project = *Editor().CurrentProject();
    LevelGenerationInput input;
    input.rules = project.Rules.Rules.get();
    input.symbols = &project.Symbols;
    input.limits = ReadMapLimits(*project.Settings);
    const auto expected = GenerateMapLevel(input, GeneratorOptions{.keys = 1, .secrets = 2, .seed = 77});
    ASSERT_TRUE(expected);
    EXPECT_EQ(project.Maps().Current().Planes, expected->map.Planes);
    EXPECT_EQ(project.Maps().Current().Name, before.Name);
    Editor().Action("undoAction")->trigger();
    EXPECT_EQ(Editor().CurrentProject()->Maps().Current().Planes, before.Planes);
}
