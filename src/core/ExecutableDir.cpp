#include "core/ExecutableDir.h"

#include "core/FileSystem.h"

#include <system_error>

#include <unistd.h>

namespace tsl {

std::filesystem::path ExecutableDir()
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && self.has_parent_path())
        return self.parent_path();
    const std::filesystem::path current = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path(".") : current;
}

std::filesystem::path ShippedDataDir(const std::filesystem::path& executableDir)
{
    std::error_code ec;
    if (std::filesystem::is_directory(ResolveNoCase(executableDir, "MapDefs"), ec))
        return executableDir;
    const std::filesystem::path installed = executableDir.parent_path() / "share" / "tesselar";
    return std::filesystem::is_directory(installed, ec) ? installed : executableDir;
}

bool IsPortableCopy(const std::filesystem::path& executableDir)
{
    return ShippedDataDir(executableDir) == executableDir && ::access(executableDir.c_str(), W_OK) == 0;
}

std::filesystem::path ShippedDataDir()
{
    return ShippedDataDir(ExecutableDir());
}

} // namespace tsl
