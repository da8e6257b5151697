// The editing engine driven like the window drives it: pointer records,
// commands and their "can" twins, shaped do / check / undo / check / redo /
// check.

#include "EditorTestUtil.h"
#include "editor/MapRenderer.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

using Button = PointerButton;

MemoryProjectOptions Sizes(std::vector<std::pair<int, int>> sizes, bool wdc = false)
{
    MemoryProjectOptions options;
    options.sizes = std::move(sizes);
    options.wdc = wdc;
    return options;
}

MemoryProjectOptions Split(std::vector<int> planes)
{
    MemoryProjectOptions options;
    options.splitPlanes = std::move(planes);
    return options;
}

class EditorSessionTest : public ::testing::Test {
protected:
    void Open(MemoryProjectOptions options = {})
    {
        session = MemorySession(dir.path(), options);
    }
    EditResult Send(PointerAction action, int x, int y, Button button = Button::Left)
    {
        return session->Pointer({action, button, x, y});
    }
    // A press at the first point, moves through the others, the release at the last.
    void Stroke(std::vector<std::pair<int, int>> points, Button button = Button::Left)
    {
        Send(PointerAction::Press, points.front().first, points.front().second, button);
        for (auto [x, y] : points)
            Send(PointerAction::Move, x, y, button);
        Send(PointerAction::Release, points.back().first, points.back().second, button);
    }
    MapList& Map(int i = -1) { return session->Maps().Maps.at(static_cast<std::size_t>(i < 0 ? session->Maps().CurrentMap : i)); }
    std::uint16_t W(int plane, int x, int y) { return Map().Word(static_cast<std::size_t>(plane), x, y); }
    void Fill(int plane, std::uint16_t word)
    {
        std::fill(Map().Planes[static_cast<std::size_t>(plane)].begin(), Map().Planes[static_cast<std::size_t>(plane)].end(), word);
    }
    // Every word of every plane of the current map, with the size.
    std::tuple<int, int, std::vector<std::vector<std::uint16_t>>> State()
    {
        return {Map().Width, Map().Height, Map().Planes};
    }
    void Draw(std::uint16_t value, int x, int y)
    {
        session->SetButtonValue(Button::Left, value);
        Stroke({{x, y}});
    }

    TempDir dir;
    std::unique_ptr<EditorSession> session;
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

TEST(FloodFill, FillsFourConnectedRegionsOnly)
{
    // A ring of 1s closes the centre tile; the corners of the ring are 0 and
    // touch the outside only diagonally.
    const int w = 5, h = 5;
    std::vector<std::uint16_t> plane(w * h, 0);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{2, 1}, {1, 2}, {3, 2}, {2, 3}})
        plane[static_cast<std::size_t>(y * w + x)] = 1;
    EXPECT_EQ(FloodFill(plane, w, h, 2, 2, 7), 1u);
    EXPECT_EQ(plane[12], 7);
    EXPECT_EQ(FloodFill(plane, w, h, 0, 0, 9), 20u); // everything outside the ring, its corners included
    EXPECT_EQ(plane[12], 7);
    EXPECT_EQ(FloodFill(plane, w, h, 0, 0, 9), 0u); // the same word: nothing to do
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

TEST_F(EditorSessionTest, PencilStrokeIsOneStepAndEndsWhenItLeavesTheMap)
{
    Open();
    const auto before = State();
    session->SetButtonValue(Button::Left, 4);
    Send(PointerAction::Press, 1, 1);
    Send(PointerAction::Move, 2, 1);
    Send(PointerAction::Move, 16, 1); // outside: the stroke ends
    Send(PointerAction::Move, 3, 1);  // back inside: not resumed
    Send(PointerAction::Release, 3, 1);
    EXPECT_EQ(W(0, 1, 1), 4);
    EXPECT_EQ(W(0, 2, 1), 4);
    EXPECT_EQ(W(0, 3, 1), 0);
    EXPECT_TRUE(session->Changed());
    EXPECT_EQ(session->History(0).Steps(), 1);
    const auto after = State();
    session->Undo();
    EXPECT_EQ(State(), before);
    session->Redo();
    EXPECT_EQ(State(), after);
}

TEST_F(EditorSessionTest, PressOutsideTheMapActsOnTheLastColumnAndRow)
{
    Open(Sizes({{8, 6}}));
    Draw(3, 40, 30);
    EXPECT_EQ(W(0, 7, 5), 3);
}

TEST_F(EditorSessionTest, ByteModeStrokeWritesTheWordOfItsPress)
{
    Open(Split({0}));
    Map().SetWord(0, 0, 0, 0x1203);
    Map().SetWord(0, 1, 0, 0x7702);
    session->SetValueMode(kLowByteMode);
    session->SetButtonValue(Button::Left, 5);
    Stroke({{0, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(W(0, 0, 0), 0x1205);
    EXPECT_EQ(W(0, 1, 0), 0x1205);
    EXPECT_EQ(W(0, 2, 0), 0x1205);
}

TEST_F(EditorSessionTest, ButtonsDrawTheirValuesInTheSelectedPlane)
{
    Open();
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
    Open();
    session->SelectTool(kToolRectangle);
    session->SetButtonValue(Button::Left, 2);
    Stroke({{5, 7}, {4, 4}, {2, 3}});
    int count = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (W(0, x, y) == 2) {
                ++count;
                EXPECT_TRUE(x >= 2 && x <= 5 && y >= 3 && y <= 7) << x << "," << y;
            }
    EXPECT_EQ(count, 4 * 5);
    session->Undo();
    Stroke({{9, 9}}); // press and release on one tile
    EXPECT_EQ(W(0, 9, 9), 2);
    EXPECT_EQ(std::count(Map().Planes[0].begin(), Map().Planes[0].end(), 2), 1);
}

TEST_F(EditorSessionTest, FillThatChangesNothingStillRecordsAStep)
{
    Open();
    session->SelectTool(kToolFill);
    session->SetButtonValue(Button::Left, 0);
    Stroke({{3, 3}});
    EXPECT_TRUE(session->Changed());
    EXPECT_TRUE(session->CanUndo());
    const auto state = State();
    session->Undo();
    EXPECT_EQ(State(), state);
    session->Redo();
    EXPECT_EQ(State(), state);
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
        const auto state = State();
        session->SelectTool(c.before);
        session->SelectTool(kToolSelectObject);
        const EditResult picked = session->Pointer({PointerAction::Press, Button::Right, 4, 4});
        EXPECT_TRUE(picked.ValuesChanged);
        Send(PointerAction::Release, 4, 4, Button::Right);
        EXPECT_EQ(session->RightValue(0), 4242);
        EXPECT_EQ(session->CurrentTool(), c.after) << c.before;
        EXPECT_EQ(State(), state) << "the release after the pick acts with no tool";
        EXPECT_FALSE(session->Changed());
        EXPECT_FALSE(session->CanUndo());
    }
}

TEST_F(EditorSessionTest, PlaneWithoutSplitLeavesTheByteModes)
{
    Open(Split({1}));
    EXPECT_FALSE(session->CanByteModes());
    EXPECT_EQ(session->SetValueMode(kHighByteMode).What, EditResult::Redraw::Nothing);
    session->SelectPlane(1);
    session->SetValueMode(kHighByteMode);
    EXPECT_EQ(session->ValueMode(), kHighByteMode);
    EXPECT_EQ(session->SelectPlane(0).What, EditResult::Redraw::Map);
    EXPECT_EQ(session->ValueMode(), kIntMode);
}

TEST_F(EditorSessionTest, UndoAndRedoFollowTheLinearHistory)
{
    Open();
    const auto initial = State();
    Draw(1, 0, 0);
    const auto first = State();
    Draw(2, 1, 0);
    Draw(3, 2, 0);
    session->Undo();
    session->Undo();
    Draw(4, 3, 0); // drops the two undone steps
    EXPECT_FALSE(session->CanRedo());
    session->Undo();
    EXPECT_EQ(State(), first);
    session->Undo();
    EXPECT_EQ(State(), initial);
    EXPECT_FALSE(session->CanUndo());
    EXPECT_EQ(session->Undo().What, EditResult::Redraw::Nothing);
}

TEST_F(EditorSessionTest, EachMapHasItsOwnHistory)
{
    Open(Sizes({{16, 16}, {8, 8}}));
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

TEST_F(EditorSessionTest, UndoAfterASaveMarksTheSetChanged)
{
    Open();
    Draw(1, 0, 0);
    session->SetChanged(false); // saved
    session->Undo();
    EXPECT_TRUE(session->Changed());
    session->SetChanged(false);
    session->Redo();
    EXPECT_TRUE(session->Changed());
}

TEST_F(EditorSessionTest, CopyAndPasteCarryEveryPlane)
{
    Open(Sizes({{16, 16}}));
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
    Send(PointerAction::Press, 15, 9);
    Send(PointerAction::Release, 15, 9);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(W(p, 15, 9), p + 5);
    EXPECT_EQ(session->CurrentTool(), kToolRectangleSelection);
    EXPECT_TRUE(session->CanUndo());
    session->Undo();
    EXPECT_EQ(W(1, 15, 9), 0);
}

TEST_F(EditorSessionTest, PasteClipsAtTheEdgesOfASmallerMap)
{
    Open(Sizes({{64, 64}, {32, 32}}));
    for (int p = 0; p < 3; ++p)
        std::fill(Map().Planes[static_cast<std::size_t>(p)].begin(), Map().Planes[static_cast<std::size_t>(p)].end(), 7);
    session->SelectTool(kToolRectangleSelection);
    Stroke({{0, 0}, {40, 40}});
    session->Copy();
    session->NextMap();
    session->Paste();
    Send(PointerAction::Move, 0, 0);
    Stroke({{0, 0}});
    EXPECT_EQ(std::count(Map().Planes[2].begin(), Map().Planes[2].end(), 7), 32 * 32);

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
    EXPECT_EQ(std::count(Map().Planes[0].begin(), Map().Planes[0].end(), 7), 0);
}

TEST_F(EditorSessionTest, CopyKeepsToTheCurrentMap)
{
    Open(Sizes({{64, 64}, {16, 16}}));
    session->SelectTool(kToolRectangleSelection);
    Stroke({{10, 10}, {40, 40}}); // dragged on the larger map
    session->NextMap();
    Fill(1, 3);
    session->Cut();
    const CP_Manager& buffer = session->PasteBuffer();
    EXPECT_EQ(std::make_tuple(buffer.X1, buffer.X2, buffer.Y1, buffer.Y2), std::make_tuple(10, 16, 10, 16));
    EXPECT_EQ(std::count(Map().Planes[1].begin(), Map().Planes[1].end(), 0), 6 * 6);
}

TEST_F(EditorSessionTest, CutClearsEveryPlaneAndUndoBringsItBack)
{
    Open();
    for (int p = 0; p < 3; ++p)
        Fill(p, static_cast<std::uint16_t>(p + 1));
    const auto before = State();
    session->SelectTool(kToolRectangleSelection);
    Stroke({{4, 4}, {6, 5}});
    session->Cut();
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(std::count(Map().Planes[static_cast<std::size_t>(p)].begin(),
                             Map().Planes[static_cast<std::size_t>(p)].end(), 0), 6) << p;
    const auto after = State();
    EXPECT_TRUE(session->CanPaste());
    session->Undo();
    EXPECT_EQ(State(), before);
    session->Redo();
    EXPECT_EQ(State(), after);
}

TEST_F(EditorSessionTest, ClipboardEntryIsPlacedWholeAndHandsOverToThePencil)
{
    Open(Sizes({{64, 64}}));
    std::vector<std::vector<std::uint16_t>> planes(3, std::vector<std::uint16_t>(16 * 16, 9));
    EXPECT_FALSE(session->CanClipboardManager());
    session->CreateClipboardManager().Entries.push_back(session->MakeClipboardEntry(16, 16, planes));
    EXPECT_TRUE(session->CanClipboardManager());
    EXPECT_EQ(session->ClipboardManager()->Entries[0].Preview.width, 16 * 8);
    session->PasteFromClipboard(0);
    EXPECT_EQ(session->CurrentTool(), kToolPastePlacement);
    Send(PointerAction::Move, 10, 20);
    Stroke({{10, 20}});
    EXPECT_EQ(std::count(Map().Planes[0].begin(), Map().Planes[0].end(), 9), 16 * 16);
    EXPECT_EQ(W(2, 25, 35), 9);
    EXPECT_EQ(W(2, 26, 35), 0);
    EXPECT_EQ(session->CurrentTool(), kToolPencil);
}

TEST_F(EditorSessionTest, ChoosingAToolAbandonsThePlacement)
{
    Open();
    session->SelectTool(kToolRectangleSelection);
    Stroke({{0, 0}});
    session->Copy();
    session->Paste();
    session->SelectTool(kToolPencil);
    EXPECT_FALSE(session->PastePlacing());
    EXPECT_TRUE(session->CanPaste()); // the block stays for the next Paste
}

TEST_F(EditorSessionTest, AddAndDeleteMapKeepTheListInStep)
{
    struct Case { int shown; bool add; std::vector<std::string> names; int current; };
    for (const Case& c : std::vector<Case>{{1, true, {"A", "New map", "B", "C"}, 1},
                                           {2, true, {"A", "B", "C", "New map"}, 3},
                                           {1, false, {"A", "C"}, 0},
                                           {0, false, {"B", "C"}, 0}}) {
        Open(Sizes({{16, 16}, {16, 16}, {16, 16}}));
        session->GoToLevel(c.shown);
        Draw(1, 0, 0);
        session->SetChanged(false);
        const EditResult result = c.add ? session->AddMap() : session->DeleteMap();
        EXPECT_EQ(result.What, EditResult::Redraw::MapList);
        EXPECT_EQ(MapNames(session->Maps()), c.names);
        EXPECT_EQ(session->Maps().CurrentMap, c.current);
        EXPECT_EQ(session->Maps().Headers.size(), c.names.size());
        EXPECT_TRUE(session->Changed());
        for (int i = 0; i < session->Maps().NumMaps(); ++i) {
            EXPECT_EQ(session->History(i).Steps(), 0);
            EXPECT_EQ(session->Maps().Maps[static_cast<std::size_t>(i)].Index, i);
        }
    }
    Open(Sizes({{16, 16}, {16, 16}}));
    session->NextMap();
    EXPECT_FALSE(session->CanDeleteMap()); // the last map stays
    session->AddMap();
    EXPECT_EQ(Map().Width, 64);
    EXPECT_EQ(Map().Planes.size(), 3u);
}

TEST_F(EditorSessionTest, AddMapRefusesThe101stMapOfAPlainHeader)
{
    Open(Sizes(std::vector<std::pair<int, int>>(100, {2, 2})));
    const EditResult refused = session->AddMap();
    ASSERT_TRUE(refused.Message);
    EXPECT_EQ(refused.Message->text, "The map files can hold at most 100 maps!");
    EXPECT_EQ(refused.Message->caption, "Error adding map");
    EXPECT_EQ(session->Maps().NumMaps(), 100);
    Open(Sizes(std::vector<std::pair<int, int>>(100, {2, 2}), true));
    EXPECT_FALSE(session->AddMap().Message);
}

TEST_F(EditorSessionTest, ResizeKeepsTheTopLeftAndIsUndoable)
{
    Open(Sizes({{64, 64}}));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            Map().SetWord(0, x, y, static_cast<std::uint16_t>(x + 100 * y));
    const auto before = State();
    session->ApplyMapProperties({"A", 32, 80, false});
    EXPECT_EQ(Map().Width, 32);
    EXPECT_EQ(Map().Height, 80);
    EXPECT_EQ(W(0, 31, 63), 31 + 6300);
    EXPECT_EQ(W(0, 31, 64), 0);
    EXPECT_EQ(Map().Planes[2].size(), 32u * 80u);
    const auto after = State();
    session->Undo();
    EXPECT_EQ(State(), before);
    session->Redo();
    EXPECT_EQ(State(), after);
}

TEST_F(EditorSessionTest, ResizingAllMapsGivesEachMapItsOwnStep)
{
    Open(Sizes({{10, 10}, {20, 5}}));
    session->ApplyMapProperties({"A", 12, 12, true});
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Map(i).Width, 12);
        EXPECT_EQ(session->History(i).Steps(), 1);
    }
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
    Open();
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

TEST_F(EditorSessionTest, ResettingForNewSymbolsStartsTheToolsAndHistoriesAnew)
{
    Open(Split({0}));
    Draw(3, 0, 0);
    session->SelectTool(kToolRectangleSelection);
    Stroke({{0, 0}});
    session->Copy();
    session->SetValueMode(kLowByteMode);
    session->ResetForSymbols();
    EXPECT_EQ(session->CurrentTool(), kToolPencil);
    EXPECT_EQ(session->ValueMode(), kIntMode);
    EXPECT_EQ(session->LeftValue(0), 0);
    EXPECT_FALSE(session->CanPaste());
    EXPECT_FALSE(session->CanUndo());
}

} // namespace
