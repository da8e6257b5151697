// The planes of a map as both renderers draw them.
#pragma once

#include "editor/render/MapRenderer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tsl {

// One plane as a render needs it: raw pointers and lookup tables, so that a
// tile costs a few table reads and 64 pixel operations per plane.
struct PlanePass {
    int plane = 0;
    const std::uint16_t* words = nullptr;
    PlaneDisplay display;
    const std::int32_t* first = nullptr; // sheet index by value, -1 for none
    std::size_t firstSize = 0;
    std::vector<std::uint8_t> hidden;    // by looked-up value; empty when nothing is hidden
    const Image* sheet = nullptr;
    const Image* mask = nullptr;
    SkillFilter skill; // the actors left out
};

// The planes that can be drawn: in the map, in the tables and with their
// words all there. With `filter`, the words whose symbol type is not shown
// are marked hidden; the actors `skill` hides are left out.
std::vector<PlanePass> MakePlanePasses(const MapList& map, const SymbolTables& tables,
                                       const std::vector<PlaneDisplay>& display, bool filter,
                                       const SkillFilter& skill = {});

} // namespace tsl
