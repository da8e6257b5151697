#pragma once
// Putting imported maps straight into the map set, where Add Map would put
// a new map: after the current map when that is the last one, otherwise in
// its place, the current map and those after it moving one down. Refused
// beforehand, as a whole, when the game's files could not store the result.

#include "core/MapHandler.h"
#include "exchange/ExchangeFormats.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace tsl {

// Inserts `map` as a new map ("!ID!" signature, placeholder plane entries,
// the set's name length and plane count) with its header record, and makes
// it the current map. Returns its position.
int InsertExchangeMap(MapHandler& set, ExchangeMap map);

// Every map of the file at `path` in the set's plane count and name length.
// A file that cannot be read says so ("Couldn't open the map file NAME!"),
// rather than passing for a file of unknown format.
Outcome<ExchangeContents> ReadImportFile(const std::filesystem::path& path, int numPlanes, int nameLength);

// Why the set cannot take `maps` as new maps and still be saved: a header
// without room for them (a plain header file or an executable's table holds
// 100 maps), or a plane that would not fit a chunk of the game's files.
std::optional<Failure> CheckDirectImport(const MapHandler& set, const std::vector<ExchangeMap>& maps);

} // namespace tsl
