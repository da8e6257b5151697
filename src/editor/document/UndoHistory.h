#pragma once
// The undo history of one map (`UR_Manager`): a linear list of steps and the
// position of the last step in effect. A step records what one operation did
// to the planes it names (one, some or all), so Undo and Redo copy words
// back instead of running the operation again; a plane the step does not
// name is never written by it.
//
// A step is recorded in two halves, as the operations run: PushUndoStep
// before the words change, PushRedoStep after. Only the words that differ are
// kept (as runs), so a one-tile stroke costs a few bytes whatever the map's
// size; a step that changes the size keeps both whole planes.

#include "core/MapHandler.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tsl {

inline constexpr int kAllPlanes = -1;

// The two directions through a history.
enum class HistoryStep { Undo, Redo };

class UR_Manager {
public:
    // Starts a step: keeps a copy of the planes in `scope` (a plane number,
    // or kAllPlanes) until PushRedoStep. A step that was started and not
    // finished is finished first.
    void PushUndoStep(const MapList& map, int scope);
    // The same over the planes numbered in `planes`, each as `map` holds it
    // (a plane the map does not hold is not recorded).
    void PushUndoStep(const MapList& map, const std::vector<int>& planes);
    // Finishes the started step from the changed map, discarding every step
    // beyond the position. Nothing happens when no step was started, nor
    // when no word and no size differ.
    void PushRedoStep(const MapList& map);
    // Forgets a started step without recording it.
    void DropPendingStep() { pending_.reset(); }
    bool Pending() const { return pending_.has_value(); }

    // Restores the state before the step at the position (Undo) or after the
    // step beyond it (Redo), sizes included. False when there is nothing to
    // undo or redo, or a step is still open; `changed` tells whether any word
    // or size differed.
    bool Step(HistoryStep direction, MapList& map, bool* changed = nullptr);
    bool Undo(MapList& map, bool* changed = nullptr) { return Step(HistoryStep::Undo, map, changed); }
    bool Redo(MapList& map, bool* changed = nullptr) { return Step(HistoryStep::Redo, map, changed); }

    bool CanStep(HistoryStep direction) const { return direction == HistoryStep::Undo ? CanUndo() : CanRedo(); }
    bool CanUndo() const { return position_ >= 0; }
    bool CanRedo() const { return position_ < static_cast<int>(steps_.size()) - 1; }
    int Position() const { return position_; }
    int Steps() const { return static_cast<int>(steps_.size()); }
    void ClearHistory();

    // The map as its files hold it is the state at the position now (after
    // a save). A new history starts there.
    void MarkSaved() { saved_ = position_; }
    // True when the map is where it was last saved: Undo back to that point
    // and Redo away from it move the answer, unless the steps between
    // changed no word. Once a new step replaced the steps that led there, no
    // position gives the saved words back.
    bool AtSaved() const;

    // Bytes held by the recorded steps (for the memory measurements).
    std::size_t MemoryUsage() const;

private:
    struct Run {
        std::uint32_t start = 0;  // first word
        std::uint32_t length = 0; // words
        std::uint32_t offset = 0; // into before/after
    };
    struct PlaneChange {
        int plane = 0;
        std::vector<Run> runs;           // empty for a step that keeps whole planes
        std::vector<std::uint16_t> before;
        std::vector<std::uint16_t> after;
    };
    struct Entry {
        int beforeWidth = 0, beforeHeight = 0;
        int afterWidth = 0, afterHeight = 0;
        std::vector<PlaneChange> planes;
        // The size changed: both whole planes are kept instead of runs.
        bool Whole() const { return beforeWidth != afterWidth || beforeHeight != afterHeight; }
    };
    struct Snapshot {
        int width = 0, height = 0;
        std::vector<int> numbers;                       // the planes recorded
        std::vector<std::vector<std::uint16_t>> planes; // their words, in that order
    };

    static void Apply(const Entry& step, MapList& map, bool forward);
    // No step after `from` up to `to` (in either order) changed a word or a size.
    bool Unchanged(int from, int to) const;

    std::vector<Entry> steps_;
    int position_ = -1;
    std::optional<int> saved_ = -1; // the position of the saved state; none when it was dropped
    std::optional<Snapshot> pending_;
};

} // namespace tsl
