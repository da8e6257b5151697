#pragma once
// What Run Map looks at before it starts a program, so that a start that
// would fail at once is told beforehand: whether the program is a source
// port that reads the game's files under lower-case names (Wolf4SDL and
// ECWolf on Linux) while the folder holds them only under upper-case names,
// and whether an SDL port finds an audio output device to open.

#include "core/FileSystem.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

// What Run Map knows of the program a command starts.
struct KnownProgram {
    std::string Label;     // "Wolf4SDL", "ECWolf", "DOSBox", or the program's file name
    bool LowerCase = false; // it opens the game's files under lower-case names only
    bool Sdl = false;       // an SDL port that quits when it cannot open an audio device
};
// By the file name of the program (`program`, the command's first word
// after its environment settings): "wolf4sdl" and "wolf3d..." (as
// Wolf4SDL's Makefile names its builds), "ecwolf", "dosbox...".
KnownProgram KnowProgram(std::string_view program);

// The files of `folder` whose names end in "." + `extension` (letter case
// aside) and that a program opening lower-case names would not find: no
// entry of the folder has the name in lower case. In name order.
std::vector<std::string> NamesWithoutLowerCase(const std::filesystem::path& folder, std::string_view extension);

// Adds beside each of `names` (files of `folder`) a symbolic link of its
// name in lower case that points to it by name: a save that replaces the
// file leaves the link pointing to the new one. No file is renamed. On a
// failure the links already made are removed again.
std::optional<DiskError> AddLowerCaseLinks(const std::filesystem::path& folder, const std::vector<std::string>& names);

// Whether the machine has an audio output an SDL program can open: an ALSA
// playback device in `devices` (/dev/snd), or a sound server's socket
// (PULSE_SERVER, or pulse/native or pipewire-0 in XDG_RUNTIME_DIR).
bool HasAudioOutput(const std::filesystem::path& devices = "/dev/snd");

// The environment setting that starts an SDL program without sound, and
// whether a program's settings already choose its audio driver.
inline constexpr const char* kSilentAudio = "SDL_AUDIODRIVER=dummy";
bool ChoosesAudioDriver(const std::vector<std::string>& environment);

} // namespace tsl
