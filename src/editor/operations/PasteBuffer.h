#pragma once
// The editor's own block clipboard. `CP_Manager` is the paste buffer: the
// tiles of every plane inside the last copied rectangle, kept at their
// coordinates in map-sized buffers, with the block's preview. `CB_Manager` is
// the clipboard manager: whole maps that an import put aside, each a
// `CB_Object` with its preview.
//
// Previews are drawn at 8 pixels per tile, like the map picture, and the view
// enlarges them when it paints: they never grow with the zoom.

#include "core/Image.h"

#include <cstdint>
#include <vector>

namespace tsl {

struct CP_Manager {
    std::vector<std::vector<std::uint16_t>> Planes; // BufferWidth x BufferHeight words each
    int BufferWidth = 0;
    int BufferHeight = 0;
    // The block inside the buffers: columns [X1, X2), rows [Y1, Y2).
    int X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
    Image Preview; // the block, 8 pixels per tile

    int PlaneCount() const { return static_cast<int>(Planes.size()); }
    int BlockWidth() const { return X2 - X1; }
    int BlockHeight() const { return Y2 - Y1; }
    // Zeroed planes of the given size (the buffer is made anew when its size differs).
    void Reset(int planes, int width, int height);
};

struct CB_Object {
    int Width = 0;
    int Height = 0;
    std::vector<std::vector<std::uint16_t>> Planes; // Width x Height words each
    Image Preview;                                  // 8 pixels per tile, black background

    int PlaneCount() const { return static_cast<int>(Planes.size()); }
};

struct CB_Manager {
    std::vector<CB_Object> Entries;
    // Set when an import creates the manager and by "Clear list"; cleared when
    // an import stores an entry and when "Delete selection" empties the list.
    // An import discards a manager whose flag is still set when it ends.
    bool Discard = true;
};

} // namespace tsl
