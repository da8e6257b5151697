#pragma once
// What the map view hands the editing engine: one mouse event in tiles, and
// the corners of a dragged rectangle. The view knows nothing of tools; the
// engine knows nothing of widgets.

#include "core/TileRect.h"

namespace tsl {

enum class PointerAction { Press, Move, Release };
enum class PointerButton { Left, Middle, Right };

// One mouse event over the map view: the tile under the pointer as the view
// computed it (pixel div cell size), not clamped to the map.
struct PointerInput {
    PointerAction Action = PointerAction::Move;
    PointerButton Button = PointerButton::Left;
    int X = 0;
    int Y = 0;
};

} // namespace tsl
