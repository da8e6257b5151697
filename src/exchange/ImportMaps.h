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

// Inserts `maps`, in file order, each as a new map ("!ID!" signature,
// placeholder plane entries, the set's name length and plane count, the name
// as read) with its header record, as one Add Map after another would: after
// the current map when it is the last (or the set has none), so that they
// follow it in file order; otherwise each in the current map's place, so
// that they stand in front of it in reverse file order. The last map of the
// file becomes the current map. Returns the position of the first of the
// inserted maps in the set. The set is moved once, whatever the count.
int InsertExchangeMaps(MapHandler& set, std::vector<ExchangeMap> maps);

// Every map of the file at `path` in the set's plane count and name length.
// A file that cannot be read says so ("Couldn't open the map file NAME!"),
// rather than passing for a file of unknown format.
Outcome<ExchangeContents> ReadImportFile(const std::filesystem::path& path, int numPlanes, int nameLength);

// Why the set cannot take `maps` as new maps and still be saved: a header
// without room for them (a plain header file or an executable's table holds
// 100 maps), or a plane that would not fit a chunk of the game's files.
std::optional<Failure> CheckDirectImport(const MapHandler& set, const std::vector<ExchangeMap>& maps);

} // namespace tsl
