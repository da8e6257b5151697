#pragma once
// What a mod changed against the game it modifies: one set of maps and page
// file compared with another, map by map in the order of the sets (map n
// with map n), page chunk by page chunk. A map only in the mod is "added",
// one only in the other set "removed"; a map in both may be "renamed",
// "resized" (its width or height differs) and "changed" (some word of some
// plane differs), with the tiles that differ counted per plane: where the
// sizes differ, every tile that only one of the two has counts, and so does
// every tile of a plane only one of them has.

#include "core/Failure.h"
#include "core/MapHandler.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

class AudioSet;
class ChunkNames;
class GraphicsSet;
class PageFile;
struct MapTile;

enum class MapChange { Changed, Added, Removed, Renamed, Resized };

struct PlaneTiles {
    int plane = 0;
    int tiles = 0;
    friend bool operator==(const PlaneTiles&, const PlaneTiles&) = default;
};

struct MapDifference {
    int map = 0; // from 1
    std::vector<MapChange> changes;  // in the order of MapChange
    std::vector<PlaneTiles> planes;  // the planes with tiles that differ
    friend bool operator==(const MapDifference&, const MapDifference&) = default;
};

struct SetDifference {
    std::vector<MapDifference> maps; // only the maps that differ
    std::vector<int> pages;          // page chunks that differ, from 0
    std::vector<int> graphics;       // VGAGRAPH chunks that differ, from 0
    std::vector<int> audio;          // AUDIOT chunks that differ, from 0
    bool Empty() const { return maps.empty() && pages.empty() && graphics.empty() && audio.empty(); }
};

// The maps of `ours` against those of `theirs`.
std::vector<MapDifference> CompareMaps(const MapHandler& ours, const MapHandler& theirs);
// One map against another (map numbers are left 0).
MapDifference CompareMap(const MapList& ours, const MapList& theirs);
// The tiles of `ours` where some plane differs from `theirs` (tiles that
// only `ours` has included), row by row.
std::vector<MapTile> ChangedTiles(const MapList& ours, const MapList& theirs);

// The chunks whose bytes differ; a chunk only one file has differs, and
// every chunk of a file the other side lacks (nullptr).
std::vector<int> ComparePages(const PageFile* ours, const PageFile* theirs);
// The same for VGAGRAPH, by what each chunk expands to (a picture stored
// under another dictionary is the same picture), and for AUDIOT.
std::vector<int> CompareGraphics(const GraphicsSet* ours, const GraphicsSet* theirs);
std::vector<int> CompareAudio(const AudioSet* ours, const AudioSet* theirs);

// The VGAGRAPH and AUDIOT chunks that differ between the game folders
// `ours` and `theirs` (files of `extension`, chunks named by `names` or by
// number). A folder without a kind of file compares as having no chunks of
// it; files that do not load are told in `damage` and compared as absent.
struct GameDataDifference {
    std::vector<int> graphics;
    std::vector<int> audio;
    bool theirGraphics = false; // `theirs` holds VGAGRAPH files that load
    bool theirAudio = false;    // and AUDIOT files
    std::vector<Failure> damage;
};
GameDataDifference CompareGameData(const std::filesystem::path& ours, const std::filesystem::path& theirs,
                                   const std::string& extension, const ChunkNames* names);

std::string_view MapChangeName(MapChange change);

// The set in `dir` (a game folder, or a backup generation's) read as
// `layout` stores its maps: the files found there, with its planes, tags,
// name length and WDC setting.
struct SetLoad {
    MapHandler maps;
    LoadReport report;
};
SetLoad LoadSetLike(const MapHandler& layout, const std::filesystem::path& dir);

} // namespace tsl
