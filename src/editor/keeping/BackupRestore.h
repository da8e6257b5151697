#pragma once
// Putting a backup generation back. The game's map files it holds replace
// the current ones (kept first as a generation of their own, so a restore is
// undone the same way, and as ".BAK" like any save). A generation from a
// change of the plane count also gives the structure that plane count back,
// with the planes' names, flags and symbol files as they were.

#include "core/BackupGenerations.h"
#include "core/IniFile.h"
#include "core/MapHandler.h"
#include "core/Prompter.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace tsl {

struct RestoreRequest {
    BackupPolicy Backups; // where the generations are; the current files are kept even with Keep 0
    std::filesystem::path GameDir;
    std::string Id;
    // The game's set as opened (its files' layout, to count the maps of the
    // current files); none when the game cannot be opened.
    const MapHandler* Layout = nullptr;
    // The game's structure; none: the structure is left as it is.
    IniFile* Settings = nullptr;
    std::filesystem::path StructureFolder;
};

struct RestoreReport {
    BackupGeneration Restored;
    std::string KeptId; // the generation the current files went to; empty when there were none
    std::string Text;   // what to tell the user
};

// The generations of a game folder, oldest first, or why there are none.
Outcome<std::vector<BackupGeneration>> GenerationsOf(const BackupPolicy& backups,
                                                    const std::filesystem::path& gameDir);

// Why `generation` cannot be restored, if it cannot: a generation is
// restored only when its maps load, found in its folder as in a game folder
// and, when the game's `layout` is known, read with it (the planes as the
// generation stored them); a page-file generation when its file reads.
std::optional<Failure> RefuseRestore(const BackupGeneration& generation, const MapHandler* layout);

// On failure nothing was changed, unless the failure says what is where. A
// generation whose maps would not load (an incomplete one, see
// BackupGeneration::Incomplete) is refused.
Outcome<RestoreReport> RestoreBackup(const RestoreRequest& request, std::chrono::system_clock::time_point now);

// The question before a restore in the editor (Yes / No).
Question RestoreQuestion(const BackupGeneration& generation);

// When its content was saved and when it was replaced, in the user's zone:
// "saved 2025-03-14 11:12:17, replaced 2025-03-14 11:15:02" (the replacement
// alone for a generation that did not record the other).
std::string SavedText(const BackupGeneration& generation);

} // namespace tsl
