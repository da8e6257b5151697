#pragma once
// Where the editor keeps "TSL.ini" and the MapDefs folder: beside the
// executable, as a portable program does; when that folder cannot be written
// (an installed copy), in the user's configuration and data folders, the
// MapDefs folder seeded from the installed one.

#include <filesystem>

namespace tsl {

struct EditorEnvironment {
    std::filesystem::path settingsFile; // TSL.ini
    std::filesystem::path mapDefsRoot;  // MapDefs
};

EditorEnvironment DefaultEnvironment();

} // namespace tsl
