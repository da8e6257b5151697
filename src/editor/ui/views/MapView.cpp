#include "editor/ui/views/MapView.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace tsl {

namespace {

const QColor kGridColour(0x80, 0x80, 0x80);
const QColor kSelectionTint(0x30, 0x90, 0xFF, 72);
const QColor kChangedTint(0xFF, 0xA0, 0x00, 90); // amber: apart from the selection's blue and play's red
constexpr int kTilePixels = 8;
// The camera arrow: nearly a tile long, but never so small that it is lost
// at zoom 1.
constexpr double kArrowTiles = 0.9;
constexpr double kSmallestArrow = 14.0;
constexpr double kDegrees = 3.14159265358979323846 / 180.0;
// The most a painter draws at once: a viewport of 1600 x 1000 in one go,
// a whole enlarged map (a grab) in strips.
constexpr int kStripPixels = 2 << 20;
constexpr int kDash = 4;             // pixels of black, then as many of white
constexpr int kMarchInterval = 150;  // milliseconds per pixel the dashes move
constexpr qreal kHoverWordOpacity = 0.45;

// The ring of pixels along the inside of `area`.
QRegion Frame(const QRect& area)
{
    if (area.isEmpty())
        return {};
    return QRegion(area).subtracted(QRegion(area.adjusted(1, 1, -1, -1)));
}

// Whether a key typed into `widget` is text, which Space must stay for.
bool TakesText(const QObject* widget)
{
    if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
        qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget))
        return true;
    const auto* combo = qobject_cast<const QComboBox*>(widget);
    return combo && combo->isEditable();
}

// Watches Space for the whole application: the key goes to whatever has the
// focus, which need not be the view, while the pointer drags over the view.
class SpaceWatcher : public QObject {
public:
    SpaceWatcher(QWidget* view, bool& held) : QObject(view), view_(view), held_(held)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::ApplicationDeactivate) {
            held_ = false;
            return false;
        }
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() != Qt::Key_Space || !widget || widget->window() != view_->window() || TakesText(widget))
            return false;
        if (!key->isAutoRepeat())
            held_ = type == QEvent::KeyPress;
        // Buttons and drop-down lists keep Space for their own use.
        return !qobject_cast<QAbstractButton*>(widget) && !qobject_cast<QComboBox*>(widget) &&
               (widget == view_ || view_->isAncestorOf(widget));
    }

private:
    QWidget* view_;
    bool& held_;
};

int FloorDiv(int value, int divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// Draws the part of `image` (enlarged f times, its top-left corner on
// `origin`) that falls into `exposed`, whole image pixels only: the cost
// follows the exposed area, never the enlarged image.
void DrawEnlarged(QPainter& painter, const QImage& image, QPoint origin, int f, const QRect& exposed)
{
    const QRect covered = exposed.intersected(QRect(origin, image.size() * f));
    if (covered.isEmpty())
        return;
    const QRect local = covered.translated(-origin);
    const int x0 = local.left() / f;
    const int y0 = local.top() / f;
    const int x1 = std::min((local.right() + f) / f, image.width());
    const int y1 = std::min((local.bottom() + f) / f, image.height());
    const QRect source(x0, y0, x1 - x0, y1 - y0);
    const QRect target(origin.x() + x0 * f, origin.y() + y0 * f, source.width() * f, source.height() * f);
    painter.drawImage(target, image, source);
}

PointerButton ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton:
        return PointerButton::Right;
    case Qt::MiddleButton:
        return PointerButton::Middle;
    default:
        return PointerButton::Left;
    }
}

} // namespace

MapPaintArea::MapPaintArea(QWidget* parent) : QWidget(parent)
{
    setObjectName("mapPaintArea");
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent); // every exposed pixel is painted
    marching_.setInterval(kMarchInterval);
    connect(&marching_, &QTimer::timeout, this, &MapPaintArea::March);
}

void MapPaintArea::SetPicture(const QImage& picture, int factor)
{
    picture_ = picture;
    painter_ = nullptr;
    strip_ = Image();
    factor_ = std::max(factor, 1);
    SetAreaSize(QSize(picture_.width() * factor_, picture_.height() * factor_));
}

void MapPaintArea::SetPainter(Painter painter, QSize tiles, int factor)
{
    picture_ = QImage();
    painter_ = std::move(painter);
    factor_ = std::max(factor, 1);
    SetAreaSize(tiles * CellSize());
}

void MapPaintArea::SetAreaSize(QSize size)
{
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

QRect MapPaintArea::OutlinePixels(const std::optional<TileRect>& tiles) const
{
    if (!tiles)
        return {};
    const int c = CellSize();
    return QRect(tiles->Left() * c, tiles->Top() * c, (tiles->Right() - tiles->Left() + 1) * c,
                 (tiles->Bottom() - tiles->Top() + 1) * c);
}

QRect MapPaintArea::PreviewArea() const
{
    if (!previewTile_ || preview_.isNull())
        return {};
    const int c = CellSize();
    return QRect(QPoint(previewTile_->x() * c, previewTile_->y() * c), preview_.size() * (c / previewTilePixels_));
}

QRect MapPaintArea::HoverArea() const
{
    if (!hover_)
        return {};
    const int c = CellSize();
    return QRect(hover_->x() * c, hover_->y() * c, c, c);
}

void MapPaintArea::SetOutline(std::optional<TileRect> tiles)
{
    if (tiles == outline_)
        return;
    const QRect before = OutlineArea();
    outline_ = tiles;
    update(before);
    update(OutlineArea());
    UpdateMarching();
}

void MapPaintArea::SetHover(std::optional<QPoint> tile, const QImage& word)
{
    if (tile == hover_ && word.constBits() == hoverWord_.constBits() && word.size() == hoverWord_.size())
        return;
    update(HoverArea());
    hover_ = tile;
    hoverWord_ = word;
    update(HoverArea());
}

void MapPaintArea::UpdateMarching()
{
    const bool framed = outline_ || (previewTile_ && !preview_.isNull());
    if (framed && !marching_.isActive())
        marching_.start();
    else if (!framed)
        marching_.stop();
}

void MapPaintArea::March()
{
    dashOffset_ = (dashOffset_ + 1) % (2 * kDash);
    update(Frame(OutlineArea()).united(Frame(PreviewArea())).united(Frame(HoverArea())));
}

void MapPaintArea::PaintFrame(QPainter& painter, const QRect& area) const
{
    // White under black dashes: one of the two stands out on any picture.
    const QRect r = area.adjusted(0, 0, -1, -1);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(r);
    QPen dashes(Qt::black, 1, Qt::CustomDashLine);
    dashes.setDashPattern({qreal(kDash), qreal(kDash)});
    dashes.setDashOffset(dashOffset_);
    painter.setPen(dashes);
    painter.drawRect(r);
}

void MapPaintArea::SetPreview(const QImage& preview, std::optional<QPoint> tile, int tilePixels)
{
    if (!tile || preview.isNull()) {
        if (!previewTile_)
            return;
        update(PreviewArea());
        previewTile_.reset();
        preview_ = QImage();
        UpdateMarching();
        return;
    }
    // The same pixels at the same place: a move within one tile repaints nothing.
    if (tile == previewTile_ && preview.constBits() == preview_.constBits() && preview.size() == preview_.size() &&
        tilePixels == previewTilePixels_)
        return;
    const QRect before = PreviewArea();
    preview_ = preview;
    previewTilePixels_ = CellSize() % std::max(tilePixels, 1) == 0 ? tilePixels : kTilePixels;
    previewTile_ = tile;
    update(before);
    update(PreviewArea());
    UpdateMarching();
}

namespace {

// The rings around a shown tile: two pixels each side beyond the tile.
constexpr int kShownTileRing = 3;

QRect ShownTileRect(QPoint tile, int cell)
{
    return QRect(tile.x() * cell, tile.y() * cell, cell, cell);
}

} // namespace

void MapPaintArea::SetShownTile(std::optional<QPoint> tile)
{
    SetShownTiles(tile ? std::vector<QPoint>{*tile} : std::vector<QPoint>{});
}

void MapPaintArea::SetShownTiles(std::vector<QPoint> tiles)
{
    if (tiles == shownTiles_)
        return;
    const int ring = kShownTileRing;
    for (const QPoint& tile : shownTiles_)
        update(ShownTileRect(tile, CellSize()).adjusted(-ring, -ring, ring, ring));
    shownTiles_ = std::move(tiles);
    for (const QPoint& tile : shownTiles_)
        update(ShownTileRect(tile, CellSize()).adjusted(-ring, -ring, ring, ring));
}

void MapPaintArea::SetChangedTiles(std::vector<QPoint> tiles)
{
    if (tiles == changedTiles_)
        return;
    const int c = CellSize();
    for (const auto* list : {&changedTiles_, &tiles})
        for (const QPoint& tile : *list)
            update(QRect(tile * c, QSize(c, c)));
    changedTiles_ = std::move(tiles);
}

void MapPaintArea::CancelPress()
{
    if (!held_)
        return;
    held_ = false;
    pressCancelled_ = true;
}

QPoint MapPaintArea::TileAt(QPoint pixel) const
{
    return {FloorDiv(pixel.x(), CellSize()), FloorDiv(pixel.y(), CellSize())};
}

void MapPaintArea::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect().intersected(rect());
    if (exposed.isEmpty() || (picture_.isNull() && !painter_))
        return;
    const int f = factor_;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (painter_) {
        const int rows = std::max(1, kStripPixels / exposed.width());
        for (int top = exposed.top(); top <= exposed.bottom(); top += rows) {
            strip_.width = exposed.width();
            strip_.height = std::min(rows, exposed.bottom() + 1 - top);
            strip_.pixels.resize(static_cast<std::size_t>(strip_.width) * static_cast<std::size_t>(strip_.height));
            painter_(strip_, exposed.left(), top);
            const QImage wrapped(reinterpret_cast<const uchar*>(strip_.pixels.data()), strip_.width, strip_.height,
                                 strip_.width * 4, QImage::Format_RGB32);
            painter.drawImage(QPoint(exposed.left(), top), wrapped);
        }
    } else {
        DrawEnlarged(painter, picture_, QPoint(0, 0), f, exposed);
    }

    if (grid_) {
        // A line on the first pixel of every tile, none closing the right
        // and bottom edges.
        const int c = kTilePixels * f;
        const int w = width();
        const int h = height();
        painter.setPen(QPen(kGridColour, 1));
        for (int x = (exposed.left() / c) * c; x <= exposed.right() && x < w; x += c)
            painter.drawLine(x, exposed.top(), x, std::min(exposed.bottom(), h - 1));
        for (int y = (exposed.top() / c) * c; y <= exposed.bottom() && y < h; y += c)
            painter.drawLine(exposed.left(), y, std::min(exposed.right(), w - 1), y);
    }
    PaintPlay(painter, exposed);
    for (const QPoint& tile : changedTiles_) {
        const QRect cell(tile * CellSize(), QSize(CellSize(), CellSize()));
        if (cell.intersects(exposed))
            painter.fillRect(cell, kChangedTint);
    }
    if (previewTile_ && !preview_.isNull()) {
        DrawEnlarged(painter, preview_, PreviewArea().topLeft(), CellSize() / previewTilePixels_, exposed);
        PaintFrame(painter, PreviewArea());
    }
    if (!markers_.empty()) {
        const int c = kTilePixels * f;
        for (const QPoint& tile : markers_) {
            const QRect cell(tile.x() * c, tile.y() * c, c, c);
            if (!cell.intersects(exposed))
                continue;
            const bool current = currentMarker_ == tile;
            painter.setPen(Qt::NoPen);
            painter.setBrush(QBrush(current ? Qt::white : Qt::black, Qt::DiagCrossPattern));
            painter.drawRect(cell);
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            painter.setPen(QPen(Qt::white, 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
    }
    PaintWalkMarks(painter, exposed);
    if (camera_ && CameraArea().intersects(exposed)) {
        // Yellow in a dark rim: seen on the black floors and the grey walls alike.
        const QPolygonF arrow = CameraArrow(*camera_);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolygon(arrow);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xff, 0xe0, 0x20));
        painter.drawPolygon(arrow);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    if (outline_) {
        // Inside the enclosed tiles: the last pixel row and column are theirs.
        painter.fillRect(OutlineArea(), kSelectionTint);
        PaintFrame(painter, OutlineArea());
    }
    if (hover_) {
        const QRect cell = HoverArea();
        if (!hoverWord_.isNull()) {
            painter.setOpacity(kHoverWordOpacity);
            painter.drawImage(cell, hoverWord_);
            painter.setOpacity(1.0);
        }
        PaintFrame(painter, cell);
    }
    // Alternate rings from each shown tile's own border outwards: one of
    // them stands out on any picture.
    painter.setBrush(Qt::NoBrush);
    for (const QPoint& tile : shownTiles_) {
        const QRect cell = ShownTileRect(tile, kTilePixels * f);
        for (int ring = 0; ring <= kShownTileRing; ++ring) {
            painter.setPen(QPen(ring % 2 ? Qt::black : Qt::white, 1));
            painter.drawRect(cell.adjusted(-ring, -ring, ring - 1, ring - 1));
        }
    }
}

namespace {

const QColor kUnreachableMark(0xFF, 0x30, 0x30);
const QColor kShutDoorMark(0xFF, 0x30, 0x30);
const QColor kRouteColour(0x30, 0xFF, 0x60);
const QColor kSecretRouteColour(0xFF, 0xD0, 0x20);
const QColor kPatrolColour(0xFF, 0xB0, 0x20);
const QColor kBlockedPatrolColour(0xFF, 0x30, 0x30);
const QColor kRim(0, 0, 0, 200);

QRect TilesBetween(const QPoint& first, const QPoint& last)
{
    return QRect(first, last).normalized();
}

// The tiles a picture's lines and marks cover, as one rectangle of tiles.
std::optional<QRect> ShapeTiles(const PlayPicture& picture)
{
    std::optional<QRect> tiles;
    auto add = [&](const QPoint& tile) {
        tiles = tiles ? tiles->united(TilesBetween(tile, tile)) : TilesBetween(tile, tile);
    };
    for (const auto* list : {&picture.unreachable, &picture.shutDoors, &picture.route, &picture.secretRoute})
        for (const QPoint& tile : *list)
            add(tile);
    for (const PlayPicture::Patrol& patrol : picture.patrols)
        for (const QPoint& tile : patrol.tiles)
            add(tile);
    return tiles;
}

// A filled arrowhead of `size` pixels at `middle`, pointing along `along` (a unit vector).
QPolygonF ArrowHead(QPointF middle, QPointF along, qreal size)
{
    const QPointF across(-along.y(), along.x());
    return QPolygonF({middle + along * (size / 2), middle - along * (size / 2) + across * (size / 2),
                      middle - along * (size / 2) - across * (size / 2)});
}

} // namespace

QRect MapPaintArea::PlayShapesArea(const PlayPicture& picture) const
{
    const auto tiles = ShapeTiles(picture);
    if (!tiles)
        return {};
    const int c = CellSize();
    // The rims and arrowheads reach a little past the tiles.
    return QRect(tiles->left() * c, tiles->top() * c, tiles->width() * c, tiles->height() * c).adjusted(-4, -4, 4, 4);
}

void MapPaintArea::SetPlayPicture(PlayPicture picture)
{
    if (picture == play_)
        return;
    const int c = CellSize();
    // The tint: the tiles that differ; a tint of another size, all of it.
    QRect tintTiles;
    const QImage& before = play_.tint;
    const QImage& after = picture.tint;
    if (before.size() != after.size()) {
        tintTiles = QRect(QPoint(0, 0), before.size()).united(QRect(QPoint(0, 0), after.size()));
    } else {
        for (int y = 0; y < after.height(); ++y) {
            const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
            const auto* b = reinterpret_cast<const QRgb*>(after.constScanLine(y));
            for (int x = 0; x < after.width(); ++x)
                if (a[x] != b[x])
                    tintTiles = tintTiles.united(QRect(x, y, 1, 1));
        }
    }
    const bool shapesChanged = picture.unreachable != play_.unreachable || picture.shutDoors != play_.shutDoors ||
                               picture.route != play_.route || picture.secretRoute != play_.secretRoute ||
                               picture.patrols != play_.patrols;
    if (shapesChanged)
        update(PlayShapesArea(play_));
    play_ = std::move(picture);
    if (!tintTiles.isEmpty())
        update(QRect(tintTiles.left() * c, tintTiles.top() * c, tintTiles.width() * c, tintTiles.height() * c));
    if (shapesChanged)
        update(PlayShapesArea(play_));
}

void MapPaintArea::PaintPlay(QPainter& painter, const QRect& exposed) const
{
    const int c = CellSize();
    if (!play_.tint.isNull())
        DrawEnlarged(painter, play_.tint, QPoint(0, 0), c, exposed);
    if (!PlayShapesArea(play_).intersects(exposed))
        return;
    DrawPlayShapes(painter, play_, c);
}

void DrawPlayShapes(QPainter& painter, const PlayPicture& picture, int cellSize)
{
    const int c = cellSize;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    auto centre = [c](const QPoint& tile) { return QPointF((tile.x() + 0.5) * c, (tile.y() + 0.5) * c); };
    const qreal line = std::max(2.0, c / 8.0);
    // Every shape is drawn twice: a dark rim, then its colour, so that it
    // stands out on the black floors and the bright walls alike.
    auto stroke = [&](const QColor& colour, qreal width, const std::function<void()>& draw) {
        painter.setPen(QPen(kRim, width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        draw();
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        draw();
    };

    const qreal inset = c * 0.25;
    for (const QPoint& tile : picture.unreachable) {
        const QRectF r(tile.x() * c + inset, tile.y() * c + inset, c - 2 * inset, c - 2 * inset);
        stroke(kUnreachableMark, line, [&] {
            painter.drawLine(r.topLeft(), r.bottomRight());
            painter.drawLine(r.topRight(), r.bottomLeft());
        });
    }
    for (const QPoint& tile : picture.shutDoors) {
        const QRectF r(tile.x() * c + inset, tile.y() * c + inset, c - 2 * inset, c - 2 * inset);
        stroke(kShutDoorMark, line, [&] {
            painter.drawEllipse(r);
            painter.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
        });
    }

    const qreal head = std::max(6.0, c * 0.4);
    for (const PlayPicture::Patrol& patrol : picture.patrols) {
        if (patrol.tiles.size() < 2)
            continue;
        QPolygonF points;
        for (const QPoint& tile : patrol.tiles)
            points << centre(tile);
        const QColor colour = patrol.blockedAtOnce ? kBlockedPatrolColour : kPatrolColour;
        stroke(colour, std::max(1.5, c / 12.0), [&] { painter.drawPolyline(points); });
        // An arrowhead where the walk sets out, after every turn and every fourth tile.
        painter.setPen(QPen(kRim, 1));
        painter.setBrush(colour);
        QPointF last;
        for (int i = 0; i + 1 < points.size(); ++i) {
            QPointF along = points[i + 1] - points[i];
            along /= std::hypot(along.x(), along.y());
            if (i == 0 || along != last || i % 4 == 0)
                painter.drawPolygon(ArrowHead((points[i] + points[i + 1]) / 2, along, head));
            last = along;
        }
        painter.setBrush(Qt::NoBrush);
        if (patrol.blocked) {
            // A bar across the way where it comes to a stand.
            const QPointF end = points.back();
            const QPointF across(-last.y(), last.x());
            stroke(colour, line, [&] { painter.drawLine(end + across * (c * 0.35), end - across * (c * 0.35)); });
        }
    }

    // The walk to the secret elevator dashed beneath the way out, a dot at its end.
    if (picture.secretRoute.size() >= 2) {
        QPolygonF points;
        for (const QPoint& tile : picture.secretRoute)
            points << centre(tile);
        const qreal width = std::max(2.0, c / 8.0);
        painter.setPen(QPen(kRim, width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(points);
        painter.setPen(QPen(kSecretRouteColour, width, Qt::DashLine, Qt::FlatCap, Qt::RoundJoin));
        painter.drawPolyline(points);
        painter.setPen(QPen(kRim, 1));
        painter.setBrush(kSecretRouteColour);
        painter.drawEllipse(points.back(), c * 0.25, c * 0.25);
    }
    if (picture.route.size() >= 2) {
        QPolygonF points;
        for (const QPoint& tile : picture.route)
            points << centre(tile);
        stroke(kRouteColour, std::max(2.0, c / 6.0), [&] { painter.drawPolyline(points); });
        painter.setPen(QPen(kRim, 1));
        painter.setBrush(kRouteColour);
        painter.drawEllipse(points.front(), c * 0.3, c * 0.3);
        painter.drawEllipse(points.back(), c * 0.3, c * 0.3);
    }
    painter.restore();
}

void MapPaintArea::SetWalkMarks(std::vector<WalkMark> marks)
{
    if (marks == walkMarks_)
        return;
    walkMarks_ = std::move(marks);
    update();
}

void MapPaintArea::PaintWalkMarks(QPainter& painter, const QRect& exposed) const
{
    const int c = CellSize();
    for (const WalkMark& mark : walkMarks_) {
        const QRect cell(mark.x * c, mark.y * c, c, c);
        if (!cell.intersects(exposed))
            continue;
        const QRect inner = cell.adjusted(1, 1, -2, -2);
        painter.setBrush(Qt::NoBrush);
        switch (mark.kind) {
        case WalkMarkKind::DoorOpened:
            painter.setPen(QPen(QColor(0x20, 0xE0, 0x40), 2));
            painter.drawRect(inner);
            break;
        case WalkMarkKind::WallPushed:
        case WalkMarkKind::WallMoved:
            painter.setPen(QPen(QColor(0xF0, 0x40, 0xF0), 2,
                                mark.kind == WalkMarkKind::WallPushed ? Qt::DashLine : Qt::SolidLine));
            painter.drawRect(inner);
            break;
        case WalkMarkKind::ItemTaken:
            painter.setPen(QPen(QColor(0xFF, 0x80, 0x10), 2));
            painter.drawLine(inner.topLeft(), inner.bottomRight());
            painter.drawLine(inner.topRight(), inner.bottomLeft());
            break;
        }
    }
}

void MapPaintArea::SetMarkers(std::vector<QPoint> tiles, std::optional<QPoint> current)
{
    if (tiles == markers_ && current == currentMarker_)
        return;
    markers_ = std::move(tiles);
    currentMarker_ = current;
    update();
}

QPolygonF MapPaintArea::CameraArrow(const CameraMark& mark) const
{
    const double length = std::max(kArrowTiles * CellSize(), kSmallestArrow);
    const QPointF centre = mark.tile * CellSize();
    // Along the view and to its right, in pixels (y points down).
    const QPointF along(std::cos(mark.angle * kDegrees), -std::sin(mark.angle * kDegrees));
    const QPointF right(-along.y(), along.x());
    const QPointF tip = centre + along * (length / 2);
    const QPointF back = centre - along * (length / 2);
    return QPolygonF({tip, back + right * (length * 0.4), centre - along * (length * 0.2),
                      back - right * (length * 0.4)});
}

QRect MapPaintArea::CameraPixels(const std::optional<CameraMark>& mark) const
{
    if (!mark)
        return {};
    // The rim and the antialiasing reach two pixels beyond the polygon.
    return CameraArrow(*mark).boundingRect().toAlignedRect().adjusted(-3, -3, 3, 3);
}

void MapPaintArea::SetCameraMark(std::optional<CameraMark> mark)
{
    if (mark == camera_)
        return;
    update(CameraArea());
    camera_ = mark;
    update(CameraArea());
}

void MapPaintArea::Send(PointerAction action, Qt::MouseButton button, QPoint tile)
{
    emit pointerInput(PointerInput{action, ButtonOf(button), tile.x(), tile.y()});
}

void MapPaintArea::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    pressCancelled_ = false;
    const QPoint tile = TileAt(event->position().toPoint());
    // A press with no other button held starts a gesture anew (the release
    // of the last one may have gone to a menu).
    if (event->buttons() == event->button())
        altGesture_ = event->modifiers().testFlag(Qt::AltModifier);
    if (altGesture_) {
        // Alt + left: the camera goes there; Alt + right: the context menu
        // follows as a context menu event.
        if (event->button() == Qt::LeftButton)
            emit viewFromHere(tile);
        event->accept();
        return;
    }
    held_ = true;
    Send(PointerAction::Press, event->button(), tile);
    event->accept();
}

void MapPaintArea::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pixel = event->position().toPoint();
    const QPoint tile = TileAt(pixel);
    const Qt::MouseButton button = event->buttons() & Qt::RightButton ? Qt::RightButton : Qt::LeftButton;
    if (altGesture_ && event->buttons() == Qt::NoButton)
        altGesture_ = false;
    if (altGesture_ || (pressCancelled_ && event->buttons() != Qt::NoButton)) {
        emit pointerMoved(pixel);
        event->accept();
        return;
    }
    Send(PointerAction::Move, button, tile);
    emit pointerMoved(pixel);
    event->accept();
}

void MapPaintArea::mouseReleaseEvent(QMouseEvent* event)
{
    if (altGesture_) {
        altGesture_ = event->buttons() != Qt::NoButton;
        event->accept();
        return;
    }
    if (event->buttons() == Qt::NoButton)
        held_ = false;
    if (pressCancelled_) {
        pressCancelled_ = event->buttons() != Qt::NoButton;
        event->accept();
        return;
    }
    Send(PointerAction::Release, event->button(), TileAt(event->position().toPoint()));
    event->accept();
}

void MapPaintArea::keyPressEvent(QKeyEvent* event)
{
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (!menuKey || (picture_.isNull() && !painter_)) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Over the tile under the pointer, or the middle of what is in sight
    // when the pointer is elsewhere.
    const QRect visible = visibleRegion().boundingRect();
    QPoint at = mapFromGlobal(QCursor::pos());
    if (!visible.contains(at))
        at = visible.center();
    emit contextMenuAsked(TileAt(at), mapToGlobal(at));
    event->accept();
}

void MapPaintArea::contextMenuEvent(QContextMenuEvent* event)
{
    // The key press above serves the keyboard; a plain right click belongs
    // to the tools.
    if (event->reason() == QContextMenuEvent::Mouse && (event->modifiers() & Qt::AltModifier))
        emit contextMenuAsked(TileAt(event->pos()), event->globalPos());
    event->accept();
}

void MapPaintArea::leaveEvent(QEvent* event)
{
    emit pointerLeft();
    QWidget::leaveEvent(event);
}

MapView::MapView(QWidget* parent) : QScrollArea(parent), area_(new MapPaintArea)
{
    setObjectName("mapView");
    setWidget(area_);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setBackgroundRole(QPalette::Dark);
    area_->installEventFilter(this);
    new SpaceWatcher(this, spaceHeld_);
}

bool MapView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != area_)
        return QScrollArea::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return Pan(static_cast<QMouseEvent*>(event));
    default:
        return QScrollArea::eventFilter(watched, event); // it follows the area's size
    }
}

bool MapView::Pan(QMouseEvent* event)
{
    const QPoint global = event->globalPosition().toPoint();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (Panning())
            return true; // another button while panning does nothing
        if (event->button() != Qt::MiddleButton && !(event->button() == Qt::LeftButton && spaceHeld_))
            return false;
        panButton_ = event->button();
        panFrom_ = global;
        scrollFrom_ = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
        QApplication::setOverrideCursor(Qt::ClosedHandCursor);
        return true;
    case QEvent::MouseMove:
        if (!Panning())
            return false;
        horizontalScrollBar()->setValue(scrollFrom_.x() - (global.x() - panFrom_.x()));
        verticalScrollBar()->setValue(scrollFrom_.y() - (global.y() - panFrom_.y()));
        return true;
    default: // release
        if (Panning() && event->button() == panButton_) {
            panButton_ = Qt::NoButton;
            QApplication::restoreOverrideCursor();
            return true;
        }
        return Panning() || event->button() == Qt::MiddleButton;
    }
}

void MapView::KeepUnder(QPointF areaPoint, QPoint viewportPoint)
{
    horizontalScrollBar()->setValue(static_cast<int>(areaPoint.x()) - viewportPoint.x());
    verticalScrollBar()->setValue(static_cast<int>(areaPoint.y()) - viewportPoint.y());
}

void MapView::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        if (angle.y() != 0)
            emit zoomStep(angle.y() > 0 ? 1 : -1, event->position().toPoint());
        return;
    }
    // Some systems turn a wheel held with Shift into a sideways one already.
    const bool sideways = (event->modifiers() & Qt::ShiftModifier) || (angle.y() == 0 && angle.x() != 0);
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    QScrollBar* bar = sideways ? horizontalScrollBar() : verticalScrollBar();
    const int step = bar->singleStep();
    if (delta > 0)
        bar->setValue(std::max(bar->value() - step, 0));
    else if (delta < 0)
        bar->setValue(std::min(bar->value() + step, bar->maximum()));
}

} // namespace tsl
