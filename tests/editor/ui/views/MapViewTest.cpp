// The painted map view, pixel by pixel: the picture enlarged without
// smoothing at every zoom position, the grid's lines, the wheel, and planes
// and types that the view options hide.

#include "EditorFixture.h"

#include "editor/render/MapRenderer.h"
#include "editor/ui/views/MapView.h"
#include "editor/ui/views/SidePanel.h"

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

using namespace tsl;
using namespace tsl::test;

namespace {

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
        Click(dialog, "okButton");
        Finish(dialog);
    });
}

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
    EXPECT_EQ(shot.pixel(160 + 46, 64 + 30), qRgb(255, 0, 0)) << "enlarged twice, like the map, inside its frame";
    EXPECT_EQ(shot.pixel(32, 48), QColor(Qt::darkGreen).rgb());

    recorder.painted = QRegion();
    area.SetPreview(QImage(), std::nullopt);
    area.SetOutline(TileRect{5, 5, 6, 5});
    QApplication::processEvents();
    EXPECT_EQ(recorder.painted, QRegion(QRect(160, 64, 48, 32)).united(QRect(80, 80, 32, 16)));
    recorder.painted = QRegion();
    area.SetOutline(TileRect{5, 5, 6, 5}); // unchanged: nothing to repaint but the marching dashes
    QApplication::processEvents();
    const QRect outline(80, 80, 32, 16);
    EXPECT_TRUE(recorder.painted.subtracted(QRegion(outline).subtracted(outline.adjusted(1, 1, -1, -1))).isEmpty());
}

TEST_F(OpenedEditor, EveryZoomPositionEnlargesThePictureWithoutSmoothing)
{
    MapPaintArea* area = Editor().View()->PaintArea();
    const Image& view = Editor().ViewImage();
    for (int position = 0; position <= 4; ++position) {
        Editor().Panel()->ZoomSlider()->setValue(position);
        const int f = ZoomFactorOf(position);
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

TEST_F(OpenedEditor, TheGridHasALineOnEveryTileButNoneClosingTheEdges)
{
    Editor().Action("mapGridAction")->trigger();
    const QRgb grey = qRgb(0x80, 0x80, 0x80);
    for (int position : {0, 2}) {
        Editor().Panel()->ZoomSlider()->setValue(position);
        const int c = 8 * Editor().ZoomFactor();
        MapPaintArea* area = Editor().View()->PaintArea();
        const int w = area->width();
        const QImage painted = Painted(area, area->rect());
        for (int x : {0, c, 5 * c, w - c})
            for (int y : {1, 3 * c + 2, w - 2})
                EXPECT_EQ(painted.pixel(x, y), grey) << "column " << x << " zoom " << c;
        for (int y : {0, c, 7 * c})
            EXPECT_EQ(painted.pixel(c + 1, y), grey) << "row " << y;
        // Beside the lines, and along the right and bottom edges, the map.
        const Image& view = Editor().ViewImage();
        const int f = Editor().ZoomFactor();
        for (int y = 1; y < w; y += c) {
            EXPECT_EQ(painted.pixel(w - 1, y) & 0xFFFFFF, view.Pixel((w - 1) / f, y / f) & 0xFFFFFF);
            EXPECT_EQ(painted.pixel(y, w - 1) & 0xFFFFFF, view.Pixel(y / f, (w - 1) / f) & 0xFFFFFF);
        }
    }
    // The grid is never in the picture itself: switching it off leaves the
    // picture as it was.
    const Image withGrid = Editor().ViewImage();
    Editor().Action("mapGridAction")->trigger();
    EXPECT_FALSE(Editor().View()->PaintArea()->Grid());
    EXPECT_EQ(Editor().ViewImage(), withGrid);
}

TEST_F(OpenedEditor, TheWheelMovesTheVerticalBarByOneLine)
{
    Editor().Panel()->ZoomSlider()->setValue(4);
    QScrollBar* bar = Editor().View()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    QWheelEvent down(QPointF(20, 20), QPointF(20, 20), QPoint(), QPoint(0, -360), Qt::NoButton, {},
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(Editor().View()->viewport(), &down);
    EXPECT_EQ(bar->value(), bar->singleStep()) << "one line, whatever the distance";
    QWheelEvent up(QPointF(20, 20), QPointF(20, 20), QPoint(), QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase,
                   false);
    QApplication::sendEvent(Editor().View()->viewport(), &up);
    QApplication::sendEvent(Editor().View()->viewport(), &up);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(Editor().View()->horizontalScrollBar()->value(), 0);
}

TEST_F(OpenedEditor, HiddenPlanesAndTypesDisappearFromTheView)
{
    Project& project = *Editor().CurrentProject();
    MapPaintArea* area = Editor().View()->PaintArea();
    // After the dialog the view, on the screen too, is the map drawn with
    // what is shown now, which is not what it showed before.
    auto expectRedrawn = [&](const Image& before) {
        Image expected;
        RedrawMap(expected, project.Maps().Current(), project.Symbols, project.Display(), kIntMode);
        EXPECT_NE(expected, before);
        EXPECT_EQ(Editor().ViewImage(), expected);
        const QImage painted = Painted(area, area->rect());
        for (int y = 0; y < 512; y += 3)
            for (int x = 0; x < 512; x += 3)
                ASSERT_EQ(painted.pixel(x, y) & 0xFFFFFF, expected.Pixel(x, y) & 0xFFFFFF) << x << "," << y;
    };

    Image before = Editor().ViewImage();
    UncheckViewOption("Show Objects and Actors");
    Editor().Action("mapViewOptionsAction")->trigger();
    expectRedrawn(before);

    before = Editor().ViewImage();
    UncheckViewOption("Show Wall");
    Editor().Action("mapViewOptionsAction")->trigger();
    expectRedrawn(before);
}

// The document names the tile an edit changed: the view repaints it alone.
TEST_F(OpenedEditor, AnEditRepaintsOnlyItsTile)
{
    Editor().Panel()->ZoomSlider()->setValue(2);
    MapPaintArea* area = Editor().View()->PaintArea();
    QApplication::processEvents(); // the repaints of opening and zooming
    PaintRecorder recorder(area);
    EditWord(0, 0, 4, 4, 0); // "Nothing": a black tile
    QApplication::processEvents();
    const int c = 8 * Editor().ZoomFactor();
    ASSERT_FALSE(recorder.painted.isEmpty());
    EXPECT_TRUE(QRect(4 * c, 4 * c, c, c).contains(recorder.painted.boundingRect()));
    const QImage painted = Painted(area, QRect(4 * c, 4 * c, c, c));
    EXPECT_EQ(painted.pixel(c / 2, c / 2) & 0xFFFFFF, 0u);
}
