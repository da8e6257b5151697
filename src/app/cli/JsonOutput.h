#pragma once
// Every JSON document of tesselar-cli is built as one value, its keys in the
// order they are set, and printed once, in the layout its readers have had
// from the start: the top container and an array right inside it hold one
// member a line, everything deeper stands on one line, ": " after a key and
// ", " between members. Map names go in as MapNameUtf8 gives them.

#include <nlohmann/json.hpp>

#include <iosfwd>

namespace tsl {

struct LevelAnalysis;
struct MapFinding;
struct MapTile;

// As nlohmann-json converts them: a tile as [x, y], a finding of the map
// check as check --json gives it, one skill level of a level's analysis as
// analyze --json and generate --json give it.
void to_json(nlohmann::ordered_json& json, const MapTile& tile);
void to_json(nlohmann::ordered_json& json, const MapFinding& finding);
void to_json(nlohmann::ordered_json& json, const LevelAnalysis& level);

namespace cli {

using Json = nlohmann::ordered_json;

// `document` and a line break. In strings, control characters (C0, DEL and
// C1) are written as \u00xx escapes, every other character as UTF-8.
void PrintJson(const Json& document, std::ostream& out);

} // namespace cli
} // namespace tsl
