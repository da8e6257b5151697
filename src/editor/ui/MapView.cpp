#include "editor/ui/MapView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace tsl {

namespace {
const QColor kGridColour(0x80, 0x80, 0x80);
constexpr int kTilePixels = 8;
} // namespace

MapPaintArea::MapPaintArea(QWidget* parent) : QWidget(parent)
{
    setObjectName("mapPaintArea");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent); // every exposed pixel is painted
}

void MapPaintArea::SetPicture(const QImage& picture, int factor)
{
    picture_ = picture;
    factor_ = std::max(factor, 1);
    const QSize size(picture_.width() * factor_, picture_.height() * factor_);
    if (size != this->size())
        resize(size);
    update();
}

void MapPaintArea::SetGrid(bool on)
{
    if (grid_ == on)
        return;
    grid_ = on;
    update();
}

void MapPaintArea::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect().intersected(rect());
    if (exposed.isEmpty() || picture_.isNull())
        return;
    const int f = factor_;
    // The picture pixels under the exposed rectangle, whole pixels only.
    const int x0 = exposed.left() / f;
    const int y0 = exposed.top() / f;
    const int x1 = std::min((exposed.right() + f) / f, picture_.width());
    const int y1 = std::min((exposed.bottom() + f) / f, picture_.height());
    const QRect source(x0, y0, x1 - x0, y1 - y0);
    const QRect target(x0 * f, y0 * f, source.width() * f, source.height() * f);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, picture_, source);

    if (!grid_)
        return;
    // A line on the first pixel of every tile, none closing the right and
    // bottom edges.
    const int c = kTilePixels * f;
    const int w = width();
    const int h = height();
    painter.setPen(QPen(kGridColour, 1));
    for (int x = (exposed.left() / c) * c; x <= exposed.right() && x < w; x += c)
        painter.drawLine(x, exposed.top(), x, std::min(exposed.bottom(), h - 1));
    for (int y = (exposed.top() / c) * c; y <= exposed.bottom() && y < h; y += c)
        painter.drawLine(exposed.left(), y, std::min(exposed.right(), w - 1), y);
}

void MapPaintArea::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

MapView::MapView(QWidget* parent) : QScrollArea(parent), area_(new MapPaintArea)
{
    setObjectName("mapView");
    setWidget(area_);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setBackgroundRole(QPalette::Dark);
}

void MapView::wheelEvent(QWheelEvent* event)
{
    QScrollBar* bar = verticalScrollBar();
    const int step = bar->singleStep();
    if (event->angleDelta().y() > 0)
        bar->setValue(std::max(bar->value() - step, 0));
    else if (event->angleDelta().y() < 0)
        bar->setValue(std::min(bar->value() + step, bar->maximum()));
    event->accept();
}

} // namespace tsl
