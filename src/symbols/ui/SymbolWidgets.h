#pragma once
// Pieces the symbol lists and the symbol editors share: the owner-drawn
// list entry (picture and "value - name"), core pictures as QImages, the
// four move buttons beside a list, and the "edit left" notification.

#include "core/Image.h"
#include "symbols/SymbolEditing.h"

#include <QImage>
#include <QString>
#include <QObject>
#include <QStyledItemDelegate>

#include <functional>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QVBoxLayout;
class QWidget;

namespace tsl {

// Draws a symbol list entry: the picture at (left, top + 3), the text at
// (left + 10, top), white on navy when selected. With a larger picture size
// the picture (whatever its own size: a symbol, a game picture) is drawn
// into a square of that size, one pixel below the row's top, and the text
// follows it, centred in the row. As tiles, an entry is its picture alone in
// a square (at least kTilePicture pixels; the text is the item's tool tip),
// and a heading spans the list's width, so that a list flowing left to
// right keeps its groups on rows of their own.
class SymbolListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 16;
    static constexpr int kPictureSize = 8;
    static constexpr int kTilePicture = 16;
    static constexpr int PictureRole = Qt::UserRole + 1;
    // True for a heading between the entries (the palette's groups): its
    // text in bold across the row, on a shaded background.
    static constexpr int HeadingRole = Qt::UserRole + 2;

    explicit SymbolListDelegate(QObject* parent, int rowHeight = kRowHeight)
        : QStyledItemDelegate(parent), rowHeight_(rowHeight)
    {
    }

    // The side of the square each picture is drawn into; the row grows with it.
    void SetPictureSize(int size);
    int PictureSize() const { return pictureSize_; }
    void SetTiles(bool on);
    bool Tiles() const { return tiles_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void SetRowHeight(int rowHeight) { rowHeight_ = rowHeight; }

private:
    int rowHeight_;
    int pictureSize_ = kPictureSize;
    bool tiles_ = false;
};

// An 8 x 8 (or larger) core picture as a pixmap-ready QImage (a copy).
QImage ToQImage(const Image& image);

// A list entry with its picture, for a list drawn by SymbolListDelegate.
QListWidgetItem* SymbolListItem(const std::string& text, const Image& picture);

// The four small buttons "to the top", "up", "down", "to the bottom",
// stacked in a new layout; each calls `move` with its step. Their object
// names are `prefix` followed by "MoveTopButton", "MoveUpButton", ...
QVBoxLayout* MakeMoveButtons(QWidget* parent, const QString& prefix, const std::function<void(MoveStep)>& move);

// Calls `left` when the user leaves `edit` for another control of its window
// (not when the window itself loses the focus).
void OnLeave(QLineEdit* edit, std::function<void()> left);

} // namespace tsl
