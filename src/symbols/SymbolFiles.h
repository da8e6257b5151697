#pragma once
// The text files of the symbol tables: one symbol file per plane
// ("value,name,pattern,type,direction") and "mapsymboltypes.txt"
// ("id,name,shown"). Lines end in CR LF when written; a malformed line stops
// the reading with a message that names the file and the line.

#include "core/Failure.h"
#include "core/Image.h"
#include "symbols/MapSymbols.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

inline constexpr const char* kSymbolsErrorCaption = "Error loading map symbols";
inline constexpr const char* kSymbolsSaveErrorCaption = "Error saving map symbols";
inline constexpr int kPatternDigitCount = 64;

// The fields of a line: the texts between commas. Empty fields are dropped,
// so ",," separates like "," and a comma at either end adds nothing.
std::vector<std::string> SplitFields(std::string_view line);

// A symbol as read, with its pattern still as text.
struct SymbolRecord {
    MapSymbols Symbol;   // SheetIndex = the line's index
    std::string Pattern; // at least 64 characters
};

// `fileName` names the file in the messages.
Outcome<std::vector<SymbolRecord>> ParseSymbolLines(const std::vector<std::string>& lines,
                                                   std::string_view fileName);
Outcome<std::vector<MapSymbolTypes>> ParseSymbolTypeLines(const std::vector<std::string>& lines,
                                                         std::string_view fileName);

// The 64 digits drawn as an 8 x 8 pattern at (x, y), digit k at (x + k mod 8, y + k div 8).
void DrawPattern(Image& target, int x, int y, std::string_view digits);
// The 64 digits of the 8 x 8 pattern at (x, y) of `picture`.
std::string PatternDigits(const Image& picture, int x = 0, int y = 0);

// One line of a symbol file, with `picture` as its pattern (black when empty).
std::string SymbolLine(const MapSymbols& symbol, const Image& picture);
std::string SymbolTypeLine(const MapSymbolTypes& type);

// The nineteen symbol types every structure has, in order.
struct BuiltInSymbolType {
    std::string_view id;
    std::string_view line;
};
extern const std::array<BuiltInSymbolType, 19> kBuiltInSymbolTypes;

// Appends the line of every built-in type whose id begins no line (compared
// exactly), in the built-in order, and then writes all lines to `path`.
// Existing lines are never changed or moved; nothing is written when no
// type was missing, or when `writeBack` is false.
std::optional<Failure> EnsureDefaultSymbolTypes(std::vector<std::string>& lines, const std::filesystem::path& path,
                                                bool writeBack = true);

// The lines of a symbol or types file, or the message that it cannot be read.
Outcome<std::vector<std::string>> ReadSymbolTextFile(const std::filesystem::path& path);

// Replace the whole file. `pictures` is indexed by value.
std::optional<Failure> WritePlaneSymbolFile(const std::filesystem::path& path, const std::vector<MapSymbols>& symbols,
                                            const std::vector<Image>& pictures);
std::optional<Failure> WriteSymbolTypesFile(const std::filesystem::path& path,
                                            const std::vector<MapSymbolTypes>& types);

} // namespace tsl
