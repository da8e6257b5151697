#pragma once
// What the commands over the game's pictures and sounds share: the game's
// extension and structure found from DIR, the structure's palette and chunk
// names, and --chunks read as a set of chunk numbers.

#include "app/cli/Cli.h"
#include "graphics/Palette.h"
#include "mapdefs/ChunkNames.h"
#include "mapdefs/GraphicsSettings.h"

#include <iosfwd>
#include <optional>
#include <set>
#include <string>

namespace tsl::cli {

struct GameData {
    std::string extension;
    std::optional<std::filesystem::path> structureFolder; // none without a structure
    std::filesystem::path settingsPath;
    GraphicsSettings graphics;
    std::optional<ChunkNames> names;                       // none without chunks.txt
};

// The game in `dir` and its structure; nothing, with the reason on `err`,
// when `dir` holds no game.
std::optional<GameData> FindGameData(const std::string& dir, const LoaderOptions& options, std::ostream& err);

// The palette the structure names; nothing, with the reason on `err`.
std::optional<Palette> GameDataPalette(const GameData& game, std::ostream& err);

// "--chunks LIST": chunk numbers from 0 and ranges.
std::string ReadChunkNumbers(const std::string& text, std::set<int>& chunks);

// The refusal of chunks past `count`, or nothing.
bool RefuseChunksPast(const std::optional<std::set<int>>& chunks, int count, const char* files, std::ostream& err);

} // namespace tsl::cli
