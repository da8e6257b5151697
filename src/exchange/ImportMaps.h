#pragma once
// Putting an imported map straight into the map set, where Add Map would put
// a new map: after the current map when that is the last one, otherwise in
// its place, the current map and those after it moving one down.

#include "core/MapHandler.h"
#include "exchange/ExchangeFormats.h"

namespace tsl {

// Inserts `map` as a new map ("!ID!" signature, placeholder plane entries,
// the set's name length and plane count) with its header record, and makes
// it the current map. Returns its position.
int InsertExchangeMap(MapHandler& set, ExchangeMap map);

} // namespace tsl
