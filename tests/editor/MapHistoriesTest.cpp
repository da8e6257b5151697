// The map histories: one linear undo history per map, the edit frame that
// marks the set changed, and Undo and Redo as one step in either direction.

#include "SessionFixture.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

using MapHistoriesTest = SessionFixture;

TEST_F(MapHistoriesTest, UndoAndRedoFollowTheLinearHistoryOfEachMapAndMarkTheSetChanged)
{
    Open({{16, 16}, {8, 8}});
    const MapState initial = Now();
    Draw(1, 0, 0);
    const MapState first = Now();
    Draw(2, 1, 0);
    Draw(3, 2, 0);
    session->SetChanged(false); // saved
    Histories().Step(HistoryStep::Undo);
    EXPECT_TRUE(session->Changed());
    session->SetChanged(false);
    Histories().Step(HistoryStep::Redo);
    EXPECT_TRUE(session->Changed());
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
