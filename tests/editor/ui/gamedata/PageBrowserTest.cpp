// "Game Pictures and Sounds" in the window: a wall replaced from a file is
// shown at once by the map view and the 3D preview, undone and redone from
// the browser, marked in the title and saved with the maps (a leftover of an
// interrupted save removed, and said in the status bar); a picture dropped
// on a sprite replaces it; a sound played without an audio device says so;
// a wall the maps use is not removed, an unused one takes the maps' words
// along and the browser's Undo gives both back; a replaced wall autosaved
// and the editor gone is offered back at the next open. What the document,
// the picture files and the recovery do is tested in the core.

#include "EditorFixture.h"

#include "GraphicsTestUtil.h"
#include "editor/keeping/Recovery.h"
#include "editor/operations/WallNumbers.h"
#include "editor/render/GameGraphics.h"
#include "editor/ui/gamedata/PagesController.h"
#include "editor/ui/views/SidePanel.h"
#include "editor/ui/views/TPreview3DBox.h"
#include "symbols/ui/SymbolWidgets.h"
#include "graphics/PageFile.h"
#include "graphics/PictureFile.h"
#include "graphics/Sprite.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

using namespace tsl;
using namespace tsl::test;

namespace {

// Walls 0 to 3 and the eight door chunks, sprite 12, a sound in chunk 13 and
// the table: word 1 shows wall chunk 0.
Bytes PagesWithASound()
{
    std::vector<Bytes> chunks = {TestWall(5), TestWall(9), TestWall(13), TestWall(17)};
    chunks.resize(12, TestWall(40));
    chunks.push_back(TestSprite(10, 11, {{10, {{4, 9, TestPixels(5, 30)}}}, {11, {{0, 2, TestPixels(2, 60)}}}}));
    chunks.push_back(TestPixels(300, 100));
    Bytes table;
    Put16(table, 0);
    Put16(table, 300);
    chunks.push_back(table);
    return TestPageFile(chunks, 12, 13);
}

// 26 walls (the sample's maps use 24), the door chunks, a sprite and a sound.
Bytes ManyWalls()
{
    std::vector<Bytes> chunks;
    for (int i = 0; i < 60; ++i)
        chunks.push_back(TestWall(i));
    Bytes table;
    Put16(table, 0);
    Put16(table, 300);
    chunks.insert(chunks.end(), {TestSprite(3, 3, {{3, {{1, 2, TestPixels(1, 9)}}}}), TestPixels(300, 100), table});
    return TestPageFile(chunks, 60, 61);
}

// A sound output that says what a machine without an audio device says, and
// remembers what it was asked to play.
class NoDevice : public SoundOutput {
public:
    explicit NoDevice(std::vector<Bytes>& played) : played_(played) {}
    std::optional<Failure> Play(std::span<const std::uint8_t> samples) override
    {
        played_.emplace_back(samples.begin(), samples.end());
        return Failure{kNoAudioDeviceText, kPlaySoundCaption, MessageIcon::Warning};
    }
    std::optional<Failure> PlayRendered(std::span<const std::int16_t>, int) override
    {
        return Failure{kNoAudioDeviceText, kPlaySoundCaption, MessageIcon::Warning};
    }
    void Stop() override {}

private:
    std::vector<Bytes>& played_;
};

class PageBrowser : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        game_ = App().CopySampleGame("with-pages");
        WriteFile(game_ / "VSWAP.WL6", PagesWithASound());
        ASSERT_TRUE(Editor().OpenProject(true, game_));
        Editor().Panel()->ZoomSlider()->setValue(4);
        Editor().Action("gamePicturesAction")->trigger();
        ASSERT_NE(Editor().Pages()->Browser(), nullptr);
    }
    TPageBrowserBox& Browser() { return *Editor().Pages()->Browser(); }
    fs::path Game() const { return game_; }
    // A 64 x 64 picture of one colour of the game's palette, as a file; its
    // first `clear` columns transparent.
    fs::path Flat(std::uint8_t index, int clear = 0)
    {
        const fs::path file = files_ / ("flat-" + std::to_string(index) + "-" + std::to_string(clear) + ".png");
        std::vector<std::uint32_t> pixels(4096, Editor().Graphics()->Colours[index]);
        for (std::size_t row = 0; row < pixels.size(); row += 64)
            std::fill_n(pixels.begin() + static_cast<std::ptrdiff_t>(row), clear, 0u);
        WriteFile(file, EncodeRgbaPng(64, 64, pixels));
        return file;
    }
    // The first tile of word 1 without an object on it.
    QPoint TileOfWordOne()
    {
        const MapList& map = Editor().Session()->Maps().Current();
        for (int y = 0; y < map.Height; ++y)
            for (int x = 0; x < map.Width; ++x)
                if (map.Word(0, x, y) == 1 && map.Word(1, x, y) == 0)
                    return {x, y};
        ADD_FAILURE() << "no tile of word 1";
        return {};
    }
    // The colour the map view shows in the middle of a tile.
    std::uint32_t ShownOn(QPoint tile)
    {
        return Painted(Editor().View()->PaintArea(), QRect(tile * 64, QSize(64, 64))).pixel(32, 32) & 0xFFFFFFu;
    }
    std::uint32_t ShownOnWordOne() { return ShownOn(TileOfWordOne()); }

private:
    fs::path game_;
    TempDir files_;
};

} // namespace

TEST_F(PageBrowser, AWallReplacedIsShownAtOnceUndoneAndSavedWithTheMaps)
{
    const std::shared_ptr<const GameGraphics> shown = Editor().Graphics(); // kept: a replacement makes new ones
    ASSERT_TRUE(shown);
    const GameGraphics& before = *shown;
    const std::uint32_t old = RgbOf(before.Colours[before.Pages.Wall(0)[32 * 64 + 32]]);
    const std::uint32_t colour = RgbOf(before.Colours[77]);
    ASSERT_NE(old, colour);
    EXPECT_EQ(ShownOnWordOne(), old);
    Editor().Action("preview3DAction")->trigger();
    const TPreview3DBox* preview = Editor().Preview();
    // The colour of wall 0's first pixel in the 3D preview's pictures.
    const auto previewed = [preview]() -> std::uint32_t {
        const GamePictures* pictures = preview ? preview->Pictures() : nullptr;
        const std::uint32_t* pixels = pictures ? pictures->pages.Pixels(0) : nullptr;
        return pixels ? RgbOf(pixels[0]) : 0xFFFFFFFFu;
    };

    Browser().ChooseChunk(0);
    Prompts().File(Flat(77));
    Click(&Browser(), "replaceButton");
    ASSERT_EQ(Prompts().Records().size(), 1u);
    EXPECT_EQ(Prompts().Records()[0].text, "Replace wall 0");
    EXPECT_EQ(ShownOnWordOne(), colour);
    EXPECT_EQ(previewed(), colour) << "the 3D preview's picture too";
    EXPECT_TRUE(ShownTitle().ends_with("*"));
    EXPECT_TRUE(Editor().Changed());
    EXPECT_EQ(S(Find<QPushButton>(&Browser(), "undoButton")->toolTip()), "Undo Replace wall 0 (Ctrl+Z)");

    Click(&Browser(), "undoButton");
    EXPECT_EQ(ShownOnWordOne(), old);
    EXPECT_EQ(previewed(), RgbOf(before.Colours[before.Pages.Wall(0)[0]]));
    EXPECT_FALSE(ShownTitle().ends_with("*"));
    Click(&Browser(), "redoButton");
    EXPECT_EQ(ShownOnWordOne(), colour);

    // Save writes the page file (with its backup); the maps had no change.
    // What a save killed before left is removed, and the status bar says so.
    const Bytes maps = ReadFile(Game() / "GAMEMAPS.WL6");
    WriteFile(Game() / ".VSWAP.WL6.tesselar-k1lled00", Bytes{1});
    Editor().Action("saveProjectAction")->trigger();
    EXPECT_FALSE(ShownTitle().ends_with("*"));
    EXPECT_FALSE(fs::exists(Game() / ".VSWAP.WL6.tesselar-k1lled00"));
    EXPECT_EQ(S(Editor().statusBar()->currentMessage()),
              "Removed .VSWAP.WL6.tesselar-k1lled00, left in " + Game().string() +
                  " by a save of the page file that was interrupted.");
    EXPECT_EQ(ReadFile(Game() / "VSWAP.WL6.BAK"), PagesWithASound());
    auto saved = PageFile::Load(Game() / "VSWAP.WL6");
    ASSERT_TRUE(saved);
    EXPECT_EQ(RgbOf(before.Colours[saved->Wall(0)[123]]), colour);
    EXPECT_EQ(ReadFile(Game() / "GAMEMAPS.WL6"), maps);
    EXPECT_TRUE(Prompts().Finished()) << Prompts().Unfinished();
}

TEST_F(PageBrowser, AWallAddedIsShownAtOnceInTheMapViewTheBrowserThe3DPreviewAndTheSymbolList)
{
    // The shareware's 49 walls: word 50 would show chunks 98 and 99, as the
    // engine draws wall words, but they are door pictures until a wall is
    // added before the doors.
    std::vector<Bytes> chunks;
    for (int chunk = 0; chunk < 98 + kDoorChunks; ++chunk)
        chunks.push_back(TestWall(chunk));
    const auto firstSprite = static_cast<int>(chunks.size());
    chunks.push_back(TestSprite(10, 11, {{10, {{4, 9, TestPixels(5, 30)}}}}));
    WriteFile(Game() / "VSWAP.WL6", TestPageFile(chunks, firstSprite, firstSprite + 1));
    // A symbol for word 50, which the shipped structure leaves out.
    const fs::path symbols = Editor().Session()->CurrentProject().StructureFolder / "plane1.txt";
    const Bytes lines = ReadFile(symbols);
    WriteFile(symbols, std::string(lines.begin(), lines.end()) + "50,Grey wall 50," + std::string(64, '7') + ",w,0\r\n");
    ASSERT_TRUE(Editor().OpenProject(true, Game()));
    const QPoint tile = TileOfWordOne();
    {
        auto change = Editor().Session()->Document().Begin();
        change.Current().SetWord(0, tile.x(), tile.y(), 50);
        change.Commit();
    }
    Editor().Action("preview3DAction")->trigger();
    const TPreview3DBox* preview = Editor().Preview();
    ASSERT_NE(preview, nullptr);
    const auto previewed = [&] { return preview->CurrentLevel().At(tile.x(), tile.y()); };
    // The middle of the picture the symbol list shows beside word 50.
    const auto listed = [&]() -> std::optional<std::uint32_t> {
        const auto* list = Find<QListWidget>(Editor().Panel(), "symbolList");
        for (int row = 0; row < list->count(); ++row)
            if (list->item(row)->text().startsWith("50 - ")) {
                const QImage picture = list->item(row)->data(SymbolListDelegate::PictureRole).value<QImage>();
                return picture.pixel(picture.width() / 2, picture.height() / 2) & 0xFFFFFFu;
            }
        return std::nullopt;
    };
    const std::uint32_t colour = RgbOf(Editor().Graphics()->Colours[77]);
    ASSERT_NE(ShownOn(tile), colour);
    EXPECT_EQ(previewed().light, kNoPicture);
    ASSERT_NE(listed(), std::nullopt);
    EXPECT_NE(listed(), colour) << "its symbol";

    Editor().Action("gamePicturesAction")->trigger();
    Browser().SetCurrentTab(TPageBrowserBox::Tab::Walls);
    Prompts().File(Flat(77));
    Click(&Browser(), "addButton");
    ASSERT_EQ(Editor().Pages()->Document()->Pages().FirstDoorChunk(), 100);
    EXPECT_EQ(ShownOn(tile), colour) << "the map view";
    EXPECT_EQ(previewed().light, 98) << "the 3D preview";
    EXPECT_EQ(previewed().dark, 99);
    const std::uint32_t* pixels = preview->Pictures()->pages.Pixels(98);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(RgbOf(pixels[0]), colour);
    QTreeWidget* walls = Find<QTreeWidget>(&Browser(), "wallList");
    ASSERT_GE(walls->topLevelItemCount(), 50);
    EXPECT_EQ(S(walls->topLevelItem(49)->text(0)), "98, 99");
    EXPECT_TRUE(S(walls->topLevelItem(49)->text(3)).starts_with("50")) << S(walls->topLevelItem(49)->text(3));

    EXPECT_EQ(listed(), colour) << "the symbol list";

    // Undone: word 50 shows a door picture no more.
    Click(&Browser(), "undoButton");
    EXPECT_NE(ShownOn(tile), colour);
    EXPECT_EQ(previewed().light, kNoPicture);
    EXPECT_TRUE(Prompts().Finished()) << Prompts().Unfinished();
}

TEST_F(PageBrowser, APictureDroppedOnASpriteReplacesItAndClosingAsksToSave)
{
    QTreeWidget* sprites = Find<QTreeWidget>(&Browser(), "spriteList");
    Browser().SetCurrentTab(TPageBrowserBox::Tab::Sprites);
    QApplication::processEvents();
    ASSERT_EQ(sprites->topLevelItemCount(), 1);
    const auto dropFile = [&](const fs::path& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
        const QPoint at = sprites->visualItemRect(sprites->topLevelItem(0)).center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(sprites->viewport(), &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(sprites->viewport(), &drop);
    };
    dropFile(Flat(77)); // all opaque: larger than a page of the game
    ExpectMessage(0, "The new sprite takes 4740 bytes; a page of the game holds at most 4096. Make more of its "
                     "pixels transparent, best whole columns at its sides.",
                  kPageEditCaption, MessageIcon::Warning, Buttons::Ok);
    EXPECT_FALSE(Editor().Pages()->Document()->CanUndo());
    dropFile(Flat(77, 16));
    const PageSet& pages = Editor().Pages()->Document()->Pages();
    Sprite sprite;
    ASSERT_FALSE(DecodeSprite(*pages.ChunkAt(12), sprite));
    EXPECT_TRUE(!sprite.Opaque(15, 0) && sprite.Opaque(16, 0) && sprite.Opaque(63, 63)) << "the picture's pixels";
    EXPECT_EQ(Editor().Pages()->Document()->UndoName(), "Replace sprite 12");

    Prompts().Answer(Answer::No);
    EXPECT_TRUE(Editor().close());
    ExpectMessage(1, "You have made changes to the game's pictures and sounds.\n\nDo you wish to save this data now?",
                  "Save pictures and sounds", MessageIcon::Question, Buttons::YesNoCancel);
    EXPECT_EQ(ReadFile(Game() / "VSWAP.WL6"), PagesWithASound());
}

TEST_F(PageBrowser, ChunksOfTheSameBytesShareOneThumbnail)
{
    // The eight door chunks are the same wall.
    const QPixmap door = Browser().Thumbnail(4);
    ASSERT_EQ(door.size(), QSize(64, 64));
    for (int chunk = 5; chunk < 12; ++chunk)
        EXPECT_EQ(Browser().Thumbnail(chunk).cacheKey(), door.cacheKey()) << chunk;
    const QImage wall = Browser().Thumbnail(0).toImage();
    EXPECT_EQ(wall.pixel(3, 7), Editor().Graphics()->Colours[TestWall(5)[3 * 64 + 7]]) << "column by column";
    Find<QComboBox>(&Browser(), "thumbnailScale")->setCurrentIndex(1);
    EXPECT_EQ(Browser().Thumbnail(4).size(), QSize(128, 128));
}

TEST_F(PageBrowser, ASoundPlayedWithoutAnAudioDeviceSaysSo)
{
    std::vector<Bytes> played;
    Editor().SetSoundOutput(std::make_unique<NoDevice>(played));
    Browser().SetCurrentTab(TPageBrowserBox::Tab::Sounds);
    QTreeWidget* sounds = Find<QTreeWidget>(&Browser(), "soundList");
    ASSERT_EQ(sounds->topLevelItemCount(), 1);
    EXPECT_EQ(S(sounds->topLevelItem(0)->text(0)), "0 Halt") << "named by the structure";
    EXPECT_EQ(S(sounds->topLevelItem(0)->text(2)), "0.04 s");
    Click(&Browser(), "playSound0");
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0], TestPixels(300, 100));
    ExpectMessage(0, kNoAudioDeviceText, kPlaySoundCaption, MessageIcon::Warning, Buttons::Ok);
}

TEST_F(PageBrowser, TheDoorsStayPicturesGoOutAsPngAndCtrlSSavesHereToo)
{
    EXPECT_TRUE(Browser().actions().contains(Editor().Action("saveProjectAction")));
    // Walls 0 to 3 are two rows, the eight door chunks four.
    QTreeWidget* walls = Find<QTreeWidget>(&Browser(), "wallList");
    ASSERT_EQ(walls->topLevelItemCount(), 6);
    const auto* remove = Find<QPushButton>(&Browser(), "removeButton");
    walls->setCurrentItem(walls->topLevelItem(2), 2);
    EXPECT_FALSE(remove->isEnabled()) << "a door";
    walls->setCurrentItem(walls->topLevelItem(1), 2);
    EXPECT_TRUE(remove->isEnabled());

    TempDir out;
    Prompts().File(out / "wall.bmp");
    Click(&Browser(), "exportButton");
    EXPECT_EQ(Prompts().Records().at(0).proposedName, "wall-0003.png") << "the name export-pages gives it";
    ExpectMessage(1,
                  "Pictures are exported as PNG files, which keep the game's colours and the sprites' transparency: "
                  "name the file with .png.",
                  "Export pictures and sounds", MessageIcon::Warning, Buttons::Ok);
    EXPECT_FALSE(fs::exists(out / "wall.bmp"));
}

TEST_F(PageBrowser, AUsedWallIsNotRemovedAndAnUnusedOneTakesTheMapsWordsAlongUntilUndone)
{
    WriteFile(Game() / "VSWAP.WL6", ManyWalls());
    ASSERT_TRUE(Editor().OpenProject(true, Game()));
    PageDocument& pages = *Editor().Pages()->Document();
    const PageSet before = pages.Pages();
    const MapHandler maps = Editor().Session()->Maps();
    const auto wordsOf = [](const MapHandler& set) {
        std::vector<std::vector<std::uint16_t>> words;
        for (const MapList& map : set.Maps)
            words.push_back(map.Planes[0]);
        return words;
    };

    // Wall 24 is in maps 5 and 6: refused, with Find and Replace on its word.
    const WallMovePlan used = PlanWallMove(before, maps, 24, WallMove::Remove);
    ASSERT_TRUE(used.refusal);
    EXPECT_TRUE(used.refusal->text.starts_with("Wall 24 cannot be removed: the maps use it on 436 tiles, map 5 "
                                               "\"Bunker\" at ("))
        << used.refusal->text;
    Browser().ChooseChunk(ChunkOfWall(24));
    Prompts().Press("Find and Replace");
    WhenModal([](QWidget* dialog) {
        EXPECT_EQ(S(Find<QLineEdit>(dialog, "findEdit")->text()), "24");
        EXPECT_EQ(Find<QComboBox>(dialog, "planeList")->currentIndex(), 0);
        EXPECT_TRUE(Checked(dialog, "allMapsButton"));
        Finish(dialog);
    });
    Click(&Browser(), "removeButton");
    ASSERT_EQ(Prompts().Records().size(), 1u);
    EXPECT_EQ(Prompts().Records()[0].text, used.refusal->text);
    EXPECT_EQ(Prompts().Records()[0].choices, (std::vector<std::string>{"Find and Replace", "OK"}));
    EXPECT_TRUE(pages.Pages() == before);

    // Wall 23 is unused: the question, then the page file and the maps together.
    Browser().ChooseChunk(ChunkOfWall(23));
    Prompts().Press("Renumber");
    Click(&Browser(), "removeButton");
    ASSERT_EQ(Prompts().Records().size(), 2u);
    EXPECT_EQ(Prompts().Records()[1].text, *PlanWallMove(before, maps, 23, WallMove::Remove).question);
    EXPECT_TRUE(Prompts().Records()[1].text.starts_with(
        "Removing wall 23 moves walls 24 to 26 one place down: renumber the maps' words so that they keep their "
        "walls, or cancel?"));
    EXPECT_EQ(Prompts().Records()[1].choices, (std::vector<std::string>{"Renumber", "Cancel"}));
    MapHandler renumbered = maps;
    ShiftWallWords(renumbered, 24, 26, -1);
    EXPECT_EQ(wordsOf(Editor().Session()->Maps()), wordsOf(renumbered));
    EXPECT_EQ(pages.Pages().ChunkCount(), before.ChunkCount() - 2);
    EXPECT_TRUE(ShownTitle().ends_with("*"));

    Click(&Browser(), "undoButton");
    EXPECT_TRUE(pages.Pages() == before);
    EXPECT_EQ(wordsOf(Editor().Session()->Maps()), wordsOf(maps));
    EXPECT_TRUE(Prompts().Finished()) << Prompts().Unfinished();
}

TEST_F(PageBrowser, AReplacedWallAutosavedIsOfferedBackWhenTheEditorIsStartedAgain)
{
    UseUserFolders();
    ASSERT_TRUE(Editor().OpenProject(true, Game()));
    Editor().Action("gamePicturesAction")->trigger();
    Browser().ChooseChunk(0);
    Prompts().File(Flat(77));
    Click(&Browser(), "replaceButton");
    const PageSet replaced = Editor().Pages()->Document()->Pages();
    const fs::path file = RecoveryFilePath(RecoveryRoot(), Game());
    Editor().Autosave();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(KeptFilePath(file, "vswap")); }));
    EXPECT_FALSE(fs::exists(file)) << "the maps had no change";
    Recreate(); // gone as if killed: nothing asked, nothing saved

    Prompts().Answer(Answer::Yes);
    ASSERT_TRUE(Editor().OpenProject(true, Game()));
    ASSERT_EQ(Prompts().Records().size(), 1u);
    EXPECT_TRUE(Prompts().Records()[0].text.starts_with("Unsaved changes to VSWAP.WL6 were autosaved at "))
        << Prompts().Records()[0].text;
    EXPECT_TRUE(Editor().Pages()->Document()->Pages() == replaced);
    EXPECT_TRUE(Editor().Changed());
    EXPECT_TRUE(ShownTitle().ends_with("*"));
    EXPECT_EQ(ReadFile(Game() / "VSWAP.WL6"), PagesWithASound()) << "the page file waits for a save";
}
