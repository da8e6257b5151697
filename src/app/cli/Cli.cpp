#include "app/cli/Cli.h"

#include "core/IniFile.h"
#include "mapdefs/StructureStore.h"

#include <algorithm>
#include <charconv>
#include <iostream>

namespace tsl::cli {

bool Arguments::Flag(const std::string& name)
{
    const auto it = std::find(args_.begin(), args_.end(), name);
    if (it == args_.end())
        return false;
    args_.erase(it);
    return true;
}

std::optional<std::string> Arguments::Value(const std::string& name)
{
    for (auto it = args_.begin(); it != args_.end(); ++it) {
        if (*it == name) {
            if (it + 1 == args_.end()) {
                error = "The option " + name + " needs a value.";
                args_.erase(it);
                return std::nullopt;
            }
            std::string value = *(it + 1);
            args_.erase(it, it + 2);
            return value;
        }
        if (it->rfind(name + "=", 0) == 0) {
            std::string value = it->substr(name.size() + 1);
            args_.erase(it);
            return value;
        }
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

namespace {

bool ParseNumber(const std::string& text, int base, long& value)
{
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        first += 2;
    auto [ptr, ec] = std::from_chars(first, last, value, base);
    return ec == std::errc() && ptr == last && first != last;
}

bool ParseMapNumber(std::string_view text, int& number)
{
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), last, number);
    return ec == std::errc() && ptr == last && !text.empty();
}

} // namespace

std::string ParseMapList(std::string_view list, int count, std::vector<int>& maps)
{
    const std::string form = "The map list must be map numbers from 1 and ranges, such as 1,3,5-9.";
    while (true) {
        const auto comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        const auto dash = item.find('-');
        int first = 0, last = 0;
        if (!ParseMapNumber(item.substr(0, dash), first) ||
            !ParseMapNumber(dash == std::string_view::npos ? item : item.substr(dash + 1), last) || first > last)
            return form;
        for (int number : {first, last})
            if (number < 1 || number > count)
                return "There is no map " + std::to_string(number) + ": the set has " + std::to_string(count) +
                       (count == 1 ? " map." : " maps.");
        for (int number = first; number <= last; ++number)
            maps.push_back(number - 1);
        if (comma == std::string_view::npos)
            return {};
        list.remove_prefix(comma + 1);
    }
}

std::string ReadLoaderOptions(Arguments& args, LoaderOptions& options)
{
    long value = 0;
    if (auto planes = args.Value("--planes")) {
        if (!ParseNumber(*planes, 10, value) || value < 1 || value > 32767)
            return "The number of planes must be a number from 1 to 32767.";
        options.planes = static_cast<int>(value);
    }
    if (auto tag = args.Value("--near")) {
        if (!ParseNumber(*tag, 16, value) || value < 0 || value > 0xFF)
            return "The NEARTAG must be two hexadecimal digits.";
        options.nearTag = static_cast<std::uint16_t>(value);
    }
    if (auto tag = args.Value("--far")) {
        if (!ParseNumber(*tag, 16, value) || value < 0 || value > 0xFF)
            return "The FARTAG must be two hexadecimal digits.";
        options.farTag = static_cast<std::uint16_t>(value);
    }
    if (args.Flag("--wdc"))
        options.wdc = true;
    if (args.Flag("--extended-names"))
        options.extendedNames = true;
    if (auto dir = args.Value("--mapdefs"))
        options.mapDefs = *dir;
    return args.error;
}

void Report(const Failure& failure, std::ostream& err)
{
    err << failure.caption << ": " << failure.text << "\n";
}

std::filesystem::path MapDefsRootOf(const LoaderOptions& options)
{
    return options.mapDefs ? std::filesystem::path(*options.mapDefs) : DefaultMapDefsRoot();
}

bool OpenGameSet(const std::string& dir, const LoaderOptions& options, MapHandler& maps, std::ostream& err)
{
    auto files = LocateGameFiles(dir);
    if (!files) {
        Report(files.failure(), err);
        return false;
    }
    // The game's structure says how its maps are stored, as it does for the editor.
    StructureSettings structure;
    structure.NumPlanes = 3;
    const std::filesystem::path root = MapDefsRootOf(options);
    if (StructureExists(root, files->Extension, files->HeaderExecutable))
        structure = ReadStructureSettings(
            IniFile(StructureSettingsPath(root, files->Extension, files->HeaderExecutable)));
    maps.Clear();
    maps.UseGameFiles(dir, *files);
    maps.NumPlanes = options.planes.value_or(structure.NumPlanes);
    maps.NearTag = options.nearTag.value_or(static_cast<std::uint16_t>(structure.NearTag));
    maps.FarTag = options.farTag.value_or(static_cast<std::uint16_t>(structure.FarTag));
    maps.WDCCompatibleMaps = options.wdc.value_or(structure.WDCCompatibleMaps);
    maps.ExtendedMapNames = options.extendedNames.value_or(structure.ExtendedMapNames);
    maps.NameLength = maps.ExtendedMapNames ? 32 : 16;
    maps.CurrentMap = 0;
    const LoadReport report = maps.Load();
    if (!report.ok()) {
        Report(*report.failure, err);
        return false;
    }
    if (auto damage = report.DamageMessage())
        Report(*damage, err);
    return true;
}

std::vector<Command>& Commands()
{
    static std::vector<Command> commands;
    return commands;
}

} // namespace tsl::cli

namespace tsl::cli {

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

} // namespace tsl::cli
