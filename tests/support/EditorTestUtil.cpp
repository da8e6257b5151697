#include "EditorTestUtil.h"

#include <gtest/gtest.h>

namespace tsl::test {

std::unique_ptr<Project> MemoryProject(const fs::path& folder, const MemoryProjectOptions& options)
{
    auto project = std::make_unique<Project>();
    project->Maps = EmptySet(folder, DataFileVersion::GameMaps, options.planes);
    project->Maps.WDCCompatibleMaps = options.wdc;
    char name = 'A';
    for (auto [width, height] : options.sizes) {
        MapList map = project->Maps.CreateMap(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                                              std::string(1, name++));
        project->Maps.Headers.push_back(MapHandler::HeaderFor(map));
        project->Maps.AddMap(std::move(map));
    }
    project->Maps.RenumberMaps(0, 0);
    project->StructureFolder = folder;
    project->Settings = std::make_unique<IniFile>(folder / "WL6.ini");
    for (int p = 0; p < options.planes; ++p)
        project->Settings->WriteBool("ShowPlanes", std::to_string(p), true);
    for (int p : options.splitPlanes)
        project->Settings->WriteBool("SplitPlanes", std::to_string(p), true);

    std::vector<std::vector<std::string>> lines(static_cast<std::size_t>(options.planes));
    for (auto& plane : lines)
        for (int v = 0; v < 10; ++v)
            plane.push_back(std::to_string(v) + ",Value " + std::to_string(v) + "," +
                            std::string(64, static_cast<char>('0' + v)) + ",ot,0");
    auto tables = SymbolTables::FromLines(lines, {"ot,Other Tile,1"});
    EXPECT_TRUE(tables) << tables.failure().text;
    project->Symbols = std::move(*tables);
    return project;
}

std::unique_ptr<EditorSession> MemorySession(const fs::path& folder, const MemoryProjectOptions& options)
{
    return std::make_unique<EditorSession>(MemoryProject(folder, options));
}

std::vector<std::string> MapNames(const MapHandler& maps)
{
    std::vector<std::string> names;
    for (const MapList& map : maps.Maps)
        names.push_back(MapNameText(map.Name));
    return names;
}

} // namespace tsl::test
