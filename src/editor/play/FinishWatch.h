#pragma once
// Whether the current level can be finished, followed from edit to edit, so
// that the window can say once that an edit took the way out away (naming
// what keeps it shut) or gave it back. Another map shown, or another
// project, is no edit: it only sets what the next edit is compared with.

#include "core/MapHandler.h"
#include "engine/EngineRules.h"

#include <optional>
#include <string>

namespace tsl {

class FinishWatch {
public:
    // The level as it stands now; `edited`: an edit of this very map made
    // it so. The sentence to tell when an edit turned a level that could be
    // finished into one that cannot be on some skill level, or back.
    std::optional<std::string> Update(const MapList& map, const EngineRules& rules, bool edited);
    // Nothing is known any more (another project, rules taken).
    void Reset() { finishable_.reset(); }

private:
    std::optional<bool> finishable_;
};

// "The level can no longer be finished: No exit can be reached from the
// player start on skill levels 3 and 4. The locked door at column 3, row 1
// opens with the gold key, which cannot be had." from the map check's
// findings of play; "The level can be finished again." when `finishable`.
std::string FinishChangeText(const MapList& map, const EngineRules& rules, bool finishable);

} // namespace tsl
