#pragma once
// Every JSON document of tesselar-cli is built as one value, its keys in the
// order they are set, and printed once, in the layout its readers have had
// from the start: the top container and an array right inside it hold one
// member a line, everything deeper stands on one line, ": " after a key and
// ", " between members.

#include <nlohmann/json.hpp>

#include "engine/LevelAnalysis.h"

#include <cstdint>
#include <iosfwd>
#include <span>

namespace tsl::cli {

using Json = nlohmann::ordered_json;

// A map name (Windows-1252 bytes) as a JSON string: UTF-8, the five bytes
// Windows-1252 leaves undefined as the C1 controls of their number.
Json JsonName(std::span<const std::uint8_t> name);

// `document` and a line break. In strings, control characters (C0, DEL and
// C1) are written as \u00xx escapes, every other character as UTF-8.
void PrintJson(const Json& document, std::ostream& out);

// One skill level of a level's analysis, as analyze --json and generate
// --json give it.
Json SkillJson(const LevelAnalysis& level);

} // namespace tsl::cli
