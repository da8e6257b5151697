// The main window's wiring of the 3D preview: F4 opens the one preview
// window at the player start, edits and other maps reach it, the map view
// shows its camera, View From Here puts the camera on a tile, and the
// everyday keys work from the preview. The raycaster is pinned by its own
// tests, Run Map by RunMapTest.

#include "EditorFixture.h"

#include "editor/ui/views/MapView.h"
#include "editor/ui/views/SidePanel.h"
#include "editor/ui/views/TPreview3DBox.h"
#include "raycast/LevelBuilder.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <numbers>

using namespace tsl;
using namespace tsl::test;

namespace {

constexpr std::uint16_t kWall = 1;

class PreviewWiring : public OpenedEditor {
protected:
    MapPaintArea* Area() { return Editor().View()->PaintArea(); }
    QPoint Centre(QPoint tile) { return tile * Area()->CellSize() + QPoint(4, 4); }
    const MapList& Map() { return Editor().CurrentProject()->Maps().Current(); }
    const EngineRules& Rules() { return *Editor().CurrentProject()->Rules.Rules; }
    std::optional<CameraMark> Mark() { return Area()->CurrentCameraMark(); }
    static CameraMark MarkOf(const Camera& camera) { return {QPointF(camera.x, camera.y), camera.angle}; }
    // A key of the main window, which takes its shortcuts only while active.
    void Key(Qt::Key key)
    {
        Editor().activateWindow();
        // The preview, a window of its own, counts as the main window's
        // when Qt is asked whether the main window is active.
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &Editor(); }));
        QTest::keyClick(&Editor(), key);
    }
};

TEST_F(PreviewWiring, F4OpensOnePreviewAtThePlayerStartThatFollowsEditsMapsAndProjects)
{
    EXPECT_EQ(Editor().Preview(), nullptr);
    EXPECT_FALSE(Mark());
    Key(Qt::Key_F4);
    TPreview3DBox* preview = Editor().Preview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(preview));
    EXPECT_EQ(S(preview->windowTitle()), "3D Preview");
    const Camera start = StartCamera(Map(), Rules());
    EXPECT_EQ(preview->CurrentCamera(), start);
    EXPECT_EQ(Mark(), MarkOf(start));
    Key(Qt::Key_F4);
    EXPECT_EQ(Editor().findChildren<TPreview3DBox*>().size(), 1);

    // A wall drawn with the pencil on the tile beside the camera's.
    const QPoint tile(static_cast<int>(start.x) + 1, static_cast<int>(start.y));
    ASSERT_NE(preview->CurrentLevel().At(tile.x(), tile.y()).kind, CellKind::Wall);
    emit Editor().Panel()->symbolPressed(kWall, Qt::LeftButton);
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::NoModifier, Centre(tile));
    ASSERT_EQ(Map().Word(0, tile.x(), tile.y()), kWall);
    EXPECT_EQ(preview->CurrentLevel().At(tile.x(), tile.y()).kind, CellKind::Wall);

    // The everyday keys work from the preview's own window: Ctrl+Z takes the
    // wall away again, there and in the map.
    preview->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == preview; }));
    QTest::keyClick(preview, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(Map().Word(0, tile.x(), tile.y()), kWall);
    EXPECT_NE(preview->CurrentLevel().At(tile.x(), tile.y()).kind, CellKind::Wall);

    // Page Up goes to the next map, and the preview with it; moving the
    // camera moves the arrow.
    Key(Qt::Key_PageUp);
    EXPECT_EQ(preview->MapIndex(), 1); // at its player start: TPreview3DBoxTest
    QTest::keyClick(preview, Qt::Key_Left);
    EXPECT_EQ(Mark(), MarkOf(preview->CurrentCamera()));

    // Closed, the arrow goes; the next project is the preview's at once
    // (nothing to save: the wall was undone).
    QTest::keyClick(preview, Qt::Key_Escape);
    EXPECT_FALSE(Mark());
    Editor().OpenDirectory(SampleCopy());
    EXPECT_EQ(preview->ShownProject(), Editor().CurrentProject());
    EXPECT_EQ(preview->MapIndex(), 0);
}

TEST_F(PreviewWiring, AltClickAndTheContextMenuViewFromATileWithoutDrawing)
{
    emit Editor().Panel()->symbolPressed(kWall, Qt::LeftButton);
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::AltModifier, Centre({3, 4}));
    ASSERT_NE(Editor().Preview(), nullptr);
    EXPECT_TRUE(Editor().Preview()->isVisible());
    EXPECT_EQ(Editor().Preview()->CurrentCamera(), CameraAtTile(3, 4, StartCamera(Map(), Rules()).angle));
    EXPECT_FALSE(Editor().Changed()) << "the tools never saw the click";

    // The menu key over tile (6, 2): the menu's one entry moves the camera there.
    QTest::mouseMove(Area(), Centre({6, 2}));
    QString entry;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        entry = menu->actions().value(0)->text();
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    Area()->setFocus();
    QTest::keyClick(Area(), Qt::Key_Menu);
    EXPECT_EQ(S(entry), "View From Here");
    EXPECT_EQ(Editor().Preview()->CurrentCamera(), CameraAtTile(6, 2, StartCamera(Map(), Rules()).angle));
    EXPECT_FALSE(Editor().Changed());
}

TEST_F(PreviewWiring, TheMapViewMarksWhatAWalkTookUntilItStops)
{
    // Treasure on the tile ahead of the player start.
    const Camera start = StartCamera(Map(), Rules());
    const int x = static_cast<int>(start.x) + static_cast<int>(std::lround(std::cos(start.angle * std::numbers::pi / 180)));
    const int y = static_cast<int>(start.y) - static_cast<int>(std::lround(std::sin(start.angle * std::numbers::pi / 180)));
    EditWord(0, 0, x, y, 108);
    EditWord(0, 1, x, y, 52);
    Key(Qt::Key_F4);
    TPreview3DBox* preview = Editor().Preview();
    ASSERT_NE(preview, nullptr);
    preview->StartWalk(true);
    QTest::keyPress(preview, Qt::Key_Up);
    preview->AdvanceWalk(10);
    QTest::keyRelease(preview, Qt::Key_Up);
    EXPECT_EQ(preview->CurrentWalk()->Treasure().found, 1);
    EXPECT_EQ(Area()->WalkMarks(), (std::vector<WalkMark>{{x, y, WalkMarkKind::ItemTaken}}));
    EXPECT_EQ(Map().Word(1, x, y), 52) << "the walk took it from its own copy";

    preview->StopWalk();
    EXPECT_TRUE(Area()->WalkMarks().empty());
}

// A new name moves no word: the walk under way goes on from where it got to.
TEST_F(PreviewWiring, ARenameDuringAWalkLeavesTheWalkGoing)
{
    Key(Qt::Key_F4);
    TPreview3DBox* preview = Editor().Preview();
    ASSERT_NE(preview, nullptr);
    preview->StartWalk(true);
    QTest::keyPress(preview, Qt::Key_Up);
    preview->AdvanceWalk(10);
    QTest::keyRelease(preview, Qt::Key_Up);
    const Camera walked = preview->CurrentCamera();
    ASSERT_NE(walked, StartCamera(Map(), Rules()));
    WhenModal([](QWidget* dialog) {
        Find<QLineEdit>(dialog, "mapNameEdit")->setText("On the way");
        Click(dialog, "okButton");
        Finish(dialog);
    });
    Editor().Action("mapPropertiesAction")->trigger();
    EXPECT_EQ(MapNameText(Map().Name), "On the way");
    EXPECT_EQ(ShownTitle(), "Tesselar: On the way*");
    ASSERT_NE(preview->CurrentWalk(), nullptr);
    EXPECT_FALSE(preview->CurrentWalk()->Ended());
    EXPECT_EQ(preview->CurrentCamera(), walked);
}

} // namespace
