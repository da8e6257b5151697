// tesselar-cli check DIR: each map against the engine's limits.

#include "app/cli/CliMaps.h"
#include "app/cli/JsonOutput.h"
#include "engine/StructureRules.h"

#include <algorithm>
#include <ostream>

namespace tsl::cli {
namespace {

int RunCheck(const MapsArguments& a, std::ostream& out, std::ostream& err)
{
    MapsWithSymbols opened;
    if (OpenMapsWithSymbols(a.dir, a.loader, a.maps, opened, err) != 0)
        return 2;

    // A structure without rules is checked by its symbol types; one whose
    // rules do not load is not checked at all, so that no "OK" stands for
    // a check that did not run.
    const RulesLoad rules = LoadEngineRules(opened.structureFolder, *opened.settings, opened.symbols);
    if (rules.Status == RulesStatus::Failed) {
        Report(rules.Problem, err);
        return kExitUsage;
    }
    const std::optional<PageFile> pages = OpenPageFile(opened);

    bool anyFinding = false;
    Json list = Json::array();
    for (int index : opened.selected) {
        const MapList& map = opened.maps.Maps[static_cast<std::size_t>(index)];
        const std::vector<MapFinding> findings = CheckOpenedMap(opened, map, *rules.Rules, pages ? &*pages : nullptr);
        anyFinding = anyFinding || std::any_of(findings.begin(), findings.end(),
                                               [](const MapFinding& f) { return !IsWarning(f.Kind); });
        if (a.json) {
            list.push_back({{"map", index + 1}, {"name", MapNameUtf8(map.Name)}, {"findings", findings}});
            continue;
        }
        out << MapLabel(opened.maps, index) << (findings.empty() ? ": OK\n" : ":\n");
        for (const MapFinding& finding : findings)
            out << "  " << FindingText(finding) << "\n";
    }
    if (a.json)
        PrintJson(list, out);
    if (int damaged = ReadingStatus(opened.maps, err))
        return damaged;
    return anyFinding ? 1 : 0;
}

} // namespace

Command CheckCommand()
{
    return MakeCommand(
        "check",
        "Checks each map against the engine's limits of the game's structure (doors, static\n"
        "objects, actors), for exactly one player start, and for words of a shown plane\n"
        "without a symbol; by the structure's rules of play, whether each level can be\n"
        "finished on every skill level and what the game places for each object word; by the\n"
        "page file, whether each wall has its picture. Exit status 0 when no map has a finding\n"
        "(warnings aside), 1 when one has, 2 on an error (rules of play that do not load too),\n"
        "3 when the set loaded with damage.",
        RunCheck);
}

} // namespace tsl::cli
