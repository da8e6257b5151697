// The 3D preview window's wiring: the project's map from its player start,
// the keys that walk, turn, step aside, run, open doors and close the
// window, the signal that follows the camera, and the walk by the game's
// rules with its menu (the walk itself: WalkTest).

#include "UiTestUtil.h"

#include "editor/session/EditorSession.h"
#include "editor/ui/views/TPreview3DBox.h"
#include "raycast/LevelBuilder.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

constexpr std::uint16_t kWall = 1;
constexpr std::uint16_t kFloor = 108;
constexpr std::uint16_t kDoor = 90; // a door passed from west to east
constexpr std::uint16_t kGoldDoor = 92;

// A room of 6 x 3 floor tiles at (10, 10) with a wall across it at x = 13
// and a door in the wall's middle.
void CarveRoom(MapList& map)
{
    for (int y = 9; y <= 13; ++y)
        for (int x = 9; x <= 16; ++x) {
            const bool edge = y == 9 || y == 13 || x == 9 || x == 16 || x == 13;
            map.SetWord(0, x, y, edge ? kWall : kFloor);
            map.SetWord(1, x, y, 0);
        }
    map.SetWord(0, 13, 11, kDoor);
}

TEST(TPreview3DBoxTest, KeysMoveTheCameraAndTheMainWindowPlacesIt)
{
    AppFolder app;
    ScriptedPrompter prompter;
    EditorSession session(app.OpenSampleProject(prompter));
    const Project* project = &session.CurrentProject();
    TPreview3DBox box;
    box.SetProject(project);
    EXPECT_EQ(box.windowTitle(), "3D Preview");
    EXPECT_EQ(box.size(), QSize(640, 400));
    EXPECT_EQ(box.CurrentCamera(), StartCamera(project->Maps().Current(), *project->Rules.Rules));
    EXPECT_NE(box.PictureProblem().find("VSWAP.WL6"), std::string::npos) << box.PictureProblem();

    auto change = session.Document().Begin();
    CarveRoom(change.Current());
    change.Commit();
    box.MapEdited();
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    ASSERT_EQ(box.CurrentLevel().At(13, 11).kind, CellKind::Door);
    box.SetCamera(Camera{11.5, 11.5, 0});
    QSignalSpy moved(&box, &TPreview3DBox::CameraMoved);

    QTest::keyClick(&box, Qt::Key_W);
    const double step = box.CurrentCamera().x - 11.5;
    EXPECT_GT(step, 0);
    EXPECT_DOUBLE_EQ(box.CurrentCamera().y, 11.5);
    EXPECT_EQ(moved.count(), 1);
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_NEAR(box.CurrentCamera().x, 11.5, 1e-9);

    QTest::keyClick(&box, Qt::Key_A);
    EXPECT_GT(box.CurrentCamera().angle, 0);
    QTest::keyClick(&box, Qt::Key_Right);
    EXPECT_NEAR(box.CurrentCamera().angle, 0, 1e-9);

    // Facing east, left is north (smaller y).
    for (auto [key, modifiers] : {std::pair{Qt::Key_Q, Qt::NoModifier}, std::pair{Qt::Key_Left, Qt::AltModifier}}) {
        QTest::keyClick(&box, key, modifiers);
        EXPECT_NEAR(box.CurrentCamera().y, 11.5 - step, 1e-9) << key;
        QTest::keyClick(&box, key == Qt::Key_Q ? Qt::Key_E : Qt::Key_Right, modifiers);
        EXPECT_NEAR(box.CurrentCamera().y, 11.5, 1e-9) << key;
    }

    QTest::keyClick(&box, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_NEAR(box.CurrentCamera().x, 11.5 + 2 * step, 1e-9);

    box.SetCamera(Camera{12.5, 11.5, 0});
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_EQ(box.CurrentLevel().DoorOpening(13, 11), 1.0);
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_EQ(box.CurrentLevel().DoorOpening(13, 11), 0.0);

    box.repaint();
    EXPECT_EQ(box.Frame().width, box.width());
    EXPECT_EQ(box.Frame().height, box.height());

    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_FALSE(box.isVisible());

    // View From Here keeps the direction; another map starts at its player start.
    const auto signalled = moved.count();
    box.PutCameraAt(20, 7);
    EXPECT_EQ(box.CurrentCamera(), (Camera{20.5, 7.5, 0}));
    box.ShowMap(1);
    EXPECT_EQ(box.MapIndex(), 1);
    EXPECT_EQ(box.CurrentCamera(), StartCamera(project->Maps().Maps[1], *project->Rules.Rules));
    EXPECT_EQ(moved.count(), signalled + 2);
}

TEST(TPreview3DBoxTest, AWalkPlaysOnItsOwnCopyWithKeysAndSkillFromTheMenu)
{
    AppFolder app;
    ScriptedPrompter prompter;
    EditorSession session(app.OpenSampleProject(prompter));
    auto change = session.Document().Begin();
    CarveRoom(change.Current());
    change.Current().SetWord(0, 13, 11, kGoldDoor);
    change.Commit();
    TPreview3DBox box;
    box.SetProject(&session.CurrentProject());
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box)); // F5 and F6 are the window's shortcuts
    box.SetCamera(Camera{12.5, 11.5, 0});
    QSignalSpy walkChanged(&box, &TPreview3DBox::WalkChanged);

    QTest::keyClick(&box, Qt::Key_F6);
    ASSERT_NE(box.CurrentWalk(), nullptr);
    EXPECT_EQ(box.CurrentWalk()->CurrentCamera(), (Camera{12.5, 11.5, 0}));
    EXPECT_EQ(walkChanged.count(), 1);
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_EQ(box.CurrentWalk()->MissingKey(), 1);
    box.ContextMenu()->findChild<QAction*>("giveKey1Action")->trigger();
    EXPECT_TRUE(box.CurrentWalk()->HasKey(1));
    QTest::keyClick(&box, Qt::Key_Space);
    box.AdvanceWalk(64);
    EXPECT_EQ(box.CurrentWalk()->CurrentLevel().DoorOpening(13, 11), 1.0);
    EXPECT_EQ(walkChanged.count(), 2); // the door opened: a mark
    // Nothing of it reached the map or the view of it outside the walk.
    EXPECT_EQ(session.Maps().Current().Word(0, 13, 11), kGoldDoor);
    EXPECT_EQ(box.CurrentLevel().DoorOpening(13, 11), 0.0);

    // Another skill level: the walk starts again from the camera's place,
    // with that level's actors (and without the key).
    EXPECT_EQ(box.Skill(), 0);
    box.ContextMenu()->findChild<QAction*>("skill1Action")->trigger();
    EXPECT_EQ(box.Skill(), 1);
    EXPECT_EQ(box.CurrentWalk()->Skill(), 1);
    EXPECT_FALSE(box.CurrentWalk()->HasKey(1));

    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_EQ(box.CurrentWalk(), nullptr);
    EXPECT_TRUE(box.isVisible());
    QTest::keyClick(&box, Qt::Key_F5);
    EXPECT_EQ(box.CurrentWalk()->CurrentCamera(), StartCamera(session.Maps().Current(), *session.CurrentProject().Rules.Rules));
    box.close();
    EXPECT_EQ(box.CurrentWalk(), nullptr);
}

} // namespace
