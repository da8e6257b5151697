#pragma once
// Find and replace: tiles of one plane holding a given symbol, searched in
// the current map and replaced there or in every map. Values are always
// named as symbols of the chosen plane (by name or by value in decimal) and
// compared as whole map words.
//
// FindReplaceState is what the editing state keeps between two openings of
// the dialog: its fields, the match list and the step through it. Replacing
// hands back the new planes; the caller writes each changed map back as one
// undoable step of that map's own history.

#include "core/Failure.h"
#include "core/MapHandler.h"
#include "symbols/SymbolTables.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

// One match; always in the current map.
struct FoundMapCorr {
    std::int32_t Column = 0;
    std::int32_t Row = 0;
    std::int32_t Plane = 0;
    friend bool operator==(const FoundMapCorr&, const FoundMapCorr&) = default;
};

enum class FindDirection { Forward, Backward };
enum class ReplaceScope { CurrentMap, AllMaps };
enum class FindAction { None = 0, FindNext = 1, FindAll = 2, Replace = 3, ReplaceAll = 4 };

// The value of the first symbol of `plane` whose name is `text` (as typed,
// UTF-8) exactly or whose value in decimal is `text`; nothing when none is (or the plane does
// not exist, or the symbol's value is no map word).
std::optional<std::uint16_t> LookupSymbol(const SymbolTables& symbols, int plane, std::string_view text);

// Every tile of `plane` holding `value`: Forward scans rows from the top,
// each from the left; Backward rows from the bottom, each from the right.
std::vector<FoundMapCorr> FindInMap(const MapList& map, int plane, std::uint16_t value, FindDirection direction);

// Replaces, in the direction's order, the first (all = false) or every
// occurrence of `find` by `with` in `words` of width x height; the count.
int ReplaceInPlane(std::vector<std::uint16_t>& words, int width, int height, std::uint16_t find,
                   std::uint16_t with, FindDirection direction, bool all);

// A plane of one map after a replacement, to be written back.
struct PlaneReplacement {
    int MapIndex = 0;
    int Plane = 0;
    std::vector<std::uint16_t> Words;
    int Count = 0;
};

struct FindFields {
    int Plane = 0;
    std::string FindWhat;
    std::string ReplaceWith;
    ReplaceScope Scope = ReplaceScope::CurrentMap;
    FindDirection Direction = FindDirection::Forward;
};

// What the "Find & Replace" dialog hands back: its fields and the action
// chosen, None when it was left without one.
struct FindRequest {
    FindFields Fields;
    FindAction Action = FindAction::None;
};

// The message that keeps the dialog open, if `fields` do not allow `action`.
std::optional<Failure> ValidateFind(const FindFields& fields, FindAction action);

class FindReplaceState {
public:
    FindFields Fields;
    std::vector<FoundMapCorr> Matches;
    std::int32_t FindIndex = -1;
    FindAction LastAction = FindAction::None;
    bool Cancelled = false;
    bool DirectionChanged = false;
    std::int32_t ReplacementCount = 0;

    // Forgets the matches (a press in the view, switching or adding maps).
    void Discard();
    // A new direction makes the next action start from the first match.
    void SetDirection(FindDirection direction);
    // The dialog's fields, direction included, for the next action.
    void TakeFields(const FindFields& fields);
    std::optional<Failure> Validate(FindAction action) const { return ValidateFind(Fields, action); }

    // Find Next or Find All on the current map, then steps the find index.
    void Search(FindAction action, const MapList& current, const SymbolTables& symbols);
    // Replace or Replace All over the scope: the planes to write back, in
    // set order; ReplacementCount holds their total. Nothing (and no message
    // is due) when "Find what:" names no symbol.
    std::optional<std::vector<PlaneReplacement>> PlanReplace(FindAction action, const MapHandler& maps,
                                              const SymbolTables& symbols);
    // Left without an action.
    void Cancel();
    // F3: the search again with the current fields and the next match; false
    // when there were no matches to step through (nothing changed then).
    bool FindAgain(const MapList& current, const SymbolTables& symbols);

    // The matches the view marks: the one shown by Find Next, or all after Find All.
    std::vector<FoundMapCorr> Marked() const;
    // "The searched value couldn't be found!" when a search found nothing.
    std::optional<Failure> NotFoundMessage() const;
    // After a Find All that found tiles: how many it marked, for the status bar.
    std::optional<std::string> MarkedNote() const;
    // The count followed by " occurrences were replaced".
    Failure ReplacedMessage() const;

private:
    void StartAction();
    void Finish(FindAction action);
    void RunSearch(const MapList& current, const SymbolTables& symbols);
};

} // namespace tsl
