#pragma once
// What a map word looks like and means: the symbols of a plane, the symbol
// types they belong to, and the 16 colours their 8 x 8 patterns are drawn in.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tsl {

// One symbol of a plane's symbol file.
struct MapSymbols {
    std::int32_t Value = 0;      // the tile value it stands for, 0 ... 65535
    std::int32_t SheetIndex = 0; // its pattern's place in the plane's sheet = its line in the file, from 0
    std::string SymbolName;
    std::string SymbolType;      // a TypeID; one that names no type is valid
    std::string Direction;       // "0", "e", "ne", ...; other texts are kept as they are

    friend bool operator==(const MapSymbols&, const MapSymbols&) = default;
};

// One symbol type of "mapsymboltypes.txt".
struct MapSymbolTypes {
    std::uint8_t Shown = 1; // 1: its symbols are drawn in the map view
    std::string TypeID;
    std::string TypeName;

    friend bool operator==(const MapSymbolTypes&, const MapSymbolTypes&) = default;
};

// The colours that the pattern digits "0" ... "9", "A" ... "F" stand for (0xRRGGBB).
inline constexpr std::array<std::uint32_t, 16> PatternPalette = {
    0x000000, // 0 black
    0x800000, // 1 maroon
    0x008000, // 2 green
    0x808000, // 3 olive
    0x000080, // 4 navy
    0x800080, // 5 purple
    0x008080, // 6 teal
    0xC0C0C0, // 7 silver
    0x808080, // 8 grey
    0xFF0000, // 9 red
    0x00FF00, // A lime
    0xFFFF00, // B yellow
    0x0000FF, // C blue
    0xFF00FF, // D fuchsia
    0x00FFFF, // E aqua
    0xFFFFFF, // F white
};

inline constexpr std::string_view kPatternDigits = "0123456789ABCDEF";

// The pixel (0xFFRRGGBB) of a pattern digit; white for anything but "0" ...
// "9" and upper-case "A" ... "F".
std::uint32_t PatternDigitPixel(char digit);
// The digit of a pixel's colour; "F" for a colour outside the palette.
char PatternPixelDigit(std::uint32_t pixel);

// The direction codes in the order of the symbols editor's choices; a code
// not in the list reads as 0 (none).
inline constexpr std::array<std::string_view, 9> kDirectionCodes = {"0", "e", "ne", "n", "nw", "w", "sw", "s", "se"};
int DirectionIndex(std::string_view code);

} // namespace tsl
