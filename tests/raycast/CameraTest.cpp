// Walking the camera through a hand-built level as the engine walks its player.

#include "raycast/Camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tsl {
namespace {

// A 6 x 5 room walled all round; a door at (3, 2) in a wall across the room
// (x = 3), so that the east half is reached only through it.
Level Room()
{
    Level level(6, 5);
    for (int x = 0; x < 6; ++x) {
        level.SetWall(x, 0, 1, 1);
        level.SetWall(x, 4, 1, 1);
    }
    for (int y = 0; y < 5; ++y) {
        level.SetWall(0, y, 1, 1);
        level.SetWall(5, y, 1, 1);
        level.SetWall(3, y, 1, 1);
    }
    level.SetDoor(3, 2, 2, 2);
    return level;
}

TEST(CameraTest, WallsStopTheCameraAtThePlayersRadiusAndItSlides)
{
    const Level level = Room();
    Camera camera = CameraAtTile(1, 1, 90); // facing north, the wall a half tile away
    MoveCamera(level, camera, 0.1, 0);
    EXPECT_DOUBLE_EQ(camera.y, 1.4);
    MoveCamera(level, camera, 5, 0);
    EXPECT_NEAR(camera.y, 1 + kMinDistance, 1e-5);
    EXPECT_GT(camera.y, 1 + kMinDistance);
    EXPECT_DOUBLE_EQ(camera.x, 1.5);

    camera = Camera{1.5, 1.5, 45}; // north-east, into the north wall: it slides along
    MoveCamera(level, camera, 0.5, 0);
    EXPECT_NEAR(camera.y, 1 + kMinDistance, 1e-5);
    EXPECT_NEAR(camera.x, 1.5 + 0.5 * std::sqrt(0.5), 1e-9);
}

TEST(CameraTest, ClosedDoorsStopTheCameraAndOpenOnesLetItThrough)
{
    Level level = Room();
    Camera camera = CameraAtTile(2, 2, 0);
    MoveCamera(level, camera, 3, 0);
    EXPECT_NEAR(camera.x, 3 - kMinDistance, 1e-5);

    level.SetDoorOpening(3, 2, 1);
    MoveCamera(level, camera, 3, 0);
    EXPECT_NEAR(camera.x, 5 - kMinDistance, 1e-5);
}

TEST(CameraTest, TheDoorAheadIsTheNeighbourNearestTheView)
{
    const Level level = Room();
    EXPECT_EQ(DoorAhead(level, CameraAtTile(2, 2, 10)), (TileSpot{3, 2}));
    EXPECT_EQ(DoorAhead(level, CameraAtTile(2, 2, 350)), (TileSpot{3, 2}));
    EXPECT_EQ(DoorAhead(level, CameraAtTile(4, 2, 180)), (TileSpot{3, 2}));
    EXPECT_EQ(DoorAhead(level, CameraAtTile(2, 2, 60)), std::nullopt); // facing north: a floor tile
}

} // namespace
} // namespace tsl
