#pragma once
// What the symbols editor and the symbol type editor do to the tables,
// without a window: a working copy of every plane's symbols with their
// pictures, the types, the moves, and the checks that keep the text files
// readable (no empty names, no commas or line breaks, ids a map word can
// hold, no id twice). Writing back replaces every plane's file, or none.

#include "core/Failure.h"
#include "core/Image.h"
#include "symbols/MapSymbols.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

class SymbolTables;

inline constexpr const char* kSymbolErrorCaption = "Map symbol error";
inline constexpr const char* kSymbolTypeErrorCaption = "Map symbol type error";
inline constexpr const char* kIdExistsText = "The choosen ID already exists, please choose a different one!";

// The buttons beside the editors' lists.
enum class MoveStep { Top, Up, Down, Bottom };

// Moves entry `index` of `list` as the move buttons do; returns where it
// stands afterwards (unchanged at the ends, or for an index outside the list).
template <typename T>
int MoveEntry(std::vector<T>& list, int index, MoveStep step)
{
    const int count = static_cast<int>(list.size());
    if (index < 0 || index >= count)
        return index;
    const int target = step == MoveStep::Top    ? 0
                       : step == MoveStep::Up   ? (index > 0 ? index - 1 : 0)
                       : step == MoveStep::Down ? (index < count - 1 ? index + 1 : index)
                                                : count - 1;
    // Swapping step by step keeps the order of the others, as repeating
    // "up" or "down" does.
    for (int i = index; i > target; --i)
        std::swap(list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(i - 1)]);
    for (int i = index; i < target; ++i)
        std::swap(list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(i + 1)]);
    return target;
}

// A name or id goes into a comma-separated line of its own: a comma or a
// line break would split it. `what` is "map symbol name", "map symbol type
// ID", ...; the message reads "A <what> can't contain a comma!".
std::optional<Failure> CheckFieldText(std::string_view text, std::string_view what, const char* caption);

// The id typed into the add dialog: digits only, 0 ... 65535.
Outcome<int> ParseSymbolId(std::string_view text);

bool IsBuiltInTypeId(std::string_view id);

// One symbol of the working copy with its own 8 x 8 picture.
struct WorkingSymbol {
    MapSymbols Symbol;
    Image Picture;
};

class SymbolWorkingCopy {
public:
    // Every plane's symbols with the pictures their files hold, and the types.
    explicit SymbolWorkingCopy(const SymbolTables& tables);

    int NumPlanes() const { return static_cast<int>(planes_.size()); }
    const std::vector<WorkingSymbol>& Symbols(int plane) const { return planes_[Index(plane)]; }
    std::vector<MapSymbolTypes>& Types() { return types_; }
    const std::vector<MapSymbolTypes>& Types() const { return types_; }

    int Move(int plane, int index, MoveStep step) { return MoveEntry(planes_[Index(plane)], index, step); }
    // Appends "New Tile" (type "ot", no direction, black) with value `id`;
    // returns its index, or the message when the plane already has the id.
    Outcome<int> Add(int plane, int id);
    // Removes a symbol; returns the index to select then. A plane keeps at
    // least one symbol.
    Outcome<int> Delete(int plane, int index);
    std::optional<Failure> Rename(int plane, int index, std::string_view name);
    void SetType(int plane, int index, std::string typeId) { At(plane, index).Symbol.SymbolType = std::move(typeId); }
    void SetDirection(int plane, int index, std::string code) { At(plane, index).Symbol.Direction = std::move(code); }
    void SetPicture(int plane, int index, Image picture) { At(plane, index).Picture = std::move(picture); }

    // The lines of a plane's symbol file.
    std::vector<std::string> PlaneLines(int plane) const;
    // Replaces every plane's symbol file (at the tables' paths) at once: when
    // one cannot be written, all stay as they were.
    std::optional<Failure> Save(const SymbolTables& tables) const;

private:
    static std::size_t Index(int i) { return static_cast<std::size_t>(i); }
    WorkingSymbol& At(int plane, int index) { return planes_[Index(plane)][Index(index)]; }

    std::vector<std::vector<WorkingSymbol>> planes_;
    std::vector<MapSymbolTypes> types_;
};

// The symbol type editor's changes to a list of types.
std::optional<Failure> RenameSymbolType(std::vector<MapSymbolTypes>& types, int index, std::string_view name);
// A built-in type keeps its id; so does a type when the id is empty or
// another type's.
std::optional<Failure> ChangeSymbolTypeId(std::vector<MapSymbolTypes>& types, int index, std::string_view id);
// The add dialog's own check: both given, neither with a comma or line break.
std::optional<Failure> CheckNewSymbolType(std::string_view name, std::string_view id);
// Appends a shown type; returns its index. Refuses an id in the list or built in.
Outcome<int> AddSymbolType(std::vector<MapSymbolTypes>& types, std::string name, std::string id);
// Removes a type that is not built in; returns the index to select then.
Outcome<int> DeleteSymbolType(std::vector<MapSymbolTypes>& types, int index);

} // namespace tsl
