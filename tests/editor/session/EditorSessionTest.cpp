// The editing session as the window drives it: its commands and their "can"
// twins, shaped do / check / undo / check / redo / check, where they join its
// parts (the tools, the clipboard and the histories have tests of their own):
// copy, cut and paste, the map list, the properties, the whole-map operations
// with one all-planes undo step each, refusals that record nothing, the pasted
// block turned in place of the map, and find and replace with one step per
// replaced map.

#include "SessionFixture.h"
#include "editor/render/MapRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

using namespace tsl;
using namespace tsl::test;

namespace {

using EditorSessionTest = SessionFixture;

class SessionMapCommands : public EditorSessionTest {
protected:
    void SetUp() override { OpenFilled(); }
    void OpenFilled(std::vector<std::pair<int, int>> sizes = {{4, 3}})
    {
        Open(std::move(sizes));
        // Walls 1 and 2, floors 108..110 in plane 0; plane 1 and 2 only "Nothing".
        session->CurrentProject().Symbols =
            TablesOf({{{0}, {1, "w", "Wall"}, {2, "w"}, {108, "f"}, {110, "f"}}, {{0}, {5, "so", "Lamp"}}, {{0}}});
        LayWords(Document(), [](MapHandler& maps) {
            for (MapList& map : maps.Maps)
                for (std::size_t p = 0; p < 3; ++p)
                    for (std::size_t i = 0; i < map.Planes[p].size(); ++i)
                        map.Planes[p][i] = static_cast<std::uint16_t>(p == 0 ? (i % 2 ? 1 : 0) : i % 3 + 4 * p);
        });
    }
    // The dialog's fields searching plane 0 for `findWhat`.
    static FindFields Find(std::string findWhat)
    {
        FindFields fields;
        fields.FindWhat = std::move(findWhat);
        return fields;
    }
};

TEST_F(EditorSessionTest, NewSymbolsStartTheToolsValuesAndHistoriesAnew)
{
    Open({{16, 16}}, {0}); // plane 0 split
    session->SetValueMode(kLowByteMode);
    session->SetButtonValue(Button::Left, 5);
    Stroke({{0, 0}});
    session->SelectTool(kToolRectangleSelection);
    Stroke({{0, 0}});
    session->Copy();
    session->ResetForSymbols();
    EXPECT_EQ(session->CurrentTool(), kToolPencil);
    EXPECT_EQ(session->ValueMode(), kIntMode);
    EXPECT_EQ(session->LeftValue(0), 0);
    EXPECT_FALSE(session->CanPaste());
    EXPECT_FALSE(session->CanUndo());
}

TEST_F(EditorSessionTest, CopyAndPasteCarryEveryPlaneAndAToolEndsThePlacement)
{
    for (int p = 0; p < 3; ++p)
        LayWord(p, 2, 3, static_cast<std::uint16_t>(p + 5));
    EXPECT_FALSE(session->CanCopy());
    session->SelectTool(kToolRectangleSelection);
    Stroke({{2, 3}});
    EXPECT_TRUE(session->CanCopy());
    EXPECT_EQ(session->Outline(), (TileRect{2, 3, 2, 3}));
    session->Copy();
    EXPECT_TRUE(session->CanCopy()) << "the selection is still shown, to copy again or to cut";
    EXPECT_EQ(session->Outline(), (TileRect{2, 3, 2, 3}));
    EXPECT_TRUE(session->CanPaste());
    EXPECT_EQ(session->PasteBuffer().Preview.width, 8);

    session->Paste();
    EXPECT_EQ(session->CurrentTool(), kToolPastePlacement);
    Send(PointerAction::Move, 15, 9); // the last column: only the block's first column lands
    EXPECT_EQ(session->PlacementTile(), std::make_optional(std::make_pair(15, 9)));
    Stroke({{15, 9}});
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(W(p, 15, 9), p + 5);
    EXPECT_EQ(session->CurrentTool(), kToolRectangleSelection);
    EXPECT_TRUE(session->CanUndo());
    session->Undo();
    EXPECT_EQ(W(1, 15, 9), 0);

    // Choosing a tool abandons the placement; the block stays for the next Paste.
    session->Paste();
    session->SelectTool(kToolPencil);
    EXPECT_FALSE(session->PastePlacing());
    EXPECT_TRUE(session->CanPaste());
}


// Escape, in every state of the gesture: what goes, what the tool becomes,
// and that nothing is written or recorded.
TEST_F(EditorSessionTest, CancelDropsAPasteOrADragClearsASelectionAndLeavesAStroke)
{
    struct Case {
        const char* name;
        std::function<void()> start;
        std::uint16_t toolAfter;
        bool cancelled; // the gesture went
    };
    auto select = [this] {
        session->SelectTool(kToolRectangleSelection);
        Stroke({{1, 1}, {2, 2}});
    };
    auto pasteFrom = [this, select](std::uint16_t tool, bool held) {
        return [=, this] {
            select();
            session->Copy();
            session->SelectTool(tool);
            session->Paste();
            Send(PointerAction::Move, 5, 5);
            if (held)
                Send(PointerAction::Press, 5, 5);
        };
    };
    const Case cases[] = {
        {"paste from the Fill", pasteFrom(kToolFill, false), kToolFill, true},
        {"paste from the selection, button held", pasteFrom(kToolRectangleSelection, true), kToolRectangleSelection,
         true},
        {"finished selection", select, kToolRectangleSelection, true},
        {"rectangle held",
         [this] {
             session->SelectTool(kToolRectangle);
             Send(PointerAction::Press, 3, 3);
             Send(PointerAction::Move, 6, 6);
         },
         kToolRectangle, true},
        {"pencil stroke held",
         [this] {
             Send(PointerAction::Press, 3, 3);
             Send(PointerAction::Move, 4, 3);
         },
         kToolPencil, false},
    };
    for (const Case& c : cases) {
        Open();
        for (int p = 0; p < 3; ++p)
            LayWord(p, 1, 1, 9);
        Draw(4, 0, 15); // one step to keep, and one undone to redo
        Draw(5, 1, 15);
        session->Undo();
        session->MarkSaved();
        c.start();
        const MapState before = Now();
        EXPECT_FALSE(std::holds_alternative<gesture::Idle>(Tools().CurrentGesture())) << c.name;
        const EditResult result = session->Cancel();
        Send(PointerAction::Release, 6, 6); // the button held comes up
        EXPECT_EQ(session->CurrentTool(), c.toolAfter) << c.name;
        EXPECT_FALSE(session->PastePlacing()) << c.name;
        EXPECT_FALSE(session->CanCopy()) << c.name;
        EXPECT_EQ(session->Outline(), std::nullopt) << c.name;
        EXPECT_EQ(result.Overlay, c.cancelled) << c.name;
        if (!c.cancelled)
            continue; // the stroke's words and step are the tools' own rule
        EXPECT_EQ(Now(), before) << c.name;
        EXPECT_FALSE(session->Changed()) << c.name;
        EXPECT_EQ(session->History(0).Position(), 0) << c.name;
        EXPECT_TRUE(session->CanRedo()) << c.name << ": the step undone is still there";
    }
}

TEST_F(EditorSessionTest, CutKeepsToTheCurrentMapClearsEveryPlaneAndIsUndoable)
{
    Open({{64, 64}, {16, 16}});
    session->SelectTool(kToolRectangleSelection);
    Stroke({{10, 10}, {40, 40}}); // dragged on the larger map
    session->NextMap();
    Lay([](MapList& map) { map.Planes = {Words(16 * 16, 1), Words(16 * 16, 2), Words(16 * 16, 3)}; });
    const MapState before = Now();
    session->Cut();
    const CP_Manager& buffer = session->PasteBuffer();
    EXPECT_EQ(std::make_tuple(buffer.X1, buffer.X2, buffer.Y1, buffer.Y2), std::make_tuple(10, 16, 10, 16));
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(Count(p, 0), 6 * 6) << p;
    EXPECT_TRUE(session->CanPaste());
    ExpectUndoRedo(before);
}

TEST_F(EditorSessionTest, AddAndDeleteMapKeepTheListInStep)
{
    struct Case { int shown; bool add; std::vector<std::string> names; int current; };
    for (const Case& c : std::vector<Case>{{1, true, {"A", "New map", "B", "C"}, 1},
                                           {2, true, {"A", "B", "C", "New map"}, 3},
                                           {1, false, {"A", "C"}, 0},
                                           {0, false, {"B", "C"}, 0}}) {
        Open({{16, 16}, {16, 16}, {16, 16}});
        session->GoToLevel(c.shown);
        Draw(1, 0, 0);
        session->MarkSaved();
        c.add ? session->AddMap() : session->DeleteMap();
        EXPECT_EQ(MapNames(session->Maps()), c.names);
        EXPECT_EQ(session->Maps().CurrentMap, c.current);
        EXPECT_EQ(session->Maps().Headers.size(), c.names.size());
        EXPECT_TRUE(session->Changed());
        for (int i = 0; i < session->Maps().NumMaps(); ++i) {
            EXPECT_EQ(session->History(i).Steps(), 0);
            EXPECT_EQ(session->Maps().Maps[static_cast<std::size_t>(i)].Index, i);
        }
    }
    Open({{16, 16}, {16, 16}});
    session->NextMap();
    EXPECT_FALSE(session->CanDeleteMap()); // the last map stays
    session->AddMap();
    EXPECT_EQ(Map().Width, 64);
    EXPECT_EQ(Map().Planes.size(), 3u);
}

TEST_F(EditorSessionTest, AddMapRefusesThe101stMapOfAPlainHeader)
{
    const std::vector<std::pair<int, int>> hundred(100, {2, 2});
    Open(hundred);
    EXPECT_FALSE(session->CanAddMap());
    const EditResult refused = session->AddMap();
    ASSERT_TRUE(refused.Message);
    EXPECT_EQ(refused.Message->text, "The map files can hold at most 100 maps!");
    EXPECT_EQ(refused.Message->caption, "Error adding map");
    EXPECT_EQ(session->Maps().NumMaps(), 100);
    Open(hundred, {}, true); // a WDC header
    EXPECT_TRUE(session->CanAddMap());
    EXPECT_FALSE(session->AddMap().Message);
}

// What a resize keeps is ResizeMap's test (MapOperationsTest).
TEST_F(EditorSessionTest, ResizeReachesEveryPlaneAndResizingAllMapsGivesEachMapItsOwnStep)
{
    Open({{64, 64}, {20, 5}});
    const MapState before = Now();
    session->ApplyMapProperties({"A", 32, 80, false});
    EXPECT_EQ(Map().Width, 32);
    EXPECT_EQ(Map().Height, 80);
    EXPECT_EQ(Map().Planes[2].size(), 32u * 80u);
    EXPECT_EQ(Map(1).Width, 20); // the current map only
    ExpectUndoRedo(before);

    session->ApplyMapProperties({"A", 12, 12, true});
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(Map(i).Width, 12);
    EXPECT_EQ(session->History(0).Steps(), 2);
    EXPECT_EQ(session->History(1).Steps(), 1);
    session->NextMap();
    session->Undo();
    EXPECT_EQ(Map().Width, 20);
    EXPECT_EQ(Map().Height, 5);
    EXPECT_EQ(Map(0).Width, 12);
}

// Which sizes are refused is MapSizeChecks' (MapOperationsTest).
TEST_F(EditorSessionTest, MapPropertiesRefuseABadSizeAndCutTheName)
{
    EXPECT_TRUE(session->ApplyMapProperties({"A", 0, 5, false}).Message);
    EXPECT_EQ(Map().Width, 16);
    EXPECT_FALSE(session->Changed());

    session->ApplyMapProperties({"A name of twenty chars", 16, 16, false});
    EXPECT_EQ(MapNameText(Map().Name), "A name of twent");
    EXPECT_TRUE(session->Changed());
    EXPECT_FALSE(session->CanUndo()); // a name is no step
    Document().ChangeStorage([](MapHandler& maps) { maps.NameLength = 32; });
    session->ApplyMapProperties({std::string(40, 'x'), 16, 16, false});
    EXPECT_EQ(MapNameText(Map().Name), std::string(31, 'x'));
}

// How each group turns is FacingObjectsTest's; here, that the session hands
// over the structure's groups and its toggle.
TEST_F(EditorSessionTest, ARotationTurnsAGuardUnlessFacingObjectsAreKept)
{
    session->CurrentProject().Settings->WriteString("Facing", "Guard", "1,108,e n w s");
    LayWord(1, 0, 0, 108); // facing east, in the top left corner
    EXPECT_TRUE(session->TurnsFacingObjects());
    session->TransformCurrentMap(MapTransform::Rotate90);
    EXPECT_EQ(W(1, 15, 0), 111) << "facing south in the top right corner";
    session->Undo();
    session->SetTurnsFacingObjects(false);
    session->TransformCurrentMap(MapTransform::Rotate90);
    EXPECT_EQ(W(1, 15, 0), 108);
}

TEST_F(SessionMapCommands, RefusalsCarryTheirMessageAndRecordNothing)
{
    session->CurrentProject().Symbols = TablesOf({{{0}}, {{0}}, {{0}}});
    const MapState before = Now();
    EXPECT_EQ(session->ClearMap(false).Message->text, NoWallTilesFailure().text);
    EXPECT_EQ(session->FlipPlanes(2, 2).Message->text, "You can't flip a plane with itself!");
    EXPECT_FALSE(session->CanFlipPlanes(1, 3));
    EXPECT_EQ(Now(), before);
    EXPECT_FALSE(session->CanUndo());
    EXPECT_FALSE(session->Changed());
}

TEST_F(SessionMapCommands, ClearMapFillsWithTheLeftValueWhenItIsAWall)
{
    session->SetButtonValue(PointerButton::Left, 1);
    session->ClearMap(false);
    EXPECT_EQ(Map().Planes[0], Words(12, 1)); // the choice otherwise: ClearMap.ChoosesTheWallValue...
}

TEST_F(SessionMapCommands, WhileABlockIsPlacedTheBlockTurnsAndArrivesTurned)
{
    OpenFilled({{8, 8}});
    for (int x = 1; x <= 3; ++x)
        LayWord(1, x, 1, static_cast<std::uint16_t>(20 + x));
    session->SelectTool(kToolRectangleSelection);
    Stroke({{1, 1}, {3, 1}});
    session->Copy();
    session->Paste();
    const MapState before = Now();

    EXPECT_TRUE(session->TransformCurrentMap(MapTransform::FlipHorizontal).Overlay);
    session->TransformCurrentMap(MapTransform::Rotate90);
    EXPECT_EQ(session->PasteBuffer().Preview.width, 8);
    EXPECT_EQ(session->PasteBuffer().Preview.height, 24);
    EXPECT_EQ(Now(), before);
    EXPECT_FALSE(session->CanUndo());

    Send(PointerAction::Move, 5, 2);
    Stroke({{5, 2}});
    EXPECT_EQ(W(1, 5, 2), 23);
    EXPECT_EQ(W(1, 5, 3), 22);
    EXPECT_EQ(W(1, 5, 4), 21);
}

// Which words a replacement takes is FindReplaceTest's; here, the steps it makes.
TEST_F(SessionMapCommands, ReplaceInAllMapsGivesEachChangedMapItsOwnStepAndKeepsTheCurrentMap)
{
    OpenFilled({{4, 3}, {4, 3}, {4, 3}});
    const Words lamps = {5, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 5};
    for (int i : {0, 2})
        Lay([&](MapList& map) { map.Planes[1] = lamps; }, i);
    Lay([](MapList& map) { map.Planes[1] = Words(12, 0); }, 1); // no lamp here: no step
    session->GoToLevel(1);
    const FindRequest request{{1, "Lamp", "0", ReplaceScope::AllMaps, FindDirection::Forward}, FindAction::ReplaceAll};

    EXPECT_EQ(session->RunFind(request).Message->text, "6 occurrences were replaced");
    EXPECT_EQ(session->Maps().CurrentMap, 1);
    EXPECT_EQ(session->History(0).Steps(), 1);
    EXPECT_EQ(session->History(1).Steps(), 0);
    EXPECT_EQ(session->History(2).Steps(), 1);
    session->GoToLevel(2);
    session->Undo();
    EXPECT_EQ(Map(2).Planes[1], lamps);
    EXPECT_EQ(Map(0).Planes[1], Words(12, 0)); // the other map keeps its replacement
}

TEST_F(SessionMapCommands, SearchesMarkMatchesUntilAPressAndF3NeedsASearchValue)
{
    const FindReplaceState& finds = session->Finds();
    EXPECT_EQ(session->FindAgain().Message->text, "You need to enter a search value!");
    const EditResult all = session->RunFind({Find("Wall"), FindAction::FindAll});
    EXPECT_FALSE(all.Message);
    EXPECT_EQ(all.Status, "Find All marked 6 tiles");
    EXPECT_EQ(finds.Marked().size(), 6u);
    EXPECT_TRUE(session->FindAgain().Overlay);
    session->Pointer({PointerAction::Press, Button::Left, 0, 0});
    EXPECT_TRUE(finds.Marked().empty());
    const EditResult none = session->RunFind({Find("Lamp"), FindAction::FindNext});
    EXPECT_EQ(none.Message->text, "The searched value couldn't be found!");
    EXPECT_FALSE(none.Status);
}

// The dialog left without an action: its fields are kept for the next
// opening, and nothing is said about a search that never ran.
TEST_F(SessionMapCommands, ARequestWithoutAnActionKeepsTheFieldsAndSaysNothing)
{
    const FindFields fields{1, "Lamp", "Wall", ReplaceScope::AllMaps, FindDirection::Backward};
    const EditResult result = session->RunFind({fields, FindAction::None});
    EXPECT_FALSE(result.Message);
    const FindReplaceState& finds = session->Finds();
    EXPECT_EQ(finds.Fields.FindWhat, "Lamp");
    EXPECT_EQ(finds.Fields.Direction, FindDirection::Backward);
    EXPECT_TRUE(finds.DirectionChanged);
    EXPECT_TRUE(finds.Cancelled);
    EXPECT_EQ(finds.NotFoundMessage(), std::nullopt);
    EXPECT_EQ(session->RunFind({Find(""), FindAction::FindAll}).Message->text, "You need to enter a search value!");
}

TEST_F(SessionMapCommands, MapInformationCountsAndChecksTheCurrentMap)
{
    Lay([](MapList& map) { map.Planes[1] = Words(12, 5); });
    EXPECT_EQ(session->CurrentMapStatistics().StaticObjects, 12);
    const auto findings = session->CheckCurrentMap();
    EXPECT_TRUE(std::any_of(findings.begin(), findings.end(),
                            [](const MapFinding& f) { return f.Kind == FindingKind::PlayerStarts; }));
}

} // namespace
