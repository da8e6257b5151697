#pragma once
// The symbol tables of the open project, one set per plane: the symbols in
// file order, the pattern sheet that holds every symbol's 8 x 8 pattern (and
// its mask, which makes black transparent on the planes above plane 0), and
// one picture per value. Plus the structure's symbol types.
//
// The main window owns one object. Opening a project calls LoadMapSymbols
// after the maps are read and then resets its own lists, panel rows, tools
// and undo histories; the symbols editor and the plane manager call
// FreeMapSymbols and LoadMapSymbols again to rebuild.

#include "core/Failure.h"
#include "core/Image.h"
#include "core/IniFile.h"
#include "symbols/MapSymbols.h"
#include "symbols/SymbolFiles.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

inline constexpr int kSheetWidth = 448;             // 56 patterns per row
inline constexpr int kSheetPatternsPerRow = kSheetWidth / kBlockSize;
inline constexpr int kSheetInitialHeight = 112;     // 14 rows, 784 patterns

// Where pattern `index` sits in a sheet.
inline int SheetX(int index)
{
    return (index % kSheetPatternsPerRow) * kBlockSize;
}
inline int SheetY(int index)
{
    return (index / kSheetPatternsPerRow) * kBlockSize;
}

class SymbolTables {
public:
    // Builds every table from the structure in `structureFolder`, whose
    // settings are `settings`, for `numPlanes` planes. A symbol file without
    // a line receives the default symbol and is written back; missing
    // built-in types are appended to "mapsymboltypes.txt". On failure (a file
    // that cannot be read, a malformed line) the tables stay as they were and
    // the message names the file and the line. With `writeBack` false the
    // defaults are added in memory only: a reader of a game changes no file.
    std::optional<Failure> LoadMapSymbols(const std::filesystem::path& structureFolder, const IniFile& settings,
                                          int numPlanes, bool writeBack = true);
    // Back to no tables.
    void FreeMapSymbols();

    // The same tables from texts in memory, one list of lines per plane, and
    // the types' lines as they stand (no file is read or written).
    static Outcome<SymbolTables> FromLines(const std::vector<std::vector<std::string>>& planeLines,
                                           const std::vector<std::string>& typeLines);

    bool Loaded() const { return loaded_; }
    int NumPlanes() const { return static_cast<int>(planes_.size()); }

    // PlaneSymbols[plane], PatternSheet[plane], PatternMask[plane],
    // SymbolPictures[plane]; `plane` must be below NumPlanes().
    const std::vector<MapSymbols>& PlaneSymbols(int plane) const { return Plane(plane).symbols; }
    const Image& PatternSheet(int plane) const { return Plane(plane).sheet; }
    const Image& PatternMask(int plane) const { return Plane(plane).mask; }
    const std::vector<Image>& SymbolPictures(int plane) const { return Plane(plane).pictures; }
    // The picture of `value`: empty when no symbol has it (or no such plane).
    const Image& SymbolPicture(int plane, int value) const;

    // The index in PlaneSymbols of the first symbol with `value`.
    std::optional<int> FindSymbol(int plane, int value) const;
    // For every value up to the plane's largest: the index of its first
    // symbol (which is also its sheet index), or -1.
    const std::vector<std::int32_t>& FirstSymbolByValue(int plane) const { return Plane(plane).firstSymbol; }

    // The types in file order; the view options change their Shown flags here.
    std::vector<MapSymbolTypes>& SymbolTypes() { return types_; }
    const std::vector<MapSymbolTypes>& SymbolTypes() const { return types_; }
    // False when some type with this id has Shown = 0.
    bool TypeShown(std::string_view typeId) const;

    // "value - name" of a symbol list entry, as text to show (UTF-8).
    static std::string EntryText(const MapSymbols& symbol);
    // Whether the symbol list's filter (UTF-8, as typed) keeps the symbol:
    // its name holds the text, letter case aside, or its value begins with
    // it (decimal digits, or hexadecimal after "0x"). An empty filter keeps
    // every symbol.
    static bool MatchesFilter(const MapSymbols& symbol, std::string_view filter);
    // The entry text of the first symbol with `value`, or "value - Unknown".
    std::string ValueText(int plane, int value) const;

    // The files the tables were read from.
    const std::filesystem::path& SymbolFilePath(int plane) const { return Plane(plane).file; }
    const std::filesystem::path& SymbolTypesPath() const { return typesFile_; }

    // Replace plane's symbol file, or "mapsymboltypes.txt", with the given
    // symbols (pictures by value), or with the current types.
    std::optional<Failure> SavePlaneSymbols(int plane, const std::vector<MapSymbols>& symbols,
                                            const std::vector<Image>& pictures) const;
    std::optional<Failure> SaveSymbolTypes() const;

private:
    struct PlaneTable {
        std::vector<MapSymbols> symbols;
        Image sheet;
        Image mask;
        std::vector<Image> pictures;
        std::vector<std::int32_t> firstSymbol;
        std::filesystem::path file;
    };

    static PlaneTable BuildPlane(std::vector<SymbolRecord> records);
    const PlaneTable& Plane(int plane) const { return planes_[static_cast<std::size_t>(plane)]; }

    std::vector<PlaneTable> planes_;
    std::vector<MapSymbolTypes> types_;
    std::filesystem::path typesFile_;
    bool loaded_ = false;
};

} // namespace tsl
