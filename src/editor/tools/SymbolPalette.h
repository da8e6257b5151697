#pragma once
// The palette: the symbols of every plane in one list, grouped by what they
// are to the game (walls, doors, floors, players, enemies by kind and skill,
// treasure, keys, health and ammunition, decorations, markers), so that a
// wall and a guard are picked from the same place. The rules of play decide
// a symbol's group; where they say nothing about a word, its symbol type does.

#include "engine/EngineRules.h"

#include <string>
#include <vector>

namespace tsl {

class SymbolTables;

struct PaletteEntry {
    int plane = 0;
    int index = 0; // in the plane's symbols
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

struct PaletteGroup {
    std::string name;
    std::vector<PaletteEntry> entries; // planes in order, each in file order
};

// The groups in their fixed order, those without a symbol left out.
std::vector<PaletteGroup> MakePalette(const SymbolTables& tables, const EngineRules& rules);

} // namespace tsl
