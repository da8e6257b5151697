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

// One number per combination, for keeping drawn marks.
int MarksKey(Facing facing, int skill, bool patrol);

// The marks on a side x side tile, pixels 0xAARRGGBB: transparent (alpha 0)
// where nothing is marked.
std::vector<std::uint32_t> DrawMarks(Facing facing, int skill, bool patrol, int side);

} // namespace tsl
