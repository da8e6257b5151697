// Writing exchange map files from the maps of a set.

#include "core/FileSystem.h"
#include "exchange/ExchangeFormats.h"

#include <algorithm>
#include <limits>
#include <system_error>

namespace tsl {

namespace {

Failure ExportFailure(std::string text)
{
    return Failure{std::move(text), kExportCaption, MessageIcon::Error};
}

// Word (x, y) of plane p, or 0 where the map has none: the 64 x 64 formats
// ask for cells beyond smaller maps, and a record must never be read past.
std::uint16_t WordOrZero(const MapList& map, std::size_t plane, std::size_t planes, int x, int y)
{
    if (plane >= planes || plane >= map.Planes.size() || x >= map.Width || y >= map.Height)
        return 0;
    const std::size_t at = static_cast<std::size_t>(y) * map.Width + static_cast<std::size_t>(x);
    const std::vector<std::uint16_t>& words = map.Planes[plane];
    return at < words.size() ? words[at] : 0;
}

void WriteName(ByteWriter& out, const MapList& map, std::size_t length)
{
    out.Append(StoredNameBuffer(map.Name, length));
}

// Planes row by row over a width x height window from the top-left corner.
void WriteRowOrder(ByteWriter& out, const MapList& map, std::size_t planes, std::size_t filePlanes, int width,
                   int height)
{
    for (std::size_t p = 0; p < filePlanes; ++p)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                out.U16(WordOrZero(map, p, planes, x, y));
}

// Planes 0 and 1, 64 x 64, column by column (FloEdit and MapEdit records).
void WriteColumnOrder(ByteWriter& out, const MapList& map, std::size_t planes)
{
    for (std::size_t p = 0; p < 2; ++p)
        for (int x = 0; x < kFixedSide; ++x)
            for (int y = 0; y < kFixedSide; ++y)
                out.U16(WordOrZero(map, p, planes, x, y));
}

std::optional<Failure> CheckRequest(ExchangeFormat format, std::span<const int> maps, const MapHandler& set)
{
    const std::string name = ExchangeFormatName(format);
    if (maps.empty())
        return ExportFailure("There is no map to export!");
    for (int index : maps)
        if (index < 0 || index >= set.NumMaps())
            return ExportFailure("There is no map " + std::to_string(index + 1) + " in the set!");
    if ((format == ExchangeFormat::MapEdit || format == ExchangeFormat::ChaosEdit) && maps.size() != 1)
        return ExportFailure("Only one map can be exported to a " + name + "!");
    if (set.NumPlanes < 1)
        return ExportFailure("The maps have no planes!");
    // The header fields that carry the plane count and the name length.
    constexpr int kU16 = std::numeric_limits<std::uint16_t>::max(), kU8 = std::numeric_limits<std::uint8_t>::max();
    const bool wide = format == ExchangeFormat::TSL || format == ExchangeFormat::WDC;
    const bool tooWide = wide && (set.NumPlanes > kU16 || set.NameLength > kU16);
    const bool tooNarrow = format == ExchangeFormat::ChaosEdit && set.NameLength > kU8;
    if (set.NameLength < 1 || tooWide || tooNarrow)
        return ExportFailure("The plane count or name length of the maps does not fit a " + name + "!");
    return std::nullopt;
}

Bytes BuildBytes(ExchangeFormat format, std::span<const int> maps, const MapHandler& set)
{
    const auto planes = static_cast<std::size_t>(set.NumPlanes);
    const auto nameLength = static_cast<std::size_t>(set.NameLength);
    const auto count = static_cast<std::uint32_t>(maps.size());
    auto mapAt = [&](int index) -> const MapList& { return set.Maps[static_cast<std::size_t>(index)]; };

    ByteWriter out;
    switch (format) {
    case ExchangeFormat::TSL:
    case ExchangeFormat::WDC:
        out.Append(format == ExchangeFormat::TSL ? "TSL1.0" : "WDC3.1");
        out.U32(count);
        out.U16(static_cast<std::uint16_t>(planes));
        out.U16(static_cast<std::uint16_t>(nameLength));
        for (int index : maps) {
            const MapList& map = mapAt(index);
            WriteName(out, map, nameLength);
            out.U16(map.Width);
            out.U16(map.Height);
            WriteRowOrder(out, map, planes, planes, map.Width, map.Height);
        }
        break;
    case ExchangeFormat::ChaosEdit: {
        // ChaosEdit knows three planes at most; from four on only the first two go.
        const std::size_t filePlanes = planes <= 3 ? planes : 2;
        const MapList& map = mapAt(maps.front());
        out.Append(std::string_view("CEv1.23\0", 8));
        out.U8(static_cast<std::uint8_t>(filePlanes));
        out.U16(1);
        out.U16(static_cast<std::uint16_t>(maps.front()));
        out.U16(kFixedSide);
        out.U16(kFixedSide);
        out.U8(static_cast<std::uint8_t>(nameLength));
        WriteName(out, map, nameLength);
        WriteRowOrder(out, map, planes, filePlanes, kFixedSide, kFixedSide);
        break;
    }
    case ExchangeFormat::FloEdit:
        out.Append("FE1.0");
        out.U32(count);
        for (int index : maps)
            WriteColumnOrder(out, mapAt(index), planes);
        break;
    case ExchangeFormat::MapEdit:
        WriteColumnOrder(out, mapAt(maps.front()), planes);
        break;
    case ExchangeFormat::Unknown:
        break;
    }
    return std::move(out.Data());
}

} // namespace

ExchangeFormat ExportFormatFor(const std::filesystem::path& fileName, bool chaosEdit)
{
    const std::string name = fileName.filename().string();
    const auto dot = name.rfind('.');
    if (dot == std::string::npos)
        return ExchangeFormat::Unknown;
    const std::string_view extension = std::string_view(name).substr(dot + 1);
    if (extension == "tsl")
        return ExchangeFormat::TSL;
    if (extension == "flr")
        return ExchangeFormat::MapEdit;
    if (extension == "lvl")
        return ExchangeFormat::FloEdit;
    if (extension == "map")
        return chaosEdit ? ExchangeFormat::ChaosEdit : ExchangeFormat::WDC;
    return ExchangeFormat::Unknown;
}

Outcome<Bytes> BuildExchangeFile(ExchangeFormat format, std::span<const int> maps, const MapHandler& set)
{
    if (format == ExchangeFormat::Unknown)
        return UnknownFormatFailure(kExportCaption);
    if (auto failure = CheckRequest(format, maps, set))
        return *failure;
    Bytes bytes = BuildBytes(format, maps, set);

    // A file of exactly 16384 bytes is taken for a floor file whatever its
    // magic says, so a TSL or WDC file of that length would come back as a
    // scrambled 64 x 64 map. Refuse it rather than write a file that cannot
    // be imported again.
    ByteReader check(bytes);
    if (DetectExchangeFormat(check) != format)
        return ExportFailure("This " + ExchangeFormatName(format) + " would be exactly 16384 bytes long, " +
                             "the size of a MapEdit floor file, and could not be imported again!\n\n" +
                             "Export another choice of maps, or use another map format.");
    return bytes;
}

std::optional<Failure> WriteExchangeFile(const std::filesystem::path& path, ExchangeFormat format,
                                         std::span<const int> maps, const MapHandler& set)
{
    auto bytes = BuildExchangeFile(format, maps, set);
    if (!bytes)
        return bytes.failure();

    if (auto error = ReplaceFile(path, *bytes))
        return ExportFailure("Couldn't write the map file " + error->Describe() + "!");
    return std::nullopt;
}

} // namespace tsl
