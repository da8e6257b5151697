#pragma once
// Where the player stands and looks, and how the engine's view follows from
// it: the eye sits a focal length behind the player, the picture plane lies
// a focal length plus the minimum wall distance in front of the eye and is
// one tile wide, which gives the engine's field of view of about 72 degrees
// whatever the picture's size. Rows scale like columns (square pixels).
//
// Angles are in degrees, counted counterclockwise from east: 0 east,
// 90 north, 180 west, 270 south. The map's y axis points south.

#include "raycast/Level.h"

#include <optional>

namespace tsl {

// The engine's constants, in tiles (it counts 65536 units a tile).
inline constexpr double kFocalLength = 0x5700 / 65536.0;
inline constexpr double kMinDistance = 0x5800 / 65536.0; // nearest wall distance, and the player's radius
inline constexpr double kFaceDistance = kFocalLength + kMinDistance;
inline constexpr double kStaticFudge = 0x2000 / 65536.0; // static objects are drawn this much nearer
inline constexpr double kActorFudge = 0x4000 / 65536.0;  // and actors this much

struct Camera {
    double x = 0; // in tiles
    double y = 0;
    double angle = 0; // degrees

    friend bool operator==(const Camera&, const Camera&) = default;
};

// The camera at the middle of tile (x, y).
Camera CameraAtTile(int x, int y, double angle);

// The projection of one camera onto a picture of width x height pixels.
struct View {
    double eyeX = 0;
    double eyeY = 0;
    double forwardX = 1; // unit vector of the view direction
    double forwardY = 0;
    double rightX = 0; // unit vector to the right on the picture
    double rightY = 1;
    double scale = 0; // pixels a tile high at one tile of distance, and the focal length in pixels
    int width = 0;
    int height = 0;

    // The direction of the ray through the middle of column `column`, scaled
    // so that its forward part is 1: a distance along it is the distance
    // from the eye's plane.
    void RayThrough(int column, double& dx, double& dy) const;
};

View MakeView(const Camera& camera, int width, int height);

// A sprite's place on the picture: drawn when `visible`, centred on column
// `centreX`, `size` pixels wide and high around the middle row, at `depth`
// tiles from the eye's plane.
struct SpriteProjection {
    bool visible = false;
    double centreX = 0;
    double size = 0;
    double depth = 0;
};

// Projects a sprite standing at (x, y), drawn `fudge` tiles nearer than it
// stands; too near the eye (under the minimum distance) it is not drawn.
SpriteProjection ProjectSprite(const View& view, double x, double y, double fudge);

// Turns the camera by `degrees` (positive: to the left), keeping the angle
// in [0, 360).
void TurnCamera(Camera& camera, double degrees);

// Moves the camera `forward` tiles along its view and `right` tiles to its
// right, as the engine moves the player: it keeps the player's radius off
// walls and closed doors and slides along them. A camera that stands in a
// wall already (put there by hand) moves freely until it is out.
void MoveCamera(const Level& level, Camera& camera, double forward, double right);

// True when a player at (x, y) would touch a wall, a closed door or the
// outside of the map.
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
