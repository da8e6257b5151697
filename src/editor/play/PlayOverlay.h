#pragma once
// What the map view shows of play, worked out without a window: for the
// choice of what to show (PlayChoice: the skill level, "All" or 1 to 4,
// whether the reachable area and the patrol routes are shown, and the rules
// of play, all of which the view state keeps), what the overlays show on the
// current map.
//
// A change of the map only marks the overlay stale; Refresh works it out
// again (the level analysis and the patrols, see LevelAnalysis and
// PatrolRoutes), so that the window can run it once per turn of its event
// loop however many notices a stroke sent. Another choice is worked out
// anew as well.
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

// What the overlays of play show.
struct PlayChoice {
    int Skill = kAllSkills; // kAllSkills or 1 to 4
    bool Reachable = false;
    bool Patrols = false;
    // The game's own rules (`OfTheGame`), or what the symbols suggest.
    std::shared_ptr<const EngineRules> Rules;
    bool OfTheGame = false;

    bool Analysable() const { return Rules && OfTheGame; }
    // The level the reachable area is analysed on: the one chosen, or with
    // "All" the hardest, where every actor the view shows is placed.
    int AnalysedSkill() const { return Skill == kAllSkills ? 4 : Skill; }
    friend bool operator==(const PlayChoice&, const PlayChoice&) = default;
};

class PlayOverlay {
public:
    // --- working it out ---
    // The map changed (its words, or another map is shown).
    void Invalidate() { stale_ = true; }
    // Whether Refresh would work anything out for `choice`.
    bool Stale(const PlayChoice& choice) const { return stale_ || !(choice == choice_); }
    // Works out what `choice` shows on `map` when stale; true when it did.
    bool Refresh(const MapList& map, const PlayChoice& choice);

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

    PlayChoice choice_; // what was worked out last
    bool stale_ = true;
    std::optional<LevelAnalysis> analysis_;
    std::vector<std::uint8_t> unreached_;
    std::vector<PlayMark> marks_;
    std::vector<PatrolRoute> routes_;
};

// The level analysed on each skill level, 1 to 4: the statistics.
std::vector<LevelAnalysis> AnalyseEverySkill(const MapList& map, const EngineRules& rules);

} // namespace tsl
