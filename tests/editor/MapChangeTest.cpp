// A gesture never outlives its map: a stroke, a rectangle and a paste
// placement held while the current map or the map list changes end as their
// release at the last tile reached would, on the map they began on; the rest
// of the press reaches no map. Shaped do / check / undo / check on both maps.

#include "SessionFixture.h"
#include "ScriptedPrompter.h"
#include "editor/MapExchangeFlow.h"
#include "editor/Recovery.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tsl;
using namespace tsl::test;

namespace {

class MapChangeTest : public SessionFixture {
protected:
    // Maps A, B, C; B is shown and holds a block of 9s to copy.
    void OpenThree()
    {
        Open({{16, 16}, {16, 16}, {16, 16}});
        session->GoToLevel(1);
        for (int x = 0; x < 2; ++x)
            Map().SetWord(1, x, 0, 9);
    }
    MapList* Named(const std::string& name)
    {
        for (MapList& map : session->Maps().Maps)
            if (MapNameText(map.Name) == name)
                return &map;
        return nullptr;
    }
};

struct HeldGesture {
    const char* name;
    std::function<void()> start; // pressed on B, not released
    std::vector<std::pair<int, int>> plane0;                    // where B holds 7 in plane 0 afterwards
    std::vector<std::pair<int, int>> plane1;                    // where B holds 9 in plane 1 afterwards
};

struct Way {
    const char* name;
    std::function<EditResult(EditorSession&, Prompter&)> run;
    std::string shown;     // the map shown afterwards
    bool historiesKept;    // a switch keeps them; a change of the list starts them anew
};

} // namespace

TEST_F(MapChangeTest, AChangeOfTheMapsEndsTheHeldGestureOnItsOwnMap)
{
    using A = PointerAction;
    const std::vector<HeldGesture> gestures = {
        {"stroke",
         [this] {
             session->SetButtonValue(Button::Left, 7);
             Send(A::Press, 2, 2);
             Send(A::Move, 3, 2);
         },
         {{2, 2}, {3, 2}},
         {{0, 0}, {1, 0}}},
        {"rectangle",
         [this] {
             session->SelectTool(kToolRectangle);
             session->SetButtonValue(Button::Left, 7);
             Send(A::Press, 2, 2);
             Send(A::Move, 3, 3);
         },
         {{2, 2}, {3, 2}, {2, 3}, {3, 3}},
         {{0, 0}, {1, 0}}},
        {"paste",
         [this] {
             session->SelectTool(kToolRectangleSelection);
             Stroke({{0, 0}, {1, 0}});
             session->Copy();
             session->Paste();
             Send(A::Move, 5, 5);
             Send(A::Press, 5, 5);
         },
         {},
         {{0, 0}, {1, 0}, {5, 5}, {6, 5}}},
    };
    TempDir files;
    const fs::path importFile = files / "import.tsl";
    {
        auto other = MemorySession(files.path(), {{{16, 16}}, 3, {}, false});
        other->Maps().Maps[0].Name = MakeNameBuffer("Imported", 16);
        ASSERT_FALSE(WriteRecoveryFile(importFile, RecoverySnapshot(other->Maps())));
    }
    const std::vector<Way> ways = {
        {"previous", [](EditorSession& s, Prompter&) { return s.PreviousMap(); }, "A", true},
        {"next", [](EditorSession& s, Prompter&) { return s.NextMap(); }, "C", true},
        {"go to", [](EditorSession& s, Prompter&) { return s.GoToLevel(2); }, "C", true},
        {"add", [](EditorSession& s, Prompter&) { return s.AddMap(); }, "New map", false},
        {"delete", [](EditorSession& s, Prompter&) { return s.DeleteMap(); }, "A", false},
        {"import", [](EditorSession& s, Prompter& p) { return ImportIntoSession(s, p); }, "Imported", false},
    };
    for (const HeldGesture& gesture : gestures)
        for (const Way& way : ways) {
            SCOPED_TRACE(std::string(gesture.name) + " cut by " + way.name);
            OpenThree();
            const PlaneSet before = Map().Planes;
            ScriptedPrompter prompter;
            prompter.File(importFile).Answer(Answer::No); // the map straight into the set

            gesture.start();
            const EditResult result = way.run(*session, prompter);
            EXPECT_TRUE(result.GestureEnded);
            EXPECT_EQ(result.What, EditResult::Redraw::MapList);
            // The rest of the press: nothing of it lands anywhere.
            const PlaneSet shownBefore = Map().Planes;
            Send(A::Move, 6, 6);
            Send(A::Release, 6, 6);
            EXPECT_EQ(Map().Planes, shownBefore) << "the map shown now";
            EXPECT_TRUE(session->Changed());

            EXPECT_EQ(MapNameText(Map().Name), way.shown);
            MapList* began = Named("B");
            if (std::string(way.name) == "delete") {
                EXPECT_EQ(began, nullptr);
                continue;
            }
            ASSERT_NE(began, nullptr);
            PlaneSet expected = before;
            for (auto [x, y] : gesture.plane0)
                expected[0][static_cast<std::size_t>(y * 16 + x)] = 7;
            for (auto [x, y] : gesture.plane1)
                expected[1][static_cast<std::size_t>(y * 16 + x)] = 9;
            EXPECT_EQ(began->Planes, expected) << "the map the gesture began on";

            EXPECT_FALSE(session->CanUndo()) << "no step on the map shown now";
            if (!way.historiesKept)
                continue;
            session->GoToLevel(1);
            ASSERT_TRUE(session->CanUndo());
            session->Undo();
            EXPECT_EQ(Map().Planes, before);
            EXPECT_FALSE(session->CanUndo());
            EXPECT_FALSE(session->Changed()) << "every map is back where it was";
            session->Redo();
            EXPECT_EQ(Map().Planes, expected);
        }
}

// A stroke that left the map is over but holds its step open until the
// release: a change of the maps closes that step on its own map as well.
TEST_F(MapChangeTest, AStrokeThatLeftTheMapClosesItsStepBeforeTheSwitch)
{
    OpenThree();
    session->SetButtonValue(Button::Left, 7);
    Send(PointerAction::Press, 2, 2);
    Send(PointerAction::Move, 20, 2);
    EXPECT_TRUE(session->NextMap().GestureEnded);
    EXPECT_EQ(session->History(1).Steps(), 1);
    EXPECT_FALSE(session->History(1).Pending());
    // A placement not pressed goes on to the next map.
    session->SelectTool(kToolRectangleSelection);
    Stroke({{0, 0}});
    session->Copy();
    session->Paste();
    EXPECT_FALSE(session->PreviousMap().GestureEnded);
    EXPECT_TRUE(session->PastePlacing());
    EXPECT_EQ(std::get<gesture::PastePlacement>(Tools().CurrentGesture()).Map, 1);
}
