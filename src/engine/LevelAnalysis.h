#pragma once
// Can this level be finished? A pure function of a map, the rules of its
// game and a skill level (1 to 4, easiest to hardest): the totals the game
// counts when the level starts, what the player can reach from the start,
// the exits reached, what stays out of reach and the shortest walk to the
// nearest exit. Plane 0 holds the tiles, plane 1 the objects, as the engine
// reads them.
//
// The walk goes tile to tile (never diagonally past two corners) over
// floors, through the doors; a locked door opens once its key was picked up
// on a tile reached without passing that door, or dropped by a boss that
// can be reached. A push wall moves when pushed from a reached tile beside
// it: one tile when the next one stops it, else two, as the engine moves it;
// walls, doors, blocking statics, corpses and the map's edge stop it (the
// actors and the player, who move, do not count). Push walls are taken
// together optimistically: each is pushed from the side first reached, as
// soon as it can be, whatever the order in play would be; the result says
// when that mattered.

#include "core/MapHandler.h"
#include "engine/EngineRules.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

struct MapTile {
    int x = 0;
    int y = 0;
    friend bool operator==(const MapTile&, const MapTile&) = default;
};

enum class ExitKind { Elevator, SecretElevator, Victory, Boss, Spear };

struct LevelExit {
    ExitKind kind = ExitKind::Elevator;
    MapTile tile;  // the switch, the victory tile, the boss, the Spear
    MapTile stand; // where the player stands to take it (beside a switch: the side first reached)
    friend bool operator==(const LevelExit&, const LevelExit&) = default;
};

struct LevelAnalysis {
    int skill = 1;
    // What the game counts when the level starts on this skill level.
    int kills = 0;
    int treasure = 0;
    int secrets = 0;

    bool hasStart = false;        // no player start: nothing is reached
    std::vector<LevelExit> exits; // every exit reached, in the order reached
    bool Finishable() const { return !exits.empty(); }
    // From the start to the standing tile of the nearest exit, both
    // included; empty when no exit is reached.
    std::vector<MapTile> route;

    // On tiles the player never reaches (enemies present on this skill).
    std::vector<MapTile> unreachableTreasure;
    std::vector<MapTile> unreachableKeys;
    std::vector<MapTile> unreachableWeapons;
    std::vector<MapTile> unreachableEnemies;

    // Locked doors beside a reached tile whose key is never had, and locks
    // whose key no word of the game gives (wherever they stand).
    std::vector<MapTile> missingKeyDoors;
    std::vector<MapTile> doorsNeverOpen;
    // Elevator switches that reached tiles touch only from the north or the
    // south, where the engine does not let it be used.
    std::vector<MapTile> switchesFromSideOnly;
    // Reached tiles on the map's border: the player walks off the level.
    std::vector<MapTile> openEdges;

    int pushWallsMoved = 0; // more than one: taken together (see PushWallNote)

    // Row-major, one per tile: whether the player can stand there.
    std::vector<std::uint8_t> reached;
    int width = 0;
    bool Reached(int x, int y) const { return reached[static_cast<std::size_t>(y * width + x)] != 0; }
};

// The analysis of `map` on `skill` (1 to 4) by `rules`. A map without two
// full planes, or without a player start, reaches nothing.
LevelAnalysis AnalyseLevel(const MapList& map, const EngineRules& rules, int skill);

// The ways the push wall at (x, y) can be pushed, bit 0 north, 1 east, 2
// south, 3 west: the tile it would move to does not stop it (StopsPushWall)
// and the player can stand on the tile behind it, which is no wall and holds
// no blocking static. Off the map neither counts.
unsigned PushWallWays(const MapList& map, const EngineRules& rules, int x, int y);

// "elevator", "secret_elevator", "victory", "boss", "spear".
std::string_view ExitKindName(ExitKind kind);
// The note that several push walls were taken together; empty for one or none.
std::string PushWallNote(const LevelAnalysis& analysis);

} // namespace tsl
