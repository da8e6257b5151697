#pragma once
// What the map commands (stats, check, edit) share: the game's set opened
// with its map definition structure and symbol tables, as the editor opens a
// project, and the maps --maps selects.

#include "app/cli/Cli.h"
#include "core/IniFile.h"
#include "symbols/SymbolTables.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tsl::cli {

struct MapsWithSymbols {
    MapHandler maps;
    std::filesystem::path structureFolder;
    std::unique_ptr<IniFile> settings;
    SymbolTables symbols;
    std::vector<int> selected; // positions from 0, in the order of --maps (every map without it)
    bool damaged = false;      // the load reported damaged planes
};

// Reads the loader options and --maps, expects DIR as the one positional
// argument, opens the set and its structure and builds the symbol tables.
// 0 when all went well, 2 for wrong arguments (reported on `err`), 1 when
// the set or its structure cannot be read (reported on `err`).
int OpenMapsWithSymbols(Arguments& args, const std::string& usage, MapsWithSymbols& opened, std::ostream& err);

// "Map 3 (Name)".
std::string MapLabel(const MapHandler& maps, int index);

// A JSON string literal of a map name (Windows-1252 bytes), in UTF-8.
std::string JsonName(std::span<const std::uint8_t> name);

} // namespace tsl::cli
