#pragma once
// The first-person picture of a level, drawn by the engine's rules: one ray
// per column walks the tile grid until it meets a wall face or a door slab
// (doors stand in the middle of their tile, open from one side); the wall is
// drawn from its light picture on north and south faces and its dark one on
// east and west faces, with the door frame's pictures on a face seen from a
// door tile; the ceiling above and the floor below are plain colours; then
// the sprites of the tiles the rays passed through are drawn far to near,
// each column hidden where a wall stands nearer.
//
// The renderer keeps its per-frame buffers between frames, so a frame of an
// unchanged size allocates nothing.

#include "core/Image.h"
#include "raycast/Camera.h"
#include "raycast/Level.h"
#include "raycast/PagePictures.h"

#include <cstdint>
#include <vector>

namespace tsl {

// The face of a tile that a ray meets (a ray going east meets West faces).
enum class Face : std::uint8_t { North, East, South, West };

struct RayHit {
    CellKind kind = CellKind::Empty; // Empty: the ray left the map
    int tileX = 0;
    int tileY = 0;
    Face face = Face::North;
    double distance = 0; // along the ray, in units of its direction's length
    int column = 0;      // of the picture, 0 ... 63
    int picture = kNoPicture;
    bool frame = false; // a wall face seen from a door tile
};

// Walks the ray from (x, y) along (dx, dy) until it meets a wall face or a
// closed part of a door. The tile the ray starts in is not met. When
// `visited` is given, every tile the ray passes through gets `stamp` there
// (one entry per tile of the level).
RayHit CastRay(const Level& level, double x, double y, double dx, double dy, std::uint32_t* visited = nullptr,
               std::uint32_t stamp = 0);

// Wall faces and slabs without a picture, and pictures the page set lacks.
inline constexpr std::uint32_t kPlainLight = 0xFF8C8C8Cu;
inline constexpr std::uint32_t kPlainDark = 0xFF6C6C6Cu;

class Raycaster {
public:
    // Draws the level as seen from `camera` into `picture`, at its size.
    void Render(const Level& level, const PagePictures& pictures, const Camera& camera, Image& picture);

    // The distance of the wall drawn in each column of the last frame (from
    // the eye's plane), for the tests.
    const std::vector<double>& ColumnDepths() const { return depth_; }

private:
    struct Visible {
        double depth;
        double centreX;
        double size;
        int picture;
    };
    void DrawWalls(const Level& level, const PagePictures& pictures, const View& view, Image& picture);
    void CollectSprites(const Level& level, const View& view);
    void DrawSprite(const PagePictures& pictures, const Visible& sprite, Image& picture) const;
    bool SeenAround(const Level& level, const LevelSprite& sprite) const;

    std::vector<double> depth_;
    std::vector<std::uint32_t> visited_;
    std::uint32_t stamp_ = 0;
    std::vector<Visible> visible_;
};

} // namespace tsl
