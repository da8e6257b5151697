#include "editor/ui/views/RecentSymbolsRow.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace tsl {

RecentSymbolsRow::RecentSymbolsRow(QWidget* parent) : QWidget(parent)
{
    setObjectName("recentSymbols");
    setFixedHeight(kCellSize);
    setToolTip("Symbols drawn with lately");
}

void RecentSymbolsRow::SetEntries(std::vector<Entry> entries)
{
    if (entries.size() > kCells)
        entries.resize(kCells);
    entries_ = std::move(entries);
    update();
}

QRect RecentSymbolsRow::CellRect(int i) const
{
    return QRect(i * (kCellSize + 2), 0, kCellSize, kCellSize);
}

QSize RecentSymbolsRow::sizeHint() const
{
    return QSize(kCells * (kCellSize + 2), kCellSize);
}

int RecentSymbolsRow::CellAt(QPoint point) const
{
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i)
        if (CellRect(i).contains(point))
            return i;
    return -1;
}

bool RecentSymbolsRow::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int i = CellAt(help->pos());
        if (i >= 0)
            QToolTip::showText(help->globalPos(), entries_[static_cast<std::size_t>(i)].Text, this, CellRect(i));
        else
            QToolTip::showText(help->globalPos(), toolTip(), this);
        return true;
    }
    return QWidget::event(event);
}

void RecentSymbolsRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (int i = 0; i < kCells; ++i) {
        const QRect cell = CellRect(i);
        painter.setPen(palette().color(QPalette::Mid));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        if (i < static_cast<int>(entries_.size()))
            painter.drawImage(cell.adjusted(2, 2, -2, -2), entries_[static_cast<std::size_t>(i)].Picture);
    }
}

void RecentSymbolsRow::mousePressEvent(QMouseEvent* event)
{
    const int i = CellAt(event->position().toPoint());
    if (i >= 0)
        emit valuePressed(entries_[static_cast<std::size_t>(i)].Value, event->button());
    event->accept();
}

} // namespace tsl
