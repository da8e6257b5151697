#pragma once
// The folder of the running executable: the map definition structures and
// the program's settings file live beside the program (portable use).

#include <filesystem>

namespace tsl {

// The folder that holds the running executable; the current folder when the
// system cannot tell.
std::filesystem::path ExecutableDir();

} // namespace tsl
