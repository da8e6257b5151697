#pragma once
// What the map view hands the editing engine: one mouse event in tiles, and
// the corners of a dragged rectangle. The view knows nothing of tools; the
// engine knows nothing of widgets.

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

// Corners of a dragged rectangle in tiles, in any order.
struct TileRect {
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    int Left() const { return X1 < X2 ? X1 : X2; }
    int Right() const { return X1 < X2 ? X2 : X1; } // included
    int Top() const { return Y1 < Y2 ? Y1 : Y2; }
    int Bottom() const { return Y1 < Y2 ? Y2 : Y1; } // included
    friend bool operator==(const TileRect&, const TileRect&) = default;
};

} // namespace tsl
