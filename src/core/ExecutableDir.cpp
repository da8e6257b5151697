#include "core/ExecutableDir.h"

#include <system_error>

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

} // namespace tsl
