#pragma once
// What a map holds, counted through the symbol types of its words, and
// whether it keeps within what the game engine can hold: doors, static
// objects and actors within their limits, exactly one player start, and no
// word without a symbol in a shown plane.

#include "core/IniFile.h"
#include "core/MapHandler.h"
#include "symbols/SymbolTables.h"

#include <array>
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
// structure's settings file.
struct MapLimits {
    int MaxDoors = 64;
    int MaxStatics = 399;
    int MaxActors = 149;
};
MapLimits ReadMapLimits(const IniFile& settings);

enum class FindingKind { Doors, Statics, Actors, PlayerStarts, UnknownWords };

// One thing wrong with a map. The tile is where it shows first: the first
// cell over the limit, the second player start, the first word without a
// symbol; none for a map without a player start.
struct MapFinding {
    FindingKind Kind = FindingKind::Doors;
    int Count = 0;
    std::optional<int> Limit;   // none for words without a symbol
    std::optional<int> Column;
    std::optional<int> Row;
    std::optional<int> Plane;   // only for words without a symbol
    friend bool operator==(const MapFinding&, const MapFinding&) = default;
};

// The findings in the order doors, statics, actors, player starts, then
// the words without a symbol plane by plane. `shownPlanes[p]` says whether
// plane p is shown (missing entries count as not shown).
std::vector<MapFinding> CheckMap(const MapList& map, const SymbolTables& symbols, const MapLimits& limits,
                                 const std::vector<bool>& shownPlanes);

// "doors", "statics", "actors", "player_starts", "unknown_words".
std::string_view FindingKindName(FindingKind kind);
// One sentence that says what is wrong and where.
std::string FindingText(const MapFinding& finding);

} // namespace tsl
