// "Game Graphics" in the window: the toggle and its remembered setting, a
// game without a page file or with a damaged one, the view painting the
// game's pictures, and Save Map As BMP drawing what the view draws. What
// each word shows is the renderer's business and tested there.

#include "EditorFixture.h"

#include "editor/render/GameGraphics.h"
#include "editor/render/GameMapRenderer.h"
#include "GraphicsTestUtil.h"

#include "editor/ui/views/MapView.h"
#include "editor/ui/views/SidePanel.h"
#include "mapdefs/GraphicsSettings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QSlider>
#include <QTest>

using namespace tsl;
using namespace tsl::test;

namespace {

// Walls 0 to 3, the eight door chunks empty, no sprites: word 1 shows wall
// chunk 0 and word 2 chunk 2.
Bytes SamplePageFile()
{
    std::vector<Bytes> chunks = {TestWall(5), TestWall(9), TestWall(13), TestWall(17)};
    chunks.resize(12);
    return TestPageFile(chunks, 12, 12);
}

// The first tile of map 1 holding word `value` on plane 0 and nothing on plane 1.
QPoint TileOf(const MapList& map, std::uint16_t value)
{
    for (int y = 0; y < map.Height; ++y)
        for (int x = 0; x < map.Width; ++x)
            if (map.Word(0, x, y) == value && map.Word(1, x, y) == 0)
                return {x, y};
    ADD_FAILURE() << "no tile with " << value;
    return {};
}

class GameGraphicsView : public EditorFixture {
protected:
    // The sample game with a page file of its own.
    fs::path GameWithPages(const Bytes& pages)
    {
        const fs::path dir = App().CopySampleGame("with-pages");
        WriteFile(dir / "VSWAP.WL6", pages);
        return dir;
    }
    QAction* Toggle() { return Editor().Action("gameGraphicsAction"); }
    MapPaintArea* Area() { return Editor().View()->PaintArea(); }
    // The "Show game graphics" box of Map View Options, as `check` finds it.
    void InViewOptions(std::function<void(QCheckBox*)> check)
    {
        WhenModal([check](QWidget* dialog) {
            if (auto* box = Find<QCheckBox>(dialog, "gameGraphicsCheck"))
                check(box);
            Click(dialog, "okButton");
            Finish(dialog);
        });
        Editor().Action("mapViewOptionsAction")->trigger();
    }
};

} // namespace

TEST_F(GameGraphicsView, IsOnForAGameWithAPageFileAndTheToggleIsRemembered)
{
    const fs::path game = GameWithPages(SamplePageFile());
    ASSERT_TRUE(Editor().OpenProject(true, game));
    EXPECT_TRUE(Prompts().Records().empty());
    ASSERT_NE(Editor().Graphics(), nullptr);
    EXPECT_TRUE(Toggle()->isEnabled());
    EXPECT_TRUE(Toggle()->isChecked()) << "on when never set";
    EXPECT_EQ(S(Toggle()->shortcut().toString()), "Ctrl+Alt+G");
    EXPECT_TRUE(Area()->Painted());
    EXPECT_EQ(Editor().Panel()->PictureSize(), 32);
    EXPECT_EQ(Editor().Panel()->TileRow(0).picture->size(), QSize(32, 32));

    Toggle()->trigger();
    EXPECT_FALSE(Editor().GameGraphicsShown());
    EXPECT_FALSE(Area()->Painted());
    EXPECT_EQ(Editor().Panel()->PictureSize(), 8);
    EXPECT_EQ(ReadGraphicsSettings(*Editor().CurrentProject()->Settings).GameGraphics, false);

    // A new window opens the game as it was left; the box in Map View
    // Options switches the pictures on again.
    Recreate();
    ASSERT_TRUE(Editor().OpenProject(true, game));
    EXPECT_FALSE(Toggle()->isChecked());
    InViewOptions([](QCheckBox* box) {
        EXPECT_TRUE(box->isEnabled());
        EXPECT_FALSE(box->isChecked());
        box->click();
    });
    EXPECT_TRUE(Editor().GameGraphicsShown());
    EXPECT_TRUE(Area()->Painted());
    EXPECT_EQ(ReadGraphicsSettings(*Editor().CurrentProject()->Settings).GameGraphics, true);
}

TEST_F(GameGraphicsView, WithoutAPageFileOrWithADamagedOneTheToggleIsDisabledAndSaysWhy)
{
    OpenSample();
    EXPECT_EQ(Editor().Graphics(), nullptr);
    EXPECT_FALSE(Toggle()->isEnabled());
    EXPECT_FALSE(Toggle()->isChecked());
    EXPECT_NE(S(Toggle()->toolTip()).find("There is no page file \"VSWAP.WL6\""), std::string::npos)
        << S(Toggle()->toolTip());
    EXPECT_FALSE(Area()->Painted()) << "symbols, as without the mode";
    InViewOptions([](QCheckBox* box) {
        EXPECT_FALSE(box->isEnabled());
        EXPECT_FALSE(box->isChecked());
    });
    EXPECT_TRUE(Prompts().Records().empty());

    // A damaged page file is said once, when the game opens.
    Bytes damaged = SamplePageFile();
    damaged.resize(damaged.size() - 100);
    ASSERT_TRUE(Editor().OpenProject(true, GameWithPages(damaged)));
    ASSERT_EQ(Prompts().Records().size(), 1u);
    EXPECT_EQ(Prompts().Records()[0].caption, kGraphicsErrorCaption);
    EXPECT_NE(Prompts().Records()[0].text.find("VSWAP.WL6"), std::string::npos);
    EXPECT_FALSE(Toggle()->isEnabled());
    EXPECT_EQ(S(Toggle()->toolTip()), "Game Graphics (Ctrl+Alt+G)\n" + Prompts().Records()[0].text);
    Editor().Panel()->ZoomSlider()->setValue(4);
    Editor().View()->repaint();
    EXPECT_EQ(Prompts().Records().size(), 1u);
}

TEST_F(GameGraphicsView, PaintsAWallAsItsChunkThePencilRepaintsItsTileAndTheBitmapIsTheView)
{
    ASSERT_TRUE(Editor().OpenProject(true, GameWithPages(SamplePageFile())));
    Editor().Panel()->ZoomSlider()->setValue(4);
    const GameGraphics& graphics = *Editor().Graphics();
    const QPoint tile = TileOf(Editor().Session()->Maps().Current(), 1);
    const QRect cell(tile * 64, QSize(64, 64));
    // Pixel (x, y) of a tile is row y of wall column x.
    auto expectWall = [&](int chunk) {
        const QImage painted = Painted(Area(), cell);
        const auto wall = graphics.Pages.Wall(chunk);
        for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {5, 17}, {40, 63}, {63, 63}})
            EXPECT_EQ(painted.pixel(x, y) & 0xFFFFFF,
                      RgbOf(graphics.Colours[wall[static_cast<std::size_t>(x * 64 + y)]]))
                << "chunk " << chunk << " at " << x << "," << y;
    };
    expectWall(0);

    // The pencil's word on the screen: that tile alone is painted again.
    Editor().Session()->SetButtonValue(PointerButton::Left, 2);
    Editor().View()->ensureVisible(cell.center().x(), cell.center().y(), 100, 100);
    QApplication::processEvents();
    PaintRecorder recorder(Area());
    QTest::mouseClick(Area(), Qt::LeftButton, {}, cell.center());
    QApplication::processEvents();
    EXPECT_EQ(Editor().Session()->Maps().Current().Word(0, tile.x(), tile.y()), 2);
    EXPECT_EQ(recorder.painted, QRegion(cell));
    expectWall(2);

    // Save Map As BMP draws the game's pictures at the view's zoom.
    Editor().Panel()->ZoomSlider()->setValue(1); // 2x: 16 pixels a tile
    TempDir out;
    Prompts().File(out / "map.bmp");
    Editor().Action("saveMapAsBmpAction")->trigger();
    const Image written = DecodeBmp(ReadFile(out / "map.bmp"));
    ASSERT_EQ(written.width, 64 * 16);
    ASSERT_EQ(written.height, 64 * 16);

    // The whole map as the renderer draws it at the same zoom.
    const Project& project = *Editor().CurrentProject();
    GameMapRenderer renderer(Editor().Graphics());
    renderer.SetRules(project.Rules.Rules);
    const auto expected = renderer.RenderMap(project.Maps().Current(), project.Symbols, project.Display(), kIntMode, 2);
    ASSERT_TRUE(expected);
    for (int y = 0; y < written.height; y += 5)
        for (int x = 0; x < written.width; x += 7)
            ASSERT_EQ(RgbOf(written.Pixel(x, y)), RgbOf(expected->Pixel(x, y))) << x << "," << y;
}
