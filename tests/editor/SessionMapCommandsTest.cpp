// The whole-map operations and find and replace through the editing
// session: one all-planes undo step each, refusals that record nothing, the
// pasted block turned in place of the map, and one step per replaced map.

#include "EditorTestUtil.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tsl;
using namespace tsl::test;

namespace {

using Words = std::vector<std::uint16_t>;
using State = std::tuple<int, int, std::vector<Words>>;

class SessionMapCommands : public ::testing::Test {
protected:
    void Open(std::vector<std::pair<int, int>> sizes = {{4, 3}})
    {
        MemoryProjectOptions options;
        options.sizes = std::move(sizes);
        session = MemorySession(dir.path(), options);
        // Walls 1 and 2, floors 108..110 in plane 0; plane 1 and 2 only "Nothing".
        session->CurrentProject().Symbols =
            TablesOf({{{0}, {1, "w", "Wall"}, {2, "w"}, {108, "f"}, {110, "f"}}, {{0}, {5, "so", "Lamp"}}, {{0}}});
        for (MapList& map : session->Maps().Maps)
            for (std::size_t p = 0; p < 3; ++p)
                for (std::size_t i = 0; i < map.Planes[p].size(); ++i)
                    map.Planes[p][i] = static_cast<std::uint16_t>(p == 0 ? (i % 2 ? 1 : 0) : i % 3 + 4 * p);
    }
    MapList& Map(int i = -1)
    {
        return session->Maps().Maps.at(static_cast<std::size_t>(i < 0 ? session->Maps().CurrentMap : i));
    }
    State Now() { return {Map().Width, Map().Height, Map().Planes}; }
    void Send(PointerAction action, int x, int y) { session->Pointer({action, PointerButton::Left, x, y}); }

    TempDir dir;
    std::unique_ptr<EditorSession> session;
};

} // namespace

TEST_F(SessionMapCommands, EachOperationIsOneUndoableStepOverAllPlanes)
{
    const std::pair<const char*, std::function<EditResult(EditorSession&)>> operations[] = {
        {"autofloor", [](EditorSession& s) { return s.Autofloor(); }},
        {"clear solid", [](EditorSession& s) { return s.ClearMap(false); }},
        {"clear random", [](EditorSession& s) { return s.ClearMap(true); }},
        {"rotate 90", [](EditorSession& s) { return s.TransformCurrentMap(MapTransform::Rotate90); }},
        {"flip vertical", [](EditorSession& s) { return s.TransformCurrentMap(MapTransform::FlipVertical); }},
        {"flip planes", [](EditorSession& s) { return s.FlipPlanes(0, 1); }},
    };
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        Open();
        const State before = Now();
        const EditResult result = operation(*session);
        EXPECT_FALSE(result.Message);
        EXPECT_NE(result.What, EditResult::Redraw::Nothing);
        const State after = Now();
        EXPECT_NE(after, before);
        EXPECT_TRUE(session->Changed());
        EXPECT_EQ(session->History(0).Steps(), 1);
        session->Undo();
        EXPECT_EQ(Now(), before);
        session->Redo();
        EXPECT_EQ(Now(), after);
    }
}

TEST_F(SessionMapCommands, RefusalsCarryTheirMessageAndRecordNothing)
{
    Open();
    session->CurrentProject().Symbols = TablesOf({{{0}}, {{0}}, {{0}}});
    const State before = Now();
    EXPECT_EQ(session->ClearMap(false).Message->text, NoWallTilesFailure().text);
    EXPECT_EQ(session->FlipPlanes(2, 2).Message->text, "You can't flip a plane with itself!");
    EXPECT_FALSE(session->CanFlipPlanes(1, 3));
    EXPECT_EQ(Now(), before);
    EXPECT_FALSE(session->CanUndo());
    EXPECT_FALSE(session->Changed());
}

TEST_F(SessionMapCommands, ClearMapFillsWithTheLeftValueWhenItIsAWall)
{
    Open();
    session->SetButtonValue(PointerButton::Left, 1);
    session->ClearMap(false);
    EXPECT_EQ(Map().Planes[0], Words(12, 1));
    session->SetButtonValue(PointerButton::Left, 108);
    session->ClearMap(false);
    EXPECT_EQ(Map().Planes[0], Words(12, 2)); // a floor: the second wall of the tables
    EXPECT_EQ(Map().Planes[2], Words(12, 0));
}

TEST_F(SessionMapCommands, WhileABlockIsPlacedTheBlockTurnsAndArrivesTurned)
{
    Open({{8, 8}});
    Map().SetWord(1, 1, 1, 21);
    Map().SetWord(1, 2, 1, 22);
    Map().SetWord(1, 3, 1, 23);
    session->SelectTool(kToolRectangleSelection);
    Send(PointerAction::Press, 1, 1);
    Send(PointerAction::Move, 3, 1);
    Send(PointerAction::Release, 3, 1);
    session->Copy();
    session->Paste();
    const State before = Now();

    EditResult result = session->TransformCurrentMap(MapTransform::FlipHorizontal);
    EXPECT_TRUE(result.Overlay);
    result = session->TransformCurrentMap(MapTransform::Rotate90);
    EXPECT_EQ(session->PasteBuffer().Preview.width, 8);
    EXPECT_EQ(session->PasteBuffer().Preview.height, 24);
    EXPECT_EQ(Now(), before);
    EXPECT_FALSE(session->CanUndo());

    Send(PointerAction::Move, 5, 2);
    Send(PointerAction::Press, 5, 2);
    Send(PointerAction::Release, 5, 2);
    EXPECT_EQ(Map().Word(1, 5, 2), 23);
    EXPECT_EQ(Map().Word(1, 5, 3), 22);
    EXPECT_EQ(Map().Word(1, 5, 4), 21);
}

TEST_F(SessionMapCommands, ReplaceInAllMapsGivesEachChangedMapItsOwnStepAndKeepsTheCurrentMap)
{
    Open({{4, 3}, {4, 3}, {4, 3}});
    for (int i : {0, 2})
        Map(i).Planes[1] = Words{5, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 5};
    Map(1).Planes[1] = Words(12, 0); // no lamp here
    session->Maps().CurrentMap = 1;
    FindReplaceState& finds = session->Finds();
    finds.Fields = {1, "Lamp", "0", ReplaceScope::AllMaps, FindDirection::Forward};

    EditResult result = session->RunFindAction(FindAction::Replace);
    EXPECT_EQ(result.Message->text, "2 occurrences were replaced");
    EXPECT_EQ(Map(0).Planes[1], (Words{0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 5}));
    result = session->RunFindAction(FindAction::ReplaceAll);
    EXPECT_EQ(result.Message->text, "4 occurrences were replaced");
    EXPECT_EQ(session->Maps().CurrentMap, 1);
    EXPECT_EQ(session->History(0).Steps(), 2);
    EXPECT_EQ(session->History(1).Steps(), 0);
    EXPECT_EQ(session->History(2).Steps(), 2);

    session->GoToLevel(2);
    session->Undo();
    EXPECT_EQ(Map(2).Planes[1], (Words{0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 5}));
    EXPECT_EQ(Map(0).Planes[1], Words(12, 0)); // the other map keeps its replacement

    // Nothing to replace: no step, and the count 0 is said.
    result = session->RunFindAction(FindAction::ReplaceAll);
    EXPECT_EQ(result.Message->text, "2 occurrences were replaced");
    result = session->RunFindAction(FindAction::ReplaceAll);
    EXPECT_EQ(result.Message->text, "0 occurrences were replaced");
    EXPECT_EQ(session->History(2).Steps(), 2);
}

TEST_F(SessionMapCommands, SearchesMarkMatchesUntilAPressAndF3NeedsASearchValue)
{
    Open();
    FindReplaceState& finds = session->Finds();
    EXPECT_EQ(session->FindAgain().Message->text, "You need to enter a search value!");
    finds.Fields.FindWhat = "Wall";
    EditResult result = session->RunFindAction(FindAction::FindAll);
    EXPECT_FALSE(result.Message);
    EXPECT_EQ(finds.Marked().size(), 6u);
    EXPECT_TRUE(session->FindAgain().Overlay);
    EXPECT_EQ(finds.Marked(), (std::vector<FoundMapCorr>{{1, 0, 0}}));
    Send(PointerAction::Press, 0, 0);
    EXPECT_TRUE(finds.Marked().empty());
    finds.Fields.FindWhat = "Lamp";
    EXPECT_EQ(session->RunFindAction(FindAction::FindNext).Message->text, "The searched value couldn't be found!");
}

TEST_F(SessionMapCommands, MapInformationCountsAndChecksTheCurrentMap)
{
    Open();
    Map().Planes[1] = Words(12, 5);
    EXPECT_EQ(session->CurrentMapStatistics().StaticObjects, 12);
    const auto findings = session->CheckCurrentMap();
    ASSERT_FALSE(findings.empty());
    EXPECT_EQ(findings.front().Kind, FindingKind::PlayerStarts);
}
