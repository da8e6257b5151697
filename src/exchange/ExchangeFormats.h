#pragma once
// Single-map files of other map editors and of our own: the TSL map file
// (".tsl"), the WDC and ChaosEdit map files (".map"), the FloEdit level file
// (".lvl") and the MapEdit floor file (".flr").
//
// Reading works on the file's bytes in two steps, header then maps, because
// the editor asks the user where the maps go in between. The header step
// already walks every record of the file, so a damaged file is refused before
// anything is asked or imported. Every read is bounded by the bytes that are
// really there, whatever the file says.

#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/MapHandler.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

enum class ExchangeFormat { Unknown, TSL, WDC, ChaosEdit, FloEdit, MapEdit };

// What reading a header yields.
struct ExchangeHeader {
    ExchangeFormat Format = ExchangeFormat::Unknown;
    std::uint32_t NumMaps = 0;
    std::uint32_t NumPlanes = 0;  // the file's plane count (2 for FloEdit and MapEdit)
    std::uint32_t NameLength = 0; // TSL and WDC; ChaosEdit gives it per map, the 64 x 64 formats have none
};

// One map as read, in the set's terms: NameLength bytes of name and exactly
// NumPlanes row-major planes of Width x Height words.
struct ExchangeMap {
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    std::vector<std::uint8_t> Name;
    std::vector<std::vector<std::uint16_t>> Planes;
};

inline constexpr const char* kImportCaption = "Error importing map";
inline constexpr const char* kExportCaption = "Error exporting map";
inline constexpr const char* kUnknownFormatText = "Unknown map file format!";
inline constexpr const char* kDamagedFileText = "The map file is damaged or incomplete!";

// Size of a MapEdit floor file, and of one record of a FloEdit level file.
inline constexpr std::size_t kFloorFileSize = 16384;
// The 64 x 64 formats hold this many words per plane.
inline constexpr int kFixedSide = 64;

// "TSL map file", "FloEdit level file", ...; "unknown map file" for Unknown.
std::string ExchangeFormatName(ExchangeFormat format);

// "Unknown map file format!" with the given caption and an error icon.
Failure UnknownFormatFailure(const char* caption);

// Recognises the format from the file's size and first bytes. `file` stands
// at the start of the file; afterwards it stands after the magic (where it was
// for MapEdit, which has none). The extension plays no part.
ExchangeFormat DetectExchangeFormat(ByteReader& file);

// Reads the rest of the header and checks every record of the file against
// its length, so that ReadExchangeMap cannot meet the end of the file.
Outcome<ExchangeHeader> ReadExchangeHeader(ByteReader& file, ExchangeFormat format);

// Reads the next map record into `numPlanes` planes (the set's count: file
// planes beyond it are dropped, missing ones are 0) and a name buffer of
// `nameLength` bytes holding at most nameLength - 1 characters.
Outcome<ExchangeMap> ReadExchangeMap(ByteReader& file, const ExchangeHeader& header, int numPlanes, int nameLength);

// All three steps at once: every map of the file, or why there are none.
struct ExchangeContents {
    ExchangeHeader Header;
    std::vector<ExchangeMap> Maps;
};
Outcome<ExchangeContents> ReadExchangeFile(std::span<const std::uint8_t> file, int numPlanes, int nameLength);

// The writer for a file name, by the text after the last dot of its name,
// compared exactly as typed: "tsl", "flr", "lvl", and "map" (ChaosEdit when
// `chaosEdit`, otherwise WDC). Anything else is Unknown.
ExchangeFormat ExportFormatFor(const std::filesystem::path& fileName, bool chaosEdit);

// The bytes of an exchange file holding the maps at positions `maps` of the
// set, in that order. MapEdit and ChaosEdit take exactly one map (the current
// one, in the editor); ChaosEdit's map-number field holds its position. The
// 64 x 64 formats take cell (x, y) from word (x, y) of a map and 0 outside it,
// so that a map of another size arrives whole or cut, never wrapped.
Outcome<Bytes> BuildExchangeFile(ExchangeFormat format, std::span<const int> maps, const MapHandler& set);

// Builds the file and puts it in place through a temporary file, so that a
// failed export leaves no half-written file (and an existing one as it was).
std::optional<Failure> WriteExchangeFile(const std::filesystem::path& path, ExchangeFormat format,
                                         std::span<const int> maps, const MapHandler& set);

} // namespace tsl
