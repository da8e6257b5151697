// tesselar-cli analyze DIR: can each level be finished, on which skill level,
// and what stays out of reach.

#include "app/cli/CliMaps.h"
#include "app/cli/JsonOutput.h"
#include "engine/LevelAnalysis.h"
#include "engine/StructureRules.h"

#include <algorithm>
#include <optional>
#include <ostream>

namespace tsl::cli {
namespace {

struct AnalyzeArguments : MapsArguments {
    std::optional<int> skill;

    void Declare(Declarations& d) // --skill between --maps and --json
    {
        d.Maps(maps, "the maps, in this order (every map without it)");
        d.Number("--skill", "K", 1, 4, skill, "a skill level from 1 (easiest) to 4 (hardest)",
                 "analyse this skill level only (every one without it)");
        d.Json(json, "one array with an object per map");
    }
};

std::string At(MapTile tile)
{
    return std::to_string(tile.x) + "," + std::to_string(tile.y);
}

// "2 treasures", "1 key".
std::string Counted(std::size_t count, const std::string& one, const std::string& more)
{
    return std::to_string(count) + " " + (count == 1 ? one : more);
}

void PrintSkill(const LevelAnalysis& level, std::ostream& out)
{
    out << "  Skill " << level.skill << ": " << Counted(static_cast<std::size_t>(level.kills), "kill", "kills") << ", "
        << level.treasure << " treasure, " << Counted(static_cast<std::size_t>(level.secrets), "secret", "secrets")
        << "\n";
    if (!level.Finishable()) {
        out << "    No exit can be reached.\n";
    } else {
        out << "    Exits:";
        for (std::size_t i = 0; i < level.exits.size(); ++i) {
            std::string kind(ExitKindName(level.exits[i].kind));
            std::replace(kind.begin(), kind.end(), '_', ' ');
            out << (i ? "; " : " ") << kind << " at " << At(level.exits[i].tile);
        }
        out << "\n    Shortest walk: " << Counted(level.route.size(), "tile", "tiles") << " to "
            << At(level.route.back()) << "\n";
        if (!level.secretRoute.empty())
            out << "    Walk to the secret elevator: " << Counted(level.secretRoute.size(), "tile", "tiles") << " to "
                << At(level.secretRoute.back()) << "\n";
    }
    const std::size_t lost = level.unreachableTreasure.size() + level.unreachableKeys.size() +
                             level.unreachableWeapons.size() + level.unreachableEnemies.size();
    if (lost > 0)
        out << "    Out of reach: " << level.unreachableTreasure.size() << " treasure, "
            << Counted(level.unreachableKeys.size(), "key", "keys") << ", "
            << Counted(level.unreachableWeapons.size(), "weapon", "weapons") << ", "
            << Counted(level.unreachableEnemies.size(), "enemy", "enemies") << "\n";
}

int RunAnalyze(const AnalyzeArguments& a, std::ostream& out, std::ostream& err)
{
    MapsWithSymbols opened;
    if (OpenMapsWithSymbols(a.dir, a.loader, a.maps, opened, err) != 0)
        return kExitUsage;
    const auto rules = RequireRules(opened, err);
    if (!rules)
        return kExitUsage;

    const std::optional<PageFile> pages = OpenPageFile(opened);
    bool unfinishable = false;
    Json list = Json::array();
    for (int index : opened.selected) {
        const MapList& map = opened.maps.Maps[static_cast<std::size_t>(index)];
        std::vector<LevelAnalysis> levels;
        for (int skill = a.skill.value_or(1); skill <= a.skill.value_or(4); ++skill)
            levels.push_back(AnalyseLevel(map, *rules, skill));
        const std::vector<MapFinding> findings = CheckOpenedMap(opened, map, *rules, pages ? &*pages : nullptr);
        for (const LevelAnalysis& level : levels)
            unfinishable = unfinishable || !level.Finishable();
        if (a.json) {
            list.push_back(
                {{"map", index + 1}, {"name", MapNameUtf8(map.Name)}, {"skills", levels}, {"findings", findings}});
            continue;
        }
        out << MapLabel(opened.maps, index) << ":\n";
        for (const LevelAnalysis& level : levels)
            PrintSkill(level, out);
        for (const LevelAnalysis& level : levels)
            if (const std::string note = PushWallNote(level); !note.empty()) {
                out << "  " << note << "\n";
                break;
            }
        for (const MapFinding& finding : findings)
            out << "  " << FindingText(finding) << "\n";
    }
    if (a.json)
        PrintJson(list, out);
    if (int damaged = ReadingStatus(opened.maps, err))
        return damaged;
    return unfinishable ? kExitFailed : 0;
}

} // namespace

Command AnalyzeCommand()
{
    return MakeCommand(
        "analyze",
        "Analyses each level by the structure's rules of play, on every skill level (or the one\n"
        "--skill names): the kills, treasure and secrets the game counts, the exits reached, the\n"
        "shortest walk to one, what cannot be reached, and the findings of check. Exit status 0\n"
        "when every level can be finished on every skill analysed, 1 when one cannot, 2 on an\n"
        "error (a structure without rules of play too), 3 when the set loaded with damage.",
        RunAnalyze);
}

} // namespace tsl::cli
