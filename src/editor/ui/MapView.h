#pragma once
// The map view: a scroll box holding the paint area, which shows the map
// picture (8 pixels per tile) enlarged by the zoom factor without smoothing.
// Painting covers only the exposed part of the paint area, so that even a
// 256 x 256 map at zoom 8 costs no more than the map picture itself; the
// grid is drawn at paint time and never enters the picture.

#include <QImage>
#include <QScrollArea>

namespace tsl {

class MapPaintArea : public QWidget {
    Q_OBJECT
public:
    explicit MapPaintArea(QWidget* parent = nullptr);

    // `picture` is shown enlarged `factor` times; the paint area takes its
    // enlarged size. The picture must stay alive until the next call.
    void SetPicture(const QImage& picture, int factor);
    void SetGrid(bool on);
    bool Grid() const { return grid_; }
    int Factor() const { return factor_; }
    const QImage& Picture() const { return picture_; }

signals:
    void pointerMoved(QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    int factor_ = 1;
    bool grid_ = false;
};

class MapView : public QScrollArea {
    Q_OBJECT
public:
    explicit MapView(QWidget* parent = nullptr);
    MapPaintArea* PaintArea() const { return area_; }

protected:
    // One line of the vertical scroll bar per wheel event, whatever its distance.
    void wheelEvent(QWheelEvent* event) override;

private:
    MapPaintArea* area_;
};

} // namespace tsl
