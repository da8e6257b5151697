#pragma once
// The game's own pictures as one project uses them: its page file, the
// palette, picture table and sound names its structure names, and the
// ceiling and floor colours of section "Graphics". Loaded once when a project opens; the map
// view, the side panel, the exports and the 3D preview share it.

#include "core/Failure.h"
#include "core/IniFile.h"
#include "graphics/PageFile.h"
#include "graphics/Palette.h"
#include "graphics/PictureTable.h"
#include "graphics/SoundNames.h"
#include "mapdefs/GraphicsSettings.h"

#include <filesystem>
#include <memory>
#include <string_view>

namespace tsl {

struct GameGraphics {
    PageFile Pages;
    Palette Colours;
    PictureTable Pictures;
    GraphicsSettings Settings;
    SoundNames Sounds; // none named when the structure names no table of them
};

enum class GraphicsStatus {
    Loaded,
    NotConfigured, // the structure names no palette or picture table
    NoPageFile,    // the game has no VSWAP file
    Failed,        // a file is there but cannot be read or is damaged
};

struct GraphicsLoad {
    GraphicsStatus Status = GraphicsStatus::NotConfigured;
    std::shared_ptr<const GameGraphics> Graphics; // set when Loaded
    Failure Problem;                              // why not, for every other status
};

// The pictures of the game in `gameDir` whose map files have `extension`,
// with the palette and tables that `settings` name in `structureFolder`.
GraphicsLoad LoadGameGraphics(const std::filesystem::path& gameDir, std::string_view extension,
                              const std::filesystem::path& structureFolder, const IniFile& settings);

// The sound names `settings` name in `structureFolder`; none named when they
// name no table of them.
Outcome<SoundNames> LoadSoundNames(const std::filesystem::path& structureFolder, const GraphicsSettings& settings);

} // namespace tsl
