#pragma once
// The folder of the running executable: the map definition structures and
// the program's settings file live beside the program (portable use).

#include <filesystem>

namespace tsl {

// The folder that holds the running executable; the current folder when the
// system cannot tell.
std::filesystem::path ExecutableDir();

// The folder of what ships with the program (MapDefs, the manual, the sample
// game): the executable's own folder for a build or a portable copy, which
// holds MapDefs; <prefix>/share/tesselar for a copy installed into
// <prefix>/bin.
std::filesystem::path ShippedDataDir();
std::filesystem::path ShippedDataDir(const std::filesystem::path& executableDir);

// A copy that keeps its settings beside itself: its folder holds what ships
// with it and can be written. An installed copy never writes into its bin
// folder, even where it could.
bool IsPortableCopy(const std::filesystem::path& executableDir);

} // namespace tsl
