#pragma once
// What the map view draws over an actor's sprite, since a sprite shows
// neither: an arrow at the tile's edge in the direction the actor faces
// (white for one that stands, aqua for one that patrols), and corners for
// the lowest skill level on which it appears, as the actor symbols mark it
// (one lime corner: every level; two yellow: level 3; three red: level 4).

#include "graphics/PictureTable.h"

#include <cstdint>
#include <vector>

namespace tsl {

// A point, or a step, on a tile's pixels (y grows downwards).
struct MarkPoint {
    double x, y;
};
// The facing as a step of length 1 on the screen; (0, 0) for none.
MarkPoint FacingStep(Facing facing);

// One number per combination, for keeping drawn marks.
int MarksKey(Facing facing, int skill, bool patrol);

// The marks on a side x side tile, pixels 0xAARRGGBB: transparent (alpha 0)
// where nothing is marked.
std::vector<std::uint32_t> DrawMarks(Facing facing, int skill, bool patrol, int side);

} // namespace tsl
