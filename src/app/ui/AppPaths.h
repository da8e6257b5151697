#pragma once
// Where the editor keeps "TSL.ini" and the MapDefs folder: beside the
// executable, as a portable program does; for an installed copy, or when
// that folder cannot be written, in the user's configuration and data
// folders, the MapDefs folder seeded from the installed one.

#include "editor/settings/EditorEnvironment.h"

#include <filesystem>

namespace tsl {

EditorEnvironment DefaultEnvironment();

// The first page of the user manual shipped with the program.
std::filesystem::path ManualFile();

} // namespace tsl
