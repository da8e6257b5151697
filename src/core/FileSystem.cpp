#include "core/FileSystem.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>
#include <streambuf>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tsl {

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

std::string ToUpperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

namespace {

DiskFaultHook& FaultHook()
{
    static DiskFaultHook hook;
    return hook;
}

// The error a step fails with: the test's injected one, else 0.
int Injected(DiskStep step, const fs::path& path)
{
    const DiskFaultHook& hook = FaultHook();
    return hook ? hook(step, path) : 0;
}

std::error_code SystemError(int number)
{
    return {number, std::generic_category()};
}

std::error_code Rename(const fs::path& from, const fs::path& to)
{
    if (int e = Injected(DiskStep::Rename, from))
        return SystemError(e);
    return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : SystemError(errno);
}

std::error_code Remove(const fs::path& path)
{
    if (int e = Injected(DiskStep::Remove, path))
        return SystemError(e);
    return ::unlink(path.c_str()) == 0 ? std::error_code() : SystemError(errno);
}

// A second name for the same file; a link is linked itself, never followed.
std::error_code Link(const fs::path& from, const fs::path& to)
{
    if (int e = Injected(DiskStep::Link, from))
        return SystemError(e);
    return ::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0) == 0 ? std::error_code() : SystemError(errno);
}

// Whether anything at all stands at `path`, a dangling link included.
bool Occupied(const fs::path& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool IsRealDirectory(const fs::path& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

constexpr std::string_view kTemporaryMark = ".tesselar-";

fs::path FreshHiddenName(const fs::path& beside)
{
    thread_local std::mt19937_64 random{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string name = "." + beside.filename().string() + std::string(kTemporaryMark);
    for (int i = 0; i < 8; ++i)
        name += kDigits[random() % 36];
    return beside.parent_path() / name;
}

void SyncDirectory(const fs::path& dir)
{
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void SetDiskFaultHook(DiskFaultHook hook)
{
    FaultHook() = std::move(hook);
}

std::string DiskError::Describe() const
{
    std::error_code ignored;
    return fs::absolute(path, ignored).string() + " (" + code.message() + ")";
}

bool IsTemporaryName(std::string_view name)
{
    return !name.empty() && name.front() == '.' && name.find(kTemporaryMark) != std::string_view::npos;
}

fs::path TemporaryNameBeside(const fs::path& target)
{
    return FreshHiddenName(target);
}

std::vector<std::string> RemoveLeftoverTemporaries(const fs::path& target)
{
    const std::string name = target.filename().string();
    const std::size_t prefix = 1 + name.size() + kTemporaryMark.size();
    std::vector<std::string> removed;
    for (const std::string& entry : ListDirectory(target.parent_path())) {
        // ".NAME.tesselar-" and the eight letters or digits FreshHiddenName gives.
        if (entry.size() != prefix + 8 || entry[0] != '.' || !EqualsNoCase(entry.substr(1, name.size()), name) ||
            entry.compare(1 + name.size(), kTemporaryMark.size(), kTemporaryMark) != 0 ||
            !std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix), entry.end(),
                         [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); }))
            continue;
        const fs::path path = target.parent_path() / entry;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && !Remove(path))
            removed.push_back(entry);
    }
    return removed;
}

std::optional<DiskError> MakeDirectories(const fs::path& dir)
{
    // A link to a folder serves as the folder (a user's ~/.local often is one).
    std::error_code ec;
    if (dir.empty() || fs::is_directory(dir, ec))
        return std::nullopt;
    if (dir.has_parent_path() && dir.parent_path() != dir)
        if (auto error = MakeDirectories(dir.parent_path()))
            return error;
    if (int e = Injected(DiskStep::Create, dir))
        return DiskError{dir, SystemError(e)};
    if (::mkdir(dir.c_str(), 0777) != 0) {
        const int e = errno;
        if (e != EEXIST || !fs::is_directory(dir, ec))
            return DiskError{dir, SystemError(e)};
    }
    return std::nullopt;
}

std::optional<DiskError> RenameEntry(const fs::path& from, const fs::path& to)
{
    if (IsRealDirectory(from) && Occupied(to))
        return DiskError{to, SystemError(EEXIST)};
    if (std::error_code ec = Rename(from, to))
        return DiskError{from, ec};
    SyncDirectory(to.parent_path());
    return std::nullopt;
}

std::optional<DiskError> RemoveEntry(const fs::path& path)
{
    if (std::error_code ec = Remove(path); ec && ec != std::errc::no_such_file_or_directory)
        return DiskError{path, ec};
    return std::nullopt;
}

std::optional<DiskError> MakeSymbolicLink(const fs::path& target, const fs::path& link)
{
    if (int e = Injected(DiskStep::Link, link))
        return DiskError{link, SystemError(e)};
    if (::symlink(target.c_str(), link.c_str()) != 0)
        return DiskError{link, SystemError(errno)};
    return std::nullopt;
}

std::optional<DiskError> RemoveTree(const fs::path& dir)
{
    if (!IsRealDirectory(dir))
        return RemoveEntry(dir);
    std::error_code listError;
    for (const std::string& name : ListDirectory(dir, listError))
        if (auto error = RemoveTree(dir / name))
            return error;
    if (listError)
        return DiskError{dir, listError};
    if (int e = Injected(DiskStep::Remove, dir))
        return DiskError{dir, SystemError(e)};
    if (::rmdir(dir.c_str()) != 0 && errno != ENOENT) {
        const int e = errno;
        return DiskError{dir, SystemError(e)};
    }
    return std::nullopt;
}

std::vector<std::string> ListDirectory(const fs::path& dir, std::error_code& error)
{
    std::vector<std::string> names;
    if (int e = Injected(DiskStep::List, dir)) {
        error = SystemError(e);
        return names;
    }
    error.clear();
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ListDirectory(const fs::path& dir)
{
    std::error_code ignored;
    return ListDirectory(dir, ignored);
}

std::optional<fs::path> FindNoCase(const fs::path& dir, std::string_view name)
{
    std::error_code ec;
    const fs::path exact = dir / fs::path(std::string(name));
    if (fs::exists(exact, ec))
        return exact;
    for (const std::string& entry : ListDirectory(dir))
        if (EqualsNoCase(entry, name))
            return dir / entry;
    return std::nullopt;
}

fs::path ResolveNoCase(const fs::path& dir, std::string_view name)
{
    if (auto found = FindNoCase(dir, name))
        return *found;
    return dir / fs::path(std::string(name));
}

std::string JoinAnd(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

std::optional<Bytes> ReadWholeFile(const fs::path& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0)
        return std::nullopt;
    in.seekg(0, std::ios::beg);
    Bytes data(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(data.data()), size))
        return std::nullopt;
    return data;
}

// Collects what a writer streams and hands it to the file in large pieces.
class AtomicFile::Buffer : public std::streambuf {
public:
    explicit Buffer(AtomicFile& file) : file_(file) { setp(data_.data(), data_.data() + data_.size()); }

protected:
    int_type overflow(int_type c) override
    {
        Drain();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return file_.error_ ? traits_type::eof() : traits_type::not_eof(c);
    }
    int sync() override
    {
        Drain();
        return file_.error_ ? -1 : 0;
    }

private:
    void Drain()
    {
        const auto size = static_cast<std::size_t>(pptr() - pbase());
        file_.Write({reinterpret_cast<const std::uint8_t*>(pbase()), size});
        setp(data_.data(), data_.data() + data_.size());
    }
    AtomicFile& file_;
    std::array<char, 1 << 16> data_{};
};

AtomicFile::AtomicFile(fs::path target) : target_(std::move(target)) {}

AtomicFile::~AtomicFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!temp_.empty())
        Remove(temp_);
}

std::optional<DiskError> AtomicFile::Open()
{
    struct stat previous {};
    const bool replaces = ::stat(target_.c_str(), &previous) == 0 && S_ISREG(previous.st_mode);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = FreshHiddenName(target_);
        if (int e = Injected(DiskStep::Create, candidate))
            return DiskError{target_, SystemError(e)};
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno == EEXIST)
            continue; // someone else's name: take another
        if (fd_ < 0)
            return DiskError{target_, SystemError(errno)};
        temp_ = candidate;
        // An executable stays executable, a private file private.
        if (replaces && ::fchmod(fd_, previous.st_mode & 07777) != 0)
            return DiskError{target_, SystemError(errno)};
        return std::nullopt;
    }
    return DiskError{target_, SystemError(EEXIST)};
}

void AtomicFile::Write(std::span<const std::uint8_t> data)
{
    if (error_ || data.empty())
        return;
    if (fd_ < 0) {
        error_ = SystemError(EBADF);
        return;
    }
    if (int e = Injected(DiskStep::Write, temp_)) {
        error_ = SystemError(e);
        return;
    }
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd_, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error_ = SystemError(errno);
            return;
        }
        done += static_cast<std::size_t>(n);
    }
}

std::ostream& AtomicFile::Stream()
{
    if (!stream_) {
        buffer_ = std::make_unique<Buffer>(*this);
        stream_ = std::make_unique<std::ostream>(buffer_.get());
    }
    return *stream_;
}

std::optional<DiskError> AtomicFile::Finish(bool sync)
{
    if (stream_)
        stream_->flush();
    if (fd_ < 0)
        return DiskError{target_, error_ ? error_ : SystemError(EBADF)};
    // The data must be on the disk before a rename makes it the real file.
    if (!error_ && sync) {
        if (int e = Injected(DiskStep::Sync, temp_))
            error_ = SystemError(e);
        else if (::fsync(fd_) != 0)
            error_ = SystemError(errno);
    }
    if (::close(fd_) != 0 && !error_)
        error_ = SystemError(errno);
    fd_ = -1;
    if (error_)
        return DiskError{target_, error_};
    return std::nullopt;
}

std::optional<DiskError> AtomicFile::Commit()
{
    if (auto error = Finish())
        return error;
    if (std::error_code ec = Rename(temp_, target_))
        return DiskError{target_, ec};
    temp_.clear();
    SyncDirectory(target_.parent_path());
    return std::nullopt;
}

std::optional<DiskError> ReplaceFile(const fs::path& target, std::span<const std::uint8_t> data)
{
    AtomicFile file(target);
    if (auto error = file.Open())
        return error;
    file.Write(data);
    return file.Commit();
}

std::optional<DiskError> FileBatch::Add(const fs::path& target, std::span<const std::uint8_t> content)
{
    auto fresh = std::make_unique<AtomicFile>(target);
    if (auto error = fresh->Open())
        return error;
    fresh->Write(content);
    if (auto error = fresh->Finish(false))
        return error;
    written_.push_back(std::move(fresh));
    return std::nullopt;
}

std::optional<DiskError> FileBatch::Commit()
{
    if (written_.empty())
        return std::nullopt;
    const fs::path dir = written_.front()->Target().parent_path();
    if (int e = Injected(DiskStep::Sync, dir))
        return DiskError{dir, SystemError(e)};
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::syncfs(fd) == 0;
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    if (!synced)
        return DiskError{dir, SystemError(error)};
    std::vector<fs::path> dirs;
    for (const auto& file : written_) {
        if (std::error_code ec = Rename(file->TemporaryPath(), file->Target()))
            return DiskError{file->Target(), ec};
        file->Release();
        if (std::find(dirs.begin(), dirs.end(), file->Target().parent_path()) == dirs.end())
            dirs.push_back(file->Target().parent_path());
    }
    for (const fs::path& folder : dirs)
        SyncDirectory(folder);
    return std::nullopt;
}

std::optional<DiskError> WriteFiles(const std::vector<FileWrite>& files)
{
    FileBatch batch;
    for (const FileWrite& file : files)
        if (auto error = batch.Add(file.target, file.content))
            return error;
    return batch.Commit();
}

namespace {

// Where each piece of one file is while the set is being replaced, so that
// what is on disk can be told exactly when undoing fails.
struct Slot {
    const FileReplacement* file = nullptr;
    std::unique_ptr<AtomicFile> fresh;
    fs::path aside;          // the older backup, kept aside under a hidden name
    bool olderAside = false;  // the older backup is only at `aside`
    bool linkedAside = false; // `aside` is a second name of the older backup
    bool oldInBackup = false; // the previous file is at its backup name
    bool hadTarget = false;
    bool newInPlace = false;
};

std::string Name(const fs::path& path)
{
    return path.filename().string();
}

// What each file is after a failed undo, and the renames that bring the
// previous set back.
std::string DescribeDisk(const std::vector<Slot>& slots)
{
    std::string text = "Undoing the save failed as well. Now:";
    std::vector<std::string> restore;
    for (const Slot& s : slots) {
        const std::string target = Name(s.file->target);
        text += "\n- " + target;
        if (s.newInPlace)
            text += " is the new file";
        else if (s.hadTarget && !s.oldInBackup)
            text += " is the previous file";
        else if (s.hadTarget)
            text += " is missing";
        else
            text += " does not exist, as before";
        if (s.oldInBackup) {
            text += "; the previous one is " + Name(s.file->backup);
            restore.push_back(Name(s.file->backup) + " to " + target);
        }
        if (s.olderAside) {
            text += "; the backup before it is " + Name(s.aside);
            restore.push_back(Name(s.aside) + " to " + Name(s.file->backup));
        }
        text += ".";
    }
    if (!restore.empty())
        text += "\n\nTo get the previous files back, rename " + JoinAnd(restore) + ".";
    return text;
}

} // namespace

ReplaceOutcome ReplaceFiles(std::vector<FileReplacement> files)
{
    ReplaceOutcome outcome;
    // A directory is never moved or deleted: refused before anything is touched.
    for (const FileReplacement& f : files)
        for (const fs::path& path : {f.target, f.backup})
            if (IsRealDirectory(path)) {
                std::error_code ignored;
                outcome.refusal = fs::absolute(path, ignored).string() + " is a directory, where the save must put a file. Move it away, "
                                                  "then save again.";
                return outcome;
            }

    std::vector<Slot> slots(files.size());
    // Every new file complete first, nothing else touched yet.
    for (std::size_t i = 0; i < files.size(); ++i) {
        Slot& s = slots[i];
        s.file = &files[i];
        s.fresh = std::make_unique<AtomicFile>(files[i].target);
        if (auto error = s.fresh->Open()) {
            outcome.error = error;
            return outcome;
        }
        s.fresh->Write(files[i].content);
        if (auto error = s.fresh->Finish()) {
            outcome.error = error;
            return outcome;
        }
        s.hadTarget = Occupied(files[i].target);
    }

    // Undo, newest step first; each slot says what really is where.
    auto rollBack = [&](DiskError error) {
        outcome.error = std::move(error);
        for (auto it = slots.rbegin(); it != slots.rend(); ++it) {
            Slot& s = *it;
            if (s.newInPlace && !Rename(s.file->target, s.fresh->TemporaryPath()))
                s.newInPlace = false;
        }
        for (auto it = slots.rbegin(); it != slots.rend(); ++it) {
            Slot& s = *it;
            // Over the new file too, when that one could not be moved back.
            if (s.oldInBackup && !Rename(s.file->backup, s.file->target)) {
                s.oldInBackup = false;
                s.newInPlace = false;
            }
            if (s.olderAside && !s.oldInBackup && !Rename(s.aside, s.file->backup))
                s.olderAside = false;
            if (s.linkedAside && !s.olderAside)
                Remove(s.aside); // a second name only: the backup is in its place
        }
        outcome.restored = std::none_of(slots.begin(), slots.end(), [](const Slot& s) {
            return s.newInPlace || s.oldInBackup || s.olderAside;
        });
        if (!outcome.restored)
            outcome.onDisk = DescribeDisk(slots);
        for (Slot& s : slots)
            if (s.newInPlace)
                s.fresh->Release();
        return outcome;
    };

    // Older backups aside: a second name where the system allows it, so that
    // the backup stays visible until its replacement is there.
    for (Slot& s : slots) {
        if (!Occupied(s.file->backup))
            continue;
        s.aside = FreshHiddenName(s.file->backup);
        if (!Link(s.file->backup, s.aside)) {
            s.linkedAside = true;
        } else if (std::error_code ec = Rename(s.file->backup, s.aside)) {
            return rollBack(DiskError{s.file->backup, ec});
        } else {
            s.olderAside = true;
        }
    }
    // The previous files to their backups, then the new files into place, in
    // the caller's order with no other work in between: the set is mixed only
    // for the time of these renames.
    for (Slot& s : slots) {
        if (!s.hadTarget)
            continue;
        if (std::error_code ec = Rename(s.file->target, s.file->backup))
            return rollBack(DiskError{s.file->target, ec});
        s.oldInBackup = true;
        s.olderAside = s.olderAside || s.linkedAside;
    }
    for (Slot& s : slots) {
        if (std::error_code ec = Rename(s.fresh->TemporaryPath(), s.file->target))
            return rollBack(DiskError{s.file->target, ec});
        s.newInPlace = true;
    }

    // Done: what is left is tidying up, and its failure changes nothing that matters.
    for (Slot& s : slots) {
        s.fresh->Release();
        if (!s.aside.empty())
            Remove(s.aside);
    }
    if (!files.empty())
        SyncDirectory(files.front().target.parent_path());
    return outcome;
}

namespace {

// The number of a backup name of `name`: 0 for ".BAK", n for ".BAK<n>".
std::optional<int> BackupNumber(std::string_view entry, std::string_view name)
{
    if (entry.size() < name.size() + 4 || !EqualsNoCase(entry.substr(0, name.size()), name) ||
        !EqualsNoCase(entry.substr(name.size(), 4), ".BAK"))
        return std::nullopt;
    const std::string_view digits = entry.substr(name.size() + 4);
    if (digits.empty())
        return 0;
    if (digits.size() > 6 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(std::string(digits));
}

} // namespace

std::string FreshBackupSuffix(const fs::path& dir, const std::vector<std::string>& names)
{
    bool any = false;
    int highest = 0;
    for (const std::string& entry : ListDirectory(dir))
        for (const std::string& name : names)
            if (auto number = BackupNumber(entry, name)) {
                any = true;
                highest = std::max(highest, *number);
            }
    return any ? ".BAK" + std::to_string(highest + 1) : ".BAK";
}

std::optional<fs::path> NewestBackup(const fs::path& dir, std::string_view name)
{
    std::optional<fs::path> newest;
    int highest = -1;
    for (const std::string& entry : ListDirectory(dir))
        if (auto number = BackupNumber(entry, name); number && *number > highest) {
            highest = *number;
            newest = dir / entry;
        }
    return newest;
}

} // namespace tsl
