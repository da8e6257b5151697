#include "mod/SetDifference.h"

#include "audio/AudioSet.h"
#include "engine/LevelAnalysis.h"
#include "graphics/PageFile.h"
#include "vgagraph/GraphicsSet.h"

#include <algorithm>
#include <cstring>

namespace tsl {

namespace {

// The word at (x, y) of `plane`, or nothing outside the map or its planes.
std::optional<std::uint16_t> WordAt(const MapList& map, std::size_t plane, int x, int y)
{
    if (plane >= map.Planes.size() || x >= map.Width || y >= map.Height ||
        map.Planes[plane].size() < map.WordCount())
        return std::nullopt;
    return map.Word(plane, x, y);
}

bool RowsEqual(const MapList& a, const MapList& b, std::size_t plane, int y)
{
    const auto width = static_cast<std::size_t>(a.Width);
    return std::memcmp(a.Planes[plane].data() + static_cast<std::size_t>(y) * width,
                       b.Planes[plane].data() + static_cast<std::size_t>(y) * width, width * sizeof(std::uint16_t)) == 0;
}

bool SameShape(const MapList& a, const MapList& b, std::size_t plane)
{
    return a.Width == b.Width && a.Height == b.Height && plane < a.Planes.size() && plane < b.Planes.size() &&
           a.Planes[plane].size() >= a.WordCount() && b.Planes[plane].size() >= b.WordCount();
}

// The tiles of either map where `plane` differs.
int DifferingTiles(const MapList& ours, const MapList& theirs, std::size_t plane)
{
    int count = 0;
    const bool same = SameShape(ours, theirs, plane);
    const int width = std::max(ours.Width, theirs.Width), height = std::max(ours.Height, theirs.Height);
    for (int y = 0; y < height; ++y) {
        if (same && RowsEqual(ours, theirs, plane, y))
            continue; // most rows of a changed map are untouched
        for (int x = 0; x < width; ++x)
            count += WordAt(ours, plane, x, y) != WordAt(theirs, plane, x, y);
    }
    return count;
}

} // namespace

MapDifference CompareMap(const MapList& ours, const MapList& theirs)
{
    MapDifference difference;
    const std::size_t planes = std::max(ours.Planes.size(), theirs.Planes.size());
    for (std::size_t plane = 0; plane < planes; ++plane)
        if (const int tiles = DifferingTiles(ours, theirs, plane))
            difference.planes.push_back({static_cast<int>(plane), tiles});
    if (!difference.planes.empty())
        difference.changes.push_back(MapChange::Changed);
    if (MapNameText(ours.Name) != MapNameText(theirs.Name))
        difference.changes.push_back(MapChange::Renamed);
    if (ours.Width != theirs.Width || ours.Height != theirs.Height)
        difference.changes.push_back(MapChange::Resized);
    return difference;
}

std::vector<MapDifference> CompareMaps(const MapHandler& ours, const MapHandler& theirs)
{
    std::vector<MapDifference> differences;
    const int count = std::max(ours.NumMaps(), theirs.NumMaps());
    for (int index = 0; index < count; ++index) {
        MapDifference difference;
        if (index >= theirs.NumMaps())
            difference.changes = {MapChange::Added};
        else if (index >= ours.NumMaps())
            difference.changes = {MapChange::Removed};
        else
            difference = CompareMap(ours.Maps[static_cast<std::size_t>(index)], theirs.Maps[static_cast<std::size_t>(index)]);
        difference.map = index + 1;
        if (!difference.changes.empty())
            differences.push_back(std::move(difference));
    }
    return differences;
}

std::vector<MapTile> ChangedTiles(const MapList& ours, const MapList& theirs)
{
    std::vector<MapTile> tiles;
    const std::size_t planes = std::max(ours.Planes.size(), theirs.Planes.size());
    for (int y = 0; y < ours.Height; ++y) {
        bool rowSame = true;
        for (std::size_t plane = 0; plane < planes && rowSame; ++plane)
            rowSame = SameShape(ours, theirs, plane) && RowsEqual(ours, theirs, plane, y);
        for (int x = 0; x < ours.Width && !rowSame; ++x)
            for (std::size_t plane = 0; plane < planes; ++plane)
                if (WordAt(ours, plane, x, y) != WordAt(theirs, plane, x, y)) {
                    tiles.push_back({x, y});
                    break;
                }
    }
    return tiles;
}

namespace {

// The chunks whose contents differ between two files of `count(file)`
// chunks, `contents(file, chunk)` each; every chunk of a file only one side
// has (nullptr) differs.
template <typename File, typename Contents>
std::vector<int> CompareChunks(const File* ours, const File* theirs, Contents contents)
{
    std::vector<int> chunks;
    const int count = std::max(ours ? ours->ChunkCount() : 0, theirs ? theirs->ChunkCount() : 0);
    for (int chunk = 0; chunk < count; ++chunk) {
        const bool inOurs = ours && chunk < ours->ChunkCount();
        const bool inTheirs = theirs && chunk < theirs->ChunkCount();
        if (inOurs != inTheirs || contents(*ours, chunk) != contents(*theirs, chunk))
            chunks.push_back(chunk);
    }
    return chunks;
}

} // namespace

std::vector<int> ComparePages(const PageFile* ours, const PageFile* theirs)
{
    return CompareChunks(ours, theirs, [](const PageFile& file, int chunk) {
        const auto bytes = file.ChunkBytes(chunk);
        return Bytes(bytes.begin(), bytes.end());
    });
}

std::vector<int> CompareGraphics(const GraphicsSet* ours, const GraphicsSet* theirs)
{
    // What the chunks expand to: the same picture stored under another
    // dictionary is the same picture.
    return CompareChunks(ours, theirs, [](const GraphicsSet& set, int chunk) { return set.Expanded(chunk); });
}

std::vector<int> CompareAudio(const AudioSet* ours, const AudioSet* theirs)
{
    return CompareChunks(ours, theirs, [](const AudioSet& set, int chunk) {
        const auto bytes = set.ChunkBytes(chunk);
        return Bytes(bytes.begin(), bytes.end());
    });
}

namespace {

template <typename Set, typename Find>
std::optional<Set> GameDataIn(const std::filesystem::path& dir, const std::string& extension, const ChunkNames* names,
                              Find find, std::vector<Failure>& damage)
{
    const auto paths = find(dir, extension);
    if (!paths)
        return std::nullopt;
    auto set = Set::Load(*paths, names);
    if (!set) {
        damage.push_back(set.failure());
        return std::nullopt;
    }
    return std::move(*set);
}

} // namespace

GameDataDifference CompareGameData(const std::filesystem::path& ours, const std::filesystem::path& theirs,
                                   const std::string& extension, const ChunkNames* names)
{
    GameDataDifference d;
    const auto ourGraphics = GameDataIn<GraphicsSet>(ours, extension, names, FindGraphicsFiles, d.damage);
    const auto theirGraphics = GameDataIn<GraphicsSet>(theirs, extension, names, FindGraphicsFiles, d.damage);
    d.graphics = CompareGraphics(ourGraphics ? &*ourGraphics : nullptr, theirGraphics ? &*theirGraphics : nullptr);
    d.theirGraphics = theirGraphics.has_value();
    const auto ourAudio = GameDataIn<AudioSet>(ours, extension, names, FindAudioFiles, d.damage);
    const auto theirAudio = GameDataIn<AudioSet>(theirs, extension, names, FindAudioFiles, d.damage);
    d.audio = CompareAudio(ourAudio ? &*ourAudio : nullptr, theirAudio ? &*theirAudio : nullptr);
    d.theirAudio = theirAudio.has_value();
    return d;
}

SetLoad LoadSetLike(const MapHandler& layout, const std::filesystem::path& dir)
{
    SetLoad load;
    auto files = LocateGameFiles(dir);
    if (!files) {
        load.report.failure = files.failure();
        return load;
    }
    MapHandler& maps = load.maps;
    maps.UseGameFiles(dir, *files);
    maps.NumPlanes = layout.NumPlanes;
    maps.NearTag = layout.NearTag;
    maps.FarTag = layout.FarTag;
    maps.RLEWTag = layout.RLEWTag;
    maps.WDCCompatibleMaps = layout.WDCCompatibleMaps;
    maps.ExtendedMapNames = layout.ExtendedMapNames;
    maps.NameLength = layout.NameLength;
    load.report = maps.Load();
    return load;
}

std::string_view MapChangeName(MapChange change)
{
    switch (change) {
    case MapChange::Changed: return "changed";
    case MapChange::Added: return "added";
    case MapChange::Removed: return "removed";
    case MapChange::Renamed: return "renamed";
    case MapChange::Resized: return "resized";
    }
    return "";
}

} // namespace tsl
