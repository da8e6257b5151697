// The map histories: one linear undo history per map, the edit frame, Undo
// and Redo as one step in either direction, and the changed flag that
// follows them from the last save.

#include "SessionFixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tsl;
using namespace tsl::test;

namespace {

using MapHistoriesTest = SessionFixture;

TEST_F(MapHistoriesTest, UndoAndRedoFollowTheLinearHistoryOfEachMap)
{
    Open({{16, 16}, {8, 8}});
    const MapState initial = Now();
    Draw(1, 0, 0);
    const MapState first = Now();
    Draw(2, 1, 0);
    Draw(3, 2, 0);
    Histories().Step(HistoryStep::Undo);
    Histories().Step(HistoryStep::Undo);
    Draw(4, 3, 0); // drops the two undone steps
    EXPECT_FALSE(Histories().CanStep(HistoryStep::Redo));
    Histories().Step(HistoryStep::Undo);
    EXPECT_EQ(Now(), first);
    Histories().Step(HistoryStep::Undo);
    EXPECT_EQ(Now(), initial);
    EXPECT_FALSE(Histories().CanStep(HistoryStep::Undo));
    EXPECT_FALSE(Histories().Step(HistoryStep::Undo));

    // The other map has a history of its own.
    Draw(1, 0, 0);
    session->NextMap();
    EXPECT_FALSE(Histories().CanStep(HistoryStep::Undo));
    Draw(2, 0, 0);
    Histories().Step(HistoryStep::Undo);
    EXPECT_EQ(W(0, 0, 0), 0);
    EXPECT_EQ(Map(0).Word(0, 0, 0), 1);
    session->PreviousMap();
    EXPECT_TRUE(Histories().CanStep(HistoryStep::Undo));
    EXPECT_FALSE(Histories().CanStep(HistoryStep::Redo));
}

TEST_F(MapHistoriesTest, TheChangedFlagFollowsTheHistoriesFromTheLastSave)
{
    Open({{16, 16}, {8, 8}});
    struct Step {
        const char* what;
        std::function<void()> run;
        bool changed;
    };
    const Step steps[] = {
        {"opened", [] {}, false},
        {"an edit", [&] { Draw(1, 0, 0); }, true},
        {"the edit undone", [&] { session->Undo(); }, false},
        {"and done again", [&] { session->Redo(); }, true},
        {"saved", [&] { session->SetChanged(false); }, false},
        {"undone past the save", [&] { session->Undo(); }, true},
        {"redone back to it", [&] { session->Redo(); }, false},
        {"a new edit after an undo", [&] { session->Undo(); Draw(2, 1, 0); }, true},
        {"which drops the saved state", [&] { session->Undo(); }, true},
        {"saved again", [&] { session->SetChanged(false); }, false},
        {"an edit of the other map", [&] { session->NextMap(); Draw(3, 0, 0); session->PreviousMap(); }, true},
        {"undone there", [&] { session->NextMap(); session->Undo(); }, false},
        {"a rename, which no history holds", [&] { session->ApplyMapProperties({"B2", 8, 8, false}); }, true},
        {"an edit undone after it", [&] { Draw(4, 0, 0); session->Undo(); }, true},
        {"saved once more", [&] { session->SetChanged(false); }, false},
        {"an edit, then the histories rebuilt", [&] { Draw(5, 0, 0); session->RebuildHistories(); }, true},
    };
    for (const Step& step : steps) {
        step.run();
        EXPECT_EQ(session->Changed(), step.changed) << step.what;
    }
}

// A gesture's step is closed on the map it was opened on, whichever map is
// current at its release.
TEST_F(MapHistoriesTest, AnOpenStepBlocksUndoAndClosesOnItsOwnMap)
{
    Open({{16, 16}, {8, 8}});
    Histories().OpenStep(0, 0);
    Map(0).SetWord(0, 1, 1, 9);
    EXPECT_FALSE(Histories().CanStep(HistoryStep::Undo)) << "not while the step is open";
    session->NextMap();
    Histories().CloseStep();
    EXPECT_TRUE(session->Changed());
    EXPECT_EQ(Histories().History(0).Steps(), 1);
    EXPECT_EQ(Histories().History(1).Steps(), 0);
    session->PreviousMap();
    EXPECT_TRUE(Histories().Step(HistoryStep::Undo));
    EXPECT_EQ(Map(0).Word(0, 1, 1), 0);
    EXPECT_FALSE(Histories().Step(HistoryStep::Undo));
}

} // namespace
