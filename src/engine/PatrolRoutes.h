#pragma once
// Where each patrolling actor walks, as the engine walks it: the actor is
// placed one tile ahead of its word at once, without looking (so a patrol
// facing a wall walks into it), and on reaching each tile it takes the
// direction of a turning point there, then steps on if it can: a wall, a
// blocking static or the map's edge stop it, a door stops only an actor that
// opens none (a dog), and a diagonal step needs both tiles beside it and the
// one ahead free of walls, doors and blocking statics. A stopped actor tries
// the same step again for ever. The other actors, who move, are not counted.

#include "core/MapHandler.h"
#include "engine/EngineRules.h"
#include "engine/LevelAnalysis.h"

#include <vector>

namespace tsl {

struct PatrolRoute {
    MapTile actor;             // the actor's word
    std::vector<MapTile> path; // from the actor's word, each tile reached in turn
    // The walk comes back to a tile it left the same way: it goes round for
    // ever, from the tile `loopsTo` of the path on.
    bool loops = false;
    int loopsTo = 0;
    bool blocked = false;       // it comes to a stand at the path's last tile
    bool blockedAtOnce = false; // its first step, taken without looking, is into a wall
    friend bool operator==(const PatrolRoute&, const PatrolRoute&) = default;
};

// The routes of the patrolling actors placed on `skill` (1 to 4; 0: every
// actor of any skill), row by row. A map without two full planes has none.
std::vector<PatrolRoute> TracePatrols(const MapList& map, const EngineRules& rules, int skill = 0);

} // namespace tsl
