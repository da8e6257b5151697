// Walls removed and added in the middle: what is refused and why, the
// question, and the page file and every map's words changed together, taken
// back and done again together by the page document's Undo and Redo.

#include "EditorTestUtil.h"
#include "GraphicsTestUtil.h"
#include "editor/operations/WallNumbers.h"
#include "editor/session/EditorSession.h"
#include "editor/tools/PointerTools.h"
#include "graphics/PageFile.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

constexpr int kWalls = 27;

// 27 walls (chunks 0 to 53), the eight door chunks, a sprite and a sound.
PageSet Pages()
{
    std::vector<Bytes> chunks;
    for (int i = 0; i < 2 * kWalls + kDoorChunks; ++i)
        chunks.push_back(TestWall(i));
    Bytes table;
    Put16(table, 0);
    Put16(table, 10);
    chunks.insert(chunks.end(), {TestSprite(3, 3, {{3, {{1, 2, TestPixels(1, 9)}}}}), Bytes(10, 1), table});
    auto file = PageFile::Parse(TestPageFile(chunks, 2 * kWalls + kDoorChunks, 2 * kWalls + kDoorChunks + 1),
                                "VSWAP.TST");
    EXPECT_TRUE(file) << file.failure().text;
    return PageSet::From(*file);
}

PictureFile Flat(std::uint32_t colour)
{
    PictureFile picture;
    picture.width = picture.height = 64;
    picture.pixels.assign(4096, colour);
    return picture;
}

struct Scene {
    TempDir dir;
    std::unique_ptr<EditorSession> session = MemorySession(dir.path(), {{{8, 8}, {8, 8}}, 2, {}, false});
    PageDocument pages{Pages(), dir / "VSWAP.TST"};
    Palette palette;

    // Walls 23, 25, 26 and 27 in map "A", 25 in map "B"; a door, a floor
    // and an object that share those numbers' neighbourhood stay as they are.
    Scene()
    {
        for (std::uint32_t i = 0; i < 256; ++i)
            palette.colours[i] = 0xFF000000u | i << 16 | i << 8 | i;
        LayWords(session->Document(), [](MapHandler& maps) {
            MapList& a = maps.Maps[0];
            a.SetWord(0, 1, 1, 23);
            a.SetWord(0, 2, 1, 25);
            a.SetWord(0, 3, 1, 26);
            a.SetWord(0, 4, 1, 27);
            a.SetWord(0, 5, 1, 90);
            a.SetWord(0, 6, 1, 107);
            a.SetWord(0, 7, 1, 21);
            a.SetWord(1, 2, 1, 25);
            maps.Maps[1].SetWord(0, 0, 0, 25);
        });
    }
    MapDocument& Maps() { return session->Document(); }
    // Plane 0 of map "A", row 1, and the object plane's word at (2,1).
    std::vector<std::uint16_t> Row() const
    {
        const MapList& a = session->Maps().Maps[0];
        std::vector<std::uint16_t> row;
        for (int x = 1; x < 8; ++x)
            row.push_back(a.Word(0, x, 1));
        row.push_back(a.Word(1, 2, 1));
        row.push_back(session->Maps().Maps[1].Word(0, 0, 0));
        return row;
    }
};

const std::string kDiscarded = "\n\nRenumbering changes the words of every map that uses them and discards the maps' "
                               "undo histories; Undo in this window takes back the page file and the maps' words "
                               "together.";
const std::string kElevator = "the engine finds the elevator switch by its number (wall 21, which becomes wall 22 "
                              "when it is used), so walls 1 to 22 never move.";

} // namespace

TEST(WallNumbers, WhatIsRefusedAndWhatIsAsked)
{
    Scene scene;
    const struct {
        int wall;
        WallMove move;
        std::string refusal;
        bool findReplace;
        std::string question;
    } cases[] = {
        {3, WallMove::Remove, "Wall 3 cannot be removed: " + kElevator + " Replace its picture instead.", false, ""},
        {22, WallMove::Remove, "Wall 22 cannot be removed: " + kElevator + " Replace its picture instead.", false, ""},
        {25, WallMove::Remove,
         "Wall 25 cannot be removed: the maps use it on 2 tiles, map 1 \"A\" at (2,1), and map 2 \"B\" at (0,0).\n\n"
         "Find and Replace can put another wall in its place first (word 25 of plane 0).",
         true, ""},
        {24, WallMove::Remove, "", false,
         "Removing wall 24 moves walls 25 to 27 one place down: renumber the maps' words so that they keep their "
         "walls, or cancel?" + kDiscarded},
        {26, WallMove::Remove, "Wall 26 cannot be removed: the maps use it on 1 tile, map 1 \"A\" at (3,1).\n\n"
                               "Find and Replace can put another wall in its place first (word 26 of plane 0).",
         true, ""},
        {22, WallMove::Add,
         "No wall can be added as wall 22: " + kElevator + " Replace a picture instead, or add the wall after wall 22.",
         false, ""},
        {23, WallMove::Add, "", false,
         "Adding wall 23 moves walls 23 to 27 one place up: renumber the maps' words so that they keep their "
         "walls, or cancel?" + kDiscarded},
        {27, WallMove::Add, "", false,
         "Adding wall 27 moves wall 27 one place up: renumber the maps' words so that they keep their walls, or "
         "cancel?" + kDiscarded},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.wall) + (c.move == WallMove::Remove ? " removed" : " added"));
        const WallMovePlan plan = PlanWallMove(scene.pages.Pages(), scene.session->Maps(), c.wall, c.move);
        EXPECT_EQ(plan.refusal ? plan.refusal->text : "", c.refusal);
        EXPECT_EQ(plan.offerFindReplace, c.findReplace);
        EXPECT_EQ(plan.question.value_or(""), c.question);
    }

    // The last wall, unused: removed without a question, as nothing moves.
    LayWords(scene.Maps(), [](MapHandler& maps) { maps.Maps[0].SetWord(0, 4, 1, 0); });
    const WallMovePlan last = PlanWallMove(scene.pages.Pages(), scene.session->Maps(), kWalls, WallMove::Remove);
    EXPECT_FALSE(last.refusal || last.question);

    // A long list of tiles is cut after eight, the rest counted.
    LayWords(scene.Maps(), [](MapHandler& maps) {
        for (int x = 0; x < 8; ++x)
            for (int y = 6; y < 8; ++y)
                maps.Maps[1].SetWord(0, x, y, 24);
    });
    const WallMovePlan many = PlanWallMove(scene.pages.Pages(), scene.session->Maps(), 24, WallMove::Remove);
    ASSERT_TRUE(many.refusal);
    EXPECT_EQ(many.refusal->text, "Wall 24 cannot be removed: the maps use it on 16 tiles, map 2 \"B\" at (0,6), "
                                  "(1,6), (2,6), (3,6), (4,6), (5,6), (6,6) and (7,6) (and 8 more tiles).\n\n"
                                  "Find and Replace can put another wall in its place first (word 24 of plane 0).");
}

TEST(WallNumbers, ARemovedWallTakesTheMapsWordsAlongAndUndoGivesBothBack)
{
    Scene scene;
    const PageSet before = scene.pages.Pages();
    const std::vector<std::uint16_t> words = scene.Row();
    ASSERT_EQ(words, (std::vector<std::uint16_t>{23, 25, 26, 27, 90, 107, 21, 25, 25}));
    scene.session->GoToLevel(1);
    auto edit = scene.Maps().Begin();
    edit.SetWord(1, 1, 5, 5, 3);
    edit.Commit();
    ASSERT_TRUE(scene.session->CanUndo());

    ASSERT_FALSE(RemoveWall(scene.pages, scene.Maps(), 24));
    const std::vector<std::uint16_t> renumbered{23, 24, 25, 26, 90, 107, 21, 25, 24};
    EXPECT_EQ(scene.Row(), renumbered) << "the walls after 24, and nothing else";
    EXPECT_EQ(scene.pages.Pages().ChunkCount(), before.ChunkCount() - 2);
    EXPECT_EQ(*scene.pages.Pages().ChunkAt(ChunkOfWall(24)), *before.ChunkAt(ChunkOfWall(25)));
    EXPECT_FALSE(scene.session->CanUndo()) << "the maps' histories are discarded";
    EXPECT_TRUE(scene.session->Changed());

    ASSERT_FALSE(scene.pages.Undo());
    EXPECT_TRUE(scene.pages.Pages() == before);
    EXPECT_EQ(scene.Row(), words);
    ASSERT_FALSE(scene.pages.Redo());
    EXPECT_EQ(scene.Row(), renumbered);

    const auto set = [&](int x, int y, std::uint16_t word) {
        auto change = scene.Maps().Begin();
        change.SetWord(1, 0, x, y, word);
        change.Commit();
    };
    // A tile given wall 24 (then the wall that was 25) keeps its picture when the removal is undone.
    set(3, 3, 24);
    ASSERT_FALSE(scene.pages.Undo());
    EXPECT_EQ(scene.session->Maps().Maps[1].Word(0, 3, 3), 25);

    // Wall 24 in use again: the removal is not done again, and nothing moves.
    set(5, 5, 24);
    const std::optional<Failure> refused = scene.pages.Redo();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->text, "Wall 24 cannot be removed again: the maps use it on 1 tile, map 2 \"B\" at (5,5).\n\n"
                             "Put another wall in its place first, then remove it.");
    EXPECT_TRUE(scene.pages.Pages() == before);
    EXPECT_TRUE(scene.pages.CanRedo());
    EXPECT_EQ(scene.Row(), words);
}

TEST(WallNumbers, AWallAddedInTheMiddleMovesTheMapsWordsUpAndIsTakenOutOnlyWhileUnused)
{
    Scene scene;
    const PageSet before = scene.pages.Pages();
    const std::vector<std::uint16_t> words = scene.Row();
    auto chunk = AddWallAt(scene.pages, scene.Maps(), 23, Flat(0xFF202020u), scene.palette);
    ASSERT_TRUE(chunk) << chunk.failure().text;
    EXPECT_EQ(*chunk, ChunkOfWall(23));
    EXPECT_EQ(scene.Row(), (std::vector<std::uint16_t>{24, 26, 27, 28, 90, 107, 21, 25, 26}));
    EXPECT_EQ(WallCount(scene.pages.Pages()), kWalls + 1);
    EXPECT_EQ(scene.pages.UndoName(), "Add wall 44");

    // A picture that is no wall is refused before anything moves.
    PictureFile small = Flat(0);
    small.width = 32;
    EXPECT_FALSE(AddWallAt(scene.pages, scene.Maps(), 23, small, scene.palette));
    EXPECT_EQ(scene.Row()[0], 24);

    const auto set = [&](std::uint16_t word) {
        auto change = scene.Maps().Begin();
        change.SetWord(0, 0, 0, 0, word);
        change.Commit();
    };
    set(23);
    const std::optional<Failure> refused = scene.pages.Undo();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->text, "The wall added as wall 23 cannot be taken out again: the maps use it on 1 tile, map 1 "
                             "\"A\" at (0,0).\n\nPut another wall in its place first, then undo.");
    set(0);
    ASSERT_FALSE(scene.pages.Undo());
    EXPECT_TRUE(scene.pages.Pages() == before);
    EXPECT_EQ(scene.Row(), words);
}

// Renumbering is a change of words like any other: a pencil stroke held in
// the map view ends first, as its release would, and its words move with the
// maps' (nothing of that press draws afterwards).
TEST(WallNumbers, AStrokeHeldWhenTheWallsMoveEndsFirstAndIsRenumberedToo)
{
    Scene scene;
    EditorSession& s = *scene.session;
    s.GoToLevel(0);
    s.SelectTool(kToolPencil);
    s.SelectPlane(0);
    s.SetButtonValue(PointerButton::Left, 27);
    s.Pointer({PointerAction::Press, PointerButton::Left, 1, 5});
    s.Pointer({PointerAction::Move, PointerButton::Left, 3, 5});
    ASSERT_TRUE(s.Tools().Held());

    ASSERT_FALSE(RemoveWall(scene.pages, scene.Maps(), 24));
    EXPECT_FALSE(s.Tools().Held());
    s.Pointer({PointerAction::Move, PointerButton::Left, 5, 5});
    s.Pointer({PointerAction::Release, PointerButton::Left, 5, 5});
    const MapList& a = s.Maps().Maps[0];
    for (int x = 1; x < 7; ++x)
        EXPECT_EQ(a.Word(0, x, 5), x <= 3 ? 26 : 0) << x;
    ASSERT_FALSE(scene.pages.Undo());
    for (int x = 1; x <= 3; ++x)
        EXPECT_EQ(s.Maps().Maps[0].Word(0, x, 5), 27) << x;
}
