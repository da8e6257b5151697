#include "core/MapHandler.h"

#include "core/FileSystem.h"
#include "core/Windows1252.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tsl {

std::string MapNameText(std::span<const std::uint8_t> name)
{
    const auto end = std::find(name.begin(), name.end(), std::uint8_t{0});
    return std::string(name.begin(), end);
}

std::string MapNameUtf8(std::span<const std::uint8_t> name)
{
    return Windows1252ToUtf8(MapNameText(name));
}

std::vector<std::uint8_t> MakeNameBuffer(std::string_view text, std::size_t length)
{
    std::vector<std::uint8_t> buffer(length, 0);
    const std::size_t n = std::min(text.size(), length > 0 ? length - 1 : 0);
    std::copy_n(text.begin(), n, buffer.begin());
    // A zero inside the text ends the name there, as it would on disk.
    return buffer;
}

std::vector<std::uint8_t> StoredNameBuffer(std::span<const std::uint8_t> name, std::size_t length)
{
    std::vector<std::uint8_t> buffer(length, 0);
    const std::string text = MapNameText(name);
    std::copy_n(text.begin(), std::min(text.size(), length), buffer.begin());
    return buffer;
}

std::vector<std::uint8_t> RenamedBuffer(std::span<const std::uint8_t> current, std::string_view typed,
                                        std::size_t length)
{
    if (typed == MapNameText(current))
        return StoredNameBuffer(current, length);
    return MakeNameBuffer(typed, length);
}

void MapHandler::UseGameFiles(const std::filesystem::path& dir, const GameFiles& files)
{
    Path = dir;
    Extension = files.Extension;
    HeaderInExecutable = files.HeaderInExecutable;
    HeaderExecutable = files.HeaderExecutable;
    FileVersion = files.FileVersion;
}

std::string MapHandler::DataFileName() const
{
    return (FileVersion == DataFileVersion::MapTemp ? "MAPTEMP." : "GAMEMAPS.") + Extension;
}

std::filesystem::path MapHandler::HeaderFilePath() const
{
    return ResolveNoCase(Path, "MAPHEAD." + Extension);
}

std::filesystem::path MapHandler::DataFilePath() const
{
    return ResolveNoCase(Path, DataFileName());
}

std::filesystem::path MapHandler::ExecutablePath() const
{
    return ResolveNoCase(Path, HeaderExecutable);
}

void MapHandler::Clear()
{
    Maps.clear();
    Headers.clear();
    DataLead.clear();
    dataFile_.clear();
    LoadedWithDamage = false;
    DamagedSaveAgreed = false;
}

void MapHandler::AddMap(MapList map)
{
    Maps.push_back(std::move(map));
}

void MapHandler::InsertMap(MapList map, int index)
{
    Maps.insert(Maps.begin() + std::clamp(index, 0, NumMaps()), std::move(map));
}

void MapHandler::InsertHeader(MapType header, int index)
{
    const int size = static_cast<int>(Headers.size());
    Headers.insert(Headers.begin() + std::clamp(index, 0, size), std::move(header));
}

void MapHandler::DeleteMap(int index)
{
    if (index >= 0 && index < NumMaps())
        Maps.erase(Maps.begin() + index);
}

void MapHandler::DeleteHeader(int index)
{
    if (index >= 0 && index < static_cast<int>(Headers.size()))
        Headers.erase(Headers.begin() + index);
}

void MapHandler::RenumberMaps(int first, int /*delta*/)
{
    for (int i = std::max(first, 0); i < NumMaps(); ++i)
        Maps[static_cast<std::size_t>(i)].Index = i;
}

void MapHandler::PasteBlock(std::span<const std::vector<std::uint16_t>> source, int destX, int destY, int x1,
                            int y1, int x2, int y2, int stride)
{
    tsl::PasteBlock(Current(), source, destX, destY, x1, y1, x2, y2, stride);
}

void PasteBlock(MapList& map, std::span<const std::vector<std::uint16_t>> source, int destX, int destY, int x1,
                int y1, int x2, int y2, int stride)
{
    const int width = map.Width;
    const int height = map.Height;
    const std::size_t planes = std::min(source.size(), map.Planes.size());
    for (std::size_t p = 0; p < planes; ++p) {
        const std::vector<std::uint16_t>& from = source[p];
        for (int sy = y1, dy = destY; sy < y2 && dy < height && sy < height; ++sy, ++dy) {
            if (dy < 0 || sy < 0)
                continue;
            for (int sx = x1, dx = destX; sx < x2; ++sx, ++dx) {
                if (dx >= width || sx >= width)
                    break;
                if (dx < 0 || sx < 0)
                    continue;
                const std::size_t s = static_cast<std::size_t>(sy) * static_cast<std::size_t>(stride) +
                                      static_cast<std::size_t>(sx);
                if (s < from.size())
                    map.SetWord(p, dx, dy, from[s]);
            }
        }
    }
}

void MapHandler::SetPlaceholders(MapList& map, std::size_t first)
{
    for (std::size_t p = first, k = 0; p < map.PlaneStart.size(); ++p, ++k) {
        map.PlaneStart[p] = static_cast<std::uint32_t>(8 + 10 * k);
        map.PlaneLength[p] = 10;
    }
}

MapList MapHandler::CreateMap(std::uint16_t width, std::uint16_t height, std::string_view name) const
{
    const auto planes = static_cast<std::size_t>(std::max(NumPlanes, 0));
    MapList map;
    map.Width = width;
    map.Height = height;
    map.Name = MakeNameBuffer(name, static_cast<std::size_t>(std::max(NameLength, 1)));
    map.Signature = kMapSignature;
    map.PlaneStart.assign(planes, 0);
    map.PlaneLength.assign(planes, 0);
    SetPlaceholders(map, 0);
    map.Planes.assign(planes, std::vector<std::uint16_t>(map.WordCount(), 0));
    return map;
}

MapType MapHandler::HeaderFor(const MapList& map)
{
    MapType header;
    header.PlaneStart = map.PlaneStart;
    header.PlaneLength = map.PlaneLength;
    header.Width = map.Width;
    header.Height = map.Height;
    header.Name = map.Name;
    header.Signature = map.Signature;
    return header;
}

std::optional<Failure> LoadReport::DamageMessage() const
{
    if (!Damaged())
        return std::nullopt;
    std::string text;
    for (const std::string& note : headerNotes)
        text += (text.empty() ? "" : "\n") + note;
    if (!damaged.empty()) {
        text += text.empty() ? "" : "\n\n";
        text += "Some maps are damaged. Their damaged planes were loaded only as far as "
                "their data is sound; the rest of those planes is empty:\n";
        for (const std::string& line : damaged)
            text += "\n" + line;
    }
    return Failure{text, "Error loading maps", MessageIcon::Warning};
}

} // namespace tsl
