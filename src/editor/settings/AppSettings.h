#pragma once
// The program's own settings, "TSL.ini" beside the executable: the main
// window's placement, the update check's settings, the five most recently
// opened project directories, how many backup generations are kept and
// how often unsaved maps are autosaved, the symbol list's picture size,
// whether the map view shows the reachable area, and what Run Map starts
// the game with (RunOptions).

#include "core/BackupGenerations.h"
#include "core/IniFile.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace tsl {

inline constexpr const char* kAppSettingsFileName = "TSL.ini";
inline constexpr int kRecentSlots = 5;
inline constexpr int kMinimumWindowWidth = 742;
inline constexpr int kMinimumWindowHeight = 610;
inline constexpr int kDefaultAutosaveInterval = 60; // seconds
// The first window, when no placement is stored: this size, or 80% of the
// screen when that is smaller.
inline constexpr int kFirstWindowWidth = 1280;
inline constexpr int kFirstWindowHeight = 800;

struct WindowPlacement {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int WindowState = 0; // 0 normal, 1 minimized, 2 maximized
};

struct AppSettings {
    WindowPlacement Window;
    bool CheckAtStartup = false;
    std::string CheckFileURL;
    std::string DownloadURL;
    std::array<std::string, kRecentSlots> RecentList; // slot 1 first; empty = unused
    int BackupKeep = kDefaultBackupKeep;             // [Backups] Keep: generations kept, 0 none
    int AutosaveInterval = kDefaultAutosaveInterval; // [Autosave] Interval: seconds, 0 never
    int SymbolPictureSize = 8;                       // [SymbolList] PictureSize: 8, 16 or 32 pixels
    bool ShowReachableArea = false;                  // [View] ReachableArea: 1 shown

    static AppSettings Read(const IniFile& file);
    // Window, Update and Recent, every key, also the empty ones. (Backups and
    // Autosave are only read: a user sets them by hand.)
    bool Write(IniFile& file) const;
    bool WriteRecent(IniFile& file) const;
    bool WriteCheckAtStartup(IniFile& file) const;
    bool WriteSymbolPictureSize(IniFile& file) const;
    bool WriteShowReachableArea(IniFile& file) const;

    // The list is in the order of use: `directory` goes to slot 1, from its
    // slot when it is in the list already (compared exactly), otherwise the
    // fifth drops out. True when the list changed.
    bool AddRecentProject(const std::string& directory);
};

inline constexpr int kRecentCommandSlots = 10;
inline constexpr int kDefaultRunSkill = 4; // every actor of every skill level

// What Run Map starts the game with beside its command ([Game] in TSL.ini):
// the skill level and the debug switch its placeholders stand for, and the
// last ten commands run, newest first, which the command dialog offers again.
struct RunOptions {
    int Skill = kDefaultRunSkill; // Skill: 1 (easiest) to 4
    bool Debug = false;           // Debug
    std::vector<std::string> RecentCommands; // Command1 ... Command10

    static RunOptions Read(const IniFile& file);
    // Every key, the empty command slots too.
    bool Write(IniFile& file) const;
    // `command` goes first, from its place when it is listed already
    // (compared exactly); an eleventh drops out. Blank commands are not kept.
    void AddRecentCommand(const std::string& command);
};

// "TSL.ini" where the editor keeps it: beside a portable copy (see
// IsPortableCopy), otherwise in the user's configuration folder.
std::filesystem::path DefaultAppSettingsFile();

// The caption of the recent item of slot `slot` (from 1): "&1 C:\GAMES\SPEAR".
std::string RecentCaption(int slot, const std::string& directory);

} // namespace tsl
