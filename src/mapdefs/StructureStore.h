#pragma once
// Map definition structures: one folder per game inside the MapDefs folder,
// holding the game's settings file (<Extension>.ini), one symbol file per
// plane and "mapsymboltypes.txt". The editor knows nothing about a game
// beyond what its structure says.
//
// Every function takes the MapDefs folder explicitly; the editor passes
// DefaultMapDefsRoot(). Folder and file names are found without regard to
// letter case and new ones are created with the documented spelling.

#include "core/Failure.h"
#include "core/IniFile.h"
#include "core/MapHandler.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

namespace fs = std::filesystem;

// The settings of a structure (section General, and Planes/NumPlanes).
struct StructureSettings {
    bool ExtendedMapNames = false;
    bool WDCCompatibleMaps = false;
    int Compression = 0;    // 0: RLEW only, 1: Carmack over RLEW
    int RLEWTag = 0xABCD;
    int NearTag = 0xA7;
    int FarTag = 0xA8;
    bool MapGrid = false;
    int ZoomFactor = 0;     // zoom track-bar position, 0 ... 4
    int NumPlanes = 0;
};

inline constexpr const char* kSymbolTypesFileName = "mapsymboltypes.txt";
inline constexpr const char* kDefaultSymbolRecord =
    "0,Nothing,0000000000000000000000000000000000000000000000000000000000000000,ot,0";
inline constexpr const char* kStructureErrorCaption = "Error create map definition structure";

// "MapDefs" among what ships with the program: beside the executable, or in
// the installed data folder (its spelling as found).
fs::path DefaultMapDefsRoot();

// The extension, with "_Floppy" when the header is in "C7.EXE" (compared exactly).
std::string StructureName(std::string_view extension, std::string_view headerExecutable);
// The settings file name of a structure folder name: "CO7_Floppy" -> "CO7.ini".
std::string SettingsFileNameOf(std::string_view structureName);

fs::path StructureFolder(const fs::path& root, std::string_view extension, std::string_view headerExecutable);
fs::path StructureSettingsPath(const fs::path& root, std::string_view extension,
                               std::string_view headerExecutable);
bool StructureExists(const fs::path& root, std::string_view extension, std::string_view headerExecutable);

// The folder and settings file of a structure by its folder name, as the
// creation dialog lists them.
fs::path StructureFolderByName(const fs::path& root, std::string_view structureName);
fs::path StructureSettingsPathByName(const fs::path& root, std::string_view structureName);

// The structures in `root`: the names of its folders, in name order
// regardless of letter case. Files lying beside them are no structures.
std::vector<std::string> ListStructures(const fs::path& root);

// Every key of the settings table, each with its default when missing.
StructureSettings ReadStructureSettings(const IniFile& settings);

// Writes the General keys of an open project, in the documented order.
bool SaveStructureSettings(IniFile& settings, const MapHandler& maps, bool mapGrid, int zoomPosition);
// Writes the view's settings kept with a structure (MapGrid and ZoomFactor)
// at once, as the user changes them.
bool SaveStructureView(IniFile& settings, bool mapGrid, int zoomPosition);

// The value each mouse button draws in each plane, kept with the structure
// so that the next session starts with the symbols of the last one.
struct ButtonValues {
    std::vector<std::uint16_t> Left;  // one per plane
    std::vector<std::uint16_t> Right;
};
// `planes` pairs; a missing key or a value that no word can hold reads 0.
ButtonValues ReadButtonValues(const IniFile& settings, int planes);
// Writes every plane's pair at once.
bool SaveButtonValues(IniFile& settings, const ButtonValues& values);

// What "Map Configurations" changes in an open project: the map set's tags,
// compression and name and header options.
struct MapConfiguration {
    int RLEWTag = 0xABCD;
    int NearTag = 0xA7;
    int FarTag = 0xA8;
    int Compression = 1; // the layout the data file dictates; shown, not chosen
    bool ExtendedMapNames = false;
    bool WDCCompatibleMaps = false;
};
inline constexpr const char* kConfigurationsErrorCaption = "Error create map configurations";

// The tags and compression of the map set; the two options of the structure's settings.
MapConfiguration CurrentMapConfiguration(const MapHandler& maps, const IniFile& settings);
// Writes Compression, ExtendedMapNames and WDCCompatibleMaps to the settings
// file at once and then sets the map set (NameLength 32 or 16 with the
// names). When the file cannot be written nothing changes, so what is saved
// never disagrees with what is configured. The tags reach the file with the
// next save of the structure settings.
std::optional<Failure> ApplyMapConfiguration(const MapConfiguration& chosen, MapHandler& maps, IniFile& settings);

// Makes a new structure for the game as a copy of the structure `source`
// with `planeCount` planes. An existing destination folder is kept; files of
// the same names in it are overwritten by the copy.
std::optional<Failure> CreateFromExisting(const fs::path& root, std::string_view source,
                                          std::string_view extension, std::string_view headerExecutable,
                                          const StructureSettings& chosen, int planeCount);

// Makes a new structure for the game with `planeCount` planes, each with the
// default symbol, and the type "ot".
std::optional<Failure> CreateFromScratch(const fs::path& root, std::string_view extension,
                                         std::string_view headerExecutable, const StructureSettings& chosen,
                                         int planeCount);

// Planes [from, to) added to the structure in `folder`: each gets the symbol
// file "plane<i + 1>.txt" holding the default symbol (replacing a file of
// that name) and its keys in Planes, PlaneNames, ShowPlanes and SplitPlanes.
// Creation and the plane manager share it.
std::optional<Failure> AddPlaneEntries(IniFile& settings, const fs::path& folder, int from, int to);
// Planes [from, to) removed: their symbol files are deleted, unless a plane
// below `from` still reads the same file, and so are their four keys.
void RemovePlaneEntries(IniFile& settings, const fs::path& folder, int from, int to);
// The symbol files that removing planes [from, to) deletes, as they are on disk.
std::vector<fs::path> RemovedPlaneFiles(const IniFile& settings, const fs::path& folder, int from, int to);

// A file of a structure named by the settings (a symbol file), found in
// `folder` without regard to letter case; "\" separates folders. Nothing
// when the name is empty or leads out of the folder.
std::optional<fs::path> ResolveStructureFile(const fs::path& folder, std::string_view name);

// The symbol file name of plane p (section Planes, default "extra.txt") and
// its name as stored (section PlaneNames, Windows-1252 bytes, default
// "Unknown Plane").
std::string PlaneSymbolFileName(const IniFile& settings, int plane);
std::string PlaneName(const IniFile& settings, int plane);

// The text a hexadecimal edit holds once the user leaves it: every character
// mapped onto a hexadecimal digit ("g" -> "F", "_" -> "A", "!" -> "0"), upper case.
std::string HexEditText(std::string_view text);
// The number a hexadecimal text stands for ("0x" followed by the text);
// nothing when it is empty or not hexadecimal.
std::optional<int> HexTextValue(std::string_view text);
// `value` as `digits` upper-case hexadecimal digits ("ABCD", "A7").
std::string HexText(int value, int digits);

} // namespace tsl
