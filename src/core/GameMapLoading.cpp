// Finding a game's map files and reading them into the map set.

#include "core/Compression.h"
#include "core/FileSystem.h"
#include "core/MapHandler.h"

#include <algorithm>

namespace tsl {

namespace {

constexpr const char* kLoadCaption = "Error loading maps";
constexpr std::uint16_t kExecutableTableMarker = 0xABCD;
// Loading refuses sets whose planes would take more words than this (1 GiB):
// no real game comes near it, and a damaged header must not exhaust memory.
constexpr std::size_t kMaxLoadedWords = std::size_t{1} << 29;

Failure LoadFailure(std::string text)
{
    return Failure{std::move(text), kLoadCaption, MessageIcon::Warning};
}

} // namespace

std::string ShortExecutableTableText(const std::string& name, std::size_t room)
{
    return "The map table in " + name + " has room for " + std::to_string(room) + " maps, not " +
           std::to_string(kPaddedHeaderEntries) + ": the maps can be edited, but not saved!";
}

namespace {

LoadReport Failed(std::string text)
{
    LoadReport report;
    report.failure = LoadFailure(std::move(text));
    return report;
}

std::string ExtensionOf(const std::string& name)
{
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool IsBackupName(const std::string& name)
{
    return EqualsNoCase(ExtensionOf(name), "BAK");
}

} // namespace

Outcome<GameFiles> LocateGameFiles(const std::filesystem::path& dir)
{
    std::vector<std::string> headers;
    bool corridor7Header = false;
    for (const std::string& name : ListDirectory(dir)) {
        if (name.size() <= 8 || !EqualsNoCase(name.substr(0, 8), "MAPHEAD."))
            continue;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(dir / name, ec))
            continue;
        headers.push_back(name);
        corridor7Header = corridor7Header || EqualsNoCase(name, "MAPHEAD.CO7");
    }
    // A listing has no fixed order here: prefer a header over its backup, then
    // the documented spelling, then the name.
    std::stable_sort(headers.begin(), headers.end(), [](const std::string& a, const std::string& b) {
        const bool aBackup = IsBackupName(a), bBackup = IsBackupName(b);
        if (aBackup != bBackup)
            return !aBackup;
        const bool aExact = a.compare(0, 8, "MAPHEAD.") == 0, bExact = b.compare(0, 8, "MAPHEAD.") == 0;
        if (aExact != bExact)
            return aExact;
        return false;
    });

    GameFiles files;
    std::filesystem::path found;
    if (!headers.empty() && !corridor7Header) {
        found = dir / headers.front();
        files.Extension = ExtensionOf(headers.front());
    } else {
        for (const char* exe : {"CORR7CD.EXE", "C7.EXE"}) {
            if (auto path = FindNoCase(dir, exe)) {
                found = *path;
                files.HeaderInExecutable = true;
                files.HeaderExecutable = exe;
                files.Extension = "CO7";
                break;
            }
        }
        if (!files.HeaderInExecutable)
            return LoadFailure("Couldn't find MAPHEAD file!");
    }

    std::error_code ec;
    files.HeaderSize = std::filesystem::file_size(found, ec);
    if (ec)
        files.HeaderSize = 0;

    if (FindNoCase(dir, "MAPTEMP." + files.Extension))
        files.FileVersion = DataFileVersion::MapTemp;
    else if (FindNoCase(dir, "GAMEMAPS." + files.Extension))
        files.FileVersion = DataFileVersion::GameMaps;
    else
        return LoadFailure("Couldn't find MAPTEMP or GAMEMAPS file!");
    return files;
}

LoadReport MapHandler::Load()
{
    LoadReport header = LoadHeader();
    if (!header.ok())
        return header;
    LoadReport report = LoadMaps();
    report.warning = std::move(header.warning);
    return report;
}

LoadReport MapHandler::LoadHeader()
{
    Clear();
    const bool mapTemp = FileVersion == DataFileVersion::MapTemp;

    // The offset table: a MAPHEAD file, or the table inside a Corridor 7
    // executable that starts after its first word 0xABCD.
    const std::filesystem::path headerPath = HeaderInExecutable ? ExecutablePath() : HeaderFilePath();
    const std::string headerName = headerPath.filename().string();
    const auto header = ReadWholeFile(headerPath);
    if (!header)
        return Failed(HeaderInExecutable ? "Couldn't read " + headerName + "!" : "Couldn't read MAPHEAD file!");
    ByteReader in(*header);
    std::size_t maxEntries = SIZE_MAX;
    LoadReport report;
    if (HeaderInExecutable) {
        std::uint16_t word = 0;
        bool marker = false;
        while (!marker && in.ReadU16(word))
            marker = word == kExecutableTableMarker;
        if (!marker)
            return Failed("Couldn't find the map table in " + headerName + "!");
        RLEWTag = word;
        // The table inside the executable has room for exactly this many
        // entries; what follows it is program code.
        maxEntries = kPaddedHeaderEntries;
        // A save rewrites all of them, so a shorter table loads but never saves.
        const std::size_t room = in.Remaining() / 4;
        if (room < maxEntries)
            report.warning = Failure{ShortExecutableTableText(headerName, room), kLoadCaption, MessageIcon::Warning};
    } else {
        if (!in.ReadU16(RLEWTag))
            return Failed("The MAPHEAD file is empty!");
        // The executable's table has a fixed place in the program and never
        // carries the plane count or name length.
        if (WDCCompatibleMaps) {
            std::uint16_t planes = 0;
            std::uint16_t storedNameLength = 0;
            if (!in.ReadU16(planes) || (ExtendedMapNames && !in.ReadU16(storedNameLength)))
                return Failed("The MAPHEAD file is damaged or incomplete!");
            if (planes == 0)
                return Failed("The MAPHEAD file says the maps have no planes!");
            NumPlanes = planes;
        }
    }
    if (NumPlanes < 1)
        return Failed("The maps have no planes!\n\nCheck the number of planes of the map definition structure.");

    std::vector<std::uint32_t> offsets;
    std::uint32_t offset = 0;
    while (offsets.size() < maxEntries && in.ReadU32(offset) && offset != kNotStored && offset != 0)
        offsets.push_back(offset);

    const std::string dataName = DataFileName();
    auto data = ReadWholeFile(DataFilePath());
    if (!data)
        return Failed("Couldn't read GAMEMAPS file!");
    dataFile_ = std::move(*data);

    NameLength = (mapTemp || !ExtendedMapNames) ? 16 : 32;
    const auto planes = static_cast<std::size_t>(NumPlanes);
    const std::size_t entries = FilePlanes >= 1 ? static_cast<std::size_t>(FilePlanes) : planes;
    const std::size_t kept = std::min(entries, planes);
    const std::size_t skipped = entries - kept;
    const auto nameLength = static_cast<std::size_t>(NameLength);
    const std::size_t recordSize = entries * 6 + 4 + nameLength;
    headerPlaneEntries_ = static_cast<std::int32_t>(kept);

    std::size_t words = 0;
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        const std::string which = "map " + std::to_string(i + 1);
        if (offsets[i] > dataFile_.size() || dataFile_.size() - offsets[i] < recordSize)
            return Failed("The header of " + which + " lies outside " + dataName +
                          "!\n\nThe map files are damaged; no map was loaded.");
        ByteReader record(dataFile_, offsets[i]);
        MapType map;
        map.PlaneStart.assign(planes, 0);
        map.PlaneLength.assign(planes, 0);
        for (std::size_t p = 0; p < kept; ++p)
            record.ReadU32(map.PlaneStart[p]);
        record.Skip(skipped * 4);
        for (std::size_t p = 0; p < kept; ++p)
            record.ReadU16(map.PlaneLength[p]);
        record.Skip(skipped * 2);
        record.ReadU16(map.Width);
        record.ReadU16(map.Height);
        std::span<const std::uint8_t> name;
        record.ReadSpan(nameLength, name);
        map.Name.assign(name.begin(), name.end());
        // The signature follows the name; a record at the very end of the
        // file may lack it.
        for (std::uint8_t& b : map.Signature)
            record.ReadU8(b);

        if (map.Width == 0 || map.Height == 0 || map.Width > kMaxMapSize || map.Height > kMaxMapSize)
            return Failed("The header of " + which + " gives an invalid size (" + std::to_string(map.Width) +
                          " x " + std::to_string(map.Height) + ")!\n\nThe map files are damaged; no map was loaded.");
        words += static_cast<std::size_t>(map.Width) * map.Height * planes;
        if (words > kMaxLoadedWords)
            return Failed("The maps are too large to load!");
        Headers.push_back(std::move(map));
    }

    for (std::size_t i = 0; i < Headers.size(); ++i) {
        MapList map;
        map.Index = static_cast<std::int32_t>(i);
        map.PlaneStart.assign(planes, 0);
        map.PlaneLength.assign(planes, 0);
        map.Width = Headers[i].Width;
        map.Height = Headers[i].Height;
        map.Planes.assign(planes, std::vector<std::uint16_t>(map.WordCount(), 0));
        Maps.push_back(std::move(map));
    }
    return report;
}

LoadReport MapHandler::LoadMaps()
{
    const bool mapTemp = FileVersion == DataFileVersion::MapTemp;
    if (dataFile_.empty()) {
        auto data = ReadWholeFile(DataFilePath());
        if (!data)
            return Failed("Couldn't read GAMEMAPS file!");
        dataFile_ = std::move(*data);
    }
    Compression = mapTemp ? 0 : 1;
    const auto nearTag = static_cast<std::uint8_t>(NearTag);
    const auto farTag = static_cast<std::uint8_t>(FarTag);
    const std::span<const std::uint8_t> file(dataFile_);

    LoadReport report;
    std::vector<std::uint16_t> rlew; // the RLEW stream a Carmack chunk expands to
    for (std::size_t i = 0; i < Maps.size() && i < Headers.size(); ++i) {
        const MapType& header = Headers[i];
        MapList& map = Maps[i];
        map.Width = header.Width;
        map.Height = header.Height;
        map.Name = MakeNameBuffer(MapNameText(header.Name), static_cast<std::size_t>(NameLength));
        map.Signature = header.Signature;

        const std::size_t stored =
            FilePlanes >= 1 ? std::min(map.Planes.size(), static_cast<std::size_t>(headerPlaneEntries_))
                            : map.Planes.size();
        for (std::size_t p = 0; p < stored; ++p) {
            map.PlaneStart[p] = header.PlaneStart[p];
            map.PlaneLength[p] = header.PlaneLength[p];
            const auto start = static_cast<std::int32_t>(header.PlaneStart[p]);
            const std::size_t length = header.PlaneLength[p];
            if (start < 1 || length < 1)
                continue; // not stored: the plane stays all 0

            bool sound = true;
            std::span<const std::uint8_t> chunk;
            const auto from = static_cast<std::size_t>(start);
            if (from < file.size())
                chunk = file.subspan(from, std::min(length, file.size() - from));
            sound = chunk.size() == length;

            std::span<std::uint16_t> plane(map.Planes[p]);
            if (chunk.size() < 2) {
                sound = false;
            } else if (mapTemp) {
                sound = RLEWExpand(chunk.subspan(2), plane, RLEWTag).sound && sound;
            } else {
                const std::size_t produce = GetU16(chunk.data()) / 2u;
                rlew.assign(produce, 0);
                const ExpandResult carmack = CarmackExpand(chunk.subspan(2), rlew, nearTag, farTag);
                const std::span<const std::uint16_t> stream(rlew.data(), carmack.produced);
                const bool rlewSound =
                    !stream.empty() && RLEWExpand(stream.subspan(1), plane, RLEWTag).sound;
                sound = carmack.sound && rlewSound && sound;
            }
            if (!sound)
                report.damaged.push_back("Map " + std::to_string(i + 1) + " \"" + MapNameText(map.Name) +
                                         "\": plane " + std::to_string(p + 1));
        }
        if (FilePlanes >= 1 && stored < map.Planes.size())
            SetPlaceholders(map, stored);
    }
    dataFile_.clear();
    dataFile_.shrink_to_fit();
    return report;
}

} // namespace tsl
