#pragma once
// The row of recent symbols above the symbol list: up to eight pictures,
// newest first, each a value of the selected plane that was drawn with
// lately. A press gives the value to the button that pressed it, as a press
// on the list does; the pointer resting on a picture shows its entry text.

#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace tsl {

class RecentSymbolsRow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCells = 8;
    static constexpr int kCellSize = 20; // a 16-pixel picture with a frame

    struct Entry {
        std::uint16_t Value = 0;
        QImage Picture;
        QString Text; // the list entry's text, for the hint
    };

    explicit RecentSymbolsRow(QWidget* parent = nullptr);

    void SetEntries(std::vector<Entry> entries);
    const std::vector<Entry>& Entries() const { return entries_; }
    // The cell of entry `i`, in the row's coordinates.
    QRect CellRect(int i) const;

    QSize sizeHint() const override;

signals:
    void valuePressed(std::uint16_t value, Qt::MouseButton button);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int CellAt(QPoint point) const;

    std::vector<Entry> entries_;
};

} // namespace tsl
