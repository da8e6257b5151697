#pragma once
// The engine's projection, in its own units, so that the preview draws the
// frame the game draws, pixel for pixel:
// - positions are fixed-point "global" units, 65536 to a tile;
// - angles are fine units, 3600 to a turn, counted counterclockwise from
//   east like Camera's degrees; each column's ray leaves at a whole fine
//   angle, the view's angle plus that column's offset;
// - the eye stands a focal length behind the player, and the picture's
//   scale follows from half the view's width spanning half a tile at the
//   focal length plus the minimum wall distance;
// - a wall or sprite at depth z (from the eye's plane) gets the height
//   heightNumerator / (z >> 8), in eighths of a pixel: a post reaches
//   height >> 3 pixels above and below the view's middle row.
// The view's height only places that middle row; everything else follows
// from its width, as in the engine, whatever the size.

#include "raycast/Camera.h"

#include <cstdint>
#include <vector>

namespace tsl {

using Fixed = std::int32_t;

inline constexpr Fixed kTileUnits = 1 << 16;
inline constexpr int kFineAngles = 3600;
inline constexpr int kFineQuarter = kFineAngles / 4;
inline constexpr Fixed kFocalUnits = 0x5700;
inline constexpr Fixed kMinDistUnits = 0x5800;    // nearest wall depth
inline constexpr Fixed kStaticFudgeUnits = 0x2000; // static objects are drawn this much nearer
inline constexpr Fixed kActorFudgeUnits = 0x4000;  // and actors this much
// The texture column of a position within a tile: 1024 units a column.
inline constexpr int kUnitsToColumnShift = 10;

// a * b / 65536, rounded to nearest as the engine rounds.
constexpr Fixed FixedMul(Fixed a, Fixed b)
{
    return static_cast<Fixed>((static_cast<std::int64_t>(a) * b + 0x8000) >> 16);
}

// Tiles to global units (rounded), within a range that keeps the ray
// arithmetic from overflowing; degrees to fine units in [0, 3600).
Fixed ToFixed(double tiles);
int FineAngle(double degrees);

// The tangent of the middle of fine angle `step` (0 ... 899), in global units.
Fixed FineTangent(int step);
// The sine and cosine of a fine angle, in global units.
Fixed FineSine(int angle);
Fixed FineCosine(int angle);

// The projection constants of a view of width x height pixels.
class Projection {
public:
    Projection(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The column a point straight ahead is drawn at, and the middle row.
    int CentreX() const { return width_ / 2 - 1; }
    int MiddleRow() const { return height_ / 2; }
    Fixed Scale() const { return scale_; }
    std::int32_t HeightNumerator() const { return heightNumerator_; }
    // The fine angle of column `column`'s ray from the view's angle
    // (positive: to the left).
    int PixelAngle(int column) const { return pixelAngle_[static_cast<std::size_t>(column)]; }
    // The height of something at depth `depth` (at least the minimum
    // distance), in eighths of a pixel.
    int HeightAt(Fixed depth) const;

private:
    int width_;
    int height_;
    Fixed scale_;
    std::int32_t heightNumerator_;
    std::vector<int> pixelAngle_;
};

// Where the engine's view stands for a camera: the eye a focal length
// behind the player, and the view's angle and its sine and cosine.
struct ViewPoint {
    Fixed x = 0; // the eye
    Fixed y = 0;
    int angle = 0; // fine
    Fixed sin = 0;
    Fixed cos = kTileUnits;
    int playerTileX = 0;
    int playerTileY = 0;
};
ViewPoint MakeViewPoint(const Camera& camera);

// The depth of a point from the eye's plane, in global units.
inline Fixed DepthOf(const ViewPoint& view, Fixed x, Fixed y)
{
    return FixedMul(x - view.x, view.cos) - FixedMul(y - view.y, view.sin);
}

// A sprite's place on the picture: drawn when `visible`, centred on column
// `centreX`, with the height (in eighths of a pixel) of a wall at its depth.
struct SpriteProjection {
    bool visible = false;
    int centreX = 0;
    int height = 0;
};

// Projects a sprite standing at (x, y), drawn `fudge` units nearer than it
// stands; nearer than the minimum distance it is not drawn.
SpriteProjection ProjectSprite(const Projection& projection, const ViewPoint& view, Fixed x, Fixed y, Fixed fudge);

// Which of an actor's eight pictures the engine draws (0: seen from the
// front, counting round to its left), for an actor facing `facing` degrees
// (0 east, 90 north ...) drawn centred on column `centreX` of the view. The
// engine takes the side it is seen from as the view's whole-degree angle
// plus an eighth of a degree for each column the actor stands left of the
// view's centre, which is near enough for eight pictures.
int RotationFrame(const Projection& projection, const ViewPoint& view, int centreX, int facing);

} // namespace tsl
