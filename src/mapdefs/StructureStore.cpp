#include "mapdefs/StructureStore.h"

#include "core/ExecutableDir.h"
#include "core/FileSystem.h"
#include "core/TextFile.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace tsl {

namespace {

constexpr const char* kGeneral = "General";
constexpr const char* kLeftValue = "LeftValue";
constexpr const char* kRightValue = "RightValue";
constexpr const char* kPlanes = "Planes";
constexpr const char* kPlaneNames = "PlaneNames";
constexpr const char* kShowPlanes = "ShowPlanes";
constexpr const char* kSplitPlanes = "SplitPlanes";
constexpr const char* kFloppySuffix = "_Floppy";
constexpr int kMaxPlanes = 32767;

Failure StructureFailure(std::string text)
{
    return Failure{std::move(text), kStructureErrorCaption, MessageIcon::Error};
}

std::string Key(int plane)
{
    return std::to_string(plane);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

void WriteViewKeys(IniFile& ini, bool mapGrid, int zoomPosition)
{
    ini.WriteBool(kGeneral, "MapGrid", mapGrid);
    ini.WriteInteger(kGeneral, "ZoomFactor", zoomPosition);
}

void WriteGeneralChoices(IniFile& ini, const StructureSettings& chosen)
{
    ini.WriteBool(kGeneral, "ExtendedMapNames", chosen.ExtendedMapNames);
    ini.WriteBool(kGeneral, "WDCCompatibleMaps", chosen.WDCCompatibleMaps);
    ini.WriteInteger(kGeneral, "Compression", chosen.Compression);
    ini.WriteInteger(kGeneral, "RLEWTag", chosen.RLEWTag);
    ini.WriteInteger(kGeneral, "NearTag", chosen.NearTag);
    ini.WriteInteger(kGeneral, "FarTag", chosen.FarTag);
    WriteViewKeys(ini, false, 0);
}

std::optional<Failure> CheckPlaneCount(int planeCount)
{
    if (planeCount < 1 || planeCount > kMaxPlanes)
        return StructureFailure("The number of planes must be from 1 to " + std::to_string(kMaxPlanes) + "!");
    return std::nullopt;
}

// The symbol file of a removed plane: its entry with the last four
// characters replaced by ".txt".
std::string RemovedPlaneFileName(const std::string& entry)
{
    return entry.substr(0, entry.size() >= 4 ? entry.size() - 4 : 0) + ".txt";
}

} // namespace

fs::path DefaultMapDefsRoot()
{
    return ResolveNoCase(ShippedDataDir(), "MapDefs");
}

std::string StructureName(std::string_view extension, std::string_view headerExecutable)
{
    std::string name(extension);
    if (headerExecutable == "C7.EXE")
        name += kFloppySuffix;
    return name;
}

std::string SettingsFileNameOf(std::string_view structureName)
{
    std::string_view base = structureName;
    if (EndsWithNoCase(base, kFloppySuffix))
        base.remove_suffix(std::string_view(kFloppySuffix).size());
    return std::string(base) + ".ini";
}

fs::path StructureFolderByName(const fs::path& root, std::string_view structureName)
{
    return ResolveNoCase(root, structureName);
}

fs::path StructureSettingsPathByName(const fs::path& root, std::string_view structureName)
{
    return ResolveNoCase(StructureFolderByName(root, structureName), SettingsFileNameOf(structureName));
}

fs::path StructureFolder(const fs::path& root, std::string_view extension, std::string_view headerExecutable)
{
    return StructureFolderByName(root, StructureName(extension, headerExecutable));
}

fs::path StructureSettingsPath(const fs::path& root, std::string_view extension,
                               std::string_view headerExecutable)
{
    return StructureSettingsPathByName(root, StructureName(extension, headerExecutable));
}

bool StructureExists(const fs::path& root, std::string_view extension, std::string_view headerExecutable)
{
    std::error_code ec;
    return fs::is_regular_file(StructureSettingsPath(root, extension, headerExecutable), ec);
}

std::vector<std::string> ListStructures(const fs::path& root)
{
    std::vector<std::string> names;
    for (const std::string& name : ListDirectory(root)) {
        std::error_code ec;
        if (fs::is_directory(root / name, ec))
            names.push_back(name);
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return ToUpperAscii(a) < ToUpperAscii(b); });
    return names;
}

StructureSettings ReadStructureSettings(const IniFile& settings)
{
    StructureSettings s;
    s.ExtendedMapNames = settings.ReadBool(kGeneral, "ExtendedMapNames", false);
    s.WDCCompatibleMaps = settings.ReadBool(kGeneral, "WDCCompatibleMaps", false);
    s.Compression = settings.ReadInteger(kGeneral, "Compression", 0);
    s.RLEWTag = settings.ReadInteger(kGeneral, "RLEWTag", 0xABCD);
    s.NearTag = settings.ReadInteger(kGeneral, "NearTag", 0xA7);
    s.FarTag = settings.ReadInteger(kGeneral, "FarTag", 0xA8);
    s.MapGrid = settings.ReadBool(kGeneral, "MapGrid", false);
    s.ZoomFactor = settings.ReadInteger(kGeneral, "ZoomFactor", 0);
    s.NumPlanes = settings.ReadInteger(kPlanes, "NumPlanes", 0);
    return s;
}

bool SaveStructureSettings(IniFile& settings, const MapHandler& maps, bool mapGrid, int zoomPosition)
{
    IniFile::Batch batch(settings);
    settings.WriteBool(kGeneral, "ExtendedMapNames", maps.ExtendedMapNames);
    settings.WriteBool(kGeneral, "WDCCompatibleMaps", maps.WDCCompatibleMaps);
    settings.WriteInteger(kGeneral, "Compression", maps.Compression);
    settings.WriteInteger(kGeneral, "RLEWTag", maps.RLEWTag);
    settings.WriteInteger(kGeneral, "NearTag", maps.NearTag);
    settings.WriteInteger(kGeneral, "FarTag", maps.FarTag);
    WriteViewKeys(settings, mapGrid, zoomPosition);
    return batch.Commit();
}

bool SaveStructureView(IniFile& settings, bool mapGrid, int zoomPosition)
{
    IniFile::Batch batch(settings);
    WriteViewKeys(settings, mapGrid, zoomPosition);
    return batch.Commit();
}

ButtonValues ReadButtonValues(const IniFile& settings, int planes)
{
    ButtonValues values;
    auto read = [&settings](const char* section, int plane) {
        const int value = settings.ReadInteger(section, std::to_string(plane), 0);
        return static_cast<std::uint16_t>(value >= 0 && value <= 0xFFFF ? value : 0);
    };
    for (int p = 0; p < planes; ++p) {
        values.Left.push_back(read(kLeftValue, p));
        values.Right.push_back(read(kRightValue, p));
    }
    return values;
}

bool SaveButtonValues(IniFile& settings, const ButtonValues& values)
{
    IniFile::Batch batch(settings);
    for (std::size_t p = 0; p < values.Left.size(); ++p)
        settings.WriteInteger(kLeftValue, std::to_string(p), values.Left[p]);
    for (std::size_t p = 0; p < values.Right.size(); ++p)
        settings.WriteInteger(kRightValue, std::to_string(p), values.Right[p]);
    return batch.Commit();
}

MapConfiguration CurrentMapConfiguration(const MapHandler& maps, const IniFile& settings)
{
    return MapConfiguration{maps.RLEWTag,
                            maps.NearTag,
                            maps.FarTag,
                            maps.Compression,
                            settings.ReadBool(kGeneral, "ExtendedMapNames", false),
                            settings.ReadBool(kGeneral, "WDCCompatibleMaps", false)};
}

std::optional<Failure> ApplyMapConfiguration(const MapConfiguration& chosen, MapHandler& maps, IniFile& settings)
{
    IniFile::Batch batch(settings);
    settings.WriteInteger(kGeneral, "Compression", chosen.Compression);
    settings.WriteBool(kGeneral, "ExtendedMapNames", chosen.ExtendedMapNames);
    settings.WriteBool(kGeneral, "WDCCompatibleMaps", chosen.WDCCompatibleMaps);
    if (!batch.Commit())
        return Failure{"Couldn't write the settings file " + settings.Path().string() + "!",
                       kConfigurationsErrorCaption, MessageIcon::Error};
    maps.RLEWTag = static_cast<std::uint16_t>(chosen.RLEWTag);
    maps.NearTag = static_cast<std::uint16_t>(chosen.NearTag);
    maps.FarTag = static_cast<std::uint16_t>(chosen.FarTag);
    maps.Compression = chosen.Compression;
    maps.ExtendedMapNames = chosen.ExtendedMapNames;
    maps.NameLength = chosen.ExtendedMapNames ? 32 : 16;
    maps.WDCCompatibleMaps = chosen.WDCCompatibleMaps;
    return std::nullopt;
}

std::optional<Failure> AddPlaneEntries(IniFile& settings, const fs::path& folder, int from, int to)
{
    for (int i = from; i < to; ++i) {
        const std::string name = "plane" + std::to_string(i + 1) + ".txt";
        if (!ReplaceTextFile(ResolveNoCase(folder, name), kDefaultSymbolRecord))
            return StructureFailure("Couldn't write the symbol file " + (folder / name).string() + "!");
        settings.WriteString(kPlanes, Key(i), name);
        settings.WriteString(kPlaneNames, Key(i), "Plane " + std::to_string(i + 1) + " (Unknown)");
        settings.WriteBool(kShowPlanes, Key(i), true);
        settings.WriteBool(kSplitPlanes, Key(i), false);
    }
    return std::nullopt;
}

std::vector<fs::path> RemovedPlaneFiles(const IniFile& settings, const fs::path& folder, int from, int to)
{
    // A file that a remaining plane still reads is not deleted with a plane
    // that happened to name it too.
    std::vector<fs::path> kept, removed;
    for (int i = 0; i < from; ++i)
        if (auto path = ResolveStructureFile(folder, PlaneSymbolFileName(settings, i)))
            kept.push_back(*path);
    for (int i = from; i < to; ++i) {
        const std::string entry = settings.ReadString(kPlanes, Key(i), "-1");
        if (entry == "-1")
            continue;
        const auto path = ResolveStructureFile(folder, RemovedPlaneFileName(entry));
        std::error_code ec;
        if (path && fs::is_regular_file(*path, ec) && std::find(kept.begin(), kept.end(), *path) == kept.end() &&
            std::find(removed.begin(), removed.end(), *path) == removed.end())
            removed.push_back(*path);
    }
    return removed;
}

void RemovePlaneEntries(IniFile& settings, const fs::path& folder, int from, int to)
{
    for (const fs::path& path : RemovedPlaneFiles(settings, folder, from, to)) {
        std::error_code ec;
        fs::remove(path, ec);
    }
    for (int i = from; i < to; ++i)
        for (const char* section : {kPlanes, kPlaneNames, kShowPlanes, kSplitPlanes})
            settings.DeleteKey(section, Key(i));
}

std::optional<Failure> CreateFromExisting(const fs::path& root, std::string_view source,
                                          std::string_view extension, std::string_view headerExecutable,
                                          const StructureSettings& chosen, int planeCount)
{
    if (auto failure = CheckPlaneCount(planeCount))
        return failure;
    std::error_code ec;
    const auto sourceFolder = FindNoCase(root, source);
    if (!sourceFolder || !fs::is_directory(*sourceFolder, ec))
        return StructureFailure("Couldn't find the map definition structure \"" + std::string(source) + "\"!");
    const int oldPlanes = IniFile(StructureSettingsPathByName(root, source)).ReadInteger(kPlanes, "NumPlanes", 0);
    const int diff = planeCount - oldPlanes;

    const fs::path folder = StructureFolder(root, extension, headerExecutable);
    const std::string copyFailure = "Couldn't copy the map definition structure \"" + std::string(source) +
                                    "\" to " + folder.string() + "!";
    fs::create_directories(folder, ec);
    if (ec)
        return StructureFailure(copyFailure);
    if (!fs::equivalent(*sourceFolder, folder, ec)) {
        fs::copy(*sourceFolder, folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
        if (ec)
            return StructureFailure(copyFailure);
    }

    const std::string settingsName = std::string(extension) + ".ini";
    const fs::path settingsPath = folder / settingsName;
    if (auto copied = FindNoCase(folder, SettingsFileNameOf(source)); copied && *copied != settingsPath) {
        fs::rename(*copied, settingsPath, ec);
        if (ec)
            return StructureFailure("Couldn't rename " + copied->string() + " to " + settingsName + "!");
    }

    IniFile ini(ResolveNoCase(folder, settingsName));
    IniFile::Batch batch(ini);
    WriteGeneralChoices(ini, chosen);
    const int copiedPlanes = ini.ReadInteger(kPlanes, "NumPlanes", 0);
    ini.WriteInteger(kPlanes, "NumPlanes", copiedPlanes + diff);
    if (diff > 0)
        if (auto failure = AddPlaneEntries(ini, folder, oldPlanes, planeCount))
            return failure;
    if (diff < 0)
        RemovePlaneEntries(ini, folder, planeCount, oldPlanes);
    if (!batch.Commit())
        return StructureFailure("Couldn't write the settings file " + ini.Path().string() + "!");
    return std::nullopt;
}

std::optional<Failure> CreateFromScratch(const fs::path& root, std::string_view extension,
                                         std::string_view headerExecutable, const StructureSettings& chosen,
                                         int planeCount)
{
    if (auto failure = CheckPlaneCount(planeCount))
        return failure;
    const fs::path folder = StructureFolder(root, extension, headerExecutable);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec))
        return StructureFailure("Couldn't create the folder " + folder.string() + "!");

    IniFile ini(ResolveNoCase(folder, std::string(extension) + ".ini"));
    IniFile::Batch batch(ini);
    WriteGeneralChoices(ini, chosen);
    ini.WriteInteger(kPlanes, "NumPlanes", planeCount);
    if (auto failure = AddPlaneEntries(ini, folder, 0, planeCount))
        return failure;
    const fs::path types = ResolveNoCase(folder, kSymbolTypesFileName);
    if (!ReplaceTextFile(types, "ot,Other Tile,1"))
        return StructureFailure("Couldn't write " + types.string() + "!");
    if (!batch.Commit())
        return StructureFailure("Couldn't write the settings file " + ini.Path().string() + "!");
    return std::nullopt;
}

std::optional<fs::path> ResolveStructureFile(const fs::path& folder, std::string_view name)
{
    if (name.empty() || name.front() == '/' || name.front() == '\\' ||
        (name.size() >= 2 && name[1] == ':')) // a drive letter
        return std::nullopt;
    fs::path path = folder;
    std::size_t start = 0;
    bool any = false;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find_first_of("\\/", start), name.size());
        const std::string_view part = name.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..")
            return std::nullopt;
        path = ResolveNoCase(path, part);
        any = true;
    }
    if (!any)
        return std::nullopt;
    return path;
}

std::string PlaneSymbolFileName(const IniFile& settings, int plane)
{
    return settings.ReadString(kPlanes, Key(plane), "extra.txt");
}

std::string PlaneName(const IniFile& settings, int plane)
{
    return settings.ReadString(kPlaneNames, Key(plane), "Unknown Plane");
}

std::string HexEditText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c < '0')
            c = '0';
        if (c > 'z')
            c = 'f';
        if (c > '9' && c < 'A')
            c = 'A';
        if (c > 'F')
            c = c < 'a' ? 'a' : (c > 'f' ? 'f' : c);
        out.push_back(static_cast<char>(c));
    }
    return ToUpperAscii(out);
}

std::optional<int> HexTextValue(std::string_view text)
{
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || text.front() == '-')
        return std::nullopt;
    return value;
}

std::string HexText(int value, int digits)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out(static_cast<std::size_t>(std::max(digits, 0)), '0');
    auto v = static_cast<unsigned>(value);
    for (std::size_t i = out.size(); i-- > 0; v >>= 4)
        out[i] = kDigits[v & 0xF];
    return out;
}

} // namespace tsl
