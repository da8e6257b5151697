#include "editor/operations/FindReplace.h"

#include "core/Windows1252.h"

#include <algorithm>

namespace tsl {

namespace {

Failure Information(std::string text)
{
    return {std::move(text), "Information", MessageIcon::Information};
}

// The plane's words when the map really holds them, else nothing: a plane
// that is not there, or has the wrong size, is never read.
const std::vector<std::uint16_t>* PlaneWords(const MapList& map, int plane)
{
    if (plane < 0 || static_cast<std::size_t>(plane) >= map.Planes.size())
        return nullptr;
    const auto& words = map.Planes[static_cast<std::size_t>(plane)];
    return words.size() == map.WordCount() ? &words : nullptr;
}

// Visits the tiles of width x height in the direction's order until `visit` says stop.
template <typename Visit>
void Scan(int width, int height, FindDirection direction, Visit visit)
{
    const bool forward = direction == FindDirection::Forward;
    for (int r = 0; r < height; ++r) {
        const int y = forward ? r : height - 1 - r;
        for (int c = 0; c < width; ++c) {
            const int x = forward ? c : width - 1 - c;
            if (!visit(x, y, static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                 static_cast<std::size_t>(x)))
                return;
        }
    }
}

} // namespace

std::optional<std::uint16_t> LookupSymbol(const SymbolTables& symbols, int plane, std::string_view text)
{
    if (plane < 0 || plane >= symbols.NumPlanes())
        return std::nullopt;
    for (const MapSymbols& symbol : symbols.PlaneSymbols(plane)) {
        if (Windows1252ToUtf8(symbol.SymbolName) == text || std::to_string(symbol.Value) == text) {
            if (symbol.Value < 0 || symbol.Value > 0xFFFF)
                return std::nullopt;
            return static_cast<std::uint16_t>(symbol.Value);
        }
    }
    return std::nullopt;
}

std::vector<FoundMapCorr> FindInMap(const MapList& map, int plane, std::uint16_t value, FindDirection direction)
{
    std::vector<FoundMapCorr> found;
    const auto* words = PlaneWords(map, plane);
    if (!words)
        return found;
    Scan(map.Width, map.Height, direction, [&](int x, int y, std::size_t at) {
        if ((*words)[at] == value)
            found.push_back({x, y, plane});
        return true;
    });
    return found;
}

int ReplaceInPlane(std::vector<std::uint16_t>& words, int width, int height, std::uint16_t find,
                   std::uint16_t with, FindDirection direction, bool all)
{
    if (width < 0 || height < 0 ||
        words.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return 0;
    int count = 0;
    Scan(width, height, direction, [&](int, int, std::size_t at) {
        if (words[at] == find) {
            words[at] = with;
            ++count;
            return all;
        }
        return true;
    });
    return count;
}

void FindReplaceState::Discard()
{
    Matches.clear();
    FindIndex = -1;
    LastAction = FindAction::None;
    Cancelled = false;
    DirectionChanged = false;
}

void FindReplaceState::SetDirection(FindDirection direction)
{
    if (direction != Fields.Direction)
        DirectionChanged = true;
    Fields.Direction = direction;
}

void FindReplaceState::TakeFields(const FindFields& fields)
{
    SetDirection(fields.Direction);
    Fields = fields;
}

std::optional<Failure> ValidateFind(const FindFields& fields, FindAction action)
{
    if (fields.FindWhat.empty())
        return Information("You need to enter a search value!");
    if ((action == FindAction::Replace || action == FindAction::ReplaceAll) && fields.ReplaceWith.empty())
        return Information("You need to enter a replacement value!");
    return std::nullopt;
}

void FindReplaceState::StartAction()
{
    Matches.clear();
    ReplacementCount = 0;
    if (DirectionChanged)
        FindIndex = -1;
}

void FindReplaceState::Finish(FindAction action)
{
    if (action == FindAction::FindNext) {
        ++FindIndex;
        if (FindIndex < 0 || static_cast<std::size_t>(FindIndex) >= Matches.size())
            FindIndex = 0;
    } else if (action == FindAction::FindAll) {
        FindIndex = -1;
    }
    LastAction = action;
    Cancelled = false;
}

void FindReplaceState::RunSearch(const MapList& current, const SymbolTables& symbols)
{
    StartAction();
    const auto value = LookupSymbol(symbols, Fields.Plane, Fields.FindWhat);
    if (!value)
        return;
    Matches = FindInMap(current, Fields.Plane, *value, Fields.Direction);
    DirectionChanged = false;
}

void FindReplaceState::Search(FindAction action, const MapList& current, const SymbolTables& symbols)
{
    RunSearch(current, symbols);
    Finish(action);
}

std::optional<std::vector<PlaneReplacement>> FindReplaceState::PlanReplace(FindAction action, const MapHandler& maps,
                                                                           const SymbolTables& symbols)
{
    StartAction();
    const auto find = LookupSymbol(symbols, Fields.Plane, Fields.FindWhat);
    std::optional<std::vector<PlaneReplacement>> changes;
    if (find) {
        changes.emplace();
        DirectionChanged = false;
        // A replacement that names no symbol replaces nothing, and says so.
        const auto with = LookupSymbol(symbols, Fields.Plane, Fields.ReplaceWith);
        const bool allMaps = Fields.Scope == ReplaceScope::AllMaps;
        const int first = allMaps ? 0 : std::max(maps.CurrentMap, 0);
        const int last = allMaps ? maps.NumMaps() : std::min(maps.CurrentMap + 1, maps.NumMaps());
        for (int i = first; with && i < last; ++i) {
            const MapList& map = maps.Maps[static_cast<std::size_t>(i)];
            const auto* words = PlaneWords(map, Fields.Plane);
            if (!words)
                continue;
            PlaneReplacement change{i, Fields.Plane, *words, 0};
            change.Count = ReplaceInPlane(change.Words, map.Width, map.Height, *find, *with, Fields.Direction,
                                          action == FindAction::ReplaceAll);
            if (change.Count > 0) {
                ReplacementCount += change.Count;
                changes->push_back(std::move(change));
            }
        }
    }
    Finish(action);
    return changes;
}

void FindReplaceState::Cancel()
{
    Cancelled = true;
}

bool FindReplaceState::FindAgain(const MapList& current, const SymbolTables& symbols)
{
    if (Matches.empty())
        return false;
    RunSearch(current, symbols);
    Finish(FindAction::FindNext);
    return true;
}

std::vector<FoundMapCorr> FindReplaceState::Marked() const
{
    if (LastAction == FindAction::FindAll)
        return Matches;
    if (LastAction == FindAction::FindNext && FindIndex >= 0 && static_cast<std::size_t>(FindIndex) < Matches.size())
        return {Matches[static_cast<std::size_t>(FindIndex)]};
    return {};
}

std::optional<Failure> FindReplaceState::NotFoundMessage() const
{
    if (!Matches.empty() || Cancelled || LastAction == FindAction::Replace || LastAction == FindAction::ReplaceAll)
        return std::nullopt;
    return Information("The searched value couldn't be found!");
}

std::optional<std::string> FindReplaceState::MarkedNote() const
{
    if (LastAction != FindAction::FindAll || Matches.empty())
        return std::nullopt;
    const std::size_t n = Matches.size();
    return "Find All marked " + std::to_string(n) + (n == 1 ? " tile" : " tiles");
}

Failure FindReplaceState::ReplacedMessage() const
{
    return Information(std::to_string(ReplacementCount) + " occurrences were replaced");
}

} // namespace tsl
