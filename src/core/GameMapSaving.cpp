// Writing the map set back into the game's own files.

#include "core/Compression.h"
#include "core/FileSystem.h"
#include "core/MapHandler.h"

#include <algorithm>
#include <chrono>

namespace tsl {

namespace {

constexpr const char* kSaveCaption = "Error saving maps";
constexpr std::size_t kMaxChunk = 0xFFFF; // chunk lengths are 16-bit
constexpr std::uint16_t kExecutableTableMarker = 0xABCD;

Failure SaveFailure(std::string text)
{
    return Failure{std::move(text) + "\n\nNo file was changed.", kSaveCaption, MessageIcon::Error};
}

std::string MapLabel(std::size_t index, const MapList& map)
{
    return "map " + std::to_string(index + 1) + " \"" + MapNameUtf8(map.Name) + "\"";
}

void WriteRecord(ByteWriter& out, const std::vector<std::uint32_t>& starts, const std::vector<std::uint16_t>& lengths,
                 const MapList& map, std::size_t nameField)
{
    for (std::uint32_t s : starts)
        out.U32(s);
    for (std::uint16_t l : lengths)
        out.U16(l);
    out.U16(map.Width);
    out.U16(map.Height);
    const std::vector<std::uint8_t> name = StoredNameBuffer(map.Name, nameField);
    out.Append(name);
}

} // namespace

Outcome<MapHandler::SaveImage> MapHandler::BuildSaveImage(const SaveProgress& progress) const
{
    const bool mapTemp = FileVersion == DataFileVersion::MapTemp;
    // The layout follows the data file: MAPTEMP holds RLEW streams, GAMEMAPS
    // Carmack streams, as the loader reads them, whatever Compression says.
    const bool rlewOnly = mapTemp;
    const auto planes = static_cast<std::size_t>(std::max(NumPlanes, 0));
    const std::size_t nameField = mapTemp ? 16 : static_cast<std::size_t>(std::max(NameLength, 1));
    const std::size_t recordSize = 6 * planes + 4 + nameField;
    const auto nearTag = static_cast<std::uint8_t>(NearTag);
    const auto farTag = static_cast<std::uint8_t>(FarTag);
    const bool skipPlane2 = rlewOnly && (Extension == "BS6" || Extension == "VSI");
    const std::size_t count = Maps.size();
    const std::string dataName = DataFileName();

    if (!rlewOnly && nearTag == farTag)
        return SaveFailure("The NEARTAG and the FARTAG are equal, so the maps cannot be compressed!");

    // A plain header has room for 100 offsets; a longer one would be read as
    // a WDC header at the next open.
    if (!WDCCompatibleMaps && !HeaderInExecutable && count > static_cast<std::size_t>(kPaddedHeaderEntries))
        return SaveFailure("The map header holds at most 100 maps, but there are " + std::to_string(count) + "!");

    std::optional<Bytes> executable;
    std::size_t tablePos = 0;
    if (HeaderInExecutable) {
        const std::filesystem::path exePath = ExecutablePath();
        std::error_code ec;
        if (std::filesystem::exists(exePath, ec)) {
            if (count > static_cast<std::size_t>(kPaddedHeaderEntries))
                return SaveFailure("The map table of " + HeaderExecutable + " holds at most 100 maps, but there are " +
                                   std::to_string(count) + "!");
            if (RLEWTag != kExecutableTableMarker)
                return SaveFailure("The map table of " + HeaderExecutable +
                                   " is found by the RLEW-Tag ABCD, so the tag cannot be changed!");
            executable = ReadWholeFile(exePath);
            if (!executable)
                return SaveFailure("Couldn't read " + HeaderExecutable + "!");
            bool found = false;
            for (tablePos = 0; tablePos + 2 <= executable->size(); tablePos += 2)
                if ((found = GetU16(executable->data() + tablePos) == kExecutableTableMarker))
                    break;
            if (!found)
                return SaveFailure("Couldn't find the map table in " + HeaderExecutable + "!");
            const std::size_t room = (executable->size() - tablePos - 2) / 4;
            if (room < static_cast<std::size_t>(kPaddedHeaderEntries))
                return SaveFailure(ShortExecutableTableText(HeaderExecutable, room));
        }
    }

    ByteWriter header;
    header.U16(RLEWTag);
    if (WDCCompatibleMaps) {
        header.U16(static_cast<std::uint16_t>(NumPlanes));
        if (ExtendedMapNames)
            header.U16(static_cast<std::uint16_t>(NameLength));
    }
    std::vector<std::uint32_t> offsets;
    offsets.reserve(count);

    ByteWriter data;
    data.Append(kDataSignature);
    data.Append(DataLead);
    std::vector<std::uint32_t> starts(planes);
    std::vector<std::uint16_t> lengths(planes);
    std::vector<Bytes> chunks(planes);

    for (std::size_t i = 0; i < count; ++i) {
        if (progress)
            progress(static_cast<int>(i + 1), static_cast<int>(count));
        const MapList& map = Maps[i];
        if (map.Planes.size() != planes)
            return SaveFailure("The planes of " + MapLabel(i, map) + " are incomplete!");

        for (std::size_t p = 0; p < planes; ++p) {
            if (map.Planes[p].size() != map.WordCount())
                return SaveFailure("The planes of " + MapLabel(i, map) + " are incomplete!");
            if (skipPlane2 && p == 2) {
                chunks[p].clear();
                continue;
            }
            Bytes rlew = RLEWCompress(map.Planes[p], RLEWTag);
            if (rlew.size() > kMaxChunk)
                return SaveFailure("Plane " + std::to_string(p + 1) + " of " + MapLabel(i, map) +
                                   " needs " + std::to_string(rlew.size()) +
                                   " bytes, more than the 65535 bytes the map files can hold!");
            if (rlewOnly) {
                chunks[p] = std::move(rlew);
            } else {
                auto carmack = CarmackCompress(rlew, nearTag, farTag); // the RLEW stream fits: checked above
                if (!carmack || carmack->size() > kMaxChunk)
                    return SaveFailure("Plane " + std::to_string(p + 1) + " of " + MapLabel(i, map) + " needs " +
                                       std::to_string(carmack ? carmack->size() : rlew.size()) +
                                       " bytes, more than the 65535 bytes the map files can hold!");
                chunks[p] = std::move(*carmack);
            }
        }

        const std::size_t position = data.Size();
        if (rlewOnly) {
            // Header record, then the planes, then the signature.
            std::size_t next = position + recordSize;
            for (std::size_t p = 0; p < planes; ++p) {
                if (skipPlane2 && p == 2) {
                    starts[p] = kNotStored;
                    lengths[p] = 0;
                    continue;
                }
                starts[p] = static_cast<std::uint32_t>(next);
                lengths[p] = static_cast<std::uint16_t>(chunks[p].size());
                next += chunks[p].size();
            }
            offsets.push_back(static_cast<std::uint32_t>(position));
            WriteRecord(data, starts, lengths, map, nameField);
            for (const Bytes& chunk : chunks)
                data.Append(chunk);
        } else {
            // The planes, then the header record, then the signature.
            for (std::size_t p = 0; p < planes; ++p) {
                starts[p] = static_cast<std::uint32_t>(data.Size());
                lengths[p] = static_cast<std::uint16_t>(chunks[p].size());
                data.Append(chunks[p]);
            }
            offsets.push_back(static_cast<std::uint32_t>(data.Size()));
            WriteRecord(data, starts, lengths, map, nameField);
        }
        data.Append(kMapSignature);
        if (data.Size() > 0x7FFFFFFF)
            return SaveFailure("The maps are too large for the map files!");
    }

    const std::uint32_t padding = mapTemp ? kNotStored : 0;
    for (std::uint32_t o : offsets)
        header.U32(o);
    for (std::size_t i = count; i < static_cast<std::size_t>(kPaddedHeaderEntries); ++i)
        header.U32(padding);

    if (executable) {
        std::uint8_t* table = executable->data() + tablePos;
        PutU16(table, RLEWTag);
        for (std::size_t i = 0; i < static_cast<std::size_t>(kPaddedHeaderEntries); ++i)
            PutU32(table + 2 + 4 * i, i < count ? offsets[i] : padding);
    }
    return SaveImage{std::move(header.Data()), std::move(data.Data()), std::move(executable)};
}

std::optional<Failure> MapHandler::Save(const SaveProgress& progress, std::string* kept) const
{
    auto image = BuildSaveImage(progress);
    if (!image)
        return image.failure();

    // The file that lists the maps goes last: it is moved away last and put
    // in place last. A save stopped half-way then always leaves a file of the
    // set missing, and the rule to get the previous set back is simple: with
    // the listing file missing, every file comes back from its backup;
    // otherwise only the missing ones (the others were not touched yet).
    std::vector<std::filesystem::path> targets{DataFilePath(), HeaderFilePath()};
    if (image->executable)
        targets.push_back(ExecutablePath());
    std::vector<std::string> names;
    for (const auto& target : targets)
        names.push_back(target.filename().string());
    // A set that loaded damaged never replaces a backup: the backup may be
    // the last sound copy of the maps.
    const std::string suffix = LoadedWithDamage ? FreshBackupSuffix(Path, names) : ".BAK";

    std::vector<FileReplacement> files;
    std::vector<std::string> backups;
    Bytes* contents[] = {&image->data, &image->header, image->executable ? &*image->executable : nullptr};
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const std::filesystem::path backup =
            LoadedWithDamage ? Path / (names[i] + suffix) : ResolveNoCase(Path, names[i] + suffix);
        backups.push_back(backup.filename().string());
        files.push_back(FileReplacement{targets[i], backup, std::move(*contents[i])});
    }

    // What is replaced is read before anything changes: its generation is
    // written once the new files stand, so a failed save leaves none.
    std::optional<GenerationContent> replaced;
    if (Backups.Active()) {
        replaced = FilesOnDisk();
        if (PlaneChangeSave) {
            replaced->Planes = PlaneChangeSave->Planes;
            replaced->StructureFiles = PlaneChangeSave->StructureFiles;
        }
    }

    const ReplaceOutcome outcome = ReplaceFiles(std::move(files));
    if (!outcome.refusal.empty())
        return SaveFailure(outcome.refusal);
    if (outcome.error) {
        const std::string what = "Couldn't write " + outcome.error->Describe() + "!\n\n";
        return Failure{what + (outcome.restored ? "The previous map files were kept." : outcome.onDisk), kSaveCaption,
                       MessageIcon::Error};
    }
    std::string notes;
    if (LoadedWithDamage)
        notes = "The previous files were kept as " + JoinAnd(backups) + ".";
    if (replaced) {
        const KeepOutcome generation = KeepGeneration(Backups, Path, *replaced, std::chrono::system_clock::now());
        if (generation.Error)
            notes += std::string(notes.empty() ? "" : "\n\n") +
                     "The previous files couldn't be kept as a backup generation: " + generation.Error->Describe() +
                     ".";
    }
    if (kept)
        *kept = notes;
    return std::nullopt;
}

GenerationContent MapHandler::FilesOnDisk() const
{
    GenerationContent content;
    content.Planes = FilePlanes >= 1 ? FilePlanes : NumPlanes;
    std::vector<std::filesystem::path> paths{DataFilePath(), HeaderFilePath()};
    if (HeaderInExecutable)
        paths.push_back(ExecutablePath());
    for (const auto& path : paths)
        KeepFileOf(content, path);
    const std::string table = (HeaderInExecutable ? ExecutablePath() : HeaderFilePath()).filename().string();
    for (const KeptFile& file : content.GameFiles)
        if (file.Name == table)
            content.Maps = ListedMapCount(file.Content);
    return content;
}

} // namespace tsl
