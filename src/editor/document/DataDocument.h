#pragma once
// A set of the game's data files (the pictures' or the sounds') as a
// document: the set with its undo history (SnapshotHistory), the set as last
// saved, and a notice at every change, so that a window and the autosave
// follow it without being called one by one.

#include "core/Notifier.h"
#include "editor/document/SnapshotHistory.h"

#include <functional>
#include <string>
#include <utility>

namespace tsl {

struct DataChange {};

template <class Set>
class DataDocument {
public:
    using Token = Notifier<DataChange>::Token;

    explicit DataDocument(Set set) : history_(set), saved_(std::move(set)) {}

    const Set& Current() const { return history_.Current(); }
    // The set as its files hold it (as last saved or opened).
    const Set& Saved() const { return saved_; }

    template <class Change>
    std::optional<Failure> Apply(std::string name, Change&& change)
    {
        auto refusal = history_.Apply(std::move(name), std::forward<Change>(change));
        if (!refusal)
            Tell();
        return refusal;
    }
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    std::string UndoName() const { return history_.UndoName(); }
    std::string RedoName() const { return history_.RedoName(); }
    void Undo()
    {
        history_.Undo();
        Tell();
    }
    void Redo()
    {
        history_.Redo();
        Tell();
    }
    bool Changed() const { return history_.Changed(); }
    void MarkSaved()
    {
        history_.MarkSaved();
        saved_ = history_.Current();
        Tell();
    }
    // A set read from a recovery file in place of the current one: changed,
    // with no history.
    void TakeRecovered(Set set)
    {
        history_.Reset(std::move(set));
        Tell();
    }

    [[nodiscard]] Token Listen(std::function<void()> listener)
    {
        return notifier_.Listen([listener = std::move(listener)](const DataChange&) { listener(); });
    }

private:
    void Tell() { notifier_.Notify({}); }

    SnapshotHistory<Set> history_;
    Set saved_;
    Notifier<DataChange> notifier_;
};

} // namespace tsl
