#pragma once
// An undo history of whole sets whose chunks are shared: each step keeps the
// set before and after a change, which costs the changed chunks only (the
// game's pictures and sounds hold their chunks through shared pointers).
// A change that is refused, or that leaves the set as it was, records no
// step. The history remembers where the last save left it.

#include "core/Failure.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tsl {

template <class Set>
class SnapshotHistory {
public:
    explicit SnapshotHistory(Set set) : current_(std::move(set)) {}

    const Set& Current() const { return current_; }

    // Runs `change` on the set (a refusal, or nothing); a change that went
    // through and changed the set is one step called `name`.
    template <class Change>
    std::optional<Failure> Apply(std::string name, Change&& change)
    {
        Set before = current_;
        if (std::optional<Failure> refusal = change(current_)) {
            current_ = std::move(before);
            return refusal;
        }
        if (current_ == before)
            return std::nullopt;
        steps_.resize(position_);
        if (saved_ && *saved_ > position_)
            saved_.reset(); // the saved set was undone and is now out of reach
        steps_.push_back({std::move(name), std::move(before), current_});
        position_ = steps_.size();
        return std::nullopt;
    }

    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < steps_.size(); }
    std::string UndoName() const { return CanUndo() ? steps_[position_ - 1].name : std::string(); }
    std::string RedoName() const { return CanRedo() ? steps_[position_].name : std::string(); }
    void Undo()
    {
        if (CanUndo())
            current_ = steps_[--position_].before;
    }
    void Redo()
    {
        if (CanRedo())
            current_ = steps_[position_++].after;
    }

    // The set differs from what was last saved (or opened).
    bool Changed() const { return !saved_ || *saved_ != position_; }
    void MarkSaved() { saved_ = position_; }
    // A set from elsewhere (a recovery file) in place of the current one,
    // with no history and no saved state in reach.
    void Reset(Set set)
    {
        current_ = std::move(set);
        steps_.clear();
        position_ = 0;
        saved_.reset();
    }

private:
    struct Step {
        std::string name;
        Set before;
        Set after;
    };
    Set current_;
    std::vector<Step> steps_;
    std::size_t position_ = 0;
    std::optional<std::size_t> saved_ = 0;
};

} // namespace tsl
