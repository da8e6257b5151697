#pragma once
// The bundled sample game: a small map set of our own making in the
// Wolfenstein 3-D layout (three planes: walls and floors, objects, extra),
// built from a fixed seed so that the same files come out every time.

#include "core/MapHandler.h"

#include <filesystem>
#include <optional>

namespace tsl::sample {

// Fills `maps` (NumPlanes 3, 16-byte names, GAMEMAPS layout, extension
// "WL6") with the sample maps.
void BuildSampleGame(MapHandler& maps);

// Appends `count` generated 64 x 64 levels of three planes to `maps` (set
// up as BuildSampleGame leaves it); for benchmarks of whole sets.
void AddGeneratedLevels(MapHandler& maps, int count, std::uint32_t seed);

// Builds the sample game and saves it as MAPHEAD.WL6 and GAMEMAPS.WL6 into
// `dir` (which must exist), leaving no backups behind.
std::optional<Failure> WriteSampleGame(const std::filesystem::path& dir);

} // namespace tsl::sample
