#pragma once
// File access as the game files need it: names resolved without regard to
// letter case (the games come from a system where case does not matter),
// whole files read into memory, and every file the program writes first
// completed under a fresh temporary name beside it and only then moved into
// place, alone or as a group with backups.

#include "core/Bytes.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tsl {

namespace fs = std::filesystem;

// Case-insensitive comparison of ASCII names.
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view text);

// Names of the entries of `dir`, sorted; empty when it cannot be listed.
std::vector<std::string> ListDirectory(const fs::path& dir);
// The same, with the reason when the directory cannot be listed.
std::vector<std::string> ListDirectory(const fs::path& dir, std::error_code& error);

// The entry of `dir` named `name`: the exact spelling when it exists,
// otherwise the first entry whose name matches regardless of case.
std::optional<fs::path> FindNoCase(const fs::path& dir, std::string_view name);

// The existing spelling of `name` in `dir`, or dir / name as given when there
// is none (new files get the documented spelling).
fs::path ResolveNoCase(const fs::path& dir, std::string_view name);

// File names for a message: "A", "A and B", "A, B and C".
std::string JoinAnd(const std::vector<std::string>& names);

// The whole file, or nothing when it cannot be read.
std::optional<Bytes> ReadWholeFile(const fs::path& path);

// Every change a writer makes on the disk passes through one of these steps.
// A test installs a hook that makes any of them fail with an error number of
// its choosing (or stops the process there), so that failing disks are tested
// without special rights.
enum class DiskStep { List, Create, Write, Sync, Link, Rename, Remove };
using DiskFaultHook = std::function<int(DiskStep step, const fs::path& path)>; // errno, or 0: go on
void SetDiskFaultHook(DiskFaultHook hook);

// Why a file could not be written: its full path and the system's reason.
struct DiskError {
    fs::path path;
    std::error_code code;
    // "/games/wl6/GAMEMAPS.WL6 (No space left on device)"
    std::string Describe() const;
};

// The hidden name a new version of `target` is written under: a dot, the
// file's name and ".tesselar-" with a random ending.
bool IsTemporaryName(std::string_view name);
// A fresh name of that kind beside `target` (for a folder filled before it is
// moved into place).
fs::path TemporaryNameBeside(const fs::path& target);
// Removes what writes of `target` that never finished (the program killed
// in the middle) left beside it: files of exactly that hidden name, of any
// letter case, never through a link. The names removed.
std::vector<std::string> RemoveLeftoverTemporaries(const fs::path& target);

// Folders and whole entries, through the same seam as the files: a folder
// made (every missing level), an entry renamed (a folder moves only onto a
// name that is free), a file or a folder with everything in it removed.
std::optional<DiskError> MakeDirectories(const fs::path& dir);
std::optional<DiskError> RenameEntry(const fs::path& from, const fs::path& to);
std::optional<DiskError> RemoveEntry(const fs::path& path);
std::optional<DiskError> RemoveTree(const fs::path& dir);
// A symbolic link at `link` that holds `target` as given (a name beside it
// follows whatever file later has that name); nothing standing at `link`
// is replaced. Through the seam's Link step.
std::optional<DiskError> MakeSymbolicLink(const fs::path& target, const fs::path& link);

// One file written beside its target and moved into place when complete.
// The temporary file is created exclusively under a fresh name: whatever
// stands there already (a planted link, a file) is never opened or reused.
// It gets the permissions of the file it replaces, set on the open file.
// What was not moved into place is removed when the object goes.
class AtomicFile {
public:
    explicit AtomicFile(fs::path target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    std::optional<DiskError> Open();
    // Appends to the file; the first error is kept for Finish.
    void Write(std::span<const std::uint8_t> data);
    // A buffered stream into the file, for writers that produce their bytes piece by piece.
    std::ostream& Stream();
    // Flushes, forces the data to the disk and closes: the file is complete.
    // Without `sync` the data are left to the caller to force (WriteFiles
    // does it for many files at once).
    std::optional<DiskError> Finish(bool sync = true);
    // Finish, then the rename onto the target.
    std::optional<DiskError> Commit();

    const fs::path& Target() const { return target_; }
    const fs::path& TemporaryPath() const { return temp_; }
    // Called once the file was moved into place by someone else.
    void Release() { temp_.clear(); }

private:
    class Buffer;
    fs::path target_;
    fs::path temp_;
    int fd_ = -1;
    std::error_code error_;
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
};

// Replaces one file with `data` through an AtomicFile.
std::optional<DiskError> ReplaceFile(const fs::path& target, std::span<const std::uint8_t> data);

// Many files at once (an export into a folder): each is written complete
// under its temporary name as it is added (so that only one file's bytes
// need be in memory), the data of all reach the disk by one sync of the
// file system rather than one per file at Commit, and only then is each
// moved into place. On a failure, or without a Commit, the files already
// moved stay and the others are removed.
class FileBatch {
public:
    std::optional<DiskError> Add(const fs::path& target, std::span<const std::uint8_t> content);
    std::optional<DiskError> Commit();

private:
    std::vector<std::unique_ptr<AtomicFile>> written_;
};

// A FileBatch of files whose bytes are all at hand.
struct FileWrite {
    fs::path target;
    Bytes content;
};
std::optional<DiskError> WriteFiles(const std::vector<FileWrite>& files);

// Replaces a set of files in one step, keeping each previous file as its
// backup. An older backup of that name is replaced, but kept aside until the
// save is complete so that a failure can put it back.
struct FileReplacement {
    fs::path target;  // the file to replace (spelling as found)
    fs::path backup;  // where its previous content is kept
    Bytes content;    // the new content
};

struct ReplaceOutcome {
    std::optional<DiskError> error; // set when the set could not be replaced
    std::string refusal;            // set when a directory stood in the way: nothing was touched
    bool restored = true;           // after an error: every file is as it was before
    // When undoing failed too: what each file is now and how to get the previous files back.
    std::string onDisk;

    bool ok() const { return !error && refusal.empty(); }
};

// The files are renamed in the order given, each to its backup, and then
// the new files in the same order to their names: with the file that lists
// the maps last, a set interrupted half-way is always told by a missing file
// (see DescribeInterruptedSave).
ReplaceOutcome ReplaceFiles(std::vector<FileReplacement> files);

// The name under which a damaged set keeps its previous files: "NAME.BAK" when
// no file of the set has a backup yet, otherwise "NAME.BAK<n>" with n one more
// than the highest number in use, the same for every file of the set.
std::string FreshBackupSuffix(const fs::path& dir, const std::vector<std::string>& names);
// The newest backup of `name` in `dir` (the highest "BAK<n>", else "BAK").
std::optional<fs::path> NewestBackup(const fs::path& dir, std::string_view name);

} // namespace tsl
