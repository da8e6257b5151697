// Finding a game's map files and reading them into the map set.

#include "core/Compression.h"
#include "core/FileSystem.h"
#include "core/MapHandler.h"

#include <algorithm>

namespace tsl {

namespace {

namespace fs = std::filesystem;
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

// The extension of a game file named PREFIX.E: E has no further dot, so a
// backup ("MAPHEAD.WL6.BAK") or a hidden temporary file is never taken for it.
std::optional<std::string> GameExtension(const std::string& name, std::string_view prefix)
{
    if (name.size() <= prefix.size() || !EqualsNoCase(std::string_view(name).substr(0, prefix.size()), prefix))
        return std::nullopt;
    std::string extension = name.substr(prefix.size());
    if (extension.find('.') != std::string::npos)
        return std::nullopt;
    return extension;
}

// A leftover new version of `name` from a save that did not finish.
std::optional<std::string> LeftoverOf(const std::vector<std::string>& listing, const std::string& name)
{
    for (const std::string& entry : listing)
        if (IsTemporaryName(entry) && entry.size() > name.size() + 1 &&
            EqualsNoCase(std::string_view(entry).substr(1, name.size()), name) && entry[name.size() + 1] == '.')
            return entry;
    return std::nullopt;
}

// A save renames the data file, the header file and the executable, in this
// order, to their backups and then puts the new ones in place in the same
// order (see MapHandler::Save). So when the file that lists the maps (`table`)
// is missing, the previous set is entirely in the backups; otherwise only the
// missing files are.
std::optional<Failure> InterruptedSave(const fs::path& dir, const std::vector<std::string>& listing,
                                       const std::string& table, const std::vector<std::string>& others)
{
    std::vector<std::string> files{table};
    files.insert(files.end(), others.begin(), others.end());
    const bool tableMissing = !FindNoCase(dir, table);
    std::vector<std::string> missing, renames;
    for (const std::string& name : files) {
        const bool absent = !FindNoCase(dir, name);
        if (absent)
            missing.push_back(name);
        if (!absent && !tableMissing)
            continue;
        if (auto backup = NewestBackup(dir, name))
            renames.push_back(backup->filename().string() + " to " + name);
        else if (auto leftover = LeftoverOf(listing, name); absent && leftover)
            renames.push_back(*leftover + " to " + name);
    }
    if (missing.empty() || renames.empty())
        return std::nullopt;
    return LoadFailure("An earlier save was interrupted: " + JoinAnd(missing) +
                       (missing.size() == 1 ? " is" : " are") + " missing.\n\nTo get the previous maps back, rename " +
                       JoinAnd(renames) + ", then open the game again.");
}

// Which of the two data files a set in the middle of a save had.
std::string DataFileOf(const fs::path& dir, const std::vector<std::string>& listing, const std::string& extension)
{
    const std::string mapTemp = "MAPTEMP." + extension;
    return FindNoCase(dir, mapTemp) || NewestBackup(dir, mapTemp) || LeftoverOf(listing, mapTemp)
               ? mapTemp
               : "GAMEMAPS." + extension;
}

// Why `dir` cannot be searched at all, in its own words.
std::optional<Failure> DirectoryProblem(const fs::path& dir, const std::error_code& listError)
{
    std::error_code ec;
    const auto status = fs::status(dir, ec);
    if (!fs::exists(status))
        return LoadFailure("The directory " + dir.string() + " doesn't exist!");
    if (!fs::is_directory(status))
        return LoadFailure(dir.string() + " is a file, not a directory!");
    if (listError)
        return LoadFailure("Couldn't read the directory " + DiskError{dir, listError}.Describe() + "!");
    return std::nullopt;
}

} // namespace

Outcome<GameFiles> LocateGameFiles(const std::filesystem::path& dir)
{
    std::error_code listError;
    const std::vector<std::string> listing = ListDirectory(dir, listError);
    if (auto problem = DirectoryProblem(dir, listError))
        return *problem;

    std::vector<std::string> headers;
    std::optional<std::string> headerDirectory;
    std::optional<std::string> interruptedExtension;
    bool corridor7Header = false;
    for (const std::string& name : listing) {
        if (auto extension = GameExtension(name, "MAPHEAD.")) {
            std::error_code ec;
            if (!fs::is_regular_file(dir / name, ec)) {
                headerDirectory = name;
                continue;
            }
            headers.push_back(name);
            corridor7Header = corridor7Header || EqualsNoCase(name, "MAPHEAD.CO7");
        } else if (GameExtension(name.substr(0, name.rfind('.')), "MAPHEAD.") ||
                   (IsTemporaryName(name) && name.size() > 9 && EqualsNoCase(name.substr(1, 8), "MAPHEAD."))) {
            // A backup or a leftover of a save: "MAPHEAD.E.BAK", ".MAPHEAD.E.tesselar-..."
            const std::string rest = name.substr(name[0] == '.' ? 9 : 8);
            interruptedExtension = rest.substr(0, rest.find('.'));
        }
    }
    // A listing has no fixed order here: prefer the documented spelling.
    std::stable_sort(headers.begin(), headers.end(), [](const std::string& a, const std::string& b) {
        return a.compare(0, 8, "MAPHEAD.") == 0 && b.compare(0, 8, "MAPHEAD.") != 0;
    });

    GameFiles files;
    fs::path found;
    if (!headers.empty() && !corridor7Header) {
        found = dir / headers.front();
        files.Extension = *GameExtension(headers.front(), "MAPHEAD.");
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
        if (!files.HeaderInExecutable) {
            for (const std::string exe : {"CORR7CD.EXE", "C7.EXE"})
                if (NewestBackup(dir, exe) || LeftoverOf(listing, exe))
                    if (auto interrupted =
                            InterruptedSave(dir, listing, exe, {"MAPHEAD.CO7", DataFileOf(dir, listing, "CO7")}))
                        return *interrupted;
            if (interruptedExtension)
                if (auto interrupted = InterruptedSave(dir, listing, "MAPHEAD." + *interruptedExtension,
                                                       {DataFileOf(dir, listing, *interruptedExtension)}))
                    return *interrupted;
            if (headerDirectory)
                return LoadFailure(*headerDirectory + " is a directory, not a map header file!");
            return LoadFailure("Couldn't find MAPHEAD file!");
        }
    }

    std::error_code ec;
    files.HeaderSize = fs::file_size(found, ec);
    if (ec)
        files.HeaderSize = 0;

    if (FindNoCase(dir, "MAPTEMP." + files.Extension))
        files.FileVersion = DataFileVersion::MapTemp;
    else if (FindNoCase(dir, "GAMEMAPS." + files.Extension))
        files.FileVersion = DataFileVersion::GameMaps;
    else if (auto interrupted = InterruptedSave(
                 dir, listing, found.filename().string(),
                 files.HeaderInExecutable ? std::vector<std::string>{"MAPHEAD.CO7", DataFileOf(dir, listing, "CO7")}
                                          : std::vector<std::string>{DataFileOf(dir, listing, files.Extension)}))
        return *interrupted;
    else
        return LoadFailure("Couldn't find MAPTEMP or GAMEMAPS file!");
    return files;
}

WdcMismatch CheckWdcSetting(const GameFiles& files, bool wdc)
{
    constexpr std::uintmax_t kPlainHeaderSize = 2 + 4 * kPaddedHeaderEntries;
    if (files.HeaderSize > kPlainHeaderSize && !wdc && !files.HeaderInExecutable)
        return WdcMismatch::LooksWdc;
    if (files.HeaderSize == kPlainHeaderSize && wdc)
        return WdcMismatch::LooksPlain;
    return WdcMismatch::None;
}

int MapHandler::ListedMapCount(std::span<const std::uint8_t> table) const
{
    ByteReader in(table);
    std::size_t maxEntries = SIZE_MAX;
    std::uint16_t word = 0;
    if (HeaderInExecutable) {
        bool marker = false;
        while (!marker && in.ReadU16(word))
            marker = word == kExecutableTableMarker;
        if (!marker)
            return 0;
        maxEntries = kPaddedHeaderEntries;
    } else if (!in.Skip(2u + (WDCCompatibleMaps ? 2u : 0u) + (WDCCompatibleMaps && ExtendedMapNames ? 2u : 0u))) {
        return 0;
    }
    int count = 0;
    std::uint32_t offset = 0;
    while (static_cast<std::size_t>(count) < maxEntries && in.ReadU32(offset) && offset != 0 && offset != kNotStored)
        ++count;
    return count;
}

LoadReport MapHandler::Load()
{
    LoadReport header = LoadHeader();
    if (!header.ok())
        return header;
    LoadReport report = LoadMaps();
    report.warning = std::move(header.warning);
    report.headerNotes = std::move(header.headerNotes);
    LoadedWithDamage = report.Damaged();
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
    bool endMarker = false;
    while (offsets.size() < maxEntries && in.ReadU32(offset)) {
        if ((endMarker = offset == kNotStored || offset == 0))
            break;
        offsets.push_back(offset);
    }
    // The table ends as the format says; what it lists beyond that end is
    // reported, so that a save cannot silently drop those maps for good.
    if (endMarker) {
        std::size_t following = 0;
        for (std::size_t i = offsets.size() + 1; i < maxEntries && in.ReadU32(offset); ++i)
            following += offset != 0 && offset != kNotStored ? 1 : 0;
        if (following > 0)
            report.headerNotes.push_back("The map header lists more maps than were loaded: " +
                                         std::to_string(following) + (following == 1 ? " entry follows" : " entries follow") +
                                         " an empty one.");
    } else if (offsets.size() < maxEntries && !in.AtEnd()) {
        report.headerNotes.push_back("The map header lists more maps than were loaded: it ends in the middle of an entry.");
    }

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

    KeepDataLead(offsets);

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
    LoadedWithDamage = report.Damaged();
    return report;
}

void MapHandler::KeepDataLead(std::span<const std::uint32_t> offsets)
{
    DataLead.clear();
    const std::span<const std::uint8_t> file(dataFile_);
    if (offsets.empty() || file.size() < kDataSignature.size() ||
        !std::equal(kDataSignature.begin(), kDataSignature.end(), file.begin()))
        return;
    // The first map starts with the first thing the header or a map's record points at.
    std::size_t first = file.size();
    for (std::uint32_t offset : offsets)
        first = std::min<std::size_t>(first, offset);
    for (const MapType& map : Headers)
        for (std::size_t p = 0; p < map.PlaneStart.size(); ++p)
            if (map.PlaneLength[p] > 0 && map.PlaneStart[p] > 0)
                first = std::min<std::size_t>(first, map.PlaneStart[p]);
    if (first > kDataSignature.size())
        DataLead.assign(file.begin() + static_cast<std::ptrdiff_t>(kDataSignature.size()),
                        file.begin() + static_cast<std::ptrdiff_t>(first));
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
        map.Name = StoredNameBuffer(header.Name, static_cast<std::size_t>(NameLength));
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
                report.damaged.push_back("Map " + std::to_string(i + 1) + " \"" + MapNameUtf8(map.Name) +
                                         "\": plane " + std::to_string(p + 1));
        }
        if (FilePlanes >= 1 && stored < map.Planes.size())
            SetPlaceholders(map, stored);
    }
    dataFile_.clear();
    dataFile_.shrink_to_fit();
    LoadedWithDamage = LoadedWithDamage || report.Damaged();
    return report;
}

} // namespace tsl
