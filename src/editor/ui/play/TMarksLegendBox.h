#pragma once
// "Map Legend" (the "&?" menu): what the marks drawn over the game's pictures
// mean, each shown as the map view draws it, on a grey tile: the badges of
// the markers and the facing arrows and skill corners of the actors; then
// the overlays of the analysis of play (the tint, the crosses, the no-entry
// mark, the walks, the patrols) and the 3D preview's mark of a wall without
// its picture.

#include <QDialog>

namespace tsl {

class TMarksLegendBox : public QDialog {
    Q_OBJECT
public:
    explicit TMarksLegendBox(QWidget* parent = nullptr);

    // The number of marks explained.
    int Rows() const { return rows_; }

private:
    int rows_ = 0;
};

} // namespace tsl
