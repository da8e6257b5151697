#include "editor/ui/dialogs/TClipboardManagerBox.h"

#include "editor/operations/PasteBuffer.h"
#include "editor/ui/views/SidePanel.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tsl {

// The selected entry's preview at the top-left corner. The area grows to a
// larger preview and never shrinks while the dialog is open, so that the
// scroll bars do not jump between entries.
class ClipboardPreview : public QWidget {
public:
    ClipboardPreview() { setObjectName("clipboardPreview"); }
    void Show(const QImage& picture)
    {
        picture_ = picture;
        resize(size().expandedTo(picture_.size()));
        update();
    }
    void ResetSize() { resize(0, 0); }
    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        if (!picture_.isNull())
            painter.drawImage(QPoint(0, 0), picture_);
    }

private:
    QImage picture_;
};

TClipboardManagerBox::TClipboardManagerBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("clipboardManagerBox");
    setWindowTitle("Clipboard Manager");
    list_ = new QListWidget;
    list_->setObjectName("clipboardList");
    list_->setFixedWidth(140);
    preview_ = new ClipboardPreview;
    auto* area = new QScrollArea;
    area->setObjectName("previewArea");
    area->setWidget(preview_);
    area->setBackgroundRole(QPalette::Dark);
    area->setMinimumSize(300, 300);

    auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        return b;
    };
    delete_ = button("Delete selection", "deleteSelectionButton");
    clear_ = button("Clear list", "clearListButton");
    paste_ = button("Past into map", "pastIntoMapButton");
    QPushButton* cancel = button("Cancel", "cancelButton");

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {delete_, clear_, paste_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    auto* top = new QHBoxLayout;
    top->addWidget(list_);
    top->addWidget(area, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(list_, &QListWidget::currentRowChanged, this, &TClipboardManagerBox::ShowSelected);
    connect(delete_, &QPushButton::clicked, this, &TClipboardManagerBox::onDeleteSelection);
    connect(clear_, &QPushButton::clicked, this, &TClipboardManagerBox::onClearList);
    connect(paste_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<int> TClipboardManagerBox::ShowClipboardManager(CB_Manager& manager, Previewer previewer)
{
    manager_ = &manager;
    previewer_ = std::move(previewer);
    preview_->ResetSize();
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
        for (std::size_t i = 0; i < manager.Entries.size(); ++i)
            list_->addItem(QString("Clipboard #%1").arg(i));
        list_->setCurrentRow(manager.Entries.empty() ? -1 : 0);
    }
    ShowSelected();
    const bool chosen = exec() == QDialog::Accepted && list_->currentRow() >= 0;
    manager_ = nullptr;
    previewer_ = nullptr;
    if (!chosen)
        return std::nullopt;
    return list_->currentRow();
}

void TClipboardManagerBox::ShowSelected()
{
    const int row = list_->currentRow();
    const bool shown = manager_ && row >= 0 && row < static_cast<int>(manager_->Entries.size());
    QImage picture;
    if (shown) {
        const CB_Object& entry = manager_->Entries[static_cast<std::size_t>(row)];
        picture = ToQImage(previewer_ ? previewer_(entry) : entry.Preview);
    }
    preview_->Show(picture);
    EnableButtons();
}

void TClipboardManagerBox::EnableButtons()
{
    const bool any = list_->count() > 0;
    for (QPushButton* b : {delete_, clear_, paste_})
        b->setEnabled(any);
}

void TClipboardManagerBox::onDeleteSelection()
{
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(manager_->Entries.size()))
        return;
    manager_->Entries.erase(manager_->Entries.begin() + row);
    // The other lines keep their captions until the dialog opens again.
    delete list_->takeItem(row);
    if (manager_->Entries.empty())
        manager_->Discard = false;
    list_->setCurrentRow(std::min(row, list_->count() - 1));
    ShowSelected();
}

void TClipboardManagerBox::onClearList()
{
    manager_->Entries.clear();
    manager_->Discard = true;
    list_->clear();
    ShowSelected();
}

} // namespace tsl
