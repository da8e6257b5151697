#pragma once
// The ready commands the Run Map command dialog offers, for the ways a Linux
// modder starts the game on one map, each with the options its program
// documents for the map, the skill level and a debug switch:
//
// - Wolf4SDL (its binary is "wolf4sdl", or "wolf3d" as its Makefile names
//   it): --tedlevel %m --nowait --%k, and --goobers (--debugmode in a build
//   for Spear of Destiny) for the debug keys;
// - ECWolf: --data %e --tedlevel MAP%N --skill %s --nowait (its own help
//   text; it names the maps of GAMEMAPS MAP01, MAP02, ...);
// - DOSBox with each DOS executable of the game folder: the folder mounted
//   as C:, the game run with its own -tedlevel %m -nowait -%k (read by the
//   released engine without any debug switch), and goobers (debugmode for
//   Spear of Destiny) for the debug keys;
// - a command of the user's own.
//
// A preset's program is looked for in the PATH; one not found is still
// offered, marked, for a PATH the editor does not see.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

struct RunPreset {
    std::string Name;    // "Wolf4SDL", "ECWolf", "DOSBox: WOLF3D.EXE", "Custom command"
    std::string Command; // with placeholders (see RunMapFlow.h); empty for the custom command
    std::string Program; // where the PATH has it; empty when not found (and for the custom command)
    bool Custom = false;
};

// The presets for the game in `gameFolder` whose files end in `extension`,
// their programs looked for in `path` (a PATH value).
std::vector<RunPreset> RunPresets(const std::filesystem::path& gameFolder, std::string_view extension,
                                  std::string_view path);

// Whether the extension is one of Spear of Destiny's (SOD, SDM, SD1 to SD3),
// whose engines take "debugmode" where Wolfenstein 3-D's take "goobers".
bool IsSpearExtension(std::string_view extension);

} // namespace tsl
