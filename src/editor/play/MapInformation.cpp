#include "editor/play/MapInformation.h"

#include "core/Windows1252.h"
#include "engine/PatrolRoutes.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
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

Footing FootingOf(const WordMeaning& meaning)
{
    if (meaning.kind == WordKind::Wall)
        return Footing::Wall;
    if (meaning.kind == WordKind::Door)
        return Footing::Door;
    return meaning.IsObject() ? Footing::Object : Footing::Open;
}

// The name to show for a word: its symbol (a wall symbol for a wall, another
// for a door or an object, when the value has both), else its number.
std::string NameOf(const SymbolTables& symbols, std::size_t plane, std::uint16_t word, Footing footing)
{
    const MapSymbols* first = nullptr;
    if (plane < static_cast<std::size_t>(symbols.NumPlanes()))
        for (const MapSymbols& symbol : symbols.PlaneSymbols(static_cast<int>(plane))) {
            if (symbol.Value != word)
                continue;
            if ((symbol.SymbolType == "w") == (footing == Footing::Wall))
                return Windows1252ToUtf8(symbol.SymbolName);
            if (!first)
                first = &symbol;
        }
    return first ? Windows1252ToUtf8(first->SymbolName) : "Word " + std::to_string(word);
}

// Objects standing in walls or doors, then doors without their frame, each
// tile by tile.
void CheckPlacement(const MapList& map, const SymbolTables& symbols, const EngineRules& rules,
                    std::vector<MapFinding>& findings)
{
    std::vector<std::size_t> planes;
    for (std::size_t p = 0; p < map.Planes.size(); ++p)
        if (map.Planes[p].size() == map.WordCount())
            planes.push_back(p);
    auto placed = [&](std::size_t i, std::size_t at) {
        return FootingOf(rules.Meaning(static_cast<int>(planes[i]), map.Planes[planes[i]][at]));
    };
    auto finding = [&](FindingKind kind, std::size_t i, std::size_t at, Footing what) {
        const std::uint16_t word = map.Planes[planes[i]][at];
        return MapFinding{kind, 1, std::nullopt, static_cast<int>(at % map.Width), static_cast<int>(at / map.Width),
                          static_cast<int>(planes[i]), word, NameOf(symbols, planes[i], word, what), {}};
    };

    for (std::size_t at = 0; at < map.WordCount(); ++at) {
        for (std::size_t i = 0; i < planes.size(); ++i) {
            if (placed(i, at) != Footing::Object)
                continue;
            for (std::size_t j = 0; j < planes.size(); ++j) {
                const Footing under = placed(j, at);
                if (j == i || (under != Footing::Wall && under != Footing::Door))
                    continue;
                findings.push_back(finding(FindingKind::ObjectInWall, i, at, Footing::Object));
                findings.back().Under = NameOf(symbols, planes[j], map.Planes[planes[j]][at], under);
                break;
            }
        }
    }

    auto wallAt = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= map.Width || y >= map.Height)
            return false;
        const auto at = static_cast<std::size_t>(y) * map.Width + static_cast<std::size_t>(x);
        for (std::size_t i = 0; i < planes.size(); ++i)
            if (placed(i, at) == Footing::Wall)
                return true;
        return false;
    };
    for (std::size_t at = 0; at < map.WordCount(); ++at) {
        const int x = static_cast<int>(at % map.Width), y = static_cast<int>(at / map.Width);
        for (std::size_t i = 0; i < planes.size(); ++i) {
            const WordMeaning& door = rules.Meaning(static_cast<int>(planes[i]), map.Planes[planes[i]][at]);
            if (door.kind != WordKind::Door)
                continue;
            const bool framed =
                door.vertical ? wallAt(x, y - 1) && wallAt(x, y + 1) : wallAt(x - 1, y) && wallAt(x + 1, y);
            if (!framed)
                findings.push_back(finding(FindingKind::DoorFrame, i, at, Footing::Door));
        }
    }
}

// A finding of play over `tiles`, in row order, each once.
std::optional<MapFinding> TilesFinding(FindingKind kind, std::vector<MapTile> tiles)
{
    if (tiles.empty())
        return std::nullopt;
    std::sort(tiles.begin(), tiles.end(), [](MapTile a, MapTile b) { return std::pair{a.y, a.x} < std::pair{b.y, b.x}; });
    tiles.erase(std::unique(tiles.begin(), tiles.end()), tiles.end());
    MapFinding finding{kind, static_cast<int>(tiles.size()), std::nullopt, tiles.front().x, tiles.front().y, std::nullopt};
    finding.Tiles = std::move(tiles);
    return finding;
}

// The map by its rules of play, on every skill level.
void CheckPlay(const MapList& map, const EngineRules& rules, std::vector<MapFinding>& findings)
{
    if (!rules.FromEngine())
        return;
    if (const int size = rules.MapSize(); size > 0 && (map.Width != size || map.Height != size))
        findings.push_back({FindingKind::MapSize, 1, size, std::nullopt, std::nullopt, std::nullopt});
    std::vector<LevelAnalysis> levels;
    for (int skill = 1; skill <= 4; ++skill)
        levels.push_back(AnalyseLevel(map, rules, skill));
    std::vector<MapTile> blockedPatrols;
    for (const PatrolRoute& route : TracePatrols(map, rules))
        if (route.blockedAtOnce)
            blockedPatrols.push_back(route.actor);
    const auto patrols = TilesFinding(FindingKind::PatrolBlocked, std::move(blockedPatrols));
    if (!levels.front().hasStart) {
        if (patrols)
            findings.push_back(*patrols); // the player-start finding says the rest
        return;
    }
    MapFinding noExit{FindingKind::NoExit, 0, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    for (const LevelAnalysis& level : levels)
        if (!level.Finishable())
            noExit.Skills.push_back(level.skill);
    if (!noExit.Skills.empty()) {
        noExit.Count = static_cast<int>(noExit.Skills.size());
        findings.push_back(noExit);
    }
    std::vector<MapTile> locked;
    for (const LevelAnalysis& level : levels)
        locked.insert(locked.end(), level.missingKeyDoors.begin(), level.missingKeyDoors.end());
    for (int key = 1; key <= kMaxKeys; ++key) {
        std::vector<MapTile> doors;
        for (const MapTile& door : locked)
            if (rules.Tile(map.Word(0, door.x, door.y)).lock == key)
                doors.push_back(door);
        if (auto finding = TilesFinding(FindingKind::MissingKey, std::move(doors))) {
            finding->Key = key;
            findings.push_back(std::move(*finding));
        }
    }
    const std::pair<FindingKind, std::vector<MapTile> LevelAnalysis::*> lists[] = {
        {FindingKind::DoorNeverOpens, &LevelAnalysis::doorsNeverOpen},
        {FindingKind::OpenEdge, &LevelAnalysis::openEdges},
        {FindingKind::ElevatorSide, &LevelAnalysis::unusableElevators},
        {FindingKind::UnreachableTreasure, &LevelAnalysis::unreachableTreasure},
        {FindingKind::UnreachableKey, &LevelAnalysis::unreachableKeys},
        {FindingKind::UnreachableEnemy, &LevelAnalysis::unreachableEnemies},
    };
    for (const auto& [kind, list] : lists) {
        std::vector<MapTile> tiles;
        for (const LevelAnalysis& level : levels)
            tiles.insert(tiles.end(), (level.*list).begin(), (level.*list).end());
        if (auto finding = TilesFinding(kind, std::move(tiles)))
            findings.push_back(std::move(*finding));
    }
    if (patrols)
        findings.push_back(*patrols);
}

// The tiles of each word of plane `plane` that `which` picks, word by word.
std::vector<std::pair<std::uint16_t, std::vector<MapTile>>> TilesByWord(const MapList& map, int plane,
                                                                          const std::function<bool(std::uint16_t)>& which)
{
    std::vector<std::pair<std::uint16_t, std::vector<MapTile>>> byWord;
    if (map.Planes.size() <= static_cast<std::size_t>(plane) ||
        map.Planes[static_cast<std::size_t>(plane)].size() != map.WordCount())
        return byWord;
    std::vector<int> slot(0x10000, -1);
    const auto& words = map.Planes[static_cast<std::size_t>(plane)];
    for (std::size_t at = 0; at < words.size(); ++at) {
        const std::uint16_t word = words[at];
        if (slot[word] == -2 || (slot[word] == -1 && !which(word))) {
            slot[word] = -2;
            continue;
        }
        if (slot[word] == -1) {
            slot[word] = static_cast<int>(byWord.size());
            byWord.push_back({word, {}});
        }
        byWord[static_cast<std::size_t>(slot[word])].second.push_back(
            {static_cast<int>(at % map.Width), static_cast<int>(at / map.Width)});
    }
    std::sort(byWord.begin(), byWord.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return byWord;
}

// A finding of one word over its tiles, named by its symbol.
MapFinding WordFinding(FindingKind kind, const SymbolTables& symbols, int plane, std::uint16_t word,
                       std::vector<MapTile> tiles, Footing footing)
{
    MapFinding finding = *TilesFinding(kind, std::move(tiles));
    finding.Plane = plane;
    finding.Word = word;
    finding.Name = NameOf(symbols, static_cast<std::size_t>(plane), word, footing);
    return finding;
}

// Plane-1 words the game places nothing for: no rule lists them, or their
// rule says placing them spoils the actor placed before.
void CheckSpawns(const MapList& map, const SymbolTables& symbols, const EngineRules& rules,
                 std::vector<MapFinding>& findings)
{
    if (!rules.FromEngine())
        return;
    const auto spoils = [&](std::uint16_t word) { return rules.Object(word).spoils; };
    const auto unlisted = [&](std::uint16_t word) { return word != 0 && !rules.Listed(1, word); };
    for (const auto& [kind, which] : {std::pair{FindingKind::SpawnsWrongly, std::function<bool(std::uint16_t)>(spoils)},
                                      std::pair{FindingKind::SpawnsNothing, std::function<bool(std::uint16_t)>(unlisted)}})
        for (auto& [word, tiles] : TilesByWord(map, 1, which))
            findings.push_back(WordFinding(kind, symbols, 1, word, std::move(tiles), Footing::Object));
}

void CheckWallPictures(const MapList& map, const SymbolTables& symbols, const EngineRules& rules,
                       const PageFile& pages, std::vector<MapFinding>& findings)
{
    std::vector<std::string> lack(0x10000);
    const auto lacking = [&](std::uint16_t word) {
        if (rules.Tile(word).kind != WordKind::Wall)
            return false;
        lack[word] = WallPictureLack(pages, word);
        return !lack[word].empty();
    };
    for (auto& [word, tiles] : TilesByWord(map, 0, lacking)) {
        findings.push_back(WordFinding(FindingKind::NoWallPicture, symbols, 0, word, std::move(tiles), Footing::Wall));
        findings.back().Why = lack[word];
    }
}

std::string Where(const MapFinding& finding)
{
    return "column " + std::to_string(*finding.Column) + ", row " + std::to_string(*finding.Row);
}

// The sentence for one tile, or the count, what is said of them, and the first.
std::string OneOrMore(const MapFinding& finding, const std::string& one, const std::string& more)
{
    if (finding.Count == 1)
        return one;
    return std::to_string(finding.Count) + more + "; the first is at " + Where(finding) + ".";
}

// The name of a finding's word and its number: "Elevator (wall word 21)",
// or "wall word 45" when it has no symbol.
std::string WordLabel(const MapFinding& finding, const std::string& what)
{
    const std::string number = what + " " + std::to_string(finding.Word);
    return finding.Name.empty() || finding.Name == "Word " + std::to_string(finding.Word)
               ? number
               : finding.Name + " (" + number + ")";
}

// "<subject> at <tile><rest>", or for several tiles "<subject>, on 3
// tiles (the first at <tile>)<rest>", a comma before a rest that goes on
// with a word.
std::string OnOneOrMore(const MapFinding& finding, const std::string& subject, const std::string& rest)
{
    if (finding.Count == 1)
        return subject + " at " + Where(finding) + rest;
    return subject + ", on " + std::to_string(finding.Count) + " tiles (the first at " + Where(finding) + ")" +
           (rest.starts_with(" ") ? "," : "") + rest;
}

// "3", "1 and 2", "1, 2, 3 and 4".
std::string Listed(const std::vector<int>& numbers)
{
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        text += (i == 0 ? "" : i + 1 == numbers.size() ? " and " : ", ") + std::to_string(numbers[i]);
    return text;
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
    return {settings.ReadInteger("Limits", "MaxDoors", defaults.MaxDoors),
            settings.ReadInteger("Limits", "MaxStatics", defaults.MaxStatics),
            settings.ReadInteger("Limits", "MaxActors", defaults.MaxActors)};
}

std::string WallPictureLack(const PageFile& pages, int word)
{
    constexpr int kMaxWallTiles = 64; // MAXWALLTILES: the engine's tables of wall pictures end there
    if (word < 1 || word >= kMaxWallTiles)
        return "the engine draws walls 1 to " + std::to_string(kMaxWallTiles - 1) + " only";
    const int light = 2 * (word - 1), dark = light + 1;
    const std::string file = std::filesystem::path(pages.FileName()).filename().string();
    if (dark >= pages.FirstSpriteChunk())
        return "its chunks " + std::to_string(light) + " and " + std::to_string(dark) + " are past the walls of " +
               file + " (chunks 0 to " + std::to_string(pages.FirstSpriteChunk() - 1) + ")";
    const bool lightEmpty = pages.Wall(light).empty(), darkEmpty = pages.Wall(dark).empty();
    if (lightEmpty && darkEmpty)
        return "its chunks " + std::to_string(light) + " and " + std::to_string(dark) + " of " + file + " are empty";
    if (lightEmpty || darkEmpty)
        return "its chunk " + std::to_string(lightEmpty ? light : dark) + " of " + file + " is empty";
    return {};
}

std::vector<MapFinding> CheckMap(const MapList& map, const SymbolTables& symbols, const EngineRules& rules,
                                 const MapLimits& limits, const std::vector<bool>& shownPlanes, const PageFile* pages)
{
    // The cell just over a limit is the one to show.
    auto over = [](int limit) { return limit > 0 && limit < std::numeric_limits<int>::max() ? limit + 1 : 0; };
    Tally doors{0, over(limits.MaxDoors), {}};
    Tally statics{0, over(limits.MaxStatics), {}};
    Tally actors{0, over(limits.MaxActors), {}};
    Tally starts{0, 2, {}};
    for (std::size_t p = 0; p < map.Planes.size(); ++p) {
        const auto& words = map.Planes[p];
        if (words.size() != map.WordCount())
            continue;
        for (std::size_t at = 0; at < words.size(); ++at) {
            const WordMeaning& meaning = rules.Meaning(static_cast<int>(p), words[at]);
            const int x = static_cast<int>(at % map.Width), y = static_cast<int>(at / map.Width);
            if (meaning.kind == WordKind::Door)
                doors.Add(x, y);
            else if (meaning.kind == WordKind::Static)
                statics.Add(x, y);
            else if (meaning.kind == WordKind::PlayerStart)
                starts.Add(x, y);
            else if (meaning.IsActor() || meaning.kind == WordKind::Corpse)
                actors.Add(x, y);
        }
    }

    std::vector<MapFinding> findings;
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
    CheckPlacement(map, symbols, rules, findings);
    CheckPlay(map, rules, findings);
    CheckSpawns(map, symbols, rules, findings);
    if (pages)
        CheckWallPictures(map, symbols, rules, *pages, findings);
    return findings;
}

std::string_view FindingKindName(FindingKind kind)
{
    switch (kind) {
    case FindingKind::Doors: return "doors";
    case FindingKind::Statics: return "statics";
    case FindingKind::Actors: return "actors";
    case FindingKind::PlayerStarts: return "player_starts";
    case FindingKind::UnknownWords: return "unknown_words";
    case FindingKind::ObjectInWall: return "object_in_wall";
    case FindingKind::DoorFrame: return "door_frame";
    case FindingKind::MapSize: return "map_size";
    case FindingKind::NoExit: return "no_exit";
    case FindingKind::MissingKey: return "missing_key";
    case FindingKind::DoorNeverOpens: return "door_never_opens";
    case FindingKind::OpenEdge: return "open_edge";
    case FindingKind::ElevatorSide: return "elevator_side";
    case FindingKind::UnreachableTreasure: return "unreachable_treasure";
    case FindingKind::UnreachableKey: return "unreachable_key";
    case FindingKind::UnreachableEnemy: return "unreachable_enemy";
    case FindingKind::PatrolBlocked: return "patrol_blocked";
    case FindingKind::SpawnsWrongly: return "spawns_wrongly";
    case FindingKind::NoWallPicture: return "no_wall_picture";
    case FindingKind::SpawnsNothing: return "spawns_nothing";
    }
    return "";
}

bool IsWarning(FindingKind kind)
{
    return kind == FindingKind::ElevatorSide || kind == FindingKind::UnreachableTreasure ||
           kind == FindingKind::UnreachableKey || kind == FindingKind::UnreachableEnemy ||
           kind == FindingKind::PatrolBlocked || kind == FindingKind::SpawnsNothing;
}

std::string FindingText(const MapFinding& f)
{
    const std::string count = std::to_string(f.Count);
    const std::string limit = f.Limit ? std::to_string(*f.Limit) : "";
    switch (f.Kind) {
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
    case FindingKind::MapSize:
        return "The engine plays only " + limit + " x " + limit + " maps; this one is not.";
    case FindingKind::NoExit:
        return "No exit can be reached from the player start on skill level" + std::string(f.Skills.size() > 1 ? "s " : " ") +
               Listed(f.Skills) + ".";
    case FindingKind::MissingKey: {
        const std::string key = f.Key > 0 ? KeyPhrase(f.Key) : "a key";
        return OneOrMore(f, "The locked door at " + Where(f) + " opens with " + key + ", which cannot be had.",
                         " locked doors open with " + key + ", which cannot be had");
    }
    case FindingKind::DoorNeverOpens:
        return OneOrMore(f, "The door at " + Where(f) + " has a lock whose key the game does not have: it never opens.",
                         " doors have a lock whose key the game does not have: they never open");
    case FindingKind::OpenEdge:
        return OneOrMore(f, "The player can walk off the map at " + Where(f) + ".",
                         " tiles on the map's border are reached: the player can walk off the map");
    case FindingKind::ElevatorSide:
        return OneOrMore(f, "The elevator at " + Where(f) +
                                " cannot be used: its switches are reached only from the north or the south, where the "
                                "game does not let them be used.",
                         " elevators cannot be used: their switches are reached only from the north or the south, "
                         "where the game does not let them be used");
    case FindingKind::SpawnsWrongly:
        return OnOneOrMore(f, "The game places nothing for " + WordLabel(f, "plane 1 word"),
                           ": its spawning has no case for the word and changes the actor placed before it instead.");
    case FindingKind::SpawnsNothing:
        return OnOneOrMore(f, "The game places nothing for " + WordLabel(f, "plane 1 word"), ".");
    case FindingKind::NoWallPicture:
    {
        std::string subject = WordLabel(f, "wall word");
        subject[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(subject[0])));
        return OnOneOrMore(f, subject, " has no picture: " + f.Why + ".");
    }
    case FindingKind::UnreachableTreasure:
        return OneOrMore(f, "1 treasure cannot be reached, at " + Where(f) + ".", " treasures cannot be reached");
    case FindingKind::UnreachableKey:
        return OneOrMore(f, "1 key cannot be reached, at " + Where(f) + ".", " keys cannot be reached");
    case FindingKind::UnreachableEnemy:
        return OneOrMore(f, "1 enemy cannot be reached, at " + Where(f) + ".", " enemies cannot be reached");
    case FindingKind::PatrolBlocked:
        return OneOrMore(f, "The patrol at " + Where(f) + " walks into a wall at once.",
                         " patrols walk into a wall at once");
    }
    return {};
}

} // namespace tsl
