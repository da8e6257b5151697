#pragma once
// The thumbnails of the page browser's walls and sprites, made when a row
// is painted rather than when the list is filled, so that a page file of
// 65,535 chunks costs the pictures on the screen and not one each. Chunks
// of the same bytes (a file may point thousands of chunks at one sprite)
// share one picture, and the pictures made are kept up to a bound.

#include "graphics/PageSet.h"
#include "graphics/Palette.h"

#include <QCache>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <cstdint>

namespace tsl {

class PageThumbnails {
public:
    // The pictures to draw from, and how large (1x or 2x).
    void SetPages(const PageSet& pages, const Palette& palette);
    void SetScale(int scale);
    int Side() const { return kPictureSide * scale_; }

    // The chunk's thumbnail; null for an empty chunk or one without a picture.
    QPixmap Of(int chunk);

private:
    struct Made {
        PageSet::Chunk bytes; // the content it was made from
        bool wall = false;
        QPixmap picture;
    };
    QPixmap Make(const Bytes& bytes, bool wall) const;

    PageSet pages_;
    Palette palette_;
    int scale_ = 1;
    // By a hash of the content; the cost is the picture's bytes.
    QCache<std::uint64_t, Made> made_{64 << 20};
};

// Draws the thumbnail of the chunk an item's `chunkRole` names as its icon,
// at the thumbnails' side, when the item is painted.
class ThumbnailDelegate : public QStyledItemDelegate {
public:
    ThumbnailDelegate(PageThumbnails& thumbnails, int chunkRole, QObject* parent)
        : QStyledItemDelegate(parent), thumbnails_(thumbnails), chunkRole_(chunkRole)
    {
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    PageThumbnails& thumbnails_;
    int chunkRole_;
    mutable bool sizing_ = false; // a size is asked for: no picture is made for it
};

} // namespace tsl
