#pragma once
// A rectangle of tiles given by two corners in any order, both included: a
// dragged rectangle, the tiles an edit changed.

namespace tsl {

struct TileRect {
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    int Left() const { return X1 < X2 ? X1 : X2; }
    int Right() const { return X1 < X2 ? X2 : X1; } // included
    int Top() const { return Y1 < Y2 ? Y1 : Y2; }
    int Bottom() const { return Y1 < Y2 ? Y2 : Y1; } // included
    friend bool operator==(const TileRect&, const TileRect&) = default;
};

} // namespace tsl
