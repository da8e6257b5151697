#pragma once
// Everything the first-person view takes from a game besides its maps: the
// pictures of its page file in its palette's colours, and what each map word
// shows, from the structure's picture table and the engine's rules.

#include "core/Failure.h"
#include "core/IniFile.h"
#include "core/MapHandler.h"
#include "raycast/LevelBuilder.h"
#include "raycast/PagePictures.h"

#include <filesystem>

namespace tsl {

struct GamePictures {
    PagePictures pages;
    WordPictures words;
};

// Reads the page file beside the game's maps ("VSWAP." and the maps'
// extension), the palette and the picture table that the structure's
// settings name. A missing or damaged page file is a failure naming it.
Outcome<GamePictures> LoadGamePictures(const MapHandler& maps, const IniFile& structureSettings,
                                       const std::filesystem::path& structureFolder);

// What is drawn without a page file: walls and doors in plain colours, no
// sprites, the engine's grey floor and ceiling.
GamePictures PlainGamePictures();

} // namespace tsl
