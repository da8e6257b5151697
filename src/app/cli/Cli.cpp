#include "app/cli/Cli.h"

#include "core/IniFile.h"
#include "core/UserFolders.h"
#include "core/Windows1252.h"
#include "editor/AppSettings.h"
#include "mapdefs/StructureStore.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>

namespace tsl::cli {

void Arguments::NoteTwice(const std::string& name)
{
    const bool again = std::any_of(args_.begin(), args_.end(), [&](const std::string& a) {
        return a == name || a.rfind(name + "=", 0) == 0;
    });
    if (again && error.empty())
        error = "The option " + name + " is given twice.";
}

bool Arguments::Flag(const std::string& name)
{
    const auto it = std::find(args_.begin(), args_.end(), name);
    if (it == args_.end())
        return false;
    args_.erase(it);
    NoteTwice(name);
    return true;
}

std::optional<std::string> Arguments::Value(const std::string& name)
{
    for (auto it = args_.begin(); it != args_.end(); ++it) {
        std::string value;
        if (*it == name) {
            // No value of an option starts with "--": that is the next option.
            if (it + 1 == args_.end() || (it + 1)->rfind("--", 0) == 0) {
                error = "The option " + name + " needs a value.";
                args_.erase(it);
                return std::nullopt;
            }
            value = *(it + 1);
            args_.erase(it, it + 2);
        } else if (it->rfind(name + "=", 0) == 0) {
            value = it->substr(name.size() + 1);
            args_.erase(it);
        } else {
            continue;
        }
        NoteTwice(name);
        return value;
    }
    return std::nullopt;
}

std::optional<std::string> Arguments::UnknownOption() const
{
    for (const std::string& a : args_)
        if (a.size() > 1 && a[0] == '-')
            return a;
    return std::nullopt;
}

std::optional<long> ParseNumber(std::string_view text, int base, long min, long max)
{
    if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    long value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

std::string ParseMapList(std::string_view list, int count, std::vector<int>& maps)
{
    const std::string form = "The map list must be map numbers from 1 and ranges, such as 1,3,5-9.";
    while (true) {
        const auto comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        const auto dash = item.find('-');
        const auto first = ParseNumber(item.substr(0, dash), 10, 0, 1L << 30);
        const auto last = ParseNumber(dash == std::string_view::npos ? item : item.substr(dash + 1), 10, 0, 1L << 30);
        if (!first || !last || *first > *last)
            return form;
        for (long number : {*first, *last})
            if (number < 1 || number > count)
                return "There is no map " + std::to_string(number) + ": the set has " + std::to_string(count) +
                       (count == 1 ? " map." : " maps.");
        for (long number = *first; number <= *last; ++number)
            maps.push_back(static_cast<int>(number - 1));
        if (comma == std::string_view::npos)
            return {};
        list.remove_prefix(comma + 1);
    }
}

std::string EscapeControls(std::string_view text, bool keepLines)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && !(keepLines && c == '\n')) || byte == 0x7F) {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

std::string PrintableName(std::span<const std::uint8_t> name)
{
    std::string bytes;
    for (char c : MapNameText(name)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || IsUndefinedInWindows1252(byte)) {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            bytes += code;
        } else {
            bytes += c;
        }
    }
    return Windows1252ToUtf8(bytes);
}

std::string PadRight(std::string_view text, std::size_t width)
{
    // Every byte that does not continue a UTF-8 sequence starts a character.
    const auto characters = static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    return std::string(text) + std::string(width > characters ? width - characters : 0, ' ');
}

namespace {

// A Carmack tag: two hexadecimal digits.
std::string ReadTag(Arguments& args, const std::string& option, const std::string& name,
                    std::optional<std::uint16_t>& tag)
{
    if (auto text = args.Value(option)) {
        const auto value = ParseNumber(*text, 16, 0, 0xFF);
        if (!value)
            return "The " + name + " must be two hexadecimal digits.";
        tag = static_cast<std::uint16_t>(*value);
    }
    return {};
}

// An option and its opposite ("--wdc", "--no-wdc"): the setting, if given.
std::optional<bool> Switch(Arguments& args, const std::string& name)
{
    const bool on = args.Flag("--" + name);
    const bool off = args.Flag("--no-" + name);
    if (on && off && args.error.empty())
        args.error = "The options --" + name + " and --no-" + name + " contradict each other.";
    if (on || off)
        return on;
    return std::nullopt;
}

} // namespace

std::string ReadLoaderOptions(Arguments& args, LoaderOptions& options)
{
    if (auto planes = args.Value("--planes")) {
        const auto value = ParseNumber(*planes, 10, 1, 32767);
        if (!value)
            return "The number of planes must be a number from 1 to 32767.";
        options.planes = static_cast<int>(*value);
    }
    for (std::string error : {ReadTag(args, "--near", "NEARTAG", options.nearTag),
                              ReadTag(args, "--far", "FARTAG", options.farTag)})
        if (!error.empty())
            return error;
    options.wdc = Switch(args, "wdc");
    options.extendedNames = Switch(args, "extended-names");
    if (auto dir = args.Value("--mapdefs")) {
        std::error_code ec;
        if (!std::filesystem::is_directory(*dir, ec))
            return "The MapDefs folder " + *dir + " doesn't exist!";
        options.mapDefs = *dir;
    }
    return args.error;
}

void Report(const Failure& failure, std::ostream& err)
{
    err << failure.caption << ": " << EscapeControls(failure.text, true) << "\n";
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

std::vector<Command>& Commands()
{
    static std::vector<Command> commands;
    return commands;
}

bool ExpectPositionals(const Arguments& args, std::size_t count, const std::string& usage, std::ostream& err)
{
    if (!args.error.empty()) {
        err << args.error << "\n";
        return false;
    }
    if (auto unknown = args.UnknownOption()) {
        err << "Unknown option " << *unknown << ".\nUsage: tesselar-cli " << usage << "\n";
        return false;
    }
    if (args.Rest().size() != count) {
        err << "Usage: tesselar-cli " << usage << "\n";
        return false;
    }
    return true;
}

namespace {

void PrintHelp(std::ostream& out)
{
    auto commands = Commands();
    std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    out << "Usage: tesselar-cli COMMAND [ARGUMENTS]\n\n"
           "The command-line companion of Tesselar, the map editor for Wolfenstein 3-D\n"
           "engine games. DIR is a game's data directory (MAPHEAD and GAMEMAPS or MAPTEMP).\n\n"
           "Commands:\n";
    for (const auto& c : commands)
        out << "  " << c.usage << "\n      " << c.summary << "\n";
    out << "\nLoader options (how the game's maps are stored; what is not given comes from\n"
           "the game's map definition structure in MapDefs, else from the defaults):\n"
           "  --planes N          planes per map (default 3)\n"
           "  --near XX           Carmack near tag, hexadecimal (default A7)\n"
           "  --far XX            Carmack far tag, hexadecimal (default A8)\n"
           "  --wdc, --no-wdc     the map header carries the plane count (WDC compatible), or not\n"
           "  --extended-names, --no-extended-names\n"
           "                      32-character map names, or 16\n"
           "  --mapdefs DIR       the MapDefs folder (default: the shipped one)\n\n"
           "Commands that save refuse a set whose load found damage unless --force is given;\n"
           "commands that only read it end with exit status 3 then. Every save also keeps the\n"
           "files it replaces as a backup generation in\n";
    out << DefaultBackupsRoot().string() << "\n(the newest " << kDefaultBackupKeep
        << ", or as many as TSL.ini [Backups] Keep says); see backups and restore.\n\n"
           "  --help              this text\n"
           "  --version           the program's version\n";
}

} // namespace

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(args.empty() ? err : out);
        return args.empty() ? kExitUsage : 0;
    }
    if (args[0] == "--version") {
        out << "tesselar-cli " << TESSELAR_VERSION << "\n";
        return 0;
    }
    for (const auto& command : Commands()) {
        if (command.name != args[0])
            continue;
        Arguments rest({args.begin() + 1, args.end()});
        if (rest.Flag("--help")) {
            out << "Usage: tesselar-cli " << command.usage << "\n" << command.summary << "\n";
            return 0;
        }
        return command.run(rest, out, err);
    }
    err << "Unknown command \"" << args[0] << "\". See tesselar-cli --help.\n";
    return kExitUsage;
}

} // namespace tsl::cli
