#pragma once
// Where the editor keeps "TSL.ini" and the MapDefs folder. The start-up code
// decides (beside the executable, or the user's folders for an installed
// copy) and hands the choice to the main window.

#include <filesystem>

namespace tsl {

struct EditorEnvironment {
    std::filesystem::path settingsFile; // TSL.ini
    std::filesystem::path mapDefsRoot;  // MapDefs
};

} // namespace tsl
