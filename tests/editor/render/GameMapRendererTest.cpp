// The map drawn with the game's own pictures: exact at 8x, reduced by
// averaging below, symbols wherever a word has no picture.

#include "EditorTestUtil.h"
#include "GraphicsTestUtil.h"
#include "editor/render/GameMapRenderer.h"
#include "editor/render/MarkerBadges.h"
#include "engine/LevelAnalysis.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

constexpr std::uint8_t kBlackIndex = 10, kWhiteIndex = 11;
const std::string kPattern0 = "0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF";
const std::string kPattern1 = "F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0";

Palette TestPalette()
{
    Palette palette;
    for (std::uint32_t i = 0; i < 256; ++i)
        palette.colours[i] = kOpaque | i << 16 | (255 - i) << 8 | ((i * 7) & 0xFF);
    palette.colours[kBlackIndex] = kBlackPixel;
    palette.colours[kWhiteIndex] = kWhitePixel;
    return palette;
}

// Even columns black, odd columns white.
Bytes StripedWall()
{
    Bytes wall(4096);
    for (int c = 0; c < 64; ++c)
        std::fill_n(wall.begin() + c * 64, 64, c % 2 ? kWhiteIndex : kBlackIndex);
    return wall;
}

// Walls 0 (TestWall(5)), 1 (striped), 2 (empty); the door chunks 3 to 10;
// sprite 0 (three columns of posts) and sprite 1 (empty).
std::shared_ptr<const GameGraphics> TestGraphics()
{
    std::vector<Bytes> chunks = {TestWall(5), StripedWall(), {}};
    for (int door = 0; door < 8; ++door)
        chunks.push_back(TestWall(100 + door));
    chunks.push_back(TestSprite(0, 63, {{0, {{0, 3, TestPixels(3, 40)}}}, {20, {{10, 50, TestPixels(40, 60)}}},
                                        {63, {{60, 64, TestPixels(4, 200)}}}}));
    chunks.push_back({});
    auto pages = PageFile::Parse(TestPageFile(chunks, 11, 13), "VSWAP.TST");
    auto pictures = PictureTable::Parse("0,1,wall,0\n0,2,wall,2\n0,3,wall,1\n0,90,door,1\n0,108,floor,1\n"
                                        "1,23,sprite,0\n1,24,sprite,1\n1,108,actor,0,e,1\n",
                                        "pictures.txt");
    EXPECT_TRUE(pages && pictures);
    return std::make_shared<const GameGraphics>(GameGraphics{std::move(*pages), TestPalette(), std::move(*pictures), {}, {}});
}

SymbolTables TestTables(bool wallsShown = true)
{
    const std::string none(64, '0');
    auto tables = SymbolTables::FromLines(
        {{"0,Nothing," + none + ",ot,0", "2,Two," + kPattern0 + ",w,0", "1,One," + std::string(64, '9') + ",w,0",
          "108,Floor," + none + ",ot,0"},
         {"0,Nothing," + none + ",ot,0", "24,Thing," + kPattern1 + ",ot,0"}},
        {"ot,Other,1", std::string("w,Wall,") + (wallsShown ? "1" : "0")});
    EXPECT_TRUE(tables);
    return std::move(*tables);
}

//            x: 0  1  2    3
MapList TestMap()
{
    return GridMap(4, 2, {{1, 2, 108, 90, /**/ 3, 1, 108, 108}, {0, 0, 23, 0, /**/ 0, 24, 108, 0}});
}

const std::vector<PlaneDisplay> kShown = {{true, false}, {true, false}};

Image Render(GameMapRenderer& renderer, int factor, const SymbolTables& tables, const MapList& map = TestMap(),
             const std::vector<PlaneDisplay>& display = kShown)
{
    auto image = renderer.RenderMap(map, tables, display, kIntMode, factor);
    EXPECT_TRUE(image);
    return image ? std::move(*image) : Image();
}

// The symbol pattern of `value` of `plane`, enlarged to `side`.
std::uint32_t SymbolPixel(const SymbolTables& tables, int plane, int value, int side, int x, int y)
{
    const int index = *tables.FindSymbol(plane, value);
    return tables.PatternSheet(plane).Pixel(SheetX(index) + x * 8 / side, SheetY(index) + y * 8 / side);
}

} // namespace

TEST(GameMapRenderer, DrawsEachTileAt8xAsItsPictureOrItsSymbol)
{
    const auto graphics = TestGraphics();
    GameMapRenderer renderer(graphics);
    const SymbolTables tables = TestTables();
    const Image view = Render(renderer, 8, tables);
    ASSERT_EQ(view.width, 4 * 64);
    ASSERT_EQ(view.height, 2 * 64);
    const Palette palette = TestPalette();
    const Bytes wall = TestWall(5), door = TestWall(101); // word 90: door chunk 1
    const Sprite& sprite = *graphics->Pages.SpriteAt(0);
    // Tile (3, 1) is bare floor: flat, near the floor colour, but tinted.
    const std::uint32_t floor = view.Pixel(3 * 64, 64);
    const std::uint32_t grey = graphics->Colours[25];
    EXPECT_NE(floor, grey);
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(static_cast<int>((floor >> shift) & 0xFF), static_cast<int>((grey >> shift) & 0xFF), 24);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const auto at = static_cast<std::size_t>(x * 64 + y); // chunks hold columns
            ASSERT_EQ(view.Pixel(x, y), palette[wall[at]]) << x << "," << y;
            ASSERT_EQ(view.Pixel(3 * 64 + x, y), palette[door[at]]) << x << "," << y;
            ASSERT_EQ(view.Pixel(3 * 64 + x, 64 + y), floor);
            // The sprite's opaque pixels over the floor.
            const std::uint32_t expected = sprite.Opaque(x, y) ? graphics->Colours[sprite.Pixel(x, y)] : floor;
            ASSERT_EQ(view.Pixel(2 * 64 + x, y), expected) << x << "," << y;
            // Plane 0, word 2 (empty wall chunk 2): its symbol.
            ASSERT_EQ(view.Pixel(64 + x, y), SymbolPixel(tables, 0, 2, 64, x, y)) << x << "," << y;
            // Plane 1, word 24 (empty sprite 1) over wall 0: black lets the wall through.
            const std::uint32_t symbol = SymbolPixel(tables, 1, 24, 64, x, y);
            ASSERT_EQ(view.Pixel(64 + x, 64 + y), symbol == kBlackPixel ? palette[wall[at]] : symbol) << x << "," << y;
        }
    // The standing actor at (2, 1) faces east (a white arrow at the right
    // edge) and appears on every level (a lime top-left corner).
    EXPECT_EQ(view.Pixel(2 * 64 + 56, 64 + 32), kWhitePixel);
    EXPECT_EQ(view.Pixel(2 * 64 + 1, 64 + 1), 0xFF00FF00u);
    EXPECT_FALSE(renderer.HasPicture(0, 2));
    EXPECT_FALSE(renderer.HasPicture(1, 24));
    EXPECT_TRUE(renderer.HasPicture(0, 1));
    EXPECT_TRUE(renderer.HasPicture(0, 108));
    EXPECT_TRUE(renderer.HasPicture(1, 23));
    EXPECT_FALSE(renderer.HasPicture(1, 1));
}

TEST(GameMapRenderer, ReducesPicturesByAveraging)
{
    GameMapRenderer renderer(TestGraphics());
    const SymbolTables tables = TestTables();
    // Word 3 is the striped wall: at 1x each pixel averages four black and
    // four white columns; at 6x every pixel still mixes both.
    const Image small = Render(renderer, 1, tables);
    for (int y = 8; y < 16; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(small.Pixel(x, y), 0xFF808080u) << x << "," << y;
    const Image six = Render(renderer, 6, tables);
    for (int y = 48; y < 96; ++y)
        for (int x = 0; x < 48; ++x)
            ASSERT_TRUE(six.Pixel(x, y) != kBlackPixel && six.Pixel(x, y) != kWhitePixel) << x << "," << y;
    // Each picture once per tile size.
    const std::size_t tile = 48 * 48 * 4;
    EXPECT_EQ(renderer.CacheBytes(6), 5 * tile) << "walls 0, 1, door 1, sprite 0 and one actor's marks";
    EXPECT_EQ(renderer.CacheBytes(1), 5 * 8 * 8 * 4u);
    EXPECT_EQ(renderer.CacheBytes(8), 0u);
    EXPECT_EQ(renderer.CacheBytes(), renderer.CacheBytes(6) + renderer.CacheBytes(1));
}

TEST(GameMapRenderer, PaintsOnlyTheRectangleAskedFor)
{
    GameMapRenderer renderer(TestGraphics());
    const SymbolTables tables = TestTables();
    for (int factor : {8, 6, 1}) {
        const Image whole = Render(renderer, factor, tables);
        GameMapRenderer painter(TestGraphics());
        // Reaching past the map's left and bottom edges: black there.
        Image part(150, 90, 0xFF123456u);
        painter.Paint(part, -20, whole.height - 60, factor, TestMap(), tables, kShown, kIntMode);
        for (int y = 0; y < part.height; ++y)
            for (int x = 0; x < part.width; ++x)
                ASSERT_EQ(part.Pixel(x, y), whole.Pixel(x - 20, whole.height - 60 + y)) << factor << ": " << x << "," << y;
    }
    GameMapRenderer one(TestGraphics());
    Image corner(64, 64);
    one.Paint(corner, 0, 0, 8, TestMap(), tables, kShown, kIntMode);
    EXPECT_EQ(one.CacheBytes(8), 64 * 64 * 4u) << "one wall";
}

TEST(GameMapRenderer, KeepsTheRulesOfTheSymbolView)
{
    // Without graphics: the symbol view, enlarged.
    GameMapRenderer symbols;
    const SymbolTables tables = TestTables();
    Image expected;
    RedrawMap(expected, TestMap(), tables, kShown, kIntMode);
    EXPECT_EQ(Render(symbols, 2, tables), Enlarge(expected, 2));

    // The type filter hides pictures too; a split plane shows symbols.
    GameMapRenderer renderer(TestGraphics());
    const SymbolTables hidingWalls = TestTables(false);
    const Image filtered = Render(renderer, 8, hidingWalls);
    EXPECT_EQ(filtered.Pixel(10, 10), kBlackPixel) << "a hidden wall";
    const std::vector<PlaneDisplay> split = {{true, true}, {true, false}};
    const Image splitView = Render(renderer, 8, tables, TestMap(), split);
    EXPECT_EQ(splitView.Pixel(10, 10), SymbolPixel(tables, 0, 0, 64, 10, 10)) << "whole-word mode shows 0";
}

TEST(GameMapRenderer, GivesOneWordsPictureAtAnySize)
{
    GameMapRenderer renderer(TestGraphics());
    const SymbolTables tables = TestTables();
    const Image wall = renderer.WordPicture(0, 3, 32, tables);
    EXPECT_EQ(wall.width, 32);
    EXPECT_EQ(wall.Pixel(5, 7), 0xFF808080u) << "two columns averaged";
    const Image symbol = renderer.WordPicture(0, 2, 32, tables);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(symbol.Pixel(x, y), SymbolPixel(tables, 0, 2, 32, x, y));
    const Image sprite = renderer.WordPicture(1, 23, 64, tables, 0xFF123456u);
    EXPECT_EQ(sprite.Pixel(30, 30), 0xFF123456u) << "transparent: the background";
    EXPECT_EQ(sprite.Pixel(20, 10), TestPalette()[60]);
    EXPECT_EQ(renderer.WordPicture(0, 3, 32, tables, kBlackPixel, true), renderer.WordPicture(5, 3, 32, tables))
        << "a split plane's value has no picture; a plane beyond the tables draws nothing";
}

TEST(GameMapRenderer, MarkersKeepTheFloorAndTheWallUnderTheirBadges)
{
    auto rules = EngineRules::Parse("0,1-3,wall\n0,106,floor,ambush\n0,108,floor\n1,98,pushwall\n"
                                    "1,108,actor,stand,kill,skill=1,facing=e\n",
                                    "engine.txt");
    ASSERT_TRUE(rules);
    GameMapRenderer renderer(TestGraphics());
    renderer.SetRules(std::make_shared<const EngineRules>(*rules));
    const SymbolTables tables = TestTables();
    // A guard on the ambush floor at (1, 1), a push wall at (3, 1) that can
    // go east or west; without the markers: plain floor and a plain wall.
    const MapList marked = GridMap(5, 3, {{1, 1, 1, 1, 1, /**/ 108, 106, 108, 1, 108, /**/ 1, 1, 1, 1, 1},
                                          {0, 0, 0, 0, 0, /**/ 0, 108, 0, 98, 0, /**/ 0, 0, 0, 0, 0}});
    const MapList plain = GridMap(5, 3, {{1, 1, 1, 1, 1, /**/ 108, 108, 108, 1, 108, /**/ 1, 1, 1, 1, 1},
                                         {0, 0, 0, 0, 0, /**/ 0, 108, 0, 0, 0, /**/ 0, 0, 0, 0, 0}});
    ASSERT_EQ(PushWallWays(marked, *rules, 3, 1), 2u | 8u);
    for (int factor : {8, 2}) {
        SCOPED_TRACE(factor);
        const int side = 8 * factor;
        const Image view = Render(renderer, factor, tables, marked);
        const Image expected = Render(renderer, factor, tables, plain);
        const auto ambush = DrawBadge(BadgeKind::Ambush, Facing::None, side);
        const auto pushWall = DrawBadge(BadgeKind::PushWall, Facing::None, side);
        const auto arrows = DrawPushArrows(2u | 8u, side);
        int badged = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const auto at = static_cast<std::size_t>(y * side + x);
                const std::uint32_t floor = view.Pixel(side + x, side + y), wall = view.Pixel(3 * side + x, side + y);
                if (ambush[at] >> 24 == 0) {
                    ASSERT_EQ(floor, expected.Pixel(side + x, side + y)) << x << "," << y;
                } else if (ambush[at] >> 24 == 255) {
                    ASSERT_EQ(floor, ambush[at]) << "the badge over the guard: " << x << "," << y;
                    ++badged;
                }
                if ((pushWall[at] | arrows[at]) >> 24 == 0) {
                    ASSERT_EQ(wall, expected.Pixel(3 * side + x, side + y)) << x << "," << y;
                } else if (arrows[at] >> 24 == 255) {
                    ASSERT_EQ(wall, arrows[at]) << x << "," << y;
                }
            }
        EXPECT_GT(badged, side) << "a badge is drawn";
    }
    // The list's picture of the marker: its badge over the plain floor.
    const Image listed = renderer.WordPicture(0, 106, 32, tables);
    const auto badge = DrawBadge(BadgeKind::Ambush, Facing::None, 32);
    EXPECT_EQ(listed.Pixel(31, 0), TestGraphics()->Colours[25]) << "no badge in the top-right corner";
    EXPECT_EQ(listed.Pixel(6, 25), badge[25 * 32 + 6]);
}

TEST(GameMapRenderer, RefusesAPictureLargerThan16384PixelsASide)
{
    EXPECT_FALSE(CheckPictureSize(16384, 16384));
    const auto failure = CheckPictureSize(20480, 512);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, "The picture would be 20480 x 512 pixels; no side may be larger than 16384 pixels. "
                             "Choose a smaller zoom.");
    EXPECT_EQ(failure->caption, "Picture too large");
}

TEST(GameMapRenderer, APageReplacedIsDrawnAnewAndOnlyItsPicturesAreMadeAgain)
{
    const auto graphics = TestGraphics();
    GameMapRenderer renderer(graphics);
    const SymbolTables tables = TestTables();
    Render(renderer, 6, tables);
    const std::size_t cached = renderer.CacheBytes(6);

    // Wall 0 (words 1 at (0, 0) and (1, 1)) becomes the striped wall.
    auto changed = [&](int chunk, const Bytes& bytes) {
        std::vector<Bytes> chunks = {TestWall(5), StripedWall(), {}};
        for (int door = 0; door < 8; ++door)
            chunks.push_back(TestWall(100 + door));
        chunks.push_back(Bytes(graphics->Pages.ChunkBytes(11).begin(), graphics->Pages.ChunkBytes(11).end()));
        chunks.push_back({});
        chunks[static_cast<std::size_t>(chunk)] = bytes;
        auto pages = PageFile::Parse(TestPageFile(chunks, 11, 13), "VSWAP.TST");
        EXPECT_TRUE(pages);
        return std::make_shared<const GameGraphics>(
            GameGraphics{std::move(*pages), graphics->Colours, graphics->Pictures, graphics->Settings, graphics->Sounds});
    };
    renderer.ReplacePages(changed(0, StripedWall()), 0);
    EXPECT_EQ(renderer.CacheBytes(6), cached - 48 * 48 * 4) << "only wall 0's picture went";
    const Image view = Render(renderer, 8, tables);
    for (int x = 0; x < 64; ++x)
        ASSERT_EQ(view.Pixel(x, 10), x % 2 ? kWhitePixel : kBlackPixel) << x;
    EXPECT_EQ(renderer.CacheBytes(6), cached - 48 * 48 * 4) << "the other pictures stay";
    // Without a chunk (pictures added or removed), every picture goes.
    renderer.ReplacePages(changed(0, TestWall(5)), std::nullopt);
    EXPECT_EQ(renderer.CacheBytes(), 0u);
}
