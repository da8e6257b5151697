#include "core/UserFolders.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace tsl {

namespace fs = std::filesystem;

namespace {

fs::path HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        return user->pw_dir;
    return fs::temp_directory_path();
}

// A base directory from its variable; a relative one is to be ignored.
fs::path BaseFolder(const char* variable, const fs::path& fallback)
{
    if (const char* value = std::getenv(variable); value && fs::path(value).is_absolute())
        return value;
    return HomeFolder() / fallback;
}

fs::path ProgramFolder(const fs::path& base)
{
    return base / "Tesselar" / "Tesselar";
}

} // namespace

fs::path UserDataFolder()
{
    return ProgramFolder(BaseFolder("XDG_DATA_HOME", ".local/share"));
}

fs::path UserStateFolder()
{
    return ProgramFolder(BaseFolder("XDG_STATE_HOME", ".local/state"));
}

fs::path UserConfigFolder()
{
    return ProgramFolder(BaseFolder("XDG_CONFIG_HOME", ".config"));
}

fs::path DefaultBackupsRoot()
{
    return UserDataFolder() / "Backups";
}

fs::path DefaultRecoveryRoot()
{
    return UserStateFolder() / "Recovery";
}

std::string GameFolderKey(const fs::path& gameDir)
{
    std::error_code ec;
    fs::path full = fs::weakly_canonical(fs::absolute(gameDir, ec), ec);
    if (ec)
        full = fs::absolute(gameDir, ec).lexically_normal();
    std::string text = full.string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    // FNV-1a: stable across runs and builds, unlike std::hash.
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>((hash ^ (hash >> 32)) & 0xFFFFFFFFu));
    std::string name = fs::path(text).filename().string();
    return (name.empty() ? "root" : name) + "-" + digits;
}

} // namespace tsl
