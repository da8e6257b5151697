#pragma once
// The level generator (generator/LevelGenerator.h) with the map check on
// top: a candidate is handed out only when CheckMap finds nothing in it,
// warnings included, on every plane. Only the size the engine plays is
// passed over when the options ask for another size on purpose.
//
// GenerateMapLevel is what the window and tesselar-cli generate call; the
// document takes the level as one transaction (PutGeneratedLevel inside it),
// so that Undo gives the map back.

#include "core/MapHandler.h"
#include "editor/play/MapInformation.h"
#include "generator/LevelGenerator.h"
#include "symbols/SymbolTables.h"

#include <functional>
#include <string>

namespace tsl {

struct LevelGenerationInput {
    const EngineRules* rules = nullptr;
    const SymbolTables* symbols = nullptr;
    MapLimits limits;
    int planes = 3;
    // The generator's seam (GeneratorChecks::alter), for the tests.
    std::function<void(MapList&, int)> alter;
};

Outcome<GeneratedLevel> GenerateMapLevel(const LevelGenerationInput& input, const GeneratorOptions& options);

// Gives `map` the level's size and planes; its name stays unless `name`
// (UTF-8, as typed) is not empty.
void PutGeneratedLevel(MapList& map, const GeneratedLevel& level, const std::string& name);

// The options for a map of the set: the engine's size when it plays only
// one, else the map's own.
GeneratorOptions DefaultGeneratorOptions(const EngineRules& rules, const MapList& map);

} // namespace tsl
