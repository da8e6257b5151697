#pragma once
// The first-person picture of a level, drawn as the engine draws its frame
// (see Projection.h for its units): one ray per column, at a whole fine
// angle, walks the tile grid in fixed point until it meets a wall face or a
// door slab (doors stand in the middle of their tile, open from one side);
// the wall is drawn from its light picture on north and south faces and its
// dark one on east and west faces, with the door frame's pictures on a face
// seen from a door tile; the ceiling above the middle row and the floor
// below it are plain colours; then the sprites of the tiles the rays passed
// through are drawn far to near, each column hidden where a wall is taller.
//
// The renderer keeps its per-frame buffers between frames, so a frame of an
// unchanged size allocates nothing.

#include "core/Image.h"
#include "raycast/Camera.h"
#include "raycast/Level.h"
#include "raycast/PagePictures.h"
#include "raycast/Projection.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tsl {

// The face of a tile that a ray meets (a ray going east meets West faces).
enum class Face : std::uint8_t { North, East, South, West };

struct RayHit {
    CellKind kind = CellKind::Empty; // Empty: the ray left the map
    int tileX = 0;
    int tileY = 0;
    Face face = Face::North;
    Fixed x = 0; // where the ray meets the face or the slab, in global units
    Fixed y = 0;
    int column = 0; // of the picture, 0 ... 63
    int picture = kNoPicture;
    bool frame = false; // a wall face seen from a door tile
};

// Walks the ray at fine angle `angle` from the view's eye until it meets a
// wall face or a closed part of a door. The tile the eye stands in is not
// met. When `visited` is given, every tile the ray passes through gets
// `stamp` there (one entry per tile of the level).
RayHit CastRay(const Level& level, const ViewPoint& view, int angle, std::uint32_t* visited = nullptr,
               std::uint32_t stamp = 0);

// Wall faces and slabs the picture table gives no picture.
inline constexpr std::uint32_t kPlainLight = 0xFF8C8C8Cu;
inline constexpr std::uint32_t kPlainDark = 0xFF6C6C6Cu;
// Faces whose picture the page set lacks (its chunk is empty or not there):
// a check of these two colours, eight texels a square, so that the gap the
// game would show garbage in stands out.
inline constexpr std::uint32_t kMissingPicture = 0xFFFF00FFu;
inline constexpr std::uint32_t kMissingPictureDark = 0xFF200020u;

class Raycaster {
public:
    // Draws the level as seen from `camera` into `picture`, at its size.
    void Render(const Level& level, const PagePictures& pictures, const Camera& camera, Image& picture);

    // The height of the wall drawn in each column of the last frame, in
    // eighths of a pixel (0 where none was met), for the tests.
    const std::vector<int>& ColumnHeights() const { return heights_; }

private:
    struct Visible {
        int height;
        int centreX;
        int picture;
    };
    void DrawWalls(const Level& level, const PagePictures& pictures, const ViewPoint& view, Image& picture);
    void CollectSprites(const Level& level, const ViewPoint& view);
    void DrawSprite(const PagePictures& pictures, const Visible& sprite, Image& picture) const;
    bool SeenAround(const Level& level, const LevelSprite& sprite) const;

    std::optional<Projection> projection_;
    std::vector<int> heights_;
    std::vector<std::uint32_t> visited_;
    std::uint32_t stamp_ = 0;
    std::vector<Visible> visible_;
};

} // namespace tsl
