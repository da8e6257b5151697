// tesselar-cli check DIR: each map against the engine's limits.

#include "app/cli/CliMaps.h"
#include "editor/MapInformation.h"
#include "editor/MapRenderer.h"
#include "engine/StructureRules.h"

#include <algorithm>
#include <ostream>

namespace tsl::cli {
namespace {

const char* const kUsage = "check DIR [--maps LIST] [--json] [loader options]";

std::string JsonNumber(const std::optional<int>& value)
{
    return value ? std::to_string(*value) : "null";
}

std::string FindingJson(const MapFinding& finding)
{
    std::string json = "{\"kind\": \"" + std::string(FindingKindName(finding.Kind)) +
                       "\", \"count\": " + std::to_string(finding.Count) + ", \"limit\": " + JsonNumber(finding.Limit) +
                       ", \"x\": " + JsonNumber(finding.Column) + ", \"y\": " + JsonNumber(finding.Row) +
                       ", \"plane\": " + JsonNumber(finding.Plane);
    if (!finding.Tiles.empty()) {
        json += ", \"tiles\": [";
        for (std::size_t i = 0; i < finding.Tiles.size(); ++i)
            json += (i ? ", [" : "[") + std::to_string(finding.Tiles[i].x) + ", " + std::to_string(finding.Tiles[i].y) + "]";
        json += "]";
    }
    if (!finding.Skills.empty()) {
        json += ", \"skills\": [";
        for (std::size_t i = 0; i < finding.Skills.size(); ++i)
            json += (i ? ", " : "") + std::to_string(finding.Skills[i]);
        json += "]";
    }
    return json + "}";
}

int RunCheck(Arguments& args, std::ostream& out, std::ostream& err)
{
    const bool json = args.Flag("--json");
    MapsWithSymbols opened;
    if (OpenMapsWithSymbols(args, kUsage, opened, err) != 0)
        return 2;

    const MapLimits limits = ReadMapLimits(*opened.settings);
    const RulesLoad rules = LoadEngineRules(opened.structureFolder, *opened.settings, opened.symbols);
    std::vector<bool> shown;
    for (const PlaneDisplay& display : ReadPlaneDisplay(*opened.settings, opened.maps.NumPlanes))
        shown.push_back(display.Show);

    bool anyFinding = false;
    const char* separator = "\n";
    if (json)
        out << "[";
    for (int index : opened.selected) {
        const MapList& map = opened.maps.Maps[static_cast<std::size_t>(index)];
        const std::vector<MapFinding> findings = CheckMap(map, opened.symbols, *rules.Rules, limits, shown);
        anyFinding = anyFinding || std::any_of(findings.begin(), findings.end(),
                                               [](const MapFinding& f) { return !IsWarning(f.Kind); });
        if (json) {
            out << separator << "  {\"map\": " << index + 1 << ", \"name\": " << JsonName(map.Name)
                << ", \"findings\": [";
            for (std::size_t i = 0; i < findings.size(); ++i)
                out << (i ? ", " : "") << FindingJson(findings[i]);
            out << "]}";
            separator = ",\n";
            continue;
        }
        out << MapLabel(opened.maps, index) << (findings.empty() ? ": OK\n" : ":\n");
        for (const MapFinding& finding : findings)
            out << "  " << FindingText(finding) << "\n";
    }
    if (json)
        out << "\n]\n";
    if (int damaged = ReadingStatus(opened.maps, err))
        return damaged;
    return anyFinding ? 1 : 0;
}

const Registrar kCheck({"check", kUsage,
                        "Checks each map against the engine's limits of the game's structure (doors, static\n"
                        "      objects, actors), for exactly one player start, and for words of a shown plane\n"
                        "      without a symbol; by the structure's rules of play, whether each level can be\n"
                        "      finished on every skill level. Exit status 0 when no map has a finding (warnings\n"
                        "      aside), 1 when one has, 2 on an error, 3 when the set loaded with damage. --json\n"
                        "      prints one array with an object per map.",
                        RunCheck});

} // namespace
} // namespace tsl::cli
