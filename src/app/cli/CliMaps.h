#pragma once
// What the map commands (stats, check, edit) share: the game's set opened
// with its map definition structure and symbol tables, as the editor opens a
// project, and the maps --maps selects.

#include "app/cli/Cli.h"
#include "core/IniFile.h"
#include "editor/play/MapInformation.h"
#include "symbols/SymbolTables.h"

#include <memory>
#include <string>
#include <vector>

namespace tsl::cli {

// The arguments of the commands that print one result for each map: DIR,
// --maps, --json and the loader options.
struct MapsArguments {
    std::string dir;
    MapNumbers maps;
    bool json = false;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Maps(maps, "the maps, in this order (every map without it)");
        d.Json(json, "one array with an object per map");
    }
};

// The arguments of the commands that draw one map into a picture: DIR, OUT,
// --map and the loader options.
struct PictureArguments {
    std::string dir;
    std::string out;
    int map = 1;
    LoaderOptions loader;

    void DeclarePicture(Declarations& d, const std::string& outName)
    {
        d.Positional(outName, out, "the picture to write: PNG when it ends in .png, otherwise a bitmap");
        d.Number("--map", "N", 1, 1L << 30, map, "a map number from 1", "the map to draw, from 1 (default 1)");
    }
};

struct MapsWithSymbols {
    MapHandler maps;
    std::filesystem::path structureFolder;
    std::unique_ptr<IniFile> settings;
    SymbolTables symbols;
    std::vector<int> selected; // positions from 0, in the order of --maps (every map without it)
};

// Opens the set in `dir` and its structure, builds the symbol tables and
// selects the maps of `maps` (or the one map `map`, from 1). 0 when all went well, 2 when a map is not in
// the set, 1 when the set or its structure cannot be read (each reported on
// `err`).
int OpenMapsWithSymbols(const std::string& dir, const LoaderOptions& options, const MapNumbers& maps,
                        MapsWithSymbols& opened, std::ostream& err);
int OpenMapsWithSymbols(const std::string& dir, const LoaderOptions& options, int map, MapsWithSymbols& opened,
                        std::ostream& err);

// The map check of one opened map under `rules`, with the structure's limits
// and the planes it shows; with `pages`, the walls' pictures too.
std::vector<MapFinding> CheckOpenedMap(const MapsWithSymbols& opened, const MapList& map, const EngineRules& rules,
                                       const PageFile* pages = nullptr);
// The page file beside the opened set, for the check of the walls'
// pictures; nothing when the game has none or it does not read (the pages
// command tells why).
std::optional<PageFile> OpenPageFile(const MapsWithSymbols& opened);

// The rules of play of the opened set's structure, for a command that
// cannot work without them; nothing, with why on `err`, when they are
// missing or do not load.
std::shared_ptr<const EngineRules> RequireRules(const MapsWithSymbols& opened, std::ostream& err);

// "Map 3 (Name)".
std::string MapLabel(const MapHandler& maps, int index);

} // namespace tsl::cli
