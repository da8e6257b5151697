#pragma once
// Where the editor keeps "TSL.ini" and the MapDefs folder, and where backup
// generations and recovery files go. The start-up code decides (beside the
// executable, or the user's folders for an installed copy; backups and
// recovery always in the user's folders) and hands the choice to the main
// window. An empty backups or recovery folder means none are kept.

#include <filesystem>

namespace tsl {

struct EditorEnvironment {
    std::filesystem::path settingsFile; // TSL.ini
    std::filesystem::path mapDefsRoot;  // MapDefs
    std::filesystem::path backupsRoot;  // backup generations (DefaultBackupsRoot())
    std::filesystem::path recoveryRoot; // recovery files (DefaultRecoveryRoot())
};

} // namespace tsl
