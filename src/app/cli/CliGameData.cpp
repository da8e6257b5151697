#include "app/cli/CliGameData.h"

#include "core/IniFile.h"
#include "mapdefs/GraphicsSettings.h"
#include "mapdefs/StructureStore.h"

#include <ostream>

namespace tsl::cli {

std::optional<GameData> FindGameData(const std::string& dir, const LoaderOptions& options, std::ostream& err)
{
    auto files = LocateGameFiles(dir);
    if (!files) {
        Report(files.failure(), err);
        return std::nullopt;
    }
    GameData game;
    game.extension = files->Extension;
    const std::filesystem::path root = MapDefsRootOf(options);
    if (!StructureExists(root, files->Extension, files->HeaderExecutable))
        return game;
    game.structureFolder = StructureFolder(root, files->Extension, files->HeaderExecutable);
    game.settingsPath = StructureSettingsPath(root, files->Extension, files->HeaderExecutable);
    game.graphics = ReadGraphicsSettings(IniFile(game.settingsPath));
    if (const auto path = game.graphics.Chunks.empty()
                              ? std::nullopt
                              : ResolveStructureFile(*game.structureFolder, game.graphics.Chunks)) {
        auto names = ChunkNames::Load(*path);
        if (names)
            game.names = std::move(*names);
        else // browsed by number, as without the file
            err << PrintableText(names.failure().text) << "\n";
    }
    return game;
}

std::optional<Palette> GameDataPalette(const GameData& game, std::ostream& err)
{
    if (!game.structureFolder) {
        err << "There is no map definition structure for \"" << game.extension
            << "\"-files: the palette of the pictures is missing.\n";
        return std::nullopt;
    }
    const auto path = game.graphics.Palette.empty()
                          ? std::nullopt
                          : ResolveStructureFile(*game.structureFolder, game.graphics.Palette);
    if (!path) {
        err << "\"" << PrintableText(game.settingsPath.string()) << "\" names no palette file of its folder for the pictures.\n";
        return std::nullopt;
    }
    auto palette = Palette::Load(*path);
    if (!palette) {
        Report(palette.failure(), err);
        return std::nullopt;
    }
    return *palette;
}

std::string ReadChunkNumbers(const std::string& text, std::set<int>& chunks)
{
    const auto ranges = ReadRanges(text, 0, 65534);
    if (!ranges)
        return Declarations::Takes("--chunks", "chunk numbers from 0 and ranges, such as 0,3,5-9");
    for (const auto& [first, last] : *ranges)
        for (long chunk = first; chunk <= last; ++chunk)
            chunks.insert(static_cast<int>(chunk));
    return {};
}

bool RefuseChunksPast(const std::optional<std::set<int>>& chunks, int count, const char* files, std::ostream& err)
{
    if (!chunks || chunks->empty() || *chunks->rbegin() < count)
        return false;
    err << "There is no chunk " << *chunks->rbegin() << ": " << files << " have " << count << " chunks.\n";
    return true;
}

} // namespace tsl::cli
