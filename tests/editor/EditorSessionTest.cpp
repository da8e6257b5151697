// The editing engine driven like the window drives it: pointer records,
// commands and their "can" twins, shaped do / check / undo / check / redo /
// check. The whole-map operations and find and replace through the session:
// one all-planes undo step each, refusals that record nothing, the pasted
// block turned in place of the map, and one step per replaced map.

#include "EditorTestUtil.h"
#include "editor/MapRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

using namespace tsl;
using namespace tsl::test;

namespace {

using Button = PointerButton;
using Words = std::vector<std::uint16_t>;

class EditorSessionTest : public ::testing::Test {
protected:
    using MapState = std::tuple<int, int, PlaneSet>; // the size and every plane

    void SetUp() override { Open(); }
    // One map per size; the planes to split; a header of the WDC kind.
    void Open(std::vector<std::pair<int, int>> sizes = {{16, 16}}, std::vector<int> splitPlanes = {},
              bool wdc = false)
    {
        session = MemorySession(dir.path(), {std::move(sizes), 3, std::move(splitPlanes), wdc});
    }
    MapList& Map(int i = -1)
    {
        return session->Maps().Maps.at(static_cast<std::size_t>(i < 0 ? session->Maps().CurrentMap : i));
    }
    std::uint16_t W(int plane, int x, int y) { return Map().Word(static_cast<std::size_t>(plane), x, y); }
    // How many words of the plane hold `word`.
    long Count(int plane, std::uint16_t word)
    {
        const auto& words = Map().Planes.at(static_cast<std::size_t>(plane));
        return std::count(words.begin(), words.end(), word);
    }
    MapState Now() { return {Map().Width, Map().Height, Map().Planes}; }
    void Send(PointerAction action, int x, int y, PointerButton button = Button::Left)
    {
        session->Pointer({action, button, x, y});
    }
    // A press at the first point, moves through the others, the release at the last.
    void Stroke(const std::vector<std::pair<int, int>>& points, PointerButton button = Button::Left)
    {
        Send(PointerAction::Press, points.front().first, points.front().second, button);
        for (auto [x, y] : points)
            Send(PointerAction::Move, x, y, button);
        Send(PointerAction::Release, points.back().first, points.back().second, button);
    }
    // Undo gives `before` back, and Redo what the last step made.
    void ExpectUndoRedo(const MapState& before)
    {
        const MapState after = Now();
        session->Undo();
        EXPECT_EQ(Now(), before) << "after Undo";
        session->Redo();
        EXPECT_EQ(Now(), after) << "after Redo";
    }
    void Draw(std::uint16_t value, int x, int y)
    {
        session->SetButtonValue(Button::Left, value);
        Stroke({{x, y}});
    }

    TempDir dir;
    std::unique_ptr<EditorSession> session;
};

class SessionMapCommands : public EditorSessionTest {
protected:
    void SetUp() override { OpenFilled(); }
    void OpenFilled(std::vector<std::pair<int, int>> sizes = {{4, 3}})
    {
        Open(std::move(sizes));
        // Walls 1 and 2, floors 108..110 in plane 0; plane 1 and 2 only "Nothing".
        session->CurrentProject().Symbols =
            TablesOf({{{0}, {1, "w", "Wall"}, {2, "w"}, {108, "f"}, {110, "f"}}, {{0}, {5, "so", "Lamp"}}, {{0}}});
        for (MapList& map : session->Maps().Maps)
            for (std::size_t p = 0; p < 3; ++p)
                for (std::size_t i = 0; i < map.Planes[p].size(); ++i)
                    map.Planes[p][i] = static_cast<std::uint16_t>(p == 0 ? (i % 2 ? 1 : 0) : i % 3 + 4 * p);
    }
};

TEST(CombineWord, MergesByValueMode)
{
    struct Case { int mode; std::uint16_t value, word, expected; };
    for (const Case& c : std::vector<Case>{{kIntMode, 0x05, 0x1203, 0x0005},
                                           {kLowByteMode, 0x05, 0x1203, 0x1205},
                                           {kHighByteMode, 0x05, 0x1203, 0x0503},
                                           {kHighByteMode, 0x05, 0x0000, 0x0500},
                                           {kLowByteMode, 0x1234, 0xAB00, 0xAB34}})
        EXPECT_EQ(CombineWord(c.value, c.word, c.mode), c.expected) << c.mode << " " << c.value << " " << c.word;
}

TEST(FloodFill, FillsAWholeLargePlaneWithAMaze)
{
    const int w = 256, h = 256;
    std::vector<std::uint16_t> plane(w * h, 0);
    for (int x = 1; x < w; x += 2) // walls with a gap at alternating ends
        for (int y = 0; y < h; ++y)
            if (y != ((x / 2) % 2 ? 0 : h - 1))
                plane[static_cast<std::size_t>(y * w + x)] = 1;
    const auto zeros = static_cast<std::size_t>(std::count(plane.begin(), plane.end(), 0));
    EXPECT_EQ(FloodFill(plane, w, h, 0, 0, 5), zeros);
    EXPECT_EQ(std::count(plane.begin(), plane.end(), 0), 0);
}

TEST_F(EditorSessionTest, PencilStrokeIsOneStepEndsWhenItLeavesTheMapAndAPressOutsideClamps)
{
    Open({{16, 12}});
    const MapState before = Now();
    session->SetButtonValue(Button::Left, 4);
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

TEST_F(EditorSessionTest, ByteModeStrokeWritesTheWordOfItsPressUntilNewSymbolsResetTheSession)
{
    Open({{16, 16}}, {0}); // plane 0 split
    Map().SetWord(0, 0, 0, 0x1203);
    Map().SetWord(0, 1, 0, 0x7702);
    session->SetValueMode(kLowByteMode);
    session->SetButtonValue(Button::Left, 5);
    Stroke({{0, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(W(0, 0, 0), 0x1205);
    EXPECT_EQ(W(0, 1, 0), 0x1205);
    EXPECT_EQ(W(0, 2, 0), 0x1205);

    // New symbols start the tools, values and histories anew.
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

TEST_F(EditorSessionTest, ButtonsDrawTheirValuesInTheSelectedPlane)
{
    session->SelectPlane(1);
    session->SetButtonValue(Button::Left, 6);
    session->SetButtonValue(Button::Right, 8);
    Stroke({{0, 0}}, Button::Middle);
    Stroke({{1, 0}}, Button::Right);
    EXPECT_EQ(W(1, 0, 0), 6);
    EXPECT_EQ(W(1, 1, 0), 8);
    EXPECT_EQ(W(0, 0, 0), 0);
    EXPECT_EQ(session->LeftValue(0), 0); // each plane keeps its own pair
}

TEST_F(EditorSessionTest, RectangleFillsBetweenCornersInAnyOrder)
{
    session->SelectTool(kToolRectangle);
    session->SetButtonValue(Button::Left, 2);
    Stroke({{5, 7}, {4, 4}, {2, 3}});
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(W(0, x, y), x >= 2 && x <= 5 && y >= 3 && y <= 7 ? 2 : 0) << x << "," << y;
    session->Undo();
    Stroke({{9, 9}}); // press and release on one tile
    EXPECT_EQ(W(0, 9, 9), 2);
    EXPECT_EQ(Count(0, 2), 1);
}

TEST_F(EditorSessionTest, FillThatChangesNothingStillRecordsAStep)
{
    session->SelectTool(kToolFill);
    session->SetButtonValue(Button::Left, 0);
    Stroke({{3, 3}});
    EXPECT_TRUE(session->Changed());
    EXPECT_TRUE(session->CanUndo());
}

TEST_F(EditorSessionTest, SelectObjectPicksAndReturnsToThePreviousTool)
{
    struct Case { std::uint16_t before; std::uint16_t after; };
    for (const Case& c : std::vector<Case>{{kToolPencil, kToolPencil},
                                           {kToolFill, kToolFill},
                                           {kToolRectangle, kToolRectangle},
                                           {kToolRectangleSelection, kToolPencil}}) {
        Open();
        Map().SetWord(0, 4, 4, 4242); // no symbol has it
        const MapState before = Now();
        session->SelectTool(c.before);
        session->SelectTool(kToolSelectObject);
        EXPECT_TRUE(session->Pointer({PointerAction::Press, Button::Right, 4, 4}).ValuesChanged);
        Send(PointerAction::Release, 4, 4, Button::Right);
        EXPECT_EQ(session->RightValue(0), 4242);
        EXPECT_EQ(session->CurrentTool(), c.after) << c.before;
        EXPECT_EQ(Now(), before) << "the release after the pick acts with no tool";
        EXPECT_FALSE(session->Changed());
        EXPECT_FALSE(session->CanUndo());
    }
}

TEST_F(EditorSessionTest, PlaneWithoutSplitLeavesTheByteModes)
{
    Open({{16, 16}}, {1}); // plane 1 split
    EXPECT_FALSE(session->CanByteModes());
    EXPECT_EQ(session->SetValueMode(kHighByteMode).What, EditResult::Redraw::Nothing);
    session->SelectPlane(1);
    session->SetValueMode(kHighByteMode);
    EXPECT_EQ(session->ValueMode(), kHighByteMode);
    EXPECT_EQ(session->SelectPlane(0).What, EditResult::Redraw::Map);
    EXPECT_EQ(session->ValueMode(), kIntMode);
}

TEST_F(EditorSessionTest, UndoAndRedoFollowTheLinearHistoryOfEachMapAndMarkTheSetChanged)
{
    Open({{16, 16}, {8, 8}});
    const MapState initial = Now();
    Draw(1, 0, 0);
    const MapState first = Now();
    Draw(2, 1, 0);
    Draw(3, 2, 0);
    session->SetChanged(false); // saved
    session->Undo();
    EXPECT_TRUE(session->Changed());
    session->SetChanged(false);
    session->Redo();
    EXPECT_TRUE(session->Changed());
    session->Undo();
    session->Undo();
    Draw(4, 3, 0); // drops the two undone steps
    EXPECT_FALSE(session->CanRedo());
    session->Undo();
    EXPECT_EQ(Now(), first);
    session->Undo();
    EXPECT_EQ(Now(), initial);
    EXPECT_FALSE(session->CanUndo());
    EXPECT_EQ(session->Undo().What, EditResult::Redraw::Nothing);

    // The other map has a history of its own.
    Draw(1, 0, 0);
    session->NextMap();
    EXPECT_FALSE(session->CanUndo());
    Draw(2, 0, 0);
    session->Undo();
    EXPECT_EQ(W(0, 0, 0), 0);
    EXPECT_EQ(Map(0).Word(0, 0, 0), 1);
    session->PreviousMap();
    EXPECT_TRUE(session->CanUndo());
    EXPECT_FALSE(session->CanRedo());
}

TEST_F(EditorSessionTest, CopyAndPasteCarryEveryPlaneAndAToolEndsThePlacement)
{
    for (int p = 0; p < 3; ++p)
        Map().SetWord(static_cast<std::size_t>(p), 2, 3, static_cast<std::uint16_t>(p + 5));
    EXPECT_FALSE(session->CanCopy());
    session->SelectTool(kToolRectangleSelection);
    Stroke({{2, 3}});
    EXPECT_TRUE(session->CanCopy());
    EXPECT_EQ(session->Outline(), (TileRect{2, 3, 2, 3}));
    session->Copy();
    EXPECT_FALSE(session->CanCopy());
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

TEST_F(EditorSessionTest, PasteClipsAtTheEdgesOfASmallerMap)
{
    Open({{64, 64}, {32, 32}});
    Map().Planes.assign(3, Words(64 * 64, 7));
    session->SelectTool(kToolRectangleSelection);
    Stroke({{0, 0}, {40, 40}});
    session->Copy();
    session->NextMap();
    session->Paste();
    Send(PointerAction::Move, 0, 0);
    Stroke({{0, 0}});
    EXPECT_EQ(Count(2, 7), 32 * 32);

    // A block from columns 32 and beyond writes nothing into a 32-wide map.
    session->PreviousMap();
    session->SelectTool(kToolRectangleSelection);
    Stroke({{32, 0}, {40, 5}});
    session->Copy();
    session->NextMap();
    session->Undo();
    session->Paste();
    Send(PointerAction::Move, 0, 0);
    Stroke({{0, 0}});
    EXPECT_EQ(Count(0, 7), 0);
}

TEST_F(EditorSessionTest, CutKeepsToTheCurrentMapClearsEveryPlaneAndIsUndoable)
{
    Open({{64, 64}, {16, 16}});
    session->SelectTool(kToolRectangleSelection);
    Stroke({{10, 10}, {40, 40}}); // dragged on the larger map
    session->NextMap();
    Map().Planes = {Words(16 * 16, 1), Words(16 * 16, 2), Words(16 * 16, 3)};
    const MapState before = Now();
    session->Cut();
    const CP_Manager& buffer = session->PasteBuffer();
    EXPECT_EQ(std::make_tuple(buffer.X1, buffer.X2, buffer.Y1, buffer.Y2), std::make_tuple(10, 16, 10, 16));
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(Count(p, 0), 6 * 6) << p;
    EXPECT_TRUE(session->CanPaste());
    ExpectUndoRedo(before);
}

TEST_F(EditorSessionTest, ClipboardEntryIsPlacedWholeAndHandsOverToThePencil)
{
    Open({{64, 64}});
    std::vector<std::vector<std::uint16_t>> planes(3, std::vector<std::uint16_t>(16 * 16, 9));
    EXPECT_FALSE(session->CanClipboardManager());
    session->CreateClipboardManager().Entries.push_back(session->MakeClipboardEntry(16, 16, planes));
    EXPECT_TRUE(session->CanClipboardManager());
    session->PasteFromClipboard(0);
    EXPECT_EQ(session->CurrentTool(), kToolPastePlacement);
    Send(PointerAction::Move, 10, 20);
    Stroke({{10, 20}});
    EXPECT_EQ(Count(0, 9), 16 * 16);
    EXPECT_EQ(W(2, 25, 35), 9);
    EXPECT_EQ(W(2, 26, 35), 0);
    EXPECT_EQ(session->CurrentTool(), kToolPencil);
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
        session->SetChanged(false);
        EXPECT_EQ((c.add ? session->AddMap() : session->DeleteMap()).What, EditResult::Redraw::MapList);
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
    const EditResult refused = session->AddMap();
    ASSERT_TRUE(refused.Message);
    EXPECT_EQ(refused.Message->text, "The map files can hold at most 100 maps!");
    EXPECT_EQ(refused.Message->caption, "Error adding map");
    EXPECT_EQ(session->Maps().NumMaps(), 100);
    Open(hundred, {}, true); // a WDC header
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

TEST_F(EditorSessionTest, MapPropertiesCheckSizesAndCutTheName)
{
    struct Case { std::optional<int> width, height; const char* text; const char* caption; };
    for (const Case& c : std::vector<Case>{{std::nullopt, 5, "The minimum map width is 1!", "Map width error"},
                                           {0, 5, "The minimum map width is 1!", "Map width error"},
                                           {257, 5, "The maximum map width is 256!", "Map width error"},
                                           {5, 0, "The minimum map height is 1!", "Map height error"},
                                           {5, 300, "The maximum map height is 256!", "Map height error"}}) {
        auto refused = EditorSession::CheckMapWidth(c.width);
        if (!refused)
            refused = EditorSession::CheckMapHeight(c.height);
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->text, c.text);
        EXPECT_EQ(refused->caption, c.caption);
        EXPECT_EQ(refused->icon, MessageIcon::Error);
    }
    EXPECT_TRUE(session->ApplyMapProperties({"A", 0, 5, false}).Message);
    EXPECT_EQ(Map().Width, 16);
    EXPECT_FALSE(session->Changed());

    session->ApplyMapProperties({"A name of twenty chars", 16, 16, false});
    EXPECT_EQ(MapNameText(Map().Name), "A name of twent");
    EXPECT_TRUE(session->Changed());
    EXPECT_FALSE(session->CanUndo()); // a name is no step
    session->Maps().NameLength = 32;
    session->ApplyMapProperties({std::string(40, 'x'), 16, 16, false});
    EXPECT_EQ(MapNameText(Map().Name), std::string(31, 'x'));
}

// Every turn and mirror takes the same way through the session as the quarter
// turn; what each does to the words is MapTransforms'.
TEST_F(SessionMapCommands, EachOperationIsOneUndoableStepOverAllPlanes)
{
    const std::pair<const char*, std::function<EditResult(EditorSession&)>> operations[] = {
        {"autofloor", [](EditorSession& s) { return s.Autofloor(); }},
        {"clear solid", [](EditorSession& s) { return s.ClearMap(false); }},
        {"clear random", [](EditorSession& s) { return s.ClearMap(true); }},
        {"rotate 90", [](EditorSession& s) { return s.TransformCurrentMap(MapTransform::Rotate90); }},
        {"flip planes", [](EditorSession& s) { return s.FlipPlanes(0, 1); }},
    };
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        OpenFilled();
        const MapState before = Now();
        const EditResult result = operation(*session);
        EXPECT_FALSE(result.Message);
        EXPECT_NE(result.What, EditResult::Redraw::Nothing);
        EXPECT_NE(Now(), before);
        EXPECT_TRUE(session->Changed());
        EXPECT_EQ(session->History(0).Steps(), 1);
        ExpectUndoRedo(before);
    }
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
        Map().SetWord(1, x, 1, static_cast<std::uint16_t>(20 + x));
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
        Map(i).Planes[1] = lamps;
    Map(1).Planes[1] = Words(12, 0); // no lamp here: no step
    session->Maps().CurrentMap = 1;
    session->Finds().Fields = {1, "Lamp", "0", ReplaceScope::AllMaps, FindDirection::Forward};

    EXPECT_EQ(session->RunFindAction(FindAction::ReplaceAll).Message->text, "6 occurrences were replaced");
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
    FindReplaceState& finds = session->Finds();
    EXPECT_EQ(session->FindAgain().Message->text, "You need to enter a search value!");
    finds.Fields.FindWhat = "Wall";
    EXPECT_FALSE(session->RunFindAction(FindAction::FindAll).Message);
    EXPECT_EQ(finds.Marked().size(), 6u);
    EXPECT_TRUE(session->FindAgain().Overlay);
    Send(PointerAction::Press, 0, 0);
    EXPECT_TRUE(finds.Marked().empty());
    finds.Fields.FindWhat = "Lamp";
    EXPECT_EQ(session->RunFindAction(FindAction::FindNext).Message->text, "The searched value couldn't be found!");
}

TEST_F(SessionMapCommands, MapInformationCountsAndChecksTheCurrentMap)
{
    Map().Planes[1] = Words(12, 5);
    EXPECT_EQ(session->CurrentMapStatistics().StaticObjects, 12);
    const auto findings = session->CheckCurrentMap();
    ASSERT_FALSE(findings.empty());
    EXPECT_EQ(findings.front().Kind, FindingKind::PlayerStarts);
}

} // namespace
