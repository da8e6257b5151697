#pragma once
// What a map holds, counted through the symbol types of its words, and
// whether it keeps within what the game engine can hold: doors, static
// objects and actors within their limits, exactly one player start, no word
// without a symbol in a shown plane, no object standing in a wall or door and
// no door without its frame; and, by the rules of play of a structure that
// has them, whether the level can be finished on every skill level.

#include "core/IniFile.h"
#include "core/MapHandler.h"
#include "engine/EngineRules.h"
#include "engine/LevelAnalysis.h"
#include "graphics/PageFile.h"
#include "symbols/SymbolTables.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

// The ten counters of a map.
struct MapStatistics {
    int StaticObjects = 0; // "to", "k", "so"
    int TileObjects = 0;   // "tt", "tp", "sp", "sd"
    int Doors = 0;         // "d", "ld"
    int Secrets = 0;       // "sd", counted as tile objects as well
    int Guards1 = 0;       // "sg1", "mg1"
    int Guards3 = 0;       // "sg3", "mg3"
    int Guards4 = 0;       // "sg4", "mg4"
    int Bosses = 0;        // "b"
    int OtherActors = 0;   // "oa"
    int TotalActors() const { return Guards1 + Guards3 + Guards4 + Bosses + OtherActors; }
    // The ten counters in the order every view lists them, the total last.
    std::array<int, 10> Counters() const
    {
        return {StaticObjects, TileObjects, Doors, Secrets, Guards1, Guards3, Guards4, Bosses, OtherActors,
                TotalActors()};
    }
    friend bool operator==(const MapStatistics&, const MapStatistics&) = default;
};

// Every plane's words, each counted by the first symbol of its value in that
// plane whose type is counted at all; 0 words count nothing.
MapStatistics CountMapObjects(const MapList& map, const SymbolTables& symbols);

// What the engine holds per map; 0 means no limit. Section Limits of the
// structure's settings file. (The size the engine plays is a rule of play:
// EngineRules::MapSize.)
struct MapLimits {
    int MaxDoors = 64;
    int MaxStatics = 399;
    int MaxActors = 149;
};
MapLimits ReadMapLimits(const IniFile& settings);

enum class FindingKind {
    Doors, Statics, Actors, PlayerStarts, UnknownWords, ObjectInWall, DoorFrame,
    // By the rules of play:
    MapSize, NoExit, MissingKey, DoorNeverOpens, OpenEdge, SpawnsWrongly,
    // By the page file:
    NoWallPicture,
    // Warnings, which leave the map fit to play:
    ElevatorSide, UnreachableTreasure, UnreachableKey, UnreachableEnemy, PatrolBlocked, SpawnsNothing,
};
// Whether a finding only warns (the check passes with it).
bool IsWarning(FindingKind kind);

// One thing wrong with a map. The tile is where it shows first: the first
// cell over the limit, the second player start, the first word without a
// symbol; none for a map without a player start. An object in a wall and a
// door without its frame are one finding per tile, with a count of 1. The
// findings of play list every tile they concern (row by row) and count them;
// no exit names the skill levels instead, and the map's size neither. A
// missing key is one finding per key; a word the game places nothing for, or
// spawns wrongly, and a wall without a picture one per word.
struct MapFinding {
    FindingKind Kind = FindingKind::Doors;
    int Count = 0;
    std::optional<int> Limit;   // none for words without a symbol and the findings per tile
    std::optional<int> Column;
    std::optional<int> Row;
    std::optional<int> Plane;   // of the word without a symbol, the object in a wall, the door
    std::uint16_t Word = 0;     // the object's or the door's word
    std::string Name{};         // and the name of its symbol (UTF-8, to show)
    std::string Under{};        // the symbol of the wall or door the object stands in (the same)
    std::vector<MapTile> Tiles{}; // the findings of play
    std::vector<int> Skills{};    // no exit: the skill levels (1 to 4) it cannot be finished on
    int Key = 0;                  // a missing key: the key (1 to 4)
    std::string Why{};            // a wall without a picture: why it has none
    friend bool operator==(const MapFinding&, const MapFinding&) = default;
};

// The findings in the order map width and height (each with the map's as
// the count and the engine's as the limit), doors, statics, actors, player
// starts, the
// words without a symbol plane by plane, then the objects in walls and the
// doors without a frame tile by tile. `shownPlanes[p]` says whether plane p
// is shown (missing entries count as not shown).
//
// What is a wall, a door, a static or an actor comes from `rules` (the
// structure's rules of play, or the model its symbols suggest, see
// EngineRules::FromSymbols); markers (turning points, push walls, triggers)
// may stand anywhere. An object stands in a wall when another plane holds a
// wall or door word on its tile. A door's frame is the tiles beside its wall
// line, which must hold a wall word in some plane: north and south of a door
// in a vertical wall line, east and west of one in a horizontal line;
// outside the map there is no wall. The findings of play follow, when the
// rules are the game's own and the map has a player start: the level
// analysed on each skill level (see LevelAnalysis), the findings of every
// level together, and the patrols whose first step is into a wall (see
// PatrolRoutes), with or without a player start; the plane-1 words the game
// places nothing for or spawns wrongly (a word no rule lists, one whose rule
// says it spoils the actor placed before it). Last, with the game's page
// file (`pages`), the wall words whose pictures it lacks (see WallPictureLack).
std::vector<MapFinding> CheckMap(const MapList& map, const SymbolTables& symbols, const EngineRules& rules,
                                 const MapLimits& limits, const std::vector<bool>& shownPlanes,
                                 const PageFile* pages = nullptr);

// Why wall word `word` has no picture the engine can draw from `pages`, or
// empty when it has one. The engine draws a wall word w (1 to 63, its
// MAXWALLTILES) with chunks 2(w - 1) and 2(w - 1) + 1 of the page file,
// which must be wall chunks that are not empty.
std::string WallPictureLack(const PageFile& pages, int word);

// "doors", "statics", "actors", "player_starts", "unknown_words",
// "object_in_wall", "door_frame", "map_size", "no_exit", "missing_key",
// "door_never_opens", "open_edge", "spawns_wrongly", "no_wall_picture",
// "elevator_side", "unreachable_treasure", "unreachable_key",
// "unreachable_enemy", "patrol_blocked", "spawns_nothing".
std::string_view FindingKindName(FindingKind kind);
// One or two sentences that say what is wrong and where.
std::string FindingText(const MapFinding& finding);

} // namespace tsl
