#pragma once
// The map set of one open project: where the game's files are, how they are
// encoded, and every map with its planes of 16-bit map words.
//
// Map words are read and written directly: Maps[i].Planes[p][y * Width + x].
// Loading (LoadHeader, LoadMaps) fills the set from the game's files; Save
// writes it back, keeping the previous files as backups.

#include "core/BackupGenerations.h"
#include "core/Bytes.h"
#include "core/Failure.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

// Which data file the maps come from: MAPTEMP (RLEW only, version 1.0) or
// GAMEMAPS (Carmack over RLEW, version 1.1).
enum class DataFileVersion { MapTemp, GameMaps };

inline constexpr int kMaxMapSize = 256;          // widest and highest map
inline constexpr int kPaddedHeaderEntries = 100; // offsets in a plain header file
// Why a save into the table of executable `name`, with room for `room`
// entries only, cannot work.
std::string ShortExecutableTableText(const std::string& name, std::size_t room);
inline constexpr std::uint32_t kNotStored = 0xFFFFFFFFu;
inline constexpr std::array<std::uint8_t, 4> kMapSignature = {'!', 'I', 'D', '!'};
inline constexpr std::string_view kDataSignature = "TED5v1.0"; // the data file's first bytes

// One map header as stored in the data file.
struct MapType {
    std::vector<std::uint32_t> PlaneStart;
    std::vector<std::uint16_t> PlaneLength;
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    std::vector<std::uint8_t> Name; // zero-terminated, zero-filled
    std::array<std::uint8_t, 4> Signature{};
};

// One map as edited.
struct MapList {
    std::int32_t Index = 0;
    std::vector<std::uint32_t> PlaneStart;
    std::vector<std::uint16_t> PlaneLength;
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    std::vector<std::uint8_t> Name; // zero-terminated, zero-filled
    std::array<std::uint8_t, 4> Signature{};
    std::vector<std::vector<std::uint16_t>> Planes; // row-major, Width x Height words each

    std::size_t WordCount() const { return static_cast<std::size_t>(Width) * Height; }
    std::uint16_t Word(std::size_t plane, int x, int y) const
    {
        return Planes[plane][static_cast<std::size_t>(y) * Width + static_cast<std::size_t>(x)];
    }
    void SetWord(std::size_t plane, int x, int y, std::uint16_t value)
    {
        Planes[plane][static_cast<std::size_t>(y) * Width + static_cast<std::size_t>(x)] = value;
    }
};

// Map names are Windows-1252 bytes (core/Windows1252.h). A name read from a
// file keeps every byte it had, also when it fills its whole field without a
// terminating zero; only a name typed in the editor is cut to leave room for
// the zero.

// The bytes of a name buffer, up to its terminating zero or its end.
std::string MapNameText(std::span<const std::uint8_t> name);
// The name as text to show (UTF-8).
std::string MapNameUtf8(std::span<const std::uint8_t> name);
// A typed name: a zero-filled buffer of `length` bytes holding at most
// length - 1 bytes of `text`.
std::vector<std::uint8_t> MakeNameBuffer(std::string_view text, std::size_t length);
// A stored name in a field of `length` bytes: its bytes up to its zero, as
// many as the whole field holds, the rest zero.
std::vector<std::uint8_t> StoredNameBuffer(std::span<const std::uint8_t> name, std::size_t length);
// The name buffer after the user confirmed `typed` (bytes) for the name
// `current`: unchanged when the text is the name as it stands, otherwise the
// typed name.
std::vector<std::uint8_t> RenamedBuffer(std::span<const std::uint8_t> current, std::string_view typed,
                                        std::size_t length);

// Where a game's map files are, as LocateGameFiles finds them.
struct GameFiles {
    std::string Extension;        // as listed, without the dot ("CO7" for Corridor 7)
    bool HeaderInExecutable = false;
    std::string HeaderExecutable; // "C7.EXE" or "CORR7CD.EXE" (as spelled on disk)
    DataFileVersion FileVersion = DataFileVersion::GameMaps;
    std::uintmax_t HeaderSize = 0; // of the header file or executable, for the WDC test
};

Outcome<GameFiles> LocateGameFiles(const std::filesystem::path& dir);

// The open flow's test of the header file's size against the WDC setting: a
// plain header written for fewer than 100 maps is exactly 402 bytes long.
enum class WdcMismatch { None, LooksWdc, LooksPlain };
WdcMismatch CheckWdcSetting(const GameFiles& files, bool wdc);
inline constexpr const char* kLooksWdcText = "Couldn't read MAPHEAD file!\n\n(Maybe compiled with WDC)?";
inline constexpr const char* kLooksPlainText =
    "Your map definition is configured for WDC compatible maps, but your maps aren't in WDC compatible format.";

// What a load says beyond success: a fatal failure (nothing usable was loaded)
// or the planes that were damaged and loaded only as far as they are sound.
struct LoadReport {
    std::optional<Failure> failure;
    std::vector<std::string> damaged;     // "Map 3 (Name): plane 1" lines
    std::vector<std::string> headerNotes; // the header lists maps that were not loaded
    // Loaded, but something to tell the user once: a Corridor 7 executable
    // whose table is too short for a save.
    std::optional<Failure> warning;

    bool ok() const { return !failure; }
    bool Damaged() const { return !damaged.empty() || !headerNotes.empty(); }
    // The message that lists the damaged planes, or nothing when none was.
    std::optional<Failure> DamageMessage() const;
};

// Progress of a save: map `index` (from 1) of `count` is being written.
using SaveProgress = std::function<void(int index, int count)>;

// Copies the rectangle [x1, x2) x [y1, y2) of `source` (one word array per
// plane, rows of `stride` words) into `map` at (destX, destY); nothing
// outside the map is written.
void PasteBlock(MapList& map, std::span<const std::vector<std::uint16_t>> source, int destX, int destY, int x1,
                int y1, int x2, int y2, int stride);

class MapHandler {
public:
    std::filesystem::path Path;  // the game's directory
    std::string Extension;       // without the dot, as found
    std::string HeaderExecutable;
    DataFileVersion FileVersion = DataFileVersion::GameMaps;
    std::int32_t CurrentMap = 0;
    std::int32_t NameLength = 16;
    std::int32_t NumPlanes = 3;
    std::int32_t FilePlanes = 0; // planes stored in the files while the count changes; 0 = NumPlanes
    std::uint16_t FarTag = 0xA8;
    std::uint16_t NearTag = 0xA7;
    std::uint16_t RLEWTag = 0xABCD;
    bool HeaderInExecutable = false;
    bool ExtendedMapNames = false;
    bool WDCCompatibleMaps = false;
    std::int32_t Compression = 1; // 0: RLEW only, 1: Carmack over RLEW

    // Set by a load that reported damage. Such a set is saved only after the
    // user agreed (DamagedSaveAgreed), and its saves never replace a backup:
    // the previous files go to a fresh backup name.
    bool LoadedWithDamage = false;
    bool DamagedSaveAgreed = false;

    // Where every save keeps the files it replaces as a backup generation.
    // Whoever opens the set for editing sets it (the editor and tesselar-cli
    // from "TSL.ini"); by default no generations are kept.
    BackupPolicy Backups;
    // Set for the one save of a change of the plane count: the planes per map
    // of the files it replaces, and the structure files the change removed
    // (kept in the generation with the maps, so that it can be undone).
    struct PlaneChange {
        int Planes = 0;
        std::vector<KeptFile> StructureFiles;
    };
    std::optional<PlaneChange> PlaneChangeSave;

    // What the data file held between its signature and its first map (id's
    // own files carry three bytes there), written back after the signature so
    // that an untouched set is saved byte for byte; empty for a new set.
    Bytes DataLead;

    std::vector<MapList> Maps;   // the map list: position = map number
    std::vector<MapType> Headers; // the header list, in step with Maps

    int NumMaps() const { return static_cast<int>(Maps.size()); }
    MapList& Current() { return Maps[static_cast<std::size_t>(CurrentMap)]; }
    const MapList& Current() const { return Maps[static_cast<std::size_t>(CurrentMap)]; }

    // Takes the locating result into the set's fields.
    void UseGameFiles(const std::filesystem::path& dir, const GameFiles& files);

    LoadReport Load();
    LoadReport LoadHeader();
    LoadReport LoadMaps();

    // Writes the set back into the game's files. Every file is first written
    // completely; only then are the previous files kept as ".BAK" and the new
    // ones moved into place. On failure the previous files are put back, and
    // the message says so, or says what is on disk when that failed too.
    // A successful save also keeps the files it replaced as a backup
    // generation (see Backups). `kept`, when given, receives what to tell
    // beside the success: where the previous files went when that is not the
    // usual ".BAK" (a set loaded with damage), and a generation that could
    // not be written (the save itself stands).
    std::optional<Failure> Save(const SaveProgress& progress = {}, std::string* kept = nullptr) const;

    // The set's game files as they are on disk now (those that exist, in the
    // order a save replaces them, and the names of those that do not), with
    // the number of maps their table lists and the set's plane count: what a
    // backup generation of them holds.
    GenerationContent FilesOnDisk() const;
    // The maps a map header (or the table of the executable that holds it)
    // of this set's layout lists: its entries before the first empty one.
    int ListedMapCount(std::span<const std::uint8_t> table) const;

    // The bytes a save would write, without touching any file (also used by
    // Save itself). Fails for what cannot be stored.
    struct SaveImage {
        Bytes header;       // MAPHEAD.E
        Bytes data;         // MAPTEMP.E or GAMEMAPS.E
        std::optional<Bytes> executable; // the executable with its table updated
    };
    Outcome<SaveImage> BuildSaveImage(const SaveProgress& progress = {}) const;

    void Clear();
    void AddMap(MapList map);
    void InsertMap(MapList map, int index);
    void InsertHeader(MapType header, int index);
    void DeleteMap(int index);
    void DeleteHeader(int index);
    void RenumberMaps(int first, int delta);

    // The same into the current map.
    void PasteBlock(std::span<const std::vector<std::uint16_t>> source, int destX, int destY, int x1, int y1,
                    int x2, int y2, int stride);

    // A new map record of NumPlanes zero planes with placeholder plane
    // entries and the "!ID!" signature, and the matching header record.
    MapList CreateMap(std::uint16_t width, std::uint16_t height, std::string_view name) const;
    static MapType HeaderFor(const MapList& map);

    // Placeholder plane entries for planes that are in memory but not in a
    // file: starts 8, 18, 28, ... and length 10, counted from `first`.
    static void SetPlaceholders(MapList& map, std::size_t first);

    // File names in Path, as spelled on disk when they exist.
    std::filesystem::path HeaderFilePath() const;
    std::filesystem::path DataFilePath() const;
    std::filesystem::path ExecutablePath() const;
    std::string DataFileName() const; // "MAPTEMP.E" or "GAMEMAPS.E" as documented

private:
    // Takes DataLead from the data file, which `offsets` (of the map header) and Headers describe.
    void KeepDataLead(std::span<const std::uint32_t> offsets);

    Bytes dataFile_; // the data file, kept between LoadHeader and LoadMaps
    std::int32_t headerPlaneEntries_ = 0;
};

} // namespace tsl
