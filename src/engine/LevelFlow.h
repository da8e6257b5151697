#pragma once
// How the engine strings a game's floors together: which floors make an
// episode, where each kind of exit leads, the par time its end screen shows,
// which floors end with their boss and which are secret; and how fast the
// player runs, opens doors and moves push walls, for the time a walk takes.
// These are facts of the game's engine, kept in the structure as data:
// section "Engine" of its settings names the file (Levels=levels.txt),
// written from the released engine source. CR LF or LF lines, "#" starts a
// note, every other line one of
//
//     walk,speed=N,tics=N,door=N,pushwall=N
//     map,N,episode=E[,par=SECONDS][,elevator=M][,secret_elevator=M][,spear=M][,boss][,secret]
//
// `speed` is the running player's move in 1/65536 of a tile a tic, `tics`
// the tics of a second, `door` the tics a door takes to open, `pushwall`
// those a push wall takes to leave its tile. A map line gives floor N (from
// 1) its episode, its par time in seconds (none: the end screen shows
// none), where its elevator, secret elevator and the Spear lead (a map from
// 1, or "end": the game ends there; not given: the engine has no rule for
// it), `boss` for a floor that ends with its boss, the victory tile or the
// Spear (an elevator there breaks the flow) and `secret` for a secret floor
// (some secret elevator should lead there). A boss's death and the victory
// tile end the episode.

#include "core/Failure.h"
#include "core/IniFile.h"
#include "engine/LevelAnalysis.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

inline constexpr const char* kLevelsErrorCaption = "Error loading level flow";
// A destination of the table: the game (the episode) ends.
inline constexpr int kFlowEnd = 0;

struct FloorFlow {
    int map = 0;     // from 1
    int episode = 0; // from 1
    std::optional<int> par; // seconds
    // Map from 1 or kFlowEnd; none where the table says nothing.
    std::optional<int> elevator;
    std::optional<int> secretElevator;
    std::optional<int> spear;
    bool boss = false;
    bool secret = false;
    friend bool operator==(const FloorFlow&, const FloorFlow&) = default;
};

// The engine's pace: RUNMOVE x MOVESCALE a tic, 70 tics a second, a door
// open after 64 tics, a push wall out of its tile after 128.
struct WalkPace {
    int speed = 0;    // 1/65536 of a tile a tic
    int tics = 0;     // a second
    int door = 0;     // tics to open
    int pushWall = 0; // tics to leave its tile
    friend bool operator==(const WalkPace&, const WalkPace&) = default;
};

class LevelFlow {
public:
    // `fileName` names the text in messages.
    static Outcome<LevelFlow> Parse(std::string_view text, const std::string& fileName);

    // In the order of their map numbers.
    const std::vector<FloorFlow>& Floors() const { return floors_; }
    // Floor `map` (from 1); nothing when the table does not list it.
    const FloorFlow* Floor(int map) const;
    // Where an exit of `kind` on floor `map` leads: a map from 1, kFlowEnd,
    // or nothing when the table has no rule for it. A boss and the victory
    // tile end the episode.
    std::optional<int> Destination(int map, ExitKind kind) const;
    // Nothing when the table gives no walk line.
    const std::optional<WalkPace>& Pace() const { return pace_; }

private:
    std::vector<FloorFlow> floors_;
    std::optional<WalkPace> pace_;
};

enum class FlowStatus { Loaded, NotConfigured, Failed };

struct FlowLoad {
    FlowStatus Status = FlowStatus::NotConfigured;
    std::shared_ptr<const LevelFlow> Flow; // when Loaded
    Failure Problem;                       // why there is none, otherwise
};

// The level flow of the structure in `structureFolder` with settings `settings`.
FlowLoad LoadLevelFlow(const std::filesystem::path& structureFolder, const IniFile& settings);
// The file a structure's settings name for its level flow; empty when none.
std::string LevelFlowFile(const IniFile& settings);
// Names `fileName` as the structure's level flow; false when it cannot be written.
bool WriteLevelFlowFile(IniFile& settings, const std::string& fileName);

} // namespace tsl
