#pragma once
// A list of the game data browser that takes one local file dropped on a
// row: `dropped` hears the row, the column it fell on and the file.

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>

#include <functional>

namespace tsl {

class FileDropList : public QTreeWidget {
public:
    std::function<void(QTreeWidgetItem*, int, const QString&)> dropped;

protected:
    static QString DroppedFile(const QMimeData* data)
    {
        if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().front().isLocalFile())
            return {};
        return data->urls().front().toLocalFile();
    }
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (!DroppedFile(event->mimeData()).isEmpty())
            event->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        if (!DroppedFile(event->mimeData()).isEmpty() && itemAt(event->position().toPoint()))
            event->acceptProposedAction();
        else
            event->ignore();
    }
    void dropEvent(QDropEvent* event) override
    {
        const QPoint at = event->position().toPoint();
        QTreeWidgetItem* row = itemAt(at);
        const QString file = DroppedFile(event->mimeData());
        if (!row || file.isEmpty() || !dropped)
            return;
        event->acceptProposedAction();
        dropped(row, columnAt(at.x()), file);
    }
};

} // namespace tsl
