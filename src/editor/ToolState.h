#pragma once
// The drawing state of the main window that outlives a single press: which
// value each mouse button draws in each plane, and how values are merged
// into the words (the value mode). Reset whenever a project's symbol tables
// are loaded.

#include "editor/MapRenderer.h"

#include <cstdint>
#include <vector>

namespace tsl {

struct ToolState {
    std::vector<std::uint16_t> LeftValue;  // per plane: the left (and middle) button's value
    std::vector<std::uint16_t> RightValue; // per plane: the right button's value
    int ValueMode = kIntMode;

    void Reset(int numPlanes)
    {
        LeftValue.assign(static_cast<std::size_t>(numPlanes), 0);
        RightValue.assign(static_cast<std::size_t>(numPlanes), 0);
        ValueMode = kIntMode;
    }
};

} // namespace tsl
