#pragma once
// The editor's rule for saving a set whose load found damage: the first save
// asks, because it writes the damaged maps as they are shown now. (The
// backups of such a set are never replaced; see MapHandler::Save.)

#include "core/MapHandler.h"
#include "core/Prompter.h"

namespace tsl {

inline constexpr const char* kDamagedSaveQuestion =
    "Some maps were damaged when they were loaded. Saving writes them as they are shown now.\n\n"
    "Do you wish to save anyway?";

// Asks once per loaded set; false when the answer is No and nothing is to be saved.
bool ConfirmDamagedSave(MapHandler& maps, Prompter& prompter);

} // namespace tsl
