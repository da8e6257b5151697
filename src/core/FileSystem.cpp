#include "core/FileSystem.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <system_error>

#include <fcntl.h>
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

std::vector<std::string> ListDirectory(const fs::path& dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
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

bool WriteWholeFile(const fs::path& path, const Bytes& data)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0)
            ok = false;
        else
            done += static_cast<std::size_t>(n);
    }
    // The data must be on the disk before a rename makes it the game's file.
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    return ok;
}

namespace {

fs::path SideName(const fs::path& target, std::string_view suffix)
{
    std::string name = ".";
    name.append(target.filename().string());
    name.append(suffix);
    return target.parent_path() / name;
}

} // namespace

std::string ReplaceFiles(std::vector<FileReplacement> files)
{
    std::vector<fs::path> temps;
    auto removeTemps = [&] {
        std::error_code ignored;
        for (const fs::path& t : temps)
            fs::remove(t, ignored);
    };

    // Every new file complete first, nothing touched yet.
    for (const FileReplacement& f : files) {
        const fs::path temp = SideName(f.target, ".tesselar-new");
        temps.push_back(temp);
        if (!WriteWholeFile(temp, f.content)) {
            removeTemps();
            return "Couldn't write " + f.target.filename().string() + "!";
        }
        std::error_code ec;
        const auto status = fs::status(f.target, ec);
        if (!ec && fs::exists(status))
            fs::permissions(temp, status.permissions(), ec); // an executable stays executable
    }

    // Then the swap, one rename at a time, each noted so that it can be undone.
    std::vector<std::pair<fs::path, fs::path>> done;
    std::vector<fs::path> staleBackups;
    auto move = [&](const fs::path& from, const fs::path& to) {
        std::error_code ec;
        fs::rename(from, to, ec);
        if (ec)
            return false;
        done.emplace_back(from, to);
        return true;
    };
    auto rollBack = [&](const std::string& message) {
        std::error_code ignored;
        for (auto it = done.rbegin(); it != done.rend(); ++it)
            fs::rename(it->second, it->first, ignored);
        removeTemps();
        return message;
    };

    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileReplacement& f = files[i];
        std::error_code ec;
        if (fs::exists(f.backup, ec)) {
            const fs::path stale = SideName(f.backup, ".tesselar-old");
            if (!move(f.backup, stale))
                return rollBack("Couldn't replace the backup " + f.backup.filename().string() + "!");
            staleBackups.push_back(stale);
        }
        if (fs::exists(f.target, ec) && !move(f.target, f.backup))
            return rollBack("Couldn't keep " + f.target.filename().string() + " as " +
                            f.backup.filename().string() + "!");
        if (!move(temps[i], f.target))
            return rollBack("Couldn't write " + f.target.filename().string() + "!");
    }

    std::error_code ignored;
    for (const fs::path& stale : staleBackups)
        fs::remove(stale, ignored);
    return {};
}

} // namespace tsl
