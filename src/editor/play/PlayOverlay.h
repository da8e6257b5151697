#pragma once
// What the map view shows of play, kept without a window: the skill level
// chosen ("All" or 1 to 4: the actors the view and the 3D preview show),
// whether the reachable area and the patrol routes are shown, and what they
// show for the current map.
//
// A change of the map only marks the overlay stale; Refresh works it out
// again (the level analysis and the patrols, see LevelAnalysis and
// PatrolRoutes), so that the window can run it once per turn of its event
// loop however many notices a stroke sent.
//
// The reachable area needs the game's own rules of play (a structure
// without them gets none); the patrols and the skill level follow whatever
// rules the project has.

#include "core/MapHandler.h"
#include "engine/EngineRules.h"
#include "engine/LevelAnalysis.h"
#include "engine/PatrolRoutes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tsl {

inline constexpr int kAllSkills = 0;

// Something the reachable area marks on a tile.
struct PlayMark {
    enum class Kind {
        Unreachable, // treasure, a key, a weapon or an enemy the player cannot reach
        ShutDoor,    // a door that never opens: its key cannot be had, or the game has none
    };
    Kind kind = Kind::Unreachable;
    MapTile tile;
    friend bool operator==(const PlayMark&, const PlayMark&) = default;
};

class PlayOverlay {
public:
    // --- the skill level: kAllSkills or 1 to 4 ---
    int Skill() const { return skill_; }
    void SetSkill(int skill);
    // The level the reachable area is analysed on: the one chosen, or with
    // "All" the hardest, where every actor the view shows is placed.
    int AnalysedSkill() const { return skill_ == kAllSkills ? 4 : skill_; }

    // --- what is shown ---
    bool ReachableShown() const { return reachable_; }
    void ShowReachable(bool on);
    bool PatrolsShown() const { return patrols_; }
    void ShowPatrols(bool on);

    // --- the rules: the game's own (`ofTheGame`) or what the symbols suggest ---
    void SetRules(std::shared_ptr<const EngineRules> rules, bool ofTheGame);
    const EngineRules* Rules() const { return rules_.get(); }
    bool Analysable() const { return rules_ && ofTheGame_; }

    // --- working it out ---
    // The map changed (its words, or another map is shown).
    void Invalidate() { stale_ = true; }
    bool Stale() const { return stale_; }
    // Works out what is shown for `map` when stale; true when it did.
    bool Refresh(const MapList& map);

    // The analysis shown (nothing while the area is not shown or cannot be).
    const std::optional<LevelAnalysis>& Analysis() const { return analysis_; }
    // One per tile, row by row: open ground (no wall) the player never
    // reaches nor stands beside (a shut door excepted); empty while the area
    // is not shown.
    const std::vector<std::uint8_t>& Unreached() const { return unreached_; }
    const std::vector<PlayMark>& Marks() const { return marks_; }
    // The shortest walk to the normal exit (see LevelAnalysis::route), and
    // the one to the secret elevator when the route goes elsewhere.
    const std::vector<MapTile>& Route() const;
    const std::vector<MapTile>& SecretRoute() const;
    // The routes of the patrols the skill level places, while shown.
    const std::vector<PatrolRoute>& Patrols() const { return routes_; }

private:
    bool OutOfReach(const MapList& map, const LevelAnalysis& level, int x, int y) const;

    int skill_ = kAllSkills;
    bool reachable_ = false;
    bool patrols_ = false;
    std::shared_ptr<const EngineRules> rules_;
    bool ofTheGame_ = false;
    bool stale_ = true;
    std::optional<LevelAnalysis> analysis_;
    std::vector<std::uint8_t> unreached_;
    std::vector<PlayMark> marks_;
    std::vector<PatrolRoute> routes_;
};

// The level analysed on each skill level, 1 to 4: the statistics.
std::vector<LevelAnalysis> AnalyseEverySkill(const MapList& map, const EngineRules& rules);

} // namespace tsl
