// The painted map view, pixel by pixel: the picture enlarged without
// smoothing at every zoom position, the grid's lines, the wheel, and planes
// and types that the view options hide.

#include "EditorFixture.h"

#include "editor/MapRenderer.h"
#include "editor/ui/MapView.h"
#include "editor/ui/SidePanel.h"

#include <QApplication>
#include <QListWidget>
#include <QPaintEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

using namespace tsl;
using namespace tsl::test;

namespace {

// The paint area's pixels in `area` (in paint-area coordinates), as painted.
QImage Painted(MapPaintArea* paint, const QRect& area)
{
    QImage out(area.size(), QImage::Format_RGB32);
    out.fill(Qt::magenta);
    paint->render(&out, QPoint(), QRegion(area));
    return out;
}

// Unchecks the view options item with this text and closes the dialog with OK.
void UncheckViewOption(const QString& text)
{
    WhenModal([text](QWidget* dialog) {
        bool found = false;
        for (QListWidget* list : dialog->findChildren<QListWidget*>())
            for (int i = 0; i < list->count(); ++i)
                if (list->item(i)->text() == text) {
                    list->item(i)->setCheckState(Qt::Unchecked);
                    found = true;
                }
        EXPECT_TRUE(found) << S(text);
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == "OK")
                button->click();
    });
}

// The regions a widget repaints.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

} // namespace

TEST(MapPaintArea, MovingTheOutlineOrThePreviewRepaintsOnlyTheOldAndTheNewPlace)
{
    QImage map(64 * 8, 64 * 8, QImage::Format_RGB32);
    map.fill(Qt::darkGreen);
    QImage block(3 * 8, 2 * 8, QImage::Format_RGB32);
    block.fill(Qt::red);
    MapPaintArea area;
    area.SetPicture(map, 2); // 16-pixel tiles
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    area.SetPreview(block, QPoint(2, 3));
    QApplication::processEvents();

    PaintRecorder recorder(&area);
    area.SetPreview(block, QPoint(10, 4));
    QApplication::processEvents();
    EXPECT_EQ(recorder.painted, QRegion(QRect(32, 48, 48, 32)).united(QRect(160, 64, 48, 32)));
    const QImage shot = area.grab().toImage();
    EXPECT_EQ(shot.pixel(160 + 47, 64 + 31), qRgb(255, 0, 0)) << "enlarged twice, like the map";
    EXPECT_EQ(shot.pixel(32, 48), QColor(Qt::darkGreen).rgb());

    recorder.painted = QRegion();
    area.SetPreview(QImage(), std::nullopt);
    area.SetOutline(TileRect{5, 5, 6, 5});
    QApplication::processEvents();
    EXPECT_EQ(recorder.painted, QRegion(QRect(160, 64, 48, 32)).united(QRect(80, 80, 32, 16)));
    recorder.painted = QRegion();
    area.SetOutline(TileRect{5, 5, 6, 5}); // unchanged: nothing to repaint
    QApplication::processEvents();
    EXPECT_TRUE(recorder.painted.isEmpty());
}

TEST_F(EditorFixture, EveryZoomPositionEnlargesThePictureWithoutSmoothing)
{
    OpenSample();
    auto& editor = Editor();
    MapPaintArea* area = editor.View()->PaintArea();
    const Image& view = editor.ViewImage();
    for (int position = 0; position <= 4; ++position) {
        editor.Panel()->ZoomSlider()->setValue(position);
        const int f = editor.ZoomFactor();
        EXPECT_EQ(f, position == 0 ? 1 : 2 * position);
        EXPECT_EQ(area->size(), QSize(512 * f, 512 * f));
        // A stretch of the map around tile (10, 20), painted alone.
        const QRect region(10 * 8 * f - 5, 20 * 8 * f - 3, 8 * f * 3 + 7, 8 * f * 2 + 5);
        const QImage painted = Painted(area, region);
        for (int y = 0; y < region.height(); ++y)
            for (int x = 0; x < region.width(); ++x) {
                const int px = (region.x() + x) / f;
                const int py = (region.y() + y) / f;
                ASSERT_EQ(painted.pixel(x, y) & 0xFFFFFF, view.Pixel(px, py) & 0xFFFFFF)
                    << "zoom " << f << " at " << region.x() + x << "," << region.y() + y;
            }
    }
}

TEST_F(EditorFixture, TheGridHasALineOnEveryTileButNoneClosingTheEdges)
{
    OpenSample();
    auto& editor = Editor();
    editor.Action("mapGridAction")->trigger();
    ASSERT_TRUE(editor.View()->PaintArea()->Grid());
    const QRgb grey = qRgb(0x80, 0x80, 0x80);
    for (int position : {0, 2}) {
        editor.Panel()->ZoomSlider()->setValue(position);
        const int c = 8 * editor.ZoomFactor();
        MapPaintArea* area = editor.View()->PaintArea();
        const int w = area->width();
        const QImage painted = Painted(area, area->rect());
        for (int x : {0, c, 5 * c, w - c})
            for (int y : {1, 3 * c + 2, w - 2})
                EXPECT_EQ(painted.pixel(x, y), grey) << "column " << x << " zoom " << c;
        for (int y : {0, c, 7 * c})
            EXPECT_EQ(painted.pixel(c + 1, y), grey) << "row " << y;
        // Beside the lines, and along the right and bottom edges, the map.
        const Image& view = editor.ViewImage();
        const int f = editor.ZoomFactor();
        for (int y = 1; y < w; y += c) {
            EXPECT_EQ(painted.pixel(w - 1, y) & 0xFFFFFF, view.Pixel((w - 1) / f, y / f) & 0xFFFFFF);
            EXPECT_EQ(painted.pixel(y, w - 1) & 0xFFFFFF, view.Pixel(y / f, (w - 1) / f) & 0xFFFFFF);
        }
    }
    // The grid is never in the picture itself: switching it off leaves the
    // picture as it was.
    const Image withGrid = editor.ViewImage();
    editor.Action("mapGridAction")->trigger();
    EXPECT_FALSE(editor.View()->PaintArea()->Grid());
    EXPECT_EQ(editor.ViewImage(), withGrid);
}

TEST_F(EditorFixture, TheWheelMovesTheVerticalBarByOneLine)
{
    OpenSample();
    auto& editor = Editor();
    editor.Panel()->ZoomSlider()->setValue(4);
    QScrollBar* bar = editor.View()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    QWheelEvent down(QPointF(20, 20), QPointF(20, 20), QPoint(), QPoint(0, -360), Qt::NoButton, {},
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(editor.View()->viewport(), &down);
    EXPECT_EQ(bar->value(), bar->singleStep()) << "one line, whatever the distance";
    QWheelEvent up(QPointF(20, 20), QPointF(20, 20), QPoint(), QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase,
                   false);
    QApplication::sendEvent(editor.View()->viewport(), &up);
    QApplication::sendEvent(editor.View()->viewport(), &up);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(editor.View()->horizontalScrollBar()->value(), 0);
}

TEST_F(EditorFixture, HiddenPlanesAndTypesDisappearFromTheView)
{
    OpenSample();
    auto& editor = Editor();
    Project& project = *editor.CurrentProject();
    const MapList& map = project.Maps.Current();
    // A tile with an object, and a wall tile.
    int ox = -1, oy = -1, wx = -1, wy = -1;
    for (int y = 0; y < map.Height; ++y)
        for (int x = 0; x < map.Width; ++x) {
            if (map.Word(1, x, y) >= 23 && map.Word(1, x, y) <= 70 && ox < 0)
                ox = x, oy = y;
            if (map.Word(0, x, y) == 1 && wx < 0)
                wx = x, wy = y;
        }
    ASSERT_GE(ox, 0);
    ASSERT_GE(wx, 0);

    // What plane 0 alone draws at the object's tile.
    Image floorOnly;
    std::vector<PlaneDisplay> display = project.Display();
    display[1].Show = false;
    RedrawMap(floorOnly, map, project.Symbols, display, kIntMode);
    const Image before = editor.ViewImage();
    auto tileDiffers = [&](const Image& a, const Image& b, int x, int y) {
        for (int dy = 0; dy < 8; ++dy)
            for (int dx = 0; dx < 8; ++dx)
                if (a.Pixel(8 * x + dx, 8 * y + dy) != b.Pixel(8 * x + dx, 8 * y + dy))
                    return true;
        return false;
    };
    ASSERT_TRUE(tileDiffers(before, floorOnly, ox, oy)) << "the object shows before";

    UncheckViewOption("Show Objects and Actors");
    editor.Action("mapViewOptionsAction")->trigger();
    EXPECT_FALSE(project.Settings->ReadBool("ShowPlanes", "1", true));
    EXPECT_FALSE(tileDiffers(editor.ViewImage(), floorOnly, ox, oy)) << "the object is gone";
    const QImage painted = Painted(editor.View()->PaintArea(), QRect(8 * ox, 8 * oy, 8, 8));
    EXPECT_EQ(painted.pixel(3, 3) & 0xFFFFFF, floorOnly.Pixel(8 * ox + 3, 8 * oy + 3) & 0xFFFFFF);

    // Walls switched off: their tiles turn black.
    UncheckViewOption("Show Wall");
    editor.Action("mapViewOptionsAction")->trigger();
    for (int dy = 0; dy < 8; ++dy)
        for (int dx = 0; dx < 8; ++dx)
            ASSERT_EQ(editor.ViewImage().Pixel(8 * wx + dx, 8 * wy + dy), kBlackPixel);
    // The type list is written back once the dialog has closed.
    const Bytes types = ReadFile(App().MapDefs() / "WL6" / "mapsymboltypes.txt");
    EXPECT_NE(std::string(types.begin(), types.end()).find("w,Wall,0\r\n"), std::string::npos);
}

TEST_F(EditorFixture, RedrawTileRepaintsOnlyThatTile)
{
    // The rectangles that reach the paint area's paint events.
    struct PaintRecorder : QObject {
        std::vector<QRect> rects;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                rects.push_back(static_cast<QPaintEvent*>(event)->rect());
            return false;
        }
    } recorder;
    OpenSample();
    auto& editor = Editor();
    editor.Panel()->ZoomSlider()->setValue(2);
    MapPaintArea* area = editor.View()->PaintArea();
    QApplication::processEvents(); // the repaints of opening and zooming
    MapList& map = editor.CurrentProject()->Maps.Current();
    map.SetWord(0, 4, 4, 0); // "Nothing": a black tile
    area->installEventFilter(&recorder);
    editor.RedrawTile(4, 4);
    QApplication::processEvents();
    area->removeEventFilter(&recorder);
    const int c = 8 * editor.ZoomFactor();
    ASSERT_FALSE(recorder.rects.empty());
    for (const QRect& rect : recorder.rects)
        EXPECT_TRUE(QRect(4 * c, 4 * c, c, c).contains(rect)) << rect.x() << "," << rect.y() << " " << rect.width();
    const QImage painted = Painted(area, QRect(4 * c, 4 * c, c, c));
    EXPECT_EQ(painted.pixel(c / 2, c / 2) & 0xFFFFFF, 0u);
}
