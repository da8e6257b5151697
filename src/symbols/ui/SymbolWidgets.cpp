#include "symbols/ui/SymbolWidgets.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tsl {

namespace {

const QColor kSelectedBackground(0x00, 0x00, 0x80);

class LeaveWatcher : public QObject {
public:
    LeaveWatcher(QLineEdit* edit, std::function<void()> left) : QObject(edit), left_(std::move(left))
    {
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                left_();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> left_;
};

} // namespace

void SymbolListDelegate::SetPictureSize(int size)
{
    pictureSize_ = std::max(size, 1);
    rowHeight_ = pictureSize_ == kPictureSize ? kRowHeight : std::max(kRowHeight, pictureSize_ + 2);
    emit sizeHintChanged(QModelIndex());
}

void SymbolListDelegate::SetTiles(bool on)
{
    tiles_ = on;
    emit sizeHintChanged(QModelIndex());
}

void SymbolListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect row = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    if (tiles_ && !index.data(HeadingRole).toBool()) {
        const int side = std::max(pictureSize_, kTilePicture);
        const QImage picture = index.data(PictureRole).value<QImage>();
        painter->save();
        painter->fillRect(row, selected ? kSelectedBackground : option.palette.base().color());
        if (!picture.isNull()) {
            painter->setRenderHint(QPainter::SmoothPixmapTransform, picture.width() > side);
            painter->drawImage(QRect(row.center().x() - side / 2 + 1, row.center().y() - side / 2 + 1, side, side),
                               picture);
        }
        painter->restore();
        return;
    }
    const int s = pictureSize_;
    const bool small = s == kPictureSize;
    painter->save();
    if (index.data(HeadingRole).toBool()) {
        painter->fillRect(row, option.palette.button().color());
        QFont bold = option.font;
        bold.setBold(true);
        painter->setFont(bold);
        painter->setPen(option.palette.buttonText().color());
        painter->drawText(row.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
        return;
    }
    painter->fillRect(row, selected ? kSelectedBackground : option.palette.base().color());
    const QImage picture = index.data(PictureRole).value<QImage>();
    if (!picture.isNull()) {
        // Enlarged pixel for pixel; a larger picture (a game picture) shrunk smoothly.
        painter->setRenderHint(QPainter::SmoothPixmapTransform, picture.width() > s);
        painter->drawImage(QRect(row.left(), row.top() + (small ? 3 : 1), s, s), picture);
    }
    painter->setPen(selected ? QColor(Qt::white) : option.palette.text().color());
    painter->setFont(option.font);
    const int align = static_cast<int>(Qt::AlignLeft) | static_cast<int>(small ? Qt::AlignTop : Qt::AlignVCenter);
    painter->drawText(QRect(row.left() + s + 2, row.top(), row.width() - s - 2, row.height()), align,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize SymbolListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (tiles_) {
        if (index.data(HeadingRole).toBool()) {
            // As wide as the list: a row of its own.
            const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
            return QSize(view ? std::max(view->viewport()->width() - 1, 1) : 200, kRowHeight + 2);
        }
        const int side = std::max(pictureSize_, kTilePicture) + 4;
        return QSize(side, side);
    }
    return QSize(QStyledItemDelegate::sizeHint(option, index).width() + pictureSize_ + 2, rowHeight_);
}

QImage ToQImage(const Image& image)
{
    if (image.empty())
        return {};
    QImage wrapped(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                   image.width * 4, QImage::Format_RGB32);
    return wrapped.copy();
}

QListWidgetItem* SymbolListItem(const std::string& text, const Image& picture)
{
    auto* item = new QListWidgetItem(QString::fromStdString(text));
    item->setData(SymbolListDelegate::PictureRole, ToQImage(picture));
    item->setToolTip(item->text()); // the name in full, where the list cuts it or shows only the picture
    return item;
}

QVBoxLayout* MakeMoveButtons(QWidget* parent, const QString& prefix, const std::function<void(MoveStep)>& move)
{
    struct Button {
        const char* name;
        const char* glyph;
        const char* tip;
        MoveStep step;
    };
    static const Button kButtons[] = {
        {"MoveTopButton", "\u21D1", "Move to the top", MoveStep::Top},
        {"MoveUpButton", "\u2191", "Move up", MoveStep::Up},
        {"MoveDownButton", "\u2193", "Move down", MoveStep::Down},
        {"MoveBottomButton", "\u21D3", "Move to the bottom", MoveStep::Bottom},
    };
    auto* column = new QVBoxLayout;
    for (const Button& b : kButtons) {
        auto* button = new QToolButton(parent);
        button->setObjectName(prefix + QLatin1String(b.name));
        button->setText(QString::fromUtf8(b.glyph));
        button->setToolTip(b.tip);
        button->setFixedSize(24, 24);
        const MoveStep step = b.step;
        QObject::connect(button, &QToolButton::clicked, parent, [move, step] { move(step); });
        column->addWidget(button);
    }
    column->addStretch(1);
    return column;
}

void OnLeave(QLineEdit* edit, std::function<void()> left)
{
    new LeaveWatcher(edit, std::move(left));
}

} // namespace tsl
