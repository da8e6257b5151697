#pragma once
// Writing a page set over its file as the map files are written: the new
// file complete beside the old one first, the old one kept as ".BAK" and,
// with a backup policy, as a generation of its own in the user's data
// folder ("tesselar-cli restore" puts it back). A failure at any step
// leaves the old file whole and says so.

#include "core/BackupGenerations.h"
#include "core/Failure.h"
#include "graphics/PageSet.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tsl {

inline constexpr const char* kPageSaveCaption = "Error saving the page file";

// Saves `set` as `path` (the page file found in its game folder). `kept`, when
// given, receives what to tell beside a success (a generation that could not
// be written). A save that succeeded removes the hidden files that earlier
// saves of the page file left when they were killed in the middle (their
// new file, or the older backup kept aside); `tidied` receives which, to
// tell the user.
std::optional<Failure> SavePageFile(const PageSet& set, const std::filesystem::path& path,
                                    const BackupPolicy& backups, std::string* kept = nullptr,
                                    std::string* tidied = nullptr);

// A save stopped between moving the old file to its backup and the new one
// into place leaves no page file but its backup: what happened and how to
// get the previous file back, or nothing when the folder does not look so.
std::optional<Failure> DescribeInterruptedPageSave(const std::filesystem::path& gameDir, std::string_view extension);

} // namespace tsl
