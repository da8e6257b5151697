#include "editor/MapInformation.h"

#include "core/Windows1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <utility>

namespace tsl {

namespace {

// What a counted cell is; PlayerStart is a tile object the check looks for.
enum class Counted : std::uint8_t {
    Nothing, Static, Tile, PlayerStart, Door, Secret, Guard1, Guard3, Guard4, Boss, Other
};

Counted CountedAs(std::string_view type)
{
    static const std::array<std::pair<std::string_view, Counted>, 17> kTypes = {{
        {"to", Counted::Static}, {"k", Counted::Static}, {"so", Counted::Static},
        {"tt", Counted::Tile}, {"tp", Counted::Tile}, {"sp", Counted::PlayerStart}, {"sd", Counted::Secret},
        {"d", Counted::Door}, {"ld", Counted::Door},
        {"sg1", Counted::Guard1}, {"mg1", Counted::Guard1},
        {"sg3", Counted::Guard3}, {"mg3", Counted::Guard3},
        {"sg4", Counted::Guard4}, {"mg4", Counted::Guard4},
        {"b", Counted::Boss}, {"oa", Counted::Other},
    }};
    for (const auto& [id, counted] : kTypes)
        if (id == type)
            return counted;
    return Counted::Nothing;
}

// Per value of a plane: what its first counted symbol makes of a cell.
std::vector<Counted> CountedByValue(const std::vector<MapSymbols>& symbols)
{
    std::vector<Counted> byValue;
    for (const MapSymbols& symbol : symbols) {
        if (symbol.Value <= 0 || symbol.Value > 0xFFFF)
            continue;
        const auto value = static_cast<std::size_t>(symbol.Value);
        if (byValue.size() <= value)
            byValue.resize(value + 1, Counted::Nothing);
        if (byValue[value] == Counted::Nothing)
            byValue[value] = CountedAs(symbol.SymbolType);
    }
    return byValue;
}

// Every counted cell, plane by plane and row by row.
void ForEachCounted(const MapList& map, const SymbolTables& symbols,
                    const std::function<void(Counted, int x, int y)>& visit)
{
    for (std::size_t p = 0; p < map.Planes.size() && static_cast<int>(p) < symbols.NumPlanes(); ++p) {
        const auto& words = map.Planes[p];
        if (words.size() != map.WordCount())
            continue;
        const std::vector<Counted> byValue = CountedByValue(symbols.PlaneSymbols(static_cast<int>(p)));
        for (std::size_t at = 0; at < words.size(); ++at) {
            const std::uint16_t word = words[at];
            if (word == 0 || word >= byValue.size() || byValue[word] == Counted::Nothing)
                continue;
            visit(byValue[word], static_cast<int>(at % map.Width), static_cast<int>(at / map.Width));
        }
    }
}

void Add(MapStatistics& stats, Counted counted)
{
    switch (counted) {
    case Counted::Static: ++stats.StaticObjects; break;
    case Counted::Tile:
    case Counted::PlayerStart: ++stats.TileObjects; break;
    case Counted::Secret: ++stats.TileObjects; ++stats.Secrets; break;
    case Counted::Door: ++stats.Doors; break;
    case Counted::Guard1: ++stats.Guards1; break;
    case Counted::Guard3: ++stats.Guards3; break;
    case Counted::Guard4: ++stats.Guards4; break;
    case Counted::Boss: ++stats.Bosses; break;
    case Counted::Other: ++stats.OtherActors; break;
    case Counted::Nothing: break;
    }
}

bool IsActor(Counted counted)
{
    return counted >= Counted::Guard1;
}

// Counts cells of one kind and remembers the tile of cell number `mark` (from 1).
struct Tally {
    int count = 0;
    int mark = 0;
    std::optional<std::pair<int, int>> at;
    void Add(int x, int y)
    {
        if (++count == mark)
            at = std::pair{x, y};
    }
};

std::optional<MapFinding> OverLimit(FindingKind kind, const Tally& tally, int limit)
{
    if (limit <= 0 || tally.count <= limit || !tally.at)
        return std::nullopt;
    return MapFinding{kind, tally.count, limit, tally.at->first, tally.at->second, std::nullopt};
}

std::optional<MapFinding> UnknownWords(const MapList& map, const SymbolTables& symbols, int plane)
{
    const auto& words = map.Planes[static_cast<std::size_t>(plane)];
    if (words.size() != map.WordCount())
        return std::nullopt;
    const auto& known = symbols.FirstSymbolByValue(plane);
    MapFinding finding{FindingKind::UnknownWords, 0, std::nullopt, std::nullopt, std::nullopt, plane};
    for (std::size_t at = 0; at < words.size(); ++at) {
        if (words[at] < known.size() && known[words[at]] >= 0)
            continue;
        if (finding.Count++ == 0) {
            finding.Column = static_cast<int>(at % map.Width);
            finding.Row = static_cast<int>(at / map.Width);
        }
    }
    if (finding.Count == 0)
        return std::nullopt;
    return finding;
}

// What a word is to the checks of where objects and doors stand.
enum class Footing : std::uint8_t { Open, Wall, Door, Object };

struct Placed {
    Footing footing = Footing::Open;
    int symbol = -1; // the deciding symbol's index in the plane's table
};

Footing FootingOf(Counted counted)
{
    switch (counted) {
    case Counted::Door: return Footing::Door;
    case Counted::Static:
    case Counted::PlayerStart: return Footing::Object;
    default: return IsActor(counted) ? Footing::Object : Footing::Open;
    }
}

// Per value of a plane: its first counted symbol decides, as in the
// statistics; a value without one is a wall when it has a wall symbol.
std::vector<Placed> PlacedByValue(const std::vector<MapSymbols>& symbols)
{
    std::vector<Placed> byValue;
    std::vector<bool> decided;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const MapSymbols& symbol = symbols[i];
        if (symbol.Value <= 0 || symbol.Value > 0xFFFF)
            continue;
        const auto value = static_cast<std::size_t>(symbol.Value);
        if (byValue.size() <= value) {
            byValue.resize(value + 1);
            decided.resize(value + 1, false);
        }
        if (decided[value])
            continue;
        if (const Counted counted = CountedAs(symbol.SymbolType); counted != Counted::Nothing) {
            decided[value] = true;
            byValue[value] = {FootingOf(counted), static_cast<int>(i)};
        } else if (symbol.SymbolType == "w" && byValue[value].footing == Footing::Open) {
            byValue[value] = {Footing::Wall, static_cast<int>(i)};
        }
    }
    return byValue;
}

// Objects standing in walls or doors, then doors without their frame, each
// tile by tile.
void CheckPlacement(const MapList& map, const SymbolTables& symbols, std::vector<MapFinding>& findings)
{
    std::vector<std::size_t> planes;
    std::vector<std::vector<Placed>> byValue;
    for (std::size_t p = 0; p < map.Planes.size() && static_cast<int>(p) < symbols.NumPlanes(); ++p) {
        if (map.Planes[p].size() != map.WordCount())
            continue;
        planes.push_back(p);
        byValue.push_back(PlacedByValue(symbols.PlaneSymbols(static_cast<int>(p))));
    }
    auto placed = [&](std::size_t i, std::size_t at) {
        const std::uint16_t word = map.Planes[planes[i]][at];
        return word < byValue[i].size() ? byValue[i][word] : Placed{};
    };
    auto name = [&](std::size_t i, const Placed& what) {
        return Windows1252ToUtf8(
            symbols.PlaneSymbols(static_cast<int>(planes[i]))[static_cast<std::size_t>(what.symbol)].SymbolName);
    };
    auto finding = [&](FindingKind kind, std::size_t i, std::size_t at, const Placed& what) {
        return MapFinding{kind, 1, std::nullopt, static_cast<int>(at % map.Width), static_cast<int>(at / map.Width),
                          static_cast<int>(planes[i]), map.Planes[planes[i]][at], name(i, what), {}};
    };

    for (std::size_t at = 0; at < map.WordCount(); ++at) {
        for (std::size_t i = 0; i < planes.size(); ++i) {
            const Placed object = placed(i, at);
            if (object.footing != Footing::Object)
                continue;
            for (std::size_t j = 0; j < planes.size(); ++j) {
                const Placed under = placed(j, at);
                if (j == i || (under.footing != Footing::Wall && under.footing != Footing::Door))
                    continue;
                findings.push_back(finding(FindingKind::ObjectInWall, i, at, object));
                findings.back().Under = name(j, under);
                break;
            }
        }
    }

    auto wallAt = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= map.Width || y >= map.Height)
            return false;
        const auto at = static_cast<std::size_t>(y) * map.Width + static_cast<std::size_t>(x);
        for (std::size_t i = 0; i < planes.size(); ++i)
            if (placed(i, at).footing == Footing::Wall)
                return true;
        return false;
    };
    for (std::size_t at = 0; at < map.WordCount(); ++at) {
        const int x = static_cast<int>(at % map.Width), y = static_cast<int>(at / map.Width);
        for (std::size_t i = 0; i < planes.size(); ++i) {
            const Placed door = placed(i, at);
            if (door.footing != Footing::Door)
                continue;
            // An even word is a door in a vertical wall line, framed north and south.
            const bool vertical = map.Planes[planes[i]][at] % 2 == 0;
            const bool framed = vertical ? wallAt(x, y - 1) && wallAt(x, y + 1) : wallAt(x - 1, y) && wallAt(x + 1, y);
            if (!framed)
                findings.push_back(finding(FindingKind::DoorFrame, i, at, door));
        }
    }
}

std::string Where(const MapFinding& finding)
{
    return "column " + std::to_string(*finding.Column) + ", row " + std::to_string(*finding.Row);
}

} // namespace

MapStatistics CountMapObjects(const MapList& map, const SymbolTables& symbols)
{
    MapStatistics stats;
    ForEachCounted(map, symbols, [&](Counted counted, int, int) { Add(stats, counted); });
    return stats;
}

MapLimits ReadMapLimits(const IniFile& settings)
{
    const MapLimits defaults;
    constexpr int kEngineMapSide = 64;
    return {settings.ReadInteger("Limits", "MaxDoors", defaults.MaxDoors),
            settings.ReadInteger("Limits", "MaxStatics", defaults.MaxStatics),
            settings.ReadInteger("Limits", "MaxActors", defaults.MaxActors),
            settings.ReadInteger("Limits", "MapWidth", kEngineMapSide),
            settings.ReadInteger("Limits", "MapHeight", kEngineMapSide)};
}

std::vector<MapFinding> CheckMap(const MapList& map, const SymbolTables& symbols, const MapLimits& limits,
                                 const std::vector<bool>& shownPlanes)
{
    // The cell just over a limit is the one to show.
    auto over = [](int limit) { return limit > 0 && limit < std::numeric_limits<int>::max() ? limit + 1 : 0; };
    Tally doors{0, over(limits.MaxDoors), {}};
    Tally statics{0, over(limits.MaxStatics), {}};
    Tally actors{0, over(limits.MaxActors), {}};
    Tally starts{0, 2, {}};
    ForEachCounted(map, symbols, [&](Counted counted, int x, int y) {
        if (counted == Counted::Door)
            doors.Add(x, y);
        else if (counted == Counted::Static)
            statics.Add(x, y);
        else if (counted == Counted::PlayerStart)
            starts.Add(x, y);
        else if (IsActor(counted))
            actors.Add(x, y);
    });

    std::vector<MapFinding> findings;
    if (limits.MapWidth > 0 && map.Width != limits.MapWidth)
        findings.push_back({FindingKind::MapWidth, map.Width, limits.MapWidth, std::nullopt, std::nullopt, std::nullopt});
    if (limits.MapHeight > 0 && map.Height != limits.MapHeight)
        findings.push_back(
            {FindingKind::MapHeight, map.Height, limits.MapHeight, std::nullopt, std::nullopt, std::nullopt});
    for (auto finding : {OverLimit(FindingKind::Doors, doors, limits.MaxDoors),
                         OverLimit(FindingKind::Statics, statics, limits.MaxStatics),
                         OverLimit(FindingKind::Actors, actors, limits.MaxActors)})
        if (finding)
            findings.push_back(*finding);
    if (starts.count == 0)
        findings.push_back({FindingKind::PlayerStarts, 0, 1, std::nullopt, std::nullopt, std::nullopt});
    else if (starts.count > 1)
        findings.push_back({FindingKind::PlayerStarts, starts.count, 1, starts.at->first, starts.at->second,
                            std::nullopt});
    const auto planes = std::min(map.Planes.size(), static_cast<std::size_t>(symbols.NumPlanes()));
    for (std::size_t p = 0; p < planes && p < shownPlanes.size(); ++p)
        if (shownPlanes[p])
            if (auto finding = UnknownWords(map, symbols, static_cast<int>(p)))
                findings.push_back(*finding);
    CheckPlacement(map, symbols, findings);
    return findings;
}

std::string_view FindingKindName(FindingKind kind)
{
    switch (kind) {
    case FindingKind::MapWidth: return "map_width";
    case FindingKind::MapHeight: return "map_height";
    case FindingKind::Doors: return "doors";
    case FindingKind::Statics: return "statics";
    case FindingKind::Actors: return "actors";
    case FindingKind::PlayerStarts: return "player_starts";
    case FindingKind::UnknownWords: return "unknown_words";
    case FindingKind::ObjectInWall: return "object_in_wall";
    case FindingKind::DoorFrame: return "door_frame";
    }
    return "";
}

std::string FindingText(const MapFinding& f)
{
    const std::string count = std::to_string(f.Count);
    const std::string limit = f.Limit ? std::to_string(*f.Limit) : "";
    switch (f.Kind) {
    case FindingKind::MapWidth:
        return "The map is " + count + " tiles wide; the engine reads only maps " + limit + " tiles wide.";
    case FindingKind::MapHeight:
        return "The map is " + count + " tiles high; the engine reads only maps " + limit + " tiles high.";
    case FindingKind::Doors:
        return count + " doors, more than the " + limit + " the engine holds; door " + std::to_string(*f.Limit + 1) +
               " is at " + Where(f) + ".";
    case FindingKind::Statics:
        return count + " static objects, more than the " + limit + " the engine holds; object " +
               std::to_string(*f.Limit + 1) + " is at " + Where(f) + ".";
    case FindingKind::Actors:
        return count + " actors, more than the " + limit + " the engine holds; actor " +
               std::to_string(*f.Limit + 1) + " is at " + Where(f) + ".";
    case FindingKind::PlayerStarts:
        if (f.Count == 0)
            return "No player start; the engine needs exactly one.";
        return count + " player starts; the engine needs exactly one. The second is at " + Where(f) + ".";
    case FindingKind::UnknownWords:
        return count + (f.Count == 1 ? " word" : " words") + " of plane " + std::to_string(*f.Plane) +
               " without a symbol; the first is at " + Where(f) + ".";
    case FindingKind::ObjectInWall:
        return f.Name + " at " + Where(f) + " stands in " + f.Under + "; objects, actors and player starts need an "
               "open tile.";
    case FindingKind::DoorFrame:
        return f.Name + " at " + Where(f) + " has an open frame: it needs walls " +
               (f.Word % 2 == 0 ? "north and south" : "east and west") + " of it.";
    }
    return {};
}

} // namespace tsl
