#pragma once
// The user's own folders as the XDG base directories name them, each with
// the program's "Tesselar/Tesselar" (organisation and application, as the
// editor's toolkit names them) below it. Worked out without the toolkit, so
// that tesselar-cli finds the backups and recovery files the editor keeps.

#include <filesystem>
#include <string>

namespace tsl {

std::filesystem::path UserDataFolder();   // $XDG_DATA_HOME, else ~/.local/share
std::filesystem::path UserStateFolder();  // $XDG_STATE_HOME, else ~/.local/state
std::filesystem::path UserConfigFolder(); // $XDG_CONFIG_HOME, else ~/.config

// Where backup generations and recovery files go unless a caller says otherwise.
std::filesystem::path DefaultBackupsRoot();  // <data>/Backups
std::filesystem::path DefaultRecoveryRoot(); // <state>/Recovery

// The name of a game folder's own folder of backups and of its recovery
// file: the folder's name and a short hash of its absolute path
// ("wl6-1f3a09c2"), so that two games in folders of one name never meet.
std::string GameFolderKey(const std::filesystem::path& gameDir);

} // namespace tsl
