#include "editor/ui/gamedata/PageThumbnails.h"

#include "graphics/Sprite.h"

#include <QImage>

#include <string_view>

namespace tsl {

void PageThumbnails::SetPages(const PageSet& pages, const Palette& palette)
{
    pages_ = pages;
    palette_ = palette;
    made_.clear();
}

void PageThumbnails::SetScale(int scale)
{
    if (scale != scale_)
        made_.clear();
    scale_ = scale;
}

QPixmap PageThumbnails::Of(int chunk)
{
    const PageSet::Chunk bytes = pages_.ChunkAt(chunk);
    const ChunkKind kind = pages_.KindOf(chunk);
    if (!bytes || (kind != ChunkKind::Wall && kind != ChunkKind::Sprite))
        return {};
    const bool wall = kind == ChunkKind::Wall;
    const std::string_view content(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    const std::uint64_t key = std::hash<std::string_view>()(content) * 2 + (wall ? 1 : 0);
    if (const Made* made = made_.object(key); made && made->wall == wall && (made->bytes == bytes || *made->bytes == *bytes))
        return made->picture;
    QPixmap picture = Make(*bytes, wall);
    if (!picture.isNull())
        made_.insert(key, new Made{bytes, wall, picture}, Side() * Side() * 4);
    return picture;
}

QPixmap PageThumbnails::Make(const Bytes& bytes, bool wall) const
{
    QImage image(kPictureSide, kPictureSide, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    if (wall) {
        for (int c = 0; c < kPictureSide; ++c)
            for (int r = 0; r < kPictureSide; ++r)
                image.setPixel(c, r, palette_[bytes[static_cast<std::size_t>(c * kPictureSide + r)]]);
    } else {
        Sprite sprite;
        if (DecodeSprite(bytes, sprite))
            return {};
        for (int c = 0; c < kPictureSide; ++c)
            for (int r = 0; r < kPictureSide; ++r)
                if (sprite.Opaque(c, r))
                    image.setPixel(c, r, palette_[sprite.Pixel(c, r)]);
    }
    // Enlarged without smoothing: every pixel of the game stays a square.
    return QPixmap::fromImage(image.scaled(Side(), Side()));
}

void ThumbnailDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const QVariant chunk = index.data(chunkRole_);
    if (sizing_ || !chunk.isValid())
        return;
    const QPixmap picture = thumbnails_.Of(chunk.toInt());
    if (picture.isNull())
        return;
    option->icon = QIcon(picture);
    option->decorationSize = picture.size();
    option->features |= QStyleOptionViewItem::HasDecoration;
}

QSize ThumbnailDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // Without making the picture: a thumbnail is a square of the side.
    sizing_ = true;
    const QSize text = QStyledItemDelegate::sizeHint(option, index);
    sizing_ = false;
    const int side = thumbnails_.Side() + 6;
    const QVariant chunk = index.data(chunkRole_);
    return chunk.isValid() && chunk.toInt() >= 0 ? text.expandedTo(QSize(side, side)) : text;
}

} // namespace tsl
