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

std::string PrintableText(std::string_view text)
{
    // C1 controls too (in UTF-8 0xC2 0x80 to 0xC2 0x9F): some terminals obey them.
    bool c1 = false;
    return Escaped(text, [&c1, text, at = std::size_t{0}](unsigned char c) mutable {
        const bool lead = c == 0xC2 && at + 1 < text.size() && (static_cast<unsigned char>(text[at + 1]) & 0xE0) == 0x80;
        const bool escape = c < 0x20 || c == 0x7F || lead || c1;
        c1 = lead;
        ++at;
        return escape;
    });
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
    err << failure.caption << ": "
        << Escaped(failure.text, [](unsigned char c) { return (c < 0x20 && c != '\n') || c == 0x7F; }) << "\n";
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

bool OpenGameSet(const std::string& dir, const LoaderOptions& options, MapHandler& maps, std::ostream& err)
{
    if (auto failure = DescribeGameSet(dir, options, maps)) {
        Report(*failure, err);
        return false;
    }
    const LoadReport report = maps.Load();
    if (!report.ok()) {
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
