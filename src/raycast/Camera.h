#pragma once
// Where the player stands and looks, and how the player walks (the view
// that follows from it is the engine's projection, see Projection.h).
//
// Angles are in degrees, counted counterclockwise from east: 0 east,
// 90 north, 180 west, 270 south. The map's y axis points south.

#include "raycast/Level.h"

#include <optional>

namespace tsl {

// The player's radius, in tiles: the nearest a walker comes to a wall.
inline constexpr double kMinDistance = 0x5800 / 65536.0;

struct Camera {
    double x = 0; // in tiles
    double y = 0;
    double angle = 0; // degrees

    friend bool operator==(const Camera&, const Camera&) = default;
};

// The camera at the middle of tile (x, y).
Camera CameraAtTile(int x, int y, double angle);

// Turns the camera by `degrees` (positive: to the left), keeping the angle
// in [0, 360).
void TurnCamera(Camera& camera, double degrees);

// Moves the camera `forward` tiles along its view and `right` tiles to its
// right, as the engine moves the player: it keeps the player's radius off
// walls and closed doors and slides along them. A camera that stands in a
// wall already (put there by hand) moves freely until it is out.
void MoveCamera(const Level& level, Camera& camera, double forward, double right);

// True when a player at (x, y) would touch a wall, a closed door, a
// blocking static or the outside of the map.
bool CameraBlocked(const Level& level, double x, double y);

// The door tile the player would use: the tile next to the camera's in the
// direction nearest to its view (as the engine's use key), when it is a door.
struct TileSpot {
    int x = 0;
    int y = 0;
    friend bool operator==(const TileSpot&, const TileSpot&) = default;
};
std::optional<TileSpot> DoorAhead(const Level& level, const Camera& camera);

} // namespace tsl
