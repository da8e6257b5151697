// The undo history of the game's pictures and sounds: a change, a refused
// one and one that changes nothing, undone and redone, with the saved mark
// followed through them and lost when the saved set is undone and replaced.

#include "editor/document/SnapshotHistory.h"

#include <gtest/gtest.h>

using namespace tsl;

namespace {

std::optional<Failure> SetTo(std::vector<int>& set, int value)
{
    if (value < 0)
        return Failure{"no negative values", "test", MessageIcon::Warning};
    set[0] = value;
    return std::nullopt;
}

} // namespace

TEST(SnapshotHistory, RecordsChangesOnlyAndFollowsTheSavedMark)
{
    SnapshotHistory<std::vector<int>> history({1, 2});
    EXPECT_FALSE(history.Changed());
    EXPECT_FALSE(history.Apply("Set 5", [](auto& s) { return SetTo(s, 5); }));
    EXPECT_TRUE(history.Apply("Refused", [](auto& s) { return SetTo(s, -1); }));
    EXPECT_FALSE(history.Apply("Same", [](auto& s) { return SetTo(s, 5); }));
    EXPECT_EQ(history.Current(), (std::vector<int>{5, 2}));
    EXPECT_EQ(history.UndoName(), "Set 5");
    EXPECT_TRUE(history.Changed());

    history.Undo();
    EXPECT_EQ(history.Current(), (std::vector<int>{1, 2}));
    EXPECT_FALSE(history.Changed());
    EXPECT_EQ(history.RedoName(), "Set 5");
    history.Redo();
    history.MarkSaved();
    EXPECT_FALSE(history.Changed());
    history.Undo();
    EXPECT_TRUE(history.Changed()); // an undo past the save is a change to save
    EXPECT_FALSE(history.Apply("Set 7", [](auto& s) { return SetTo(s, 7); }));
    EXPECT_FALSE(history.CanRedo());
    history.Undo();
    history.Redo();
    EXPECT_TRUE(history.Changed()); // the saved set is out of reach
}
