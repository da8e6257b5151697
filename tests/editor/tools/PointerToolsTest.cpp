// The pointer tools driven like the window drives them: pointer records
// through press, move and release, shaped do / check / undo / check. What
// each tool does to the words, the values it draws with, and the gesture in
// progress that the view's overlay and the copy commands are read from.

#include "SessionFixture.h"

#include <gtest/gtest.h>

#include <variant>

using namespace tsl;
using namespace tsl::test;

namespace {

using PointerToolsTest = SessionFixture;

TEST_F(PointerToolsTest, PencilStrokeIsOneStepEndsWhenItLeavesTheMapAndAPressOutsideClamps)
{
    Open({{16, 12}});
    const MapState before = Now();
    Tools().SetButtonValue(Button::Left, 4);
    // Out at (16, 1): the stroke ends; back inside at (3, 1): not resumed.
    Stroke({{1, 1}, {2, 1}, {16, 1}, {3, 1}});
    EXPECT_EQ(W(0, 1, 1), 4);
    EXPECT_EQ(W(0, 2, 1), 4);
    EXPECT_EQ(W(0, 3, 1), 0);
    EXPECT_TRUE(session->Changed());
    EXPECT_EQ(session->History(0).Steps(), 1);
    ExpectUndoRedo(before);
    // A press outside the map acts on its last column and row.
    Draw(3, 40, 30);
    EXPECT_EQ(W(0, 15, 11), 3);
}

// The pencil's word is what a press would write; a byte-mode stroke writes
// the word of its press on every tile it reaches.
TEST_F(PointerToolsTest, ByteModeStrokeWritesTheWordOfItsPress)
{
    Open({{16, 16}}, {0}); // plane 0 split
    LayWord(0, 0, 0, 0x1203);
    LayWord(0, 1, 0, 0x7702);
    Tools().SetButtonValue(Button::Left, 5);
    EXPECT_EQ(Tools().PencilWord(0, 0), 5);
    Tools().SetValueMode(kLowByteMode);
    EXPECT_EQ(Tools().PencilWord(0, 0), 0x1205);
    EXPECT_EQ(Tools().PencilWord(16, 0), std::nullopt);
    Stroke({{0, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(W(0, 0, 0), 0x1205);
    EXPECT_EQ(W(0, 1, 0), 0x1205);
    EXPECT_EQ(W(0, 2, 0), 0x1205);
    Tools().SelectTool(kToolFill);
    EXPECT_EQ(Tools().PencilWord(0, 0), std::nullopt);
}

TEST_F(PointerToolsTest, ButtonsDrawTheirValuesInTheSelectedPlane)
{
    Tools().SelectPlane(1);
    Tools().SetButtonValue(Button::Left, 6);
    Tools().SetButtonValue(Button::Right, 8);
    Stroke({{0, 0}}, Button::Middle);
    Stroke({{1, 0}}, Button::Right);
    EXPECT_EQ(W(1, 0, 0), 6);
    EXPECT_EQ(W(1, 1, 0), 8);
    EXPECT_EQ(W(0, 0, 0), 0);
    EXPECT_EQ(Tools().LeftValue(0), 0); // each plane keeps its own pair
}

TEST_F(PointerToolsTest, RectangleFillsBetweenCornersInAnyOrder)
{
    Tools().SelectTool(kToolRectangle);
    Tools().SetButtonValue(Button::Left, 2);
    Stroke({{5, 7}, {4, 4}, {2, 3}});
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(W(0, x, y), x >= 2 && x <= 5 && y >= 3 && y <= 7 ? 2 : 0) << x << "," << y;
    session->Undo();
    Stroke({{9, 9}}); // press and release on one tile
    EXPECT_EQ(W(0, 9, 9), 2);
    EXPECT_EQ(Count(0, 2), 1);
}

// A fill that changes no word is no step: the maps are as their files hold them.
// A Fill of a region that already held the word is a step like any other,
// but the set is no different from its files for it.
TEST_F(PointerToolsTest, FillThatChangesNothingIsAStepThatChangesNothing)
{
    Tools().SelectTool(kToolFill);
    Tools().SetButtonValue(Button::Left, 0);
    const MapState before = Now();
    Stroke({{3, 3}});
    EXPECT_FALSE(session->Changed());
    ASSERT_TRUE(session->CanUndo());
    session->Undo();
    EXPECT_EQ(Now(), before);
    EXPECT_FALSE(session->Changed());
    session->Redo();
    EXPECT_EQ(Now(), before);
    EXPECT_FALSE(session->Changed());
    // A change after it, undone back past the empty step, is no change either.
    Tools().SetButtonValue(Button::Left, 7);
    Stroke({{3, 3}});
    EXPECT_TRUE(session->Changed());
    session->Undo();
    session->Undo();
    EXPECT_FALSE(session->Changed());
}

// A fast drag skips tiles between two pointer events: the Pencil fills the
// line between them itself, whatever sends the events.
TEST_F(PointerToolsTest, ThePencilDrawsTheLineBetweenTwoPointerPositions)
{
    Tools().SetButtonValue(Button::Left, 3);
    Stroke({{1, 1}, {7, 4}, {7, 0}});
    for (auto [x, y] : {std::pair{1, 1}, {2, 2}, {3, 2}, {4, 3}, {5, 3}, {6, 4}, {7, 4}, {7, 2}, {7, 0}})
        EXPECT_EQ(W(0, x, y), 3) << x << "," << y;
    EXPECT_EQ(Count(0, 3), 11);
    EXPECT_EQ(session->History(0).Steps(), 1);
}

TEST_F(PointerToolsTest, SelectObjectPicksAndReturnsToThePreviousTool)
{
    struct Case { std::uint16_t before; std::uint16_t after; };
    for (const Case& c : std::vector<Case>{{kToolPencil, kToolPencil},
                                           {kToolFill, kToolFill},
                                           {kToolRectangle, kToolRectangle},
                                           {kToolRectangleSelection, kToolPencil}}) {
        Open();
        LayWord(0, 4, 4, 4242); // no symbol has it
        const MapState before = Now();
        Tools().SelectTool(c.before);
        Tools().SelectTool(kToolSelectObject);
        EXPECT_TRUE(Tools().Pointer({PointerAction::Press, Button::Right, 4, 4}).ValuesChanged);
        Send(PointerAction::Release, 4, 4, Button::Right);
        EXPECT_EQ(Tools().RightValue(0), 4242);
        EXPECT_EQ(Tools().CurrentTool(), c.after) << c.before;
        EXPECT_EQ(Now(), before) << "the release after the pick acts with no tool";
        EXPECT_FALSE(session->Changed());
        EXPECT_FALSE(session->CanUndo());
    }
}

TEST_F(PointerToolsTest, TheRecentRowHoldsTheLastEightValuesDrawnPerPlane)
{
    for (std::uint16_t v : {1, 2, 3, 2, 4, 5, 6, 7, 8, 9})
        Draw(v, 0, 0);
    Tools().SelectTool(kToolFill);
    Tools().SetButtonValue(Button::Right, 11);
    Stroke({{5, 5}}, Button::Right);
    EXPECT_EQ(Tools().RecentValues(0), (Words{11, 9, 8, 7, 6, 5, 4, 2}));
    // Chosen, picked, selected or placed is not drawn.
    Tools().SetButtonValue(Button::Left, 12);
    for (std::uint16_t tool : {kToolSelectObject, kToolRectangleSelection}) {
        Tools().SelectTool(tool);
        Stroke({{1, 1}});
    }
    EXPECT_EQ(Tools().RecentValues(0).front(), 11);
    Tools().SelectPlane(1);
    EXPECT_TRUE(Tools().RecentValues(1).empty());
}

TEST_F(PointerToolsTest, ButtonValuesAreStoredWithTheStructureForTheNextSession)
{
    Tools().SetButtonValue(Button::Left, 7);
    Tools().SelectPlane(2);
    Tools().SetButtonValue(Button::Right, 0xFFFF);
    ASSERT_TRUE(session->StoreButtonValues());
    Open();
    EXPECT_EQ(Tools().LeftValues(), (Words{7, 0, 0}));
    EXPECT_EQ(Tools().RightValues(), (Words{0, 0, 0xFFFF}));
    session->CurrentProject().Settings->WriteInteger("LeftValue", "1", 70000); // no word holds it
    Open();
    EXPECT_EQ(Tools().LeftValue(1), 0);
}

TEST_F(PointerToolsTest, PlaneWithoutSplitLeavesTheByteModes)
{
    Open({{16, 16}}, {1}); // plane 1 split
    EXPECT_FALSE(Tools().CanByteModes());
    EXPECT_EQ(Tools().SetValueMode(kHighByteMode).What, EditResult::Redraw::Nothing);
    Tools().SelectPlane(1);
    Tools().SetValueMode(kHighByteMode);
    EXPECT_EQ(Tools().ValueMode(), kHighByteMode);
    EXPECT_EQ(Tools().SelectPlane(0).What, EditResult::Redraw::Map);
    EXPECT_EQ(Tools().ValueMode(), kIntMode);
}

// Every gesture remembers the map it began on; the outline and the
// selection to copy are read off the gesture in progress.
TEST_F(PointerToolsTest, TheGestureInProgressRemembersItsMapAndGivesTheOutline)
{
    Open({{16, 16}, {16, 16}});
    session->NextMap();
    Tools().SelectTool(kToolRectangle);
    Send(PointerAction::Press, 2, 3);
    Send(PointerAction::Move, 5, 4);
    const auto* drag = std::get_if<gesture::RectangleDrag>(&Tools().CurrentGesture());
    ASSERT_TRUE(drag);
    EXPECT_EQ(drag->Map, 1);
    EXPECT_EQ(Tools().Outline(), (TileRect{2, 3, 5, 4}));
    EXPECT_FALSE(Tools().CopyableSelection());
    Send(PointerAction::Release, 5, 4);
    EXPECT_TRUE(std::holds_alternative<gesture::Idle>(Tools().CurrentGesture()));
    EXPECT_EQ(Tools().Outline(), std::nullopt);

    Tools().SelectTool(kToolRectangleSelection);
    Stroke({{1, 1}, {2, 2}});
    ASSERT_TRUE(std::holds_alternative<gesture::ShownSelection>(Tools().CurrentGesture()));
    EXPECT_EQ(Tools().CopyableSelection(), (TileRect{1, 1, 2, 2}));
    Tools().HideSelection(); // the maps changed: no outline, still to copy
    EXPECT_EQ(Tools().Outline(), std::nullopt);
    EXPECT_EQ(Tools().CopyableSelection(), (TileRect{1, 1, 2, 2}));

    Tools().StartPlacement(false);
    EXPECT_EQ(Tools().CurrentTool(), kToolPastePlacement);
    EXPECT_EQ(std::get<gesture::PastePlacement>(Tools().CurrentGesture()).Map, 1);
    Tools().SelectTool(kToolRectangleSelection);
    EXPECT_FALSE(Tools().PastePlacing());
}

} // namespace
