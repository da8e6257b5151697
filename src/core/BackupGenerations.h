#pragma once
// Backup generations: besides the ".BAK" files beside the game, every save
// keeps the files it replaces in the user's data folder, one folder per game
// folder and one generation per save named by its time in UTC, so that more
// than the version before the last save can be got back. The newest `Keep`
// generations stay. A generation is written complete under a hidden name and
// only then moved into place, through the one safe writer.

#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/FileSystem.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

inline constexpr int kDefaultBackupKeep = 20;
inline constexpr const char* kRestoreBackupCaption = "Restore backup";

// Where generations go and how many stay; the caller of a save decides
// ("TSL.ini" [Backups] Keep).
struct BackupPolicy {
    std::filesystem::path Root;    // the Backups folder; empty: no generations
    int Keep = kDefaultBackupKeep; // 0: none are written (older ones are left alone)
    bool Active() const { return !Root.empty() && Keep > 0; }
};

// One file of a generation: its name in the game folder, or for a structure
// file its path relative to the structure folder, with "/" between folders.
struct KeptFile {
    std::string Name;
    Bytes Content;
};

struct GenerationContent {
    // In the order a save replaces them: the file that lists the maps last.
    std::vector<KeptFile> GameFiles;
    // Files of the set that were not there to keep (a save or a restore after
    // an interrupted save): the generation then says it is incomplete.
    std::vector<std::string> MissingFiles;
    // When the kept files were written: the newest of their times.
    std::optional<std::chrono::sys_seconds> Saved;
    // Only from a save that changed the plane count: the structure's settings
    // file as it was and the symbol files of the planes it removed, so that a
    // restore can give the structure its planes back.
    std::vector<KeptFile> StructureFiles;
    int Maps = 0;   // maps the game files list
    int Planes = 0; // planes per map in the game files
    // The generation keeps the page file (the game's pictures and sounds),
    // saved on its own, rather than map files.
    bool PageFile = false;
    // It keeps other game data saved on their own: the pictures' files
    // (VGAHEAD, VGAGRAPH) or the sounds' (AUDIOHED, AUDIOT).
    bool GameData = false;
};

struct BackupGeneration {
    std::string Id; // "20250314T101502Z"; a second one of the same second "20250314T101502Z-01"
    std::chrono::sys_seconds Time{}; // when the save that replaced its files was made
    // When its files were written, by the save that made them; none in a
    // generation kept before this was recorded.
    std::optional<std::chrono::sys_seconds> Saved;
    int Maps = 0;
    int Planes = 0;
    bool PageFile = false; // it keeps the page file, not map files
    bool GameData = false; // it keeps the pictures' or the sounds' files, not map files
    std::uintmax_t Bytes = 0; // of the files it keeps
    std::filesystem::path Folder;
    std::vector<std::string> GameFiles;
    std::vector<std::string> StructureFiles;
    // Files of the set it lacks: not there when it was kept, or gone from its folder.
    std::vector<std::string> MissingFiles;

    // What it lacks to hold a set that loads ("MAPHEAD.WL6 is missing"); empty
    // when it is complete.
    std::string Incomplete() const;
};

// Adds the file at `path` to `content`'s game files, its write time to the
// time the content was saved; or, when it cannot be read, its name to the
// missing files.
void KeepFileOf(GenerationContent& content, const std::filesystem::path& path);

// The folder of one game folder's generations: Root / GameFolderKey(gameDir).
std::filesystem::path GenerationsFolder(const BackupPolicy& policy, const std::filesystem::path& gameDir);

// The generations in `folder`, oldest first; what is not a complete
// generation (a hidden folder being written, a stray file) is not listed.
std::vector<BackupGeneration> ListGenerations(const std::filesystem::path& folder);

struct KeepOutcome {
    std::string Id;                 // of the new generation
    std::optional<DiskError> Error; // nothing was kept
};

// Writes a new generation of `content` for `gameDir`; afterwards, with
// `rotate`, removes the oldest beyond the policy's Keep. Nothing is written
// when the policy is not active or there is no game file.
KeepOutcome KeepGeneration(const BackupPolicy& policy, const std::filesystem::path& gameDir,
                           const GenerationContent& content, std::chrono::system_clock::time_point now,
                           bool rotate = true);

// Every file of a generation, read back; a failure when one is missing.
Outcome<GenerationContent> ReadGeneration(const BackupGeneration& generation);

// Names and texts of a time, to the second, in UTC unless said otherwise.
std::string TimeId(std::chrono::sys_seconds time);               // "20250314T101502Z"
std::optional<std::chrono::sys_seconds> ParseTimeId(std::string_view id); // also with a "-NN" ending
std::string IsoTime(std::chrono::sys_seconds time);              // "2025-03-14T10:15:02Z"
std::string LocalTimeText(std::chrono::sys_seconds time);        // "2025-03-14 11:15:02" in the user's zone

} // namespace tsl
