#include "app/cli/CliMaps.h"

#include "editor/render/MapRenderer.h"
#include "engine/StructureRules.h"
#include "mapdefs/StructureStore.h"

#include <ostream>

namespace tsl::cli {

int OpenMapsWithSymbols(const std::string& dir, const LoaderOptions& options, const MapNumbers& list,
                        MapsWithSymbols& opened, std::ostream& err)
{
    if (!OpenGameSet(dir, options, opened.maps, err))
        return 1;

    // The symbols say what a word is: without the game's structure there is nothing to count or check.
    MapHandler& maps = opened.maps;
    const std::filesystem::path root = MapDefsRootOf(options);
    if (!StructureExists(root, maps.Extension, maps.HeaderExecutable)) {
        err << "There is no map definition structure for \"" << maps.Extension << "\"-files in " << PrintableText(root.string())
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

    if (std::string error = list.Positions(maps.NumMaps(), opened.selected); !error.empty()) {
        err << PrintableText(error, true) << "\n";
        return 2;
    }
    return 0;
}

int OpenMapsWithSymbols(const std::string& dir, const LoaderOptions& options, int map, MapsWithSymbols& opened,
                        std::ostream& err)
{
    MapNumbers one;
    one.Read(std::to_string(map), false);
    return OpenMapsWithSymbols(dir, options, one, opened, err);
}

std::vector<MapFinding> CheckOpenedMap(const MapsWithSymbols& opened, const MapList& map, const EngineRules& rules,
                                       const PageFile* pages)
{
    std::vector<bool> shown;
    for (const PlaneDisplay& display : ReadPlaneDisplay(*opened.settings, opened.maps.NumPlanes))
        shown.push_back(display.Show);
    return CheckMap(map, opened.symbols, rules, ReadMapLimits(*opened.settings), shown, pages);
}

std::optional<PageFile> OpenPageFile(const MapsWithSymbols& opened)
{
    const auto path = FindPageFile(opened.maps.Path, opened.maps.Extension);
    if (!path)
        return std::nullopt;
    auto pages = PageFile::Load(*path);
    if (!pages)
        return std::nullopt;
    return std::move(*pages);
}

std::shared_ptr<const EngineRules> RequireRules(const MapsWithSymbols& opened, std::ostream& err)
{
    const RulesLoad rules = LoadEngineRules(opened.structureFolder, *opened.settings, opened.symbols);
    if (rules.Status == RulesStatus::Loaded)
        return rules.Rules;
    err << NoRulesNote(opened.structureFolder.filename().string()) << "\n";
    if (rules.Status == RulesStatus::Failed)
        Report(rules.Problem, err);
    return nullptr;
}

std::string MapLabel(const MapHandler& maps, int index)
{
    return "Map " + std::to_string(index + 1) + " (" + PrintableName(maps.Maps[static_cast<std::size_t>(index)].Name) +
           ")";
}

} // namespace tsl::cli
