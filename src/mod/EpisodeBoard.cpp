#include "mod/EpisodeBoard.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>

namespace tsl {

namespace {

// When two kinds of exit lead to one place, the board shows the first of these.
constexpr std::array<ExitKind, 5> kExitOrder = {ExitKind::Elevator, ExitKind::SecretElevator, ExitKind::Spear,
                                                ExitKind::Victory, ExitKind::Boss};

std::string Label(const BoardFloor& floor)
{
    return "Map " + std::to_string(floor.map) + " (" + floor.name + ")";
}

std::string SkillList(const std::vector<int>& skills)
{
    std::string text;
    for (std::size_t i = 0; i < skills.size(); ++i)
        text += (i == 0 ? "" : i + 1 == skills.size() ? " and " : ", ") + std::to_string(skills[i]);
    return text;
}

// The exits of every skill level, one per destination.
std::vector<BoardExit> FloorExits(const BoardFloor& floor, const LevelFlow* flow)
{
    std::vector<BoardExit> exits;
    for (const ExitKind kind : kExitOrder) {
        const bool found = std::any_of(floor.skills.begin(), floor.skills.end(), [kind](const LevelAnalysis& level) {
            return std::any_of(level.exits.begin(), level.exits.end(),
                               [kind](const LevelExit& exit) { return exit.kind == kind; });
        });
        if (!found)
            continue;
        BoardExit exit{kind, flow ? flow->Destination(floor.map, kind) : std::nullopt};
        const bool known = exit.to && std::any_of(exits.begin(), exits.end(),
                                                  [&exit](const BoardExit& other) { return other.to == exit.to; });
        if (!known)
            exits.push_back(exit);
    }
    return exits;
}

BoardFloor MakeFloor(const MapList& map, int number, const EngineRules& rules, const LevelFlow* flow,
                     std::span<const int> skills)
{
    BoardFloor floor;
    floor.map = number;
    floor.name = MapNameUtf8(map.Name);
    const FloorFlow* flowFloor = flow ? flow->Floor(number) : nullptr;
    if (flowFloor) {
        floor.parSeconds = flowFloor->par;
        floor.boss = flowFloor->boss;
        floor.secret = flowFloor->secret;
    }
    for (const int skill : skills) {
        floor.skills.push_back(AnalyseLevel(map, rules, skill));
        const LevelAnalysis& level = floor.skills.back();
        if (level.Finishable() && flow && flow->Pace()) {
            const double seconds = WalkSeconds(map, rules, level.route, *flow->Pace());
            floor.walkSeconds = std::max(floor.walkSeconds.value_or(0.0), seconds);
        }
    }
    floor.exits = FloorExits(floor, flow);
    return floor;
}

class Warnings {
public:
    Warnings(const MapHandler& maps, std::vector<BoardWarning>& out) : maps_(maps), out_(out) {}

    void Floor(const BoardFloor& floor)
    {
        std::vector<int> stuck;
        for (const LevelAnalysis& level : floor.skills)
            if (!level.Finishable())
                stuck.push_back(level.skill);
        if (!stuck.empty())
            Add(BoardWarningKind::Unfinishable, floor,
                stuck.size() == floor.skills.size() && stuck.size() > 1
                    ? "cannot be finished on any skill level."
                    : "cannot be finished on skill " + SkillList(stuck) + ".");
        const bool onlySecret = !floor.exits.empty() && !floor.secret &&
                                std::all_of(floor.exits.begin(), floor.exits.end(), [](const BoardExit& exit) {
                                    return exit.kind == ExitKind::SecretElevator;
                                });
        if (onlySecret)
            Add(BoardWarningKind::OnlySecretExit, floor, "its only exit is a secret elevator.");
        for (const BoardExit& exit : floor.exits)
            Exit(floor, exit);
    }

    void SecretFloor(const BoardFloor& floor, const std::set<int>& secretDestinations)
    {
        if (floor.secret && !secretDestinations.contains(floor.map))
            Add(BoardWarningKind::SecretFloorUnreached, floor, "no secret elevator leads to this secret floor.");
    }

private:
    void Exit(const BoardFloor& floor, const BoardExit& exit)
    {
        const std::string what = "its " + ExitKindText(exit.kind);
        const bool outside = exit.to && *exit.to != kFlowEnd && *exit.to > maps_.NumMaps();
        const std::string where = !exit.to ? "" : *exit.to == kFlowEnd ? "ends the game"
                                                                       : "leads to map " + std::to_string(*exit.to);
        if (floor.boss && exit.kind == ExitKind::Elevator) {
            Add(BoardWarningKind::BossFloorElevator, floor,
                "the boss floor has an elevator" + (where.empty() ? "" : ", which " + where) +
                    (outside ? ", a map the set does not have." : "."));
        } else if (exit.to == floor.map && exit.kind != ExitKind::Victory && exit.kind != ExitKind::Boss) {
            Add(BoardWarningKind::LeadsToItself, floor, what + " starts this floor again.");
        } else if (outside) {
            Add(BoardWarningKind::LeadsOutside, floor, what + " " + where + ", which the set does not have.");
        }
    }

    void Add(BoardWarningKind kind, const BoardFloor& floor, const std::string& text)
    {
        out_.push_back({kind, floor.map, Label(floor) + ": " + text});
    }

    const MapHandler& maps_;
    std::vector<BoardWarning>& out_;
};

} // namespace

bool EpisodeBoard::Broken() const
{
    return std::any_of(episodes.begin(), episodes.end(), [](const BoardEpisode& e) { return !e.warnings.empty(); });
}

EpisodeBoard BuildEpisodeBoard(const MapHandler& maps, const EngineRules& rules, const LevelFlow* flow,
                               std::span<const int> skills, std::string flowNote)
{
    EpisodeBoard board;
    board.flowNote = flow ? std::string() : std::move(flowNote);
    std::map<int, BoardEpisode> episodes; // by number; 0: not placed by the flow
    std::set<int> secretDestinations;
    for (int index = 0; index < maps.NumMaps(); ++index) {
        const int number = index + 1;
        BoardFloor floor = MakeFloor(maps.Maps[static_cast<std::size_t>(index)], number, rules, flow, skills);
        for (const BoardExit& exit : floor.exits)
            if (exit.kind == ExitKind::SecretElevator && exit.to && *exit.to != number)
                secretDestinations.insert(*exit.to);
        const FloorFlow* flowFloor = flow ? flow->Floor(number) : nullptr;
        BoardEpisode& episode = episodes[flowFloor ? flowFloor->episode : 0];
        episode.number = flowFloor ? flowFloor->episode : 0;
        episode.floors.push_back(std::move(floor));
    }
    for (auto& [number, episode] : episodes) {
        Warnings warnings(maps, episode.warnings);
        for (const BoardFloor& floor : episode.floors) {
            warnings.Floor(floor);
            warnings.SecretFloor(floor, secretDestinations);
        }
    }
    // The maps the flow does not place come last.
    for (auto& [number, episode] : episodes)
        if (number != 0)
            board.episodes.push_back(std::move(episode));
    if (episodes.contains(0))
        board.episodes.push_back(std::move(episodes[0]));
    return board;
}

double WalkSeconds(const MapList& map, const EngineRules& rules, const std::vector<MapTile>& route,
                   const WalkPace& pace)
{
    if (route.empty() || pace.speed <= 0 || pace.tics <= 0)
        return 0;
    long long waits = 0;
    for (const MapTile& tile : route) {
        if (rules.Tile(map.Word(0, tile.x, tile.y)).kind == WordKind::Door)
            waits += pace.door;
        if (map.Planes.size() > 1 && rules.Object(map.Word(1, tile.x, tile.y)).kind == WordKind::PushWall)
            waits += pace.pushWall;
    }
    // The engine moves the player a whole number of units a tic: the last
    // step's tic counts in full.
    const long long distance = static_cast<long long>(route.size() - 1) * 65536;
    const long long moving = (distance + pace.speed - 1) / pace.speed;
    return static_cast<double>(moving + waits) / pace.tics;
}

std::string NoFlowNote(const std::string& why)
{
    return "The exits are shown without where they lead: " + why;
}

std::string MinutesText(double seconds)
{
    const long whole = std::lround(std::ceil(seconds));
    const long rest = whole % 60;
    return std::to_string(whole / 60) + ":" + (rest < 10 ? "0" : "") + std::to_string(rest);
}

std::string ExitKindText(ExitKind kind)
{
    std::string text(ExitKindName(kind));
    std::replace(text.begin(), text.end(), '_', ' ');
    return text;
}

std::string_view BoardWarningKindName(BoardWarningKind kind)
{
    switch (kind) {
    case BoardWarningKind::Unfinishable: return "unfinishable";
    case BoardWarningKind::OnlySecretExit: return "only_secret_exit";
    case BoardWarningKind::SecretFloorUnreached: return "secret_floor_unreached";
    case BoardWarningKind::BossFloorElevator: return "boss_floor_elevator";
    case BoardWarningKind::LeadsToItself: return "leads_to_itself";
    case BoardWarningKind::LeadsOutside: return "leads_outside";
    }
    return "";
}

} // namespace tsl
