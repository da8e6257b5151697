#include "exchange/ImportMaps.h"

#include <cstdint>

#include "core/Compression.h"
#include "core/FileSystem.h"

#include <algorithm>
#include <iterator>

namespace tsl {

namespace {

constexpr std::size_t kMaxChunk = 0xFFFF; // chunk lengths of the game files are 16-bit

Failure ImportFailure(std::string text, MessageIcon icon = MessageIcon::Error)
{
    return Failure{std::move(text), kImportCaption, icon};
}

// The bytes the game's files would need for a plane, as a save compresses it.
std::size_t StoredSize(const MapHandler& set, const std::vector<std::uint16_t>& plane)
{
    Bytes rlew = RLEWCompress(plane, set.RLEWTag);
    if (set.FileVersion == DataFileVersion::MapTemp || rlew.size() > kMaxChunk)
        return rlew.size();
    const auto carmack =
        CarmackCompress(rlew, static_cast<std::uint8_t>(set.NearTag), static_cast<std::uint8_t>(set.FarTag));
    return carmack ? carmack->size() : SIZE_MAX;
}

} // namespace

int InsertExchangeMaps(MapHandler& set, std::vector<ExchangeMap> maps)
{
    const bool append = set.NumMaps() == 0 || set.CurrentMap >= set.NumMaps() - 1;
    const int position = append ? set.NumMaps() : std::max(set.CurrentMap, 0);
    if (maps.empty())
        return position;

    std::vector<MapList> records;
    std::vector<MapType> headers;
    records.reserve(maps.size());
    headers.reserve(maps.size());
    for (ExchangeMap& map : maps) {
        MapList record = set.CreateMap(map.Width, map.Height, "");
        record.Name = StoredNameBuffer(map.Name, static_cast<std::size_t>(std::max(set.NameLength, 1)));
        // CreateMap gave NumPlanes zero planes of the right size; take over the
        // read ones where they match, so that every record keeps NumPlanes planes.
        const std::size_t planes = std::min(record.Planes.size(), map.Planes.size());
        for (std::size_t p = 0; p < planes; ++p)
            if (map.Planes[p].size() == record.WordCount())
                record.Planes[p] = std::move(map.Planes[p]);
        headers.push_back(MapHandler::HeaderFor(record));
        records.push_back(std::move(record));
    }
    // Each map taking the current map's place leaves them in reverse order.
    if (!append) {
        std::reverse(records.begin(), records.end());
        std::reverse(headers.begin(), headers.end());
    }
    const auto at = static_cast<std::ptrdiff_t>(position);
    set.Maps.insert(set.Maps.begin() + at, std::make_move_iterator(records.begin()),
                    std::make_move_iterator(records.end()));
    set.Headers.insert(set.Headers.begin() + std::min(at, static_cast<std::ptrdiff_t>(set.Headers.size())),
                       std::make_move_iterator(headers.begin()), std::make_move_iterator(headers.end()));
    set.RenumberMaps(position, +1);
    set.CurrentMap = append ? set.NumMaps() - 1 : position;
    return position;
}

Outcome<ExchangeContents> ReadImportFile(const std::filesystem::path& path, int numPlanes, int nameLength)
{
    const auto bytes = ReadWholeFile(path);
    if (!bytes)
        return ImportFailure("Couldn't open the map file " + path.filename().string() + "!", MessageIcon::Warning);
    return ReadExchangeFile(*bytes, numPlanes, nameLength);
}

std::optional<Failure> CheckDirectImport(const MapHandler& set, const std::vector<ExchangeMap>& maps)
{
    const std::string nothing = "\n\nNo map was imported.";
    const std::size_t total = set.Maps.size() + maps.size();
    // A plain header file longer than 100 entries reads as a WDC header at
    // the next open; an executable's table has no room beyond them.
    const bool fixedTable = set.HeaderInExecutable || !set.WDCCompatibleMaps;
    if (fixedTable && total > static_cast<std::size_t>(kPaddedHeaderEntries))
        return ImportFailure("The map set would have " + std::to_string(total) +
                             " maps, but its header holds at most 100!" + nothing);
    for (std::size_t i = 0; i < maps.size(); ++i)
        for (std::size_t p = 0; p < maps[i].Planes.size(); ++p) {
            const std::size_t size = StoredSize(set, maps[i].Planes[p]);
            if (size > kMaxChunk)
                return ImportFailure("Plane " + std::to_string(p + 1) + " of map " + std::to_string(i + 1) +
                                     " of the file needs " + std::to_string(size) +
                                     " bytes, more than the 65535 bytes the map files can hold!" + nothing);
        }
    return std::nullopt;
}

} // namespace tsl
