// tesselar-cli episodes DIR: the episode board, the maps grouped into
// episodes as the game's engine strings them together, with their exits,
// totals, par and walk times and the warnings where the flow breaks.

#include "app/cli/CliMaps.h"
#include "app/cli/JsonOutput.h"
#include "engine/StructureRules.h"
#include "mod/EpisodeBoard.h"

#include <cmath>
#include <optional>
#include <ostream>

namespace tsl::cli {
namespace {

struct EpisodesArguments {
    std::string dir;
    std::optional<int> skill;
    bool json = false;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Number("--skill", "K", 1, 4, skill, "a skill level from 1 (easiest) to 4 (hardest)",
                 "analyse this skill level only (every one without it)");
        d.Json(json, "{\"episodes\": [{\"number\", \"maps\": [{\"map\", \"name\", \"exits\": [{\"kind\", \"to\"}],\n"
               "\"par_seconds\", \"walk_seconds\", \"skills\"}], \"warnings\"}]}");
    }
};

// Where an exit leads, for the text: "to map 2", "ends the episode", or
// nothing where the flow does not say.
std::string Leads(const BoardExit& exit)
{
    if (!exit.to)
        return "";
    return *exit.to == kFlowEnd ? " (the episode ends)" : " to map " + std::to_string(*exit.to);
}

Json Seconds(const std::optional<double>& seconds)
{
    return seconds ? Json(std::round(*seconds * 10) / 10) : Json(nullptr);
}

Json FloorJson(const BoardFloor& floor)
{
    Json exits = Json::array();
    for (const BoardExit& exit : floor.exits)
        exits.push_back({{"kind", ExitKindName(exit.kind)},
                         {"to", exit.to && *exit.to != kFlowEnd ? Json(*exit.to) : Json(nullptr)}});
    return {{"map", floor.map},
            {"name", floor.name},
            {"exits", exits},
            {"par_seconds", floor.parSeconds ? Json(*floor.parSeconds) : Json(nullptr)},
            {"walk_seconds", Seconds(floor.walkSeconds)},
            {"skills", floor.skills}};
}

void PrintFloor(const BoardFloor& floor, std::ostream& out)
{
    out << "  Map " << floor.map << " (" << floor.name << "):"
        << (floor.parSeconds ? " par " + MinutesText(*floor.parSeconds) : std::string(" no par time"))
        << (floor.walkSeconds ? ", shortest walk " + MinutesText(*floor.walkSeconds) : std::string())
        << (floor.ParBeatable() ? "" : ", slower than par") << (floor.boss ? ", boss floor" : "")
        << (floor.secret ? ", secret floor" : "") << "\n";
    out << "    Exits:";
    for (std::size_t i = 0; i < floor.exits.size(); ++i)
        out << (i ? "; " : " ") << ExitKindText(floor.exits[i].kind) << Leads(floor.exits[i]);
    out << (floor.exits.empty() ? " none reached\n" : "\n");
    for (const LevelAnalysis& level : floor.skills)
        out << "    Skill " << level.skill << ": " << level.kills << (level.kills == 1 ? " kill, " : " kills, ")
            << level.treasure << " treasure, " << level.secrets << (level.secrets == 1 ? " secret" : " secrets")
            << "\n";
}

int RunEpisodes(const EpisodesArguments& a, std::ostream& out, std::ostream& err)
{
    MapsWithSymbols opened;
    if (OpenMapsWithSymbols(a.dir, a.loader, MapNumbers(), opened, err) != 0)
        return kExitUsage;
    const auto rules = RequireRules(opened, err);
    if (!rules)
        return kExitUsage;
    const FlowLoad flow = LoadLevelFlow(opened.structureFolder, *opened.settings);
    std::vector<int> skills;
    for (int skill = a.skill.value_or(1); skill <= a.skill.value_or(4); ++skill)
        skills.push_back(skill);
    const EpisodeBoard board = BuildEpisodeBoard(opened.maps, *rules, flow.Flow.get(), skills,
                                                 NoFlowNote(flow.Problem.text));
    if (!board.flowNote.empty())
        err << board.flowNote << "\n";

    Json episodes = Json::array();
    for (const BoardEpisode& episode : board.episodes) {
        if (!a.json) {
            out << (episode.number ? "Episode " + std::to_string(episode.number) : std::string("Other maps"))
                << ":\n";
            for (const BoardFloor& floor : episode.floors)
                PrintFloor(floor, out);
            for (const BoardWarning& warning : episode.warnings)
                out << "  Warning: " << warning.text << "\n";
            continue;
        }
        Json maps = Json::array(), warnings = Json::array();
        for (const BoardFloor& floor : episode.floors)
            maps.push_back(FloorJson(floor));
        for (const BoardWarning& warning : episode.warnings)
            warnings.push_back(
                {{"map", warning.map}, {"kind", BoardWarningKindName(warning.kind)}, {"text", warning.text}});
        episodes.push_back({{"number", episode.number ? Json(episode.number) : Json(nullptr)},
                            {"maps", maps},
                            {"warnings", warnings}});
    }
    if (a.json)
        PrintJson({{"episodes", episodes}}, out);
    if (int damaged = ReadingStatus(opened.maps, err))
        return damaged;
    return board.Broken() ? kExitFailed : 0;
}

} // namespace

Command EpisodesCommand()
{
    return MakeCommand(
        "episodes",
        "The episode board: the maps grouped into episodes as the game's engine strings them\n"
        "together (the structure's level flow), each with where its exits lead, the totals of\n"
        "every skill level (or the one --skill names), the par time and the time the shortest\n"
        "walk to an exit takes at the player's running speed, and warnings where the flow\n"
        "breaks. Exit status 0, 1 when a floor cannot be finished or the flow breaks, 2 on an\n"
        "error (a structure without rules of play too), 3 when the set loaded with damage.",
        RunEpisodes);
}
} // namespace tsl::cli
