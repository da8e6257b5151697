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
// shell, in the game folder. NAME=value words before the program set its
// environment, as in a shell. Skill and debug switch are RunOptions of
// "TSL.ini", and a command that started joins its recent commands.
//
// Before the start, what would make the program fail at once is asked
// about (see RunChecks): a port that opens lower-case names in a folder
// that holds the game's files only under upper-case ones is offered
// lower-case links beside them; an SDL port on a machine without an audio
// output is offered to start without sound, a choice the command keeps
// (SDL_AUDIODRIVER=dummy before the program). Once started, the program is
// watched (GameWatch), and the window tells how it ended (GameEndText).

#include "core/IniFile.h"
#include "core/MapHandler.h"
#include "core/Prompter.h"
#include "editor/settings/AppSettings.h"
#include "editor/run/GameLauncher.h"
#include "editor/run/RunChecks.h"

#include <filesystem>
#include <functional>
#include <memory>
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
    // Starts the program: its watch (none for a start that is not
    // watched), or the reason it did not start. LaunchWatched unless set.
    std::function<Outcome<std::unique_ptr<GameWatch>>(const LaunchRequest& request)> launch;
    // Whether the machine has an audio output; HasAudioOutput unless set.
    std::function<bool()> hasAudio;
    // Told of a program that started, with its watch and the name to tell
    // it by ("Wolf4SDL").
    std::function<void(std::unique_ptr<GameWatch> watch, const std::string& label)> started;
};

enum class RunMapResult {
    Started,   // the game was started
    Cancelled, // the user cancelled, or the save failed: nothing ran
    Failed,    // the command was refused or could not start (the user was told)
};

// `changed`: the maps differ from the files. The command is stored in
// `appSettings` when the dialog gave it, or when the start without sound
// was chosen.
RunMapResult RunMap(const MapHandler& maps, bool changed, IniFile& appSettings, Prompter& prompter,
                    const RunMapHooks& hooks);

// An end within this time is an end "at once": the program did not get to play.
inline constexpr int kQuickEndMilliseconds = 5000;
// The most lines of a program's output an end tells.
inline constexpr int kEndLines = 5;

// What the window tells of a started program that ended (`label` names it):
// an end at once, whatever its status, or one with a status other than 0
// or by a signal, with the last lines it printed ("Wolf4SDL ended at once
// with status 1: NO WOLFENSTEIN 3-D DATA FILES to be found!"). Nothing for
// a program that played and ended well.
std::optional<std::string> GameEndText(const std::string& label, const GameEnd& end);
// The last `count` lines of `output` that are not blank, without their line
// ends and with control characters shown as "?".
std::vector<std::string> LastLines(std::string_view output, int count);

} // namespace tsl
