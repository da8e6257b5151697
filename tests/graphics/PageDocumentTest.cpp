// The page-set document: every command one undoable step with its notice,
// the changed state against the save mark, and refusals that record nothing.

#include "GraphicsTestUtil.h"
#include "TestUtil.h"
#include "graphics/PageDocument.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tsl;
using namespace tsl::test;

namespace {

using Kind = PageChange::Kind;

Palette GreyPalette()
{
    Palette palette;
    for (std::uint32_t i = 0; i < 256; ++i)
        palette.colours[i] = 0xFF000000u | i << 16 | i << 8 | i;
    return palette;
}

PictureFile Flat(std::uint32_t colour)
{
    PictureFile picture;
    picture.width = picture.height = 64;
    picture.pixels.assign(4096, colour);
    picture.hasAlpha = true;
    return picture;
}

// A sprite's picture must leave pixels transparent to fit a page: the left half.
PictureFile HalfFlat(std::uint32_t colour)
{
    PictureFile picture = Flat(colour);
    for (std::size_t i = 0; i < picture.pixels.size(); i += 64)
        std::fill_n(picture.pixels.begin() + static_cast<std::ptrdiff_t>(i), 32, 0u);
    return picture;
}

struct Scene {
    TempDir dir;
    PageDocument doc{PageSet{}, {}};
    std::vector<PageChange> notices;
    PageDocument::Token listening;

    Scene()
    {
        // Nine walls, two sprites, a sound of two chunks.
        std::vector<Bytes> chunks;
        for (int i = 0; i < 9; ++i)
            chunks.push_back(TestWall(i));
        const Bytes sprite = TestSprite(3, 3, {{3, {{1, 2, TestPixels(1, 9)}}}});
        Bytes table;
        Put16(table, 0);
        Put16(table, 4100);
        chunks.insert(chunks.end(), {sprite, sprite, Bytes(4096, 1), Bytes(4, 2), table});
        WriteFile(dir / "VSWAP.TST", TestPageFile(chunks, 9, 11));
        auto opened = PageDocument::Open(dir / "VSWAP.TST");
        EXPECT_TRUE(opened) << opened.failure().text;
        doc = std::move(*opened);
        listening = doc.Listen([this](const PageChange& change) { notices.push_back(change); });
    }
    std::vector<PageChange> Take() { return std::exchange(notices, {}); }
};

} // namespace

TEST(PageDocument, EveryCommandIsOneStepWithItsNotices)
{
    const Palette palette = GreyPalette();
    const PageChange changed{Kind::SavedState, -1, -1, true};
    const PageChange unchanged{Kind::SavedState, -1, -1, false};
    const struct {
        const char* name;
        std::function<bool(PageDocument&)> run; // true when it was done
        PageChange done, undone;
    } commands[] = {
        {"Replace wall 4", [&](PageDocument& d) { return !d.ReplacePicture(4, Flat(0xFF101010u), palette); },
         {Kind::Replaced, 4}, {Kind::Replaced, 4}},
        {"Replace sprite 10", [&](PageDocument& d) { return !d.ReplacePicture(10, HalfFlat(0xFF202020u), palette); },
         {Kind::Replaced, 10}, {Kind::Replaced, 10}},
        {"Add wall 1", [&](PageDocument& d) { return bool(d.AddWall(Flat(0xFF303030u), palette)); },
         {Kind::Added, 1}, {Kind::Removed, 1}},
        {"Add sprite 11", [&](PageDocument& d) { return bool(d.AddSprite(HalfFlat(0xFF404040u), palette)); },
         {Kind::Added, 11}, {Kind::Removed, 11}},
        {"Remove sprite 9", [](PageDocument& d) { return !d.Remove(9); }, {Kind::Removed, 9}, {Kind::Added, 9}},
        {"Replace sound 0", [](PageDocument& d) { return !d.ReplaceSound(0, Bytes(9000, 7)); },
         {Kind::Sound, 11, 0}, {Kind::Sound, 11, 0}},
        {"Add sound 1", [](PageDocument& d) { return bool(d.AddSound(Bytes(10, 7))); }, {Kind::SoundAdded, 13, 1},
         {Kind::SoundRemoved, 13, 1}},
        {"Remove sound 0", [](PageDocument& d) { return !d.RemoveSound(0); }, {Kind::SoundRemoved, 11, 0},
         {Kind::SoundAdded, 11, 0}},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.name);
        Scene scene;
        const PageSet before = scene.doc.Pages();
        ASSERT_TRUE(c.run(scene.doc));
        const PageSet after = scene.doc.Pages();
        EXPECT_FALSE(after == before);
        EXPECT_EQ(scene.Take(), (std::vector<PageChange>{c.done, changed}));
        EXPECT_TRUE(scene.doc.Changed());
        EXPECT_EQ(scene.doc.UndoName(), c.name);

        scene.doc.Undo();
        EXPECT_TRUE(scene.doc.Pages() == before);
        EXPECT_EQ(scene.Take(), (std::vector<PageChange>{c.undone, unchanged}));
        EXPECT_FALSE(scene.doc.Changed());
        EXPECT_EQ(scene.doc.RedoName(), c.name);
        scene.doc.Redo();
        EXPECT_TRUE(scene.doc.Pages() == after);
        EXPECT_EQ(scene.Take(), (std::vector<PageChange>{c.done, changed}));
    }
}

TEST(PageDocument, TheSaveMarkFollowsUndoAndASaveWritesWhatIsShown)
{
    Scene scene;
    const Palette palette = GreyPalette();
    ASSERT_FALSE(scene.doc.ReplacePicture(0, Flat(0xFF050505u), palette));
    ASSERT_FALSE(scene.doc.Save(BackupPolicy{}));
    EXPECT_FALSE(scene.doc.Changed());
    auto written = PageFile::Load(scene.dir / "VSWAP.TST");
    ASSERT_TRUE(written);
    EXPECT_TRUE(PageSet::From(*written) == scene.doc.Pages());
    EXPECT_EQ(written->Wall(0)[100], 5);

    scene.doc.Undo();
    EXPECT_TRUE(scene.doc.Changed());
    scene.doc.Redo();
    EXPECT_FALSE(scene.doc.Changed());
    // Undone and then changed otherwise: the saved pages are out of reach.
    scene.doc.Undo();
    ASSERT_FALSE(scene.doc.ReplacePicture(1, Flat(0xFF060606u), palette));
    scene.doc.Undo();
    EXPECT_TRUE(scene.doc.Changed());
}

TEST(PageDocument, ARefusalRecordsNothingAndAnEndedListenerHearsNothing)
{
    Scene scene;
    const Palette palette = GreyPalette();
    PictureFile small = Flat(0xFF000000u);
    small.width = 32;
    const struct {
        const char* what;
        std::optional<Failure> failure;
        std::string message;
    } cases[] = {
        {"a sound chunk", scene.doc.ReplacePicture(11, Flat(0), palette),
         "Chunk 11 is no wall or sprite of the page file."},
        {"a picture of the wrong size", scene.doc.ReplacePicture(0, small, palette),
         "The picture is 32 x 64 pixels; walls and sprites are 64 x 64."},
        {"no such sound", scene.doc.ReplaceSound(5, Bytes(10, 1)), "The page file has no sound 5."},
        {"a sprite larger than a page", scene.doc.ReplacePicture(9, Flat(0xFF010101u), palette),
         "The new sprite takes 4740 bytes; a page of the game holds at most 4096. Make more of its pixels "
         "transparent, best whole columns at its sides."},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.failure) << c.what;
        EXPECT_EQ(c.failure->text, c.message) << c.what;
    }
    EXPECT_FALSE(scene.doc.CanUndo());
    EXPECT_TRUE(scene.Take().empty());

    scene.listening.Reset();
    ASSERT_FALSE(scene.doc.Remove(0));
    EXPECT_TRUE(scene.Take().empty());
}
