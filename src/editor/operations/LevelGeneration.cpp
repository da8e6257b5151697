#include "editor/operations/LevelGeneration.h"

#include "core/Windows1252.h"

#include <algorithm>

namespace tsl {

Outcome<GeneratedLevel> GenerateMapLevel(const LevelGenerationInput& input, const GeneratorOptions& options)
{
    const EngineRules& rules = *input.rules;
    const bool sizeAsked = rules.MapSize() > 0 && (options.width != rules.MapSize() || options.height != rules.MapSize());
    const std::vector<bool> shown(static_cast<std::size_t>(input.planes), true);
    GeneratorChecks checks;
    checks.planes = input.planes;
    checks.alter = input.alter;
    checks.accept = [&](const MapList& candidate) {
        const std::vector<MapFinding> findings = CheckMap(candidate, *input.symbols, rules, input.limits, shown);
        return std::all_of(findings.begin(), findings.end(), [&](const MapFinding& finding) {
            return sizeAsked && finding.Kind == FindingKind::MapSize;
        });
    };
    const GeneratorLimits limits{input.limits.MaxDoors, input.limits.MaxStatics, input.limits.MaxActors};
    return GenerateLevel(rules, options, limits, checks);
}

void PutGeneratedLevel(MapList& map, const GeneratedLevel& level, const std::string& name)
{
    map.Width = level.map.Width;
    map.Height = level.map.Height;
    map.Planes.resize(level.map.Planes.size());
    for (std::size_t plane = 0; plane < map.Planes.size(); ++plane)
        map.Planes[plane] = level.map.Planes[plane];
    if (const auto bytes = name.empty() ? std::nullopt : Utf8ToWindows1252(name))
        map.Name = MakeNameBuffer(*bytes, map.Name.size());
}

GeneratorOptions DefaultGeneratorOptions(const EngineRules& rules, const MapList& map)
{
    GeneratorOptions options;
    const int size = rules.MapSize();
    options.width = size > 0 ? size : std::clamp<int>(map.Width, kGeneratorMinSide, kGeneratorMaxSide);
    options.height = size > 0 ? size : std::clamp<int>(map.Height, kGeneratorMinSide, kGeneratorMaxSide);
    return options;
}

} // namespace tsl
