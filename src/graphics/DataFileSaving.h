#pragma once
// Writing the game's other data files (the pictures' VGAHEAD and VGAGRAPH,
// the sounds' AUDIOHED and AUDIOT) as the map files are written: only the
// files whose bytes change, each complete beside the old one first, the old
// ones kept as ".BAK" and, with a backup policy, as a generation of their
// own in the user's data folder. A failure at any step leaves the old files
// whole and says so.

#include "core/BackupGenerations.h"
#include "core/Failure.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tsl {

struct DataFile {
    std::filesystem::path path; // the file found in its game folder
    Bytes content;
};

// `caption` heads a failure, `kept` names what stays ("The previous picture
// files were kept."); `generation`, when given, receives what to tell beside
// a success (a generation that could not be written). The files that were
// written, by name (none when every file already held its bytes).
Outcome<std::vector<std::string>> SaveDataFiles(const std::vector<DataFile>& files, const BackupPolicy& backups,
                                                const std::string& caption, const std::string& kept,
                                                std::string* generation = nullptr);

} // namespace tsl
