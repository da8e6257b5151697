#include "EditorTestUtil.h"

#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace tsl::test {

std::unique_ptr<Project> MemoryProject(const fs::path& folder, const MemoryProjectOptions& options)
{
    MapHandler maps = EmptySet(folder, DataFileVersion::GameMaps, options.planes);
    maps.WDCCompatibleMaps = options.wdc;
    char name = 'A';
    for (auto [width, height] : options.sizes) {
        MapList map = maps.CreateMap(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                                     std::string(1, name++));
        maps.Headers.push_back(MapHandler::HeaderFor(map));
        maps.AddMap(std::move(map));
    }
    maps.RenumberMaps(0, 0);
    auto project = std::make_unique<Project>(std::move(maps));
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

void LayWords(MapDocument& document, const std::function<void(MapHandler&)>& lay)
{
    auto change = document.Begin();
    lay(change.Set());
    change.Commit();
    document.MarkSaved();
    document.RebuildHistories();
}

std::unique_ptr<Project> OpenGame(const fs::path& game, const fs::path& root, const BackupPolicy& backups)
{
    ScriptedPrompter prompter;
    OpenRequest request;
    request.directory = game;
    request.mapDefsRoot = root;
    request.backups = backups;
    OpenOutcome outcome = OpenProject(request, prompter, {});
    EXPECT_EQ(outcome.result, OpenResult::Opened) << prompter.Unfinished();
    return std::move(outcome.project);
}

OpenedSampleGame::OpenedSampleGame(bool generations)
{
    fs::create_directories(game);
    CopyGame(SampleGameDir(), game);
    fs::create_directories(root);
    fs::copy(SourceDir() / "data" / "MapDefs" / "WL6", root / "WL6", fs::copy_options::recursive);
    project = OpenGame(game, root, generations ? BackupPolicy{dir / "Backups", 20} : BackupPolicy{});
}

std::vector<std::string> MapNames(const MapHandler& maps)
{
    std::vector<std::string> names;
    for (const MapList& map : maps.Maps)
        names.push_back(MapNameText(map.Name));
    return names;
}

MapList GridMap(int width, int height, std::vector<std::vector<std::uint16_t>> planes)
{
    MapList map;
    map.Width = static_cast<std::uint16_t>(width);
    map.Height = static_cast<std::uint16_t>(height);
    map.Name = MakeNameBuffer("Grid", 16);
    for (const auto& plane : planes)
        EXPECT_EQ(plane.size(), map.WordCount());
    map.Planes = std::move(planes);
    return map;
}

SymbolTables TablesOf(const std::vector<std::vector<SymbolEntry>>& planes, const std::vector<std::string>& typeIds)
{
    std::vector<std::vector<std::string>> lines;
    for (const auto& plane : planes) {
        lines.emplace_back();
        for (const SymbolEntry& s : plane)
            lines.back().push_back(std::to_string(s.value) + "," + s.name + "," + std::string(64, '0') + "," +
                                   s.type + ",0");
    }
    std::vector<std::string> types;
    for (const std::string& id : typeIds)
        types.push_back(id + ",Type " + id + ",1");
    auto tables = SymbolTables::FromLines(lines, types);
    EXPECT_TRUE(tables) << (tables ? "" : tables.failure().text);
    return tables ? std::move(*tables) : SymbolTables();
}

} // namespace tsl::test
