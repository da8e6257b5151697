#include "app/cli/Cli.h"

#include "core/IniFile.h"
#include "core/UserFolders.h"
#include "core/Windows1252.h"
#include "editor/settings/AppSettings.h"
#include "mapdefs/StructureStore.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace tsl::cli {

namespace {

// `text` with the bytes that `escape` picks as \xNN.
template <class Pick>
std::string Escaped(std::string_view text, Pick escape)
{
    std::string out;
    for (char c : text) {
        char code[5];
        std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(c));
        out += escape(static_cast<unsigned char>(c)) ? std::string(code) : std::string(1, c);
    }
    return out;
}

} // namespace

std::string PrintableName(std::span<const std::uint8_t> name)
{
    return Windows1252ToUtf8(Escaped(MapNameText(name), [](unsigned char c) {
        return c < 0x20 || c == 0x7F || IsUndefinedInWindows1252(c);
    }));
}

std::string PrintableText(std::string_view text, bool lineBreaks)
{
    std::string out;
    char code[5];
    for (std::size_t at = 0; at < text.size();) {
        // The length of the UTF-8 character at `at`, 0 for a byte that starts none.
        const auto byte = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
        const unsigned lead = byte(at);
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                                                          : lead >= 0xF0 && lead <= 0xF4  ? 4
                                                                                                          : 0;
        // The second byte's range rules out long forms, surrogates and what lies past U+10FFFF.
        const unsigned low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const unsigned high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        for (std::size_t i = 1; i < length; ++i)
            if (byte(at + i) < (i == 1 ? low : 0x80) || byte(at + i) > (i == 1 ? high : 0xBF))
                length = 0;
        // C0 and C1 controls and DEL: some terminals obey C1 controls as UTF-8, some as single bytes.
        const bool control = (lead < 0x20 && !(lineBreaks && lead == '\n')) || lead == 0x7F ||
                             (lead == 0xC2 && length == 2 && byte(at + 1) < 0xA0);
        if (length == 0 || control) {
            for (std::size_t i = 0; i < std::max<std::size_t>(length, 1); ++i) {
                std::snprintf(code, sizeof code, "\\x%02X", byte(at + i));
                out += code;
            }
            at += std::max<std::size_t>(length, 1);
            continue;
        }
        out.append(text.substr(at, length));
        at += length;
    }
    return out;
}

std::string PadRight(std::string_view text, std::size_t width)
{
    // Every byte that does not continue a UTF-8 sequence starts a character.
    const auto characters = static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    return std::string(text) + std::string(width > characters ? width - characters : 0, ' ');
}

void Report(const Failure& failure, std::ostream& err)
{
    // Control characters of the text (a file name, say) cannot drive the terminal.
    err << failure.caption << ": " << PrintableText(failure.text, true) << "\n";
}

std::filesystem::path MapDefsRootOf(const LoaderOptions& options)
{
    return options.mapDefs ? std::filesystem::path(*options.mapDefs) : DefaultMapDefsRoot();
}

namespace {

// The open flow asks when the header's size and the WDC setting disagree;
// here the options are the answer.
std::optional<Failure> WdcDisagreement(const GameFiles& files, bool wdc)
{
    const WdcMismatch mismatch = CheckWdcSetting(files, wdc);
    if (mismatch == WdcMismatch::LooksWdc)
        return Failure{std::string(kLooksWdcText) + " Give --wdc to read it as WDC compatible (with --extended-names "
                                                     "for 32-character names).",
                       "Error loading maps", MessageIcon::Warning};
    if (mismatch == WdcMismatch::LooksPlain)
        return Failure{std::string(kLooksPlainText) + "\n\nGive --no-wdc to read them as plain maps.",
                       "Error loading maps", MessageIcon::Warning};
    return std::nullopt;
}

} // namespace

std::optional<Failure> DescribeGameSet(const std::string& dir, const LoaderOptions& options, MapHandler& maps,
                                       std::optional<std::filesystem::path>* structureFolder)
{
    auto files = LocateGameFiles(dir);
    if (!files)
        return files.failure();
    // The game's structure says how its maps are stored, as it does for the editor.
    StructureSettings structure;
    structure.NumPlanes = 3;
    const std::filesystem::path root = MapDefsRootOf(options);
    if (StructureExists(root, files->Extension, files->HeaderExecutable)) {
        structure = ReadStructureSettings(
            IniFile(StructureSettingsPath(root, files->Extension, files->HeaderExecutable)));
        if (structureFolder)
            *structureFolder = StructureFolder(root, files->Extension, files->HeaderExecutable);
    }
    maps.Clear();
    maps.UseGameFiles(dir, *files);
    maps.NumPlanes = options.planes.value_or(structure.NumPlanes);
    maps.NearTag = options.nearTag.value_or(static_cast<std::uint16_t>(structure.NearTag));
    maps.FarTag = options.farTag.value_or(static_cast<std::uint16_t>(structure.FarTag));
    maps.WDCCompatibleMaps = options.wdc.value_or(structure.WDCCompatibleMaps);
    maps.ExtendedMapNames = options.extendedNames.value_or(structure.ExtendedMapNames);
    maps.NameLength = maps.ExtendedMapNames ? 32 : 16;
    maps.CurrentMap = 0;
    maps.Backups = CliBackupPolicy();
    return WdcDisagreement(*files, maps.WDCCompatibleMaps);
}

BackupPolicy CliBackupPolicy()
{
    return {DefaultBackupsRoot(), AppSettings::Read(IniFile(DefaultAppSettingsFile())).BackupKeep};
}

namespace {

// When the maps do not load with --planes but do without it, the option is
// what is wrong, not the files: said on `err`, and true.
bool PlaneCountIsWrong(const std::string& dir, const LoaderOptions& options, const std::string& caption,
                       std::ostream& err)
{
    if (!options.planes)
        return false;
    LoaderOptions without = options;
    without.planes.reset();
    MapHandler maps;
    if (DescribeGameSet(dir, without, maps) || maps.NumPlanes == *options.planes || !maps.Load().ok())
        return false;
    const std::string given = std::to_string(*options.planes), read = std::to_string(maps.NumPlanes);
    Report({"The maps do not read with --planes " + given + " (the map files then look damaged); they read with " +
                read + " planes a map: leave out --planes, or give --planes " + read + ".",
            caption, MessageIcon::Warning},
           err);
    return true;
}

} // namespace

bool OpenGameSet(const std::string& dir, const LoaderOptions& options, MapHandler& maps, std::ostream& err)
{
    if (auto failure = DescribeGameSet(dir, options, maps)) {
        Report(*failure, err);
        return false;
    }
    const LoadReport report = maps.Load();
    if (!report.ok()) {
        if (!PlaneCountIsWrong(dir, options, report.failure->caption, err))
            Report(*report.failure, err);
        return false;
    }
    if (auto damage = report.DamageMessage())
        Report(*damage, err);
    return true;
}

int ReadingStatus(const MapHandler& maps, std::ostream& err)
{
    if (!maps.LoadedWithDamage)
        return 0;
    err << "The set is damaged (see above): the maps were read only as far as they are sound.\n";
    return kExitDamaged;
}

bool RefuseDamagedSave(const MapHandler& maps, bool force, std::ostream& err)
{
    if (!maps.LoadedWithDamage || force)
        return false;
    err << "Some maps were damaged when they were loaded (see above); saving would write them as they are now. "
           "Nothing was saved. Give --force to save anyway: the previous files are then kept under a new "
           "backup name.\n";
    return true;
}

bool SaveGameSet(const MapHandler& maps, bool force, std::ostream& err, std::string& kept)
{
    if (RefuseDamagedSave(maps, force, err))
        return false;
    if (auto failure = maps.Save({}, &kept)) {
        Report(*failure, err);
        return false;
    }
    return true;
}

} // namespace tsl::cli
