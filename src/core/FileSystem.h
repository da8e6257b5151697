#pragma once
// File access as the game files need it: names resolved without regard to
// letter case (the games come from a system where case does not matter),
// whole files read into memory, and a group of files replaced all together
// with backups, or not at all.

#include "core/Bytes.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

namespace fs = std::filesystem;

// Case-insensitive comparison of ASCII names.
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view text);

// Names of the entries of `dir`, sorted; empty when it cannot be listed.
std::vector<std::string> ListDirectory(const fs::path& dir);

// The entry of `dir` named `name`: the exact spelling when it exists,
// otherwise the first entry whose name matches regardless of case.
std::optional<fs::path> FindNoCase(const fs::path& dir, std::string_view name);

// The existing spelling of `name` in `dir`, or dir / name as given when there
// is none (new files get the documented spelling).
fs::path ResolveNoCase(const fs::path& dir, std::string_view name);

// The whole file, or nothing when it cannot be read.
std::optional<Bytes> ReadWholeFile(const fs::path& path);

// Writes the file completely and flushes it to the disk.
bool WriteWholeFile(const fs::path& path, const Bytes& data);

// Replaces a set of files in one step. Each new content is first written in
// full under a temporary name; then every existing target is kept as its
// backup (an older backup of that name goes) and the new file takes its
// place. When any step fails, everything done so far is undone: the previous
// files stay where they were, and so do their previous backups.
struct FileReplacement {
    fs::path target;     // the file to replace (spelling as found)
    fs::path backup;     // where its previous content is kept
    Bytes content;       // the new content
};

// Returns an empty string on success, otherwise what went wrong.
std::string ReplaceFiles(std::vector<FileReplacement> files);

} // namespace tsl
