#include "editor/ui/dialogs/TRestoreBackupBox.h"

#include "core/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tsl {

TRestoreBackupBox::TRestoreBackupBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("restoreBackupBox");
    setWindowTitle("Restore Backup");
    auto* label = new QLabel("Every save kept the files it replaced. Choose the backup to restore:");
    list_ = new QTreeWidget;
    list_->setObjectName("backupList");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({"Saved", "Replaced", "Maps"});
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->header()->setStretchLastSection(false);
    QDialogButtonBox* buttons = OkCancelButtons(this);
    ok_ = buttons->findChild<QPushButton*>("okButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(list_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { ok_->setEnabled(item != nullptr); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

std::optional<BackupGeneration> TRestoreBackupBox::ChooseBackup(const std::vector<BackupGeneration>& generations)
{
    list_->clear();
    for (auto it = generations.rbegin(); it != generations.rend(); ++it) {
        const std::string lacks = it->Incomplete();
        const std::string maps = !lacks.empty() ? "Incomplete: " + lacks
                                 : it->PageFile ? std::string("The page file")
                                 : it->GameData ? JoinAnd(it->GameFiles)
                                                : std::to_string(it->Maps) + (it->Maps == 1 ? " map" : " maps");
        new QTreeWidgetItem(list_, {QString::fromStdString(it->Saved ? LocalTimeText(*it->Saved) : "unknown"),
                                    QString::fromStdString(LocalTimeText(it->Time)), QString::fromStdString(maps)});
    }
    // Wide enough for every row, what an incomplete one lacks included.
    list_->header()->resizeSections(QHeaderView::ResizeToContents);
    list_->setMinimumWidth(std::max(480, list_->header()->length() + 2 * list_->frameWidth() +
                                             list_->verticalScrollBar()->sizeHint().width()));
    list_->setCurrentItem(list_->topLevelItem(0));
    ok_->setEnabled(!generations.empty());
    const int row = exec() == QDialog::Accepted ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
    if (row < 0)
        return std::nullopt;
    return generations[generations.size() - 1 - static_cast<std::size_t>(row)];
}

} // namespace tsl
