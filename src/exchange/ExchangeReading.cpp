// Recognising and reading exchange map files.

#include "exchange/ExchangeFormats.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tsl {

namespace {

struct Magic {
    std::string_view text;
    ExchangeFormat format;
};

// In the order they are tried; ChaosEdit's magic includes its zero byte.
constexpr std::array<Magic, 4> kMagics = {{
    {"FE1.0", ExchangeFormat::FloEdit},
    {"TSL1.0", ExchangeFormat::TSL},
    {"WDC3.1", ExchangeFormat::WDC},
    {std::string_view("CEv1.23\0", 8), ExchangeFormat::ChaosEdit},
}};

Failure Damaged(const std::string& detail)
{
    return Failure{std::string(kDamagedFileText) + "\n\n" + detail, kImportCaption, MessageIcon::Error};
}

bool IsFixedSize(ExchangeFormat format)
{
    return format == ExchangeFormat::FloEdit || format == ExchangeFormat::MapEdit;
}

// One map record as it lies in the file, before anything is copied out of it.
struct RecordView {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::span<const std::uint8_t> name;
    std::span<const std::uint8_t> planes; // the file's planes, one after the other
    bool columnOrder = false;
};

// Takes the next record off `file`, checking each size it gives against the
// bytes that follow. `label` names the record in a message ("Map 2 of 5").
Outcome<RecordView> TakeRecord(ByteReader& file, const ExchangeHeader& header, const std::string& label)
{
    const std::string cutShort = label + " is cut short.";
    RecordView record;
    if (IsFixedSize(header.Format)) {
        record.width = kFixedSide;
        record.height = kFixedSide;
        record.columnOrder = true;
        if (!file.ReadSpan(kFloorFileSize, record.planes))
            return Damaged(cutShort);
        return record;
    }

    std::uint32_t nameLength = header.NameLength;
    if (header.Format == ExchangeFormat::ChaosEdit) {
        std::uint16_t mapNumber = 0; // where the map stood in its set: of no use here
        std::uint8_t length = 0;
        if (!file.ReadU16(mapNumber) || !file.ReadU16(record.width) || !file.ReadU16(record.height) ||
            !file.ReadU8(length) || !file.ReadSpan(length, record.name))
            return Damaged(cutShort);
        nameLength = length;
    } else if (!file.ReadSpan(nameLength, record.name) || !file.ReadU16(record.width) ||
               !file.ReadU16(record.height)) {
        return Damaged(cutShort);
    }

    if (record.width < 1 || record.width > kMaxMapSize || record.height < 1 || record.height > kMaxMapSize)
        return Damaged(label + " is " + std::to_string(record.width) + " x " + std::to_string(record.height) +
                       " tiles, but a map is 1 to 256 tiles wide and high.");
    const std::uint64_t planeBytes = std::uint64_t{header.NumPlanes} * record.width * record.height * 2;
    if (planeBytes > file.Remaining() || !file.ReadSpan(static_cast<std::size_t>(planeBytes), record.planes))
        return Damaged(cutShort);
    return record;
}

std::string RecordLabel(std::uint32_t index, std::uint32_t count)
{
    return "Map " + std::to_string(index + 1) + " of " + std::to_string(count);
}

// Walks every record that the header announces; the file must end with the last.
std::optional<Failure> CheckRecords(ByteReader file, const ExchangeHeader& header)
{
    for (std::uint32_t i = 0; i < header.NumMaps; ++i) {
        auto record = TakeRecord(file, header, RecordLabel(i, header.NumMaps));
        if (!record)
            return record.failure();
    }
    if (!file.AtEnd())
        return Damaged("It holds " + std::to_string(file.Remaining()) +
                       (file.Remaining() == 1 ? " byte" : " bytes") + " more than its " +
                       std::to_string(header.NumMaps) + (header.NumMaps == 1 ? " map takes." : " maps take."));
    return std::nullopt;
}

Outcome<ExchangeHeader> ReadHeaderFields(ByteReader& file, ExchangeFormat format)
{
    ExchangeHeader header;
    header.Format = format;
    const Failure headerCut = Damaged("Its header is cut short.");
    switch (format) {
    case ExchangeFormat::TSL:
    case ExchangeFormat::WDC: {
        std::uint16_t planes = 0, nameLength = 0;
        if (!file.ReadU32(header.NumMaps) || !file.ReadU16(planes) || !file.ReadU16(nameLength))
            return headerCut;
        header.NumPlanes = planes;
        header.NameLength = nameLength;
        break;
    }
    case ExchangeFormat::ChaosEdit: {
        std::uint8_t planes = 0;
        std::uint16_t count = 0;
        if (!file.ReadU8(planes) || !file.ReadU16(count))
            return headerCut;
        header.NumPlanes = planes;
        header.NumMaps = count;
        break;
    }
    case ExchangeFormat::FloEdit:
        if (!file.ReadU32(header.NumMaps))
            return headerCut;
        header.NumPlanes = 2;
        break;
    case ExchangeFormat::MapEdit:
        header.NumMaps = 1;
        header.NumPlanes = 2;
        break;
    case ExchangeFormat::Unknown:
        return UnknownFormatFailure(kImportCaption);
    }
    // A map without planes takes almost no bytes, so a small file could
    // announce millions of them; no editor writes such a file.
    if (header.NumPlanes == 0)
        return Damaged("It says its maps have no planes.");
    return header;
}

} // namespace

std::string ExchangeFormatName(ExchangeFormat format)
{
    switch (format) {
    case ExchangeFormat::TSL:
        return "TSL map file";
    case ExchangeFormat::WDC:
        return "WDC map file";
    case ExchangeFormat::ChaosEdit:
        return "ChaosEdit map file";
    case ExchangeFormat::FloEdit:
        return "FloEdit level file";
    case ExchangeFormat::MapEdit:
        return "MapEdit floor file";
    case ExchangeFormat::Unknown:
        break;
    }
    return "unknown map file";
}

Failure UnknownFormatFailure(const char* caption)
{
    return Failure{kUnknownFormatText, caption, MessageIcon::Error};
}

ExchangeFormat DetectExchangeFormat(ByteReader& file)
{
    // The floor file has no magic, so its size decides before any bytes do.
    if (file.Remaining() == kFloorFileSize)
        return ExchangeFormat::MapEdit;
    for (const Magic& magic : kMagics) {
        ByteReader probe = file;
        std::span<const std::uint8_t> start;
        if (probe.ReadSpan(magic.text.size(), start) &&
            std::equal(start.begin(), start.end(), magic.text.begin(), magic.text.end(),
                       [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); })) {
            file = probe;
            return magic.format;
        }
    }
    return ExchangeFormat::Unknown;
}

Outcome<ExchangeHeader> ReadExchangeHeader(ByteReader& file, ExchangeFormat format)
{
    auto header = ReadHeaderFields(file, format);
    if (!header)
        return header;
    if (auto failure = CheckRecords(file, *header))
        return *failure;
    return header;
}

Outcome<ExchangeMap> ReadExchangeMap(ByteReader& file, const ExchangeHeader& header, int numPlanes, int nameLength)
{
    if (header.Format == ExchangeFormat::Unknown)
        return UnknownFormatFailure(kImportCaption);
    auto record = TakeRecord(file, header, "The map");
    if (!record)
        return record.failure();

    const auto nameSize = static_cast<std::size_t>(std::max(nameLength, 1));
    ExchangeMap map;
    map.Width = record->width;
    map.Height = record->height;
    map.Name = record->columnOrder ? MakeNameBuffer("New map", nameSize)
                                   : StoredNameBuffer(record->name, nameSize);

    const std::size_t width = map.Width, height = map.Height, words = width * height;
    const auto planes = static_cast<std::size_t>(std::max(numPlanes, 0));
    map.Planes.assign(planes, std::vector<std::uint16_t>(words, 0));
    const std::size_t kept = std::min<std::size_t>(planes, header.NumPlanes);
    for (std::size_t p = 0; p < kept; ++p) {
        const std::uint8_t* from = record->planes.data() + p * words * 2;
        std::vector<std::uint16_t>& plane = map.Planes[p];
        for (std::size_t i = 0; i < words; ++i) {
            // Column order: file word x * 64 + y is the cell at column x, row y.
            const std::size_t cell = record->columnOrder ? (i % height) * width + i / height : i;
            plane[cell] = GetU16(from + 2 * i);
        }
    }
    return map;
}

Outcome<ExchangeContents> ReadExchangeFile(std::span<const std::uint8_t> bytes, int numPlanes, int nameLength)
{
    ByteReader file(bytes);
    const ExchangeFormat format = DetectExchangeFormat(file);
    if (format == ExchangeFormat::Unknown)
        return UnknownFormatFailure(kImportCaption);
    auto header = ReadExchangeHeader(file, format);
    if (!header)
        return header.failure();
    ExchangeContents contents;
    contents.Header = *header;
    for (std::uint32_t i = 0; i < header->NumMaps; ++i) {
        auto map = ReadExchangeMap(file, *header, numPlanes, nameLength);
        if (!map)
            return map.failure();
        contents.Maps.push_back(std::move(*map));
    }
    return contents;
}

} // namespace tsl
