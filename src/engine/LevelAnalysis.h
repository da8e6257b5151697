#pragma once
// Can this level be finished? A pure function of a map, the rules of its
// game and a skill level (1 to 4, easiest to hardest): the totals the game
// counts when the level starts, what the player can reach from the start,
// the exits reached, what stays out of reach and the shortest walks to the
// level's exits. Plane 0 holds the tiles, plane 1 the objects, as the engine
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
    // From the start to the standing tile of the nearest normal exit (any
    // but the secret elevator), both included, or of the secret elevator
    // when the level has no other; empty when no exit is reached.
    std::vector<MapTile> route;
    // The shortest walk to the secret elevator, when one is reached and
    // `route` goes elsewhere; empty otherwise.
    std::vector<MapTile> secretRoute;

    // On tiles the player never reaches (enemies present on this skill). An
    // enemy is out of reach only when no reached tile has a clear line to it
    // as the engine checks lines of sight (walls and doors block, objects do
    // not): one the player can see, the player can shoot.
    std::vector<MapTile> unreachableTreasure;
    std::vector<MapTile> unreachableKeys;
    std::vector<MapTile> unreachableWeapons;
    std::vector<MapTile> unreachableEnemies;

    // Locked doors beside a reached tile whose key is never had, and locks
    // whose key no word of the game gives (wherever they stand).
    std::vector<MapTile> missingKeyDoors;
    std::vector<MapTile> doorsNeverOpen;
    // Elevators none of whose switches can be used: every switch reached
    // tiles touch, they touch only from the north or the south, where the
    // engine does not let it be used. An elevator is the switches beside one
    // reached tile, or beside each other (the decorative switch walls north
    // and south of id's elevator cells belong with the one used from the
    // east or west); one tile each, its first switch in row order. The
    // elevator the player starts in (as in the Spear of Destiny demo's
    // second map) is where the level is entered: it needs no switch.
    std::vector<MapTile> unusableElevators;
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

// "the gold key", "the silver key" (keys 1 and 2, as both games name them),
// "key 3", "key 4".
std::string KeyPhrase(int key);

// "elevator", "secret_elevator", "victory", "boss", "spear".
std::string_view ExitKindName(ExitKind kind);
// The note that several push walls were taken together; empty for one or none.
std::string PushWallNote(const LevelAnalysis& analysis);

} // namespace tsl
