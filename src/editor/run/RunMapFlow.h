#pragma once
// "&Run Map": starts the game on the current map with the command the user
// set in "TSL.ini" ([Game] RunCommand), asking for the command when none is
// set and offering to save unsaved changes first. The window supplies the
// save, the command dialog and (in the tests) the launcher.
//
// In the command, %d stands for the game folder (absolute), %m for the
// current map counted from 0, %n counted from 1, %N counted from 1 with two
// digits at least (01, as ECWolf names the maps: MAP01), %e for the
// extension of the game's files, %s for the skill level (1 to 4), %k for it
// as the engines' options name it (baby, easy, normal, hard), %[text] for
// text while the debug switch is on and for nothing while it is off, and %%
// for a %. The command is split into words as a shell splits it and the
// placeholders are filled in per word, so a folder with blanks stays one
// argument, and a word that comes out empty is left out; it runs without a
// shell, in the game folder. Skill and debug switch are RunOptions of
// "TSL.ini", and a command that started joins its recent commands.

#include "core/IniFile.h"
#include "core/MapHandler.h"
#include "core/Prompter.h"
#include "editor/settings/AppSettings.h"
#include "editor/run/GameLauncher.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tsl {

inline constexpr const char* kGameSection = "Game";
inline constexpr const char* kRunCommandKey = "RunCommand";
inline constexpr const char* kRunMapCaption = "Run Map";
inline constexpr const char* kRunMapSaveQuestion =
    "The maps have unsaved changes. Save them before running the game?";

// The words of a run command with its placeholders filled in for the current
// map of `maps`, or why the command cannot be split.
CommandWords RunCommandArguments(const std::string& command, const MapHandler& maps, const RunOptions& options = {});

struct RunMapHooks {
    // Saves the maps; false when the save failed (the window has said why).
    std::function<bool()> save;
    // Asks for the run command (the dialog with its examples); nothing when
    // cancelled.
    std::function<std::optional<std::string>()> askCommand;
    // Starts the program; nothing when it started, otherwise the reason.
    std::function<std::optional<std::string>(const std::vector<std::string>& arguments,
                                             const std::filesystem::path& directory)>
        launch;
};

enum class RunMapResult {
    Started,   // the game was started
    Cancelled, // the user cancelled, or the save failed: nothing ran
    Failed,    // the command was refused or could not start (the user was told)
};

// `changed`: the maps differ from the files. The command is stored in
// `appSettings` when the dialog gave it.
RunMapResult RunMap(const MapHandler& maps, bool changed, IniFile& appSettings, Prompter& prompter,
                    const RunMapHooks& hooks);

} // namespace tsl
