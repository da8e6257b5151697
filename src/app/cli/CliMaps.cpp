#include "app/cli/CliMaps.h"

#include "core/Windows1252.h"
#include "mapdefs/StructureStore.h"

#include <cstdio>
#include <ostream>
#include <sstream>

namespace tsl::cli {

int OpenMapsWithSymbols(Arguments& args, const std::string& usage, MapsWithSymbols& opened, std::ostream& err)
{
    LoaderOptions options;
    if (std::string error = ReadLoaderOptions(args, options); !error.empty()) {
        err << error << "\n";
        return 2;
    }
    const auto list = args.Value("--maps");
    if (!ExpectPositionals(args, 1, usage, err))
        return 2;
    const std::string dir = args.Rest()[0];

    std::ostringstream loadMessages;
    if (!OpenGameSet(dir, options, opened.maps, loadMessages)) {
        err << loadMessages.str();
        return 1;
    }
    err << loadMessages.str();
    opened.damaged = opened.maps.LoadedWithDamage;

    // The symbols say what a word is: without the game's structure there is nothing to count or check.
    MapHandler& maps = opened.maps;
    const std::filesystem::path root = MapDefsRootOf(options);
    if (!StructureExists(root, maps.Extension, maps.HeaderExecutable)) {
        err << "There is no map definition structure for \"" << maps.Extension << "\"-files in " << root.string()
            << ".\n";
        return 1;
    }
    opened.structureFolder = StructureFolder(root, maps.Extension, maps.HeaderExecutable);
    opened.settings =
        std::make_unique<IniFile>(StructureSettingsPath(root, maps.Extension, maps.HeaderExecutable));
    // The command line never mends the structure's files: it changes no file but its own output and the maps.
    if (auto failure =
            opened.symbols.LoadMapSymbols(opened.structureFolder, *opened.settings, maps.NumPlanes, false)) {
        Report(*failure, err);
        return 1;
    }

    if (list) {
        if (std::string error = ParseMapList(*list, maps.NumMaps(), opened.selected); !error.empty()) {
            err << error << "\n";
            return 2;
        }
    } else {
        for (int i = 0; i < maps.NumMaps(); ++i)
            opened.selected.push_back(i);
    }
    return 0;
}

std::string MapLabel(const MapHandler& maps, int index)
{
    return "Map " + std::to_string(index + 1) + " (" + PrintableName(maps.Maps[static_cast<std::size_t>(index)].Name) +
           ")";
}

std::string JsonName(std::span<const std::uint8_t> name)
{
    std::string out = "\"";
    for (char ch : MapNameText(name)) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c == 0x7F || IsUndefinedInWindows1252(c)) {
            // Controls, and the five undefined bytes (read as the C1
            // controls of their number), escaped: the same characters.
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += Windows1252ToUtf8(std::string_view(&ch, 1));
        }
    }
    return out + "\"";
}

} // namespace tsl::cli
