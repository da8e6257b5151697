#pragma once
// The map view: a scroll box holding the paint area, which shows the map
// picture (8 pixels per tile) enlarged by the zoom factor without smoothing,
// or, while the game's own graphics are shown, whatever a painter draws for
// the exposed part (the picture of a 256 x 256 map at zoom 8 would be a
// gigabyte). Painting covers only the exposed part of the paint area, so that
// even a 256 x 256 map at zoom 8 costs no more than the map picture itself;
// the grid, the outline of a dragged rectangle or a selection, the preview of
// a block being placed and the outline of the tile under the pointer are
// drawn at paint time and never enter the picture.
//
// A selection is tinted and outlined with dashes of black and white that
// march, so that it stands out on every symbol and picture; the block being
// placed is outlined the same way.
//
// The paint area turns mouse presses, moves and releases into tile-based
// PointerInput records for the editing session; it knows nothing of tools
// (a fast drag skips tiles between two mouse events: the Pencil fills the
// line between them itself). The scroll box takes the middle button, and the left
// one while Space is held, to pan the view; neither reaches the tools.
//
// Both buttons draw, so the right button cannot open a context menu of its
// own: the menu comes with the menu key or Shift+F10 (over the tile under
// the pointer) and with Alt + right click; Alt + left click is "View From
// Here" at once. Gestures with Alt never reach the tools.

#include "core/Image.h"
#include "editor/document/PointerInput.h"
#include "raycast/Walk.h"

#include <QImage>
#include <QPolygonF>
#include <QScrollArea>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace tsl {

// The 3D preview's camera as the map view shows it: a place in tiles
// (fractional, the middle of tile (x, y) is x + 0.5, y + 0.5) and a
// direction in degrees (0 east, 90 north, the map's y axis points south).
struct CameraMark {
    QPointF tile;
    double angle = 0;
    friend bool operator==(const CameraMark&, const CameraMark&) = default;
};

// What the view draws of play over the map (see PlayOverlay), in tiles:
// drawn at paint time at every zoom, over the symbols and the game's
// pictures alike.
struct PlayPicture {
    // One pixel a tile, laid over it enlarged: the tint of what the player
    // cannot reach, transparent elsewhere.
    QImage tint;
    std::vector<QPoint> unreachable; // items and enemies out of reach: a cross
    std::vector<QPoint> shutDoors;   // doors that never open: a barred door
    std::vector<QPoint> route;       // the shortest walk to the exit, tile by tile
    std::vector<QPoint> secretRoute; // the walk to the secret elevator, when the route goes elsewhere
    struct Patrol {
        std::vector<QPoint> tiles;
        bool blocked = false;       // it comes to a stand at its last tile
        bool blockedAtOnce = false; // it walks into a wall at once
        friend bool operator==(const Patrol&, const Patrol&) = default;
    };
    std::vector<Patrol> patrols;
    friend bool operator==(const PlayPicture&, const PlayPicture&) = default;
};

// The lines and marks of `picture` (all but its tint) at `cellSize` pixels a
// tile, as the map view draws them; the legend shows them the same way.
void DrawPlayShapes(QPainter& painter, const PlayPicture& picture, int cellSize);

class MapPaintArea : public QWidget {
    Q_OBJECT
public:
    explicit MapPaintArea(QWidget* parent = nullptr);

    // `picture` is shown enlarged `factor` times; the paint area takes its
    // enlarged size. The picture must stay alive until the next call.
    void SetPicture(const QImage& picture, int factor);
    // Draws the view pixels whose top-left one is (left, top) into `target`,
    // which keeps its size.
    using Painter = std::function<void(Image& target, int left, int top)>;
    // Instead of a picture: the area is `tiles` tiles of 8 x `factor` pixels,
    // and `painter` draws each exposed part of it (in strips of a bounded
    // size, into one buffer kept from paint to paint).
    void SetPainter(Painter painter, QSize tiles, int factor);
    bool Painted() const { return static_cast<bool>(painter_); }
    void SetGrid(bool on);
    bool Grid() const { return grid_; }
    int Factor() const { return factor_; }
    int CellSize() const { return 8 * factor_; }
    const QImage& Picture() const { return picture_; }

    // The overlay, in tiles. Only the old and the new region are repainted.
    void SetOutline(std::optional<TileRect> tiles);
    // `preview` at `tilePixels` pixels per tile (a divisor of the cell size)
    // with its top-left corner on `tile` (nothing when absent); enlarged to
    // the cells when painted.
    void SetPreview(const QImage& preview, std::optional<QPoint> tile, int tilePixels = kBlockSize);
    // The pixels the outline and the preview cover now (empty when none).
    QRect OutlineArea() const { return OutlinePixels(outline_); }
    QRect PreviewArea() const;

    // The tile under the pointer, outlined; `word` (a picture of any size,
    // drawn into the tile) laid faintly over it when not null: what the
    // Pencil would draw there.
    void SetHover(std::optional<QPoint> tile, const QImage& word = QImage());
    std::optional<QPoint> HoverTile() const { return hover_; }
    // How far the dashes have marched, in pixels (0 ... 7).
    int DashOffset() const { return dashOffset_; }

    // The find-and-replace markers: tiles drawn with an outline exclusive-or'd
    // over the picture and a diagonal cross hatch, white for `current` and
    // black for the others. Drawn at paint time only.
    void SetMarkers(std::vector<QPoint> tiles, std::optional<QPoint> current);
    const std::vector<QPoint>& Markers() const { return markers_; }

    // The camera of the 3D preview as a small arrow drawn at paint time
    // (nothing hides it). Only the old and the new arrow are repainted.
    void SetCameraMark(std::optional<CameraMark> mark);
    const std::optional<CameraMark>& CurrentCameraMark() const { return camera_; }
    QRect CameraArea() const { return CameraPixels(camera_); }

    // What a walk of the 3D preview opened (doors: green frames), pushed
    // (push walls: magenta, dashed where they stood) and took (items: an
    // orange cross), drawn at paint time over the map.
    void SetWalkMarks(std::vector<WalkMark> marks);
    const std::vector<WalkMark>& WalkMarks() const { return walkMarks_; }

    // One tile shown to the user (a finding of the map check): outlined in
    // black and white rings drawn at paint time; nothing clears it.
    void SetShownTile(std::optional<QPoint> tile);
    std::optional<QPoint> ShownTile() const
    {
        return shownTiles_.empty() ? std::nullopt : std::make_optional(shownTiles_.front());
    }
    // Several tiles shown so (a count of the level statistics).
    void SetShownTiles(std::vector<QPoint> tiles);
    const std::vector<QPoint>& ShownTiles() const { return shownTiles_; }

    // The tiles that differ from the set compared with ("Compare with..."):
    // tinted amber at paint time over everything but the pointer's marks.
    void SetChangedTiles(std::vector<QPoint> tiles);
    const std::vector<QPoint>& ChangedTiles() const { return changedTiles_; }

    // What is drawn of play. Only what changed is repainted.
    void SetPlayPicture(PlayPicture picture);
    const PlayPicture& CurrentPlayPicture() const { return play_; }

    // The press held now was ended by the editor (the maps changed under
    // it): nothing more of it is sent, neither its moves nor its release,
    // until the next press. The pointer's position is still reported.
    void CancelPress();

    // The tile under a pixel of the paint area: pixel div cell size, rounded
    // down, so pixels left of or above the map give negative tiles.
    QPoint TileAt(QPoint pixel) const;

signals:
    void pointerMoved(QPoint position);
    // The pointer left the paint area.
    void pointerLeft();
    void pointerInput(const tsl::PointerInput& input);
    // Alt + left click on `tile`.
    void viewFromHere(QPoint tile);
    // The context menu for `tile`, to be shown at `globalPosition`.
    void contextMenuAsked(QPoint tile, QPoint globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The area shows no focus: taking or losing it repaints nothing (the
    // default repaints the whole visible part, at every first click).
    void focusInEvent(QFocusEvent*) override {}
    void focusOutEvent(QFocusEvent*) override {}
    void leaveEvent(QEvent* event) override;

private:
    QRect OutlinePixels(const std::optional<TileRect>& tiles) const;
    QRect CameraPixels(const std::optional<CameraMark>& mark) const;
    QPolygonF CameraArrow(const CameraMark& mark) const;
    QRect HoverArea() const;
    // The pixels `picture` draws on beyond its tint (lines and marks).
    QRect PlayShapesArea(const PlayPicture& picture) const;
    void PaintPlay(QPainter& painter, const QRect& exposed) const;
    void PaintWalkMarks(QPainter& painter, const QRect& exposed) const;
    void Send(PointerAction action, Qt::MouseButton button, QPoint tile);
    // The dashes move on: only the frames of the outlined areas are repainted.
    void March();
    void UpdateMarching();
    void PaintFrame(QPainter& painter, const QRect& area) const;

    void SetAreaSize(QSize size);

    QImage picture_;
    Painter painter_;
    Image strip_; // what the painter draws into
    int factor_ = 1;
    bool grid_ = false;
    std::optional<TileRect> outline_;
    QImage preview_;
    int previewTilePixels_ = kBlockSize;
    std::optional<QPoint> previewTile_;
    bool held_ = false;           // a button is held that was pressed here
    bool pressCancelled_ = false; // CancelPress: the held buttons send nothing
    std::vector<QPoint> shownTiles_;
    std::vector<QPoint> changedTiles_;
    PlayPicture play_;
    std::vector<QPoint> markers_;
    std::optional<QPoint> currentMarker_;
    std::optional<CameraMark> camera_;
    std::vector<WalkMark> walkMarks_;
    bool altGesture_ = false; // a press with Alt, until its release
    std::optional<QPoint> hover_;
    QImage hoverWord_;
    int dashOffset_ = 0;
    QTimer marching_;
};

class MapView : public QScrollArea {
    Q_OBJECT
public:
    explicit MapView(QWidget* parent = nullptr);
    MapPaintArea* PaintArea() const { return area_; }

    // Scrolls so that `areaPoint` of the paint area stands under
    // `viewportPoint` of the visible part (as far as the scroll bars reach).
    void KeepUnder(QPointF areaPoint, QPoint viewportPoint);
    bool Panning() const { return panButton_ != Qt::NoButton; }
    bool SpaceHeld() const { return spaceHeld_; }

signals:
    // Ctrl + wheel: one zoom step in (+1) or out (-1) at a point of the viewport.
    void zoomStep(int step, QPoint viewportPoint);

protected:
    // One line of a scroll bar per wheel event, whatever its distance: the
    // vertical one, the horizontal one with Shift.
    void wheelEvent(QWheelEvent* event) override;
    // The paint area's presses that pan, and Space anywhere in the window
    // but a text field.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Pan(QMouseEvent* event);
    bool WatchSpace(QObject* watched, QEvent* event);

    MapPaintArea* area_;
    bool spaceHeld_ = false;
    Qt::MouseButton panButton_ = Qt::NoButton;
    QPoint panFrom_;       // global position of the press
    QPoint scrollFrom_;    // the scroll bars' values at the press
};

} // namespace tsl
