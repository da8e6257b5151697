#pragma once
// One undo history per map of the open project, and the edit frame that every
// word-changing command runs through: the before-snapshot of its scope, the
// change, the changed flag, the after-snapshot. A pointer gesture holds the
// frame open from its press to its release. Undo and Redo are one step
// through the current map's history, in either direction.
//
// Whether the maps differ from their files follows the histories: each one
// remembers where the last save left it, so an edit undone is no change. What
// no history holds (the map list, a name, an import) is the project's own
// changed flag, which a rebuild of the histories also takes over.

#include "editor/EditResult.h"
#include "editor/UndoHistory.h"

#include <functional>
#include <optional>
#include <vector>

namespace tsl {

class Project;

class MapHistories {
public:
    explicit MapHistories(Project& project);

    // Discards every history and makes one empty history per map (after the
    // map list or the planes changed); a step still open is dropped. Changes
    // not yet saved stay changes: the project's flag takes them over.
    void Rebuild();
    // True when some map is not where the last save left it.
    bool Unsaved() const;
    // The maps are as their files hold them now (after a save).
    void MarkSaved();
    const UR_Manager& History(int map) const { return histories_.at(static_cast<std::size_t>(map)); }

    // The edit frame: `change` runs between the before- and after-snapshot
    // of `scope` (a plane, or kAllPlanes) of map `map`. No command writes map
    // words any other way. The result redraws the map when it is the current
    // one.
    EditResult Edit(int map, int scope, const std::function<void(MapList&)>& change);

    // The same frame held open over a gesture: OpenStep before its press
    // changes a word, CloseStep at its release, on the map it was opened on.
    // Even a gesture that changed no word is a step. Closing without an open
    // step does nothing.
    void OpenStep(int map, int scope);
    void CloseStep();
    bool StepOpen() const { return openStep_.has_value(); }
    // A gesture called off before it changed a word: its step is not recorded.
    void DropStep();

    // Undo or Redo on the current map; never while a step is open.
    bool CanStep(HistoryStep direction) const;
    // False when there was nothing to take back or to do again.
    bool Step(HistoryStep direction);

private:
    UR_Manager& At(int map) { return histories_.at(static_cast<std::size_t>(map)); }

    Project& project_;
    std::vector<UR_Manager> histories_;
    std::optional<int> openStep_; // the map whose step a gesture holds open
};

} // namespace tsl
