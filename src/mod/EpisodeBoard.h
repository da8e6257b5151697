#pragma once
// The episode board: a set's maps grouped into episodes as the game's engine
// strings them together (LevelFlow), each floor with where its exits lead,
// its totals on each skill level analysed, the par time of its end screen and
// the time the shortest walk from the start to an exit takes at the engine's
// pace, and the warnings where the flow breaks: a floor that cannot be
// finished, one whose only exit is a secret elevator, a secret floor no
// secret elevator leads to, a boss floor with an elevator, an exit that
// starts its own floor again or leads to a map the set does not have.
//
// Exits are taken from every skill level analysed, one per destination (the
// first kind found of elevator, secret elevator, Spear, victory, boss), not
// one per switch. The walk is the slowest of the skill levels that finish.

#include "core/MapHandler.h"
#include "engine/EngineRules.h"
#include "engine/LevelAnalysis.h"
#include "engine/LevelFlow.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tsl {

struct BoardExit {
    ExitKind kind = ExitKind::Elevator;
    // A map from 1, or kFlowEnd: the episode ends; nothing where the flow
    // says nothing (or the structure has none).
    std::optional<int> to;
    friend bool operator==(const BoardExit&, const BoardExit&) = default;
};

struct BoardFloor {
    int map = 0; // from 1
    std::string name; // UTF-8
    std::vector<BoardExit> exits;
    std::optional<int> parSeconds;
    std::optional<double> walkSeconds; // none when no skill finishes, or the flow gives no pace
    bool boss = false;
    bool secret = false;
    std::vector<LevelAnalysis> skills; // in the order analysed
    // Whether the walk is quicker than the par time, as the end screen
    // compares them (true when either is unknown).
    bool ParBeatable() const { return !parSeconds || !walkSeconds || *walkSeconds < *parSeconds; }
};

enum class BoardWarningKind {
    Unfinishable,
    OnlySecretExit,
    SecretFloorUnreached,
    BossFloorElevator,
    LeadsToItself,
    LeadsOutside,
};

struct BoardWarning {
    BoardWarningKind kind = BoardWarningKind::Unfinishable;
    int map = 0; // from 1
    std::string text;
    friend bool operator==(const BoardWarning&, const BoardWarning&) = default;
};

struct BoardEpisode {
    int number = 0; // from 1; 0 for maps the flow does not place
    std::vector<BoardFloor> floors;
    std::vector<BoardWarning> warnings;
};

struct EpisodeBoard {
    std::vector<BoardEpisode> episodes;
    // Why the exits lead nowhere: the structure has no level flow. Empty
    // when it has one.
    std::string flowNote;
    bool Broken() const;
};

// The board of `maps` by `rules` on `skills` (each 1 to 4) with `flow`
// (nothing: the maps in one group without destinations, `flowNote` saying
// why, such as FlowLoad's problem).
EpisodeBoard BuildEpisodeBoard(const MapHandler& maps, const EngineRules& rules, const LevelFlow* flow,
                               std::span<const int> skills, std::string flowNote = {});

// The time the walk `route` of `map` takes at `pace`: a tile a step at the
// running speed, and at each door and push wall on the way the tics it
// takes to open or move out of the way. Seconds.
double WalkSeconds(const MapList& map, const EngineRules& rules, const std::vector<MapTile>& route,
                   const WalkPace& pace);

// The board's note for a structure without a level flow; `why` is the load's problem.
std::string NoFlowNote(const std::string& why);
// "1:30" (seconds rounded up).
std::string MinutesText(double seconds);
// "elevator", "secret elevator", ...
std::string ExitKindText(ExitKind kind);
std::string_view BoardWarningKindName(BoardWarningKind kind);

} // namespace tsl
