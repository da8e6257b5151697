#include "editor/ui/TRestoreBackupBox.h"

#include "core/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tsl {

TRestoreBackupBox::TRestoreBackupBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("restoreBackupBox");
    setWindowTitle("Restore Backup");
    auto* label = new QLabel("Every save kept the files it replaced. Choose the backup to restore:");
    list_ = new QListWidget;
    list_->setObjectName("backupList");
    list_->setMinimumWidth(320);
    QDialogButtonBox* buttons = OkCancelButtons(this);
    ok_ = buttons->findChild<QPushButton*>("okButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { ok_->setEnabled(row >= 0); });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

std::optional<BackupGeneration> TRestoreBackupBox::ChooseBackup(const std::vector<BackupGeneration>& generations)
{
    list_->clear();
    for (auto it = generations.rbegin(); it != generations.rend(); ++it)
        list_->addItem(QString("%1 - %2 %3")
                           .arg(QString::fromStdString(LocalTimeText(it->Time)))
                           .arg(it->Maps)
                           .arg(it->Maps == 1 ? "map" : "maps"));
    list_->setCurrentRow(generations.empty() ? -1 : 0);
    ok_->setEnabled(!generations.empty());
    if (exec() != QDialog::Accepted || list_->currentRow() < 0)
        return std::nullopt;
    return generations[generations.size() - 1 - static_cast<std::size_t>(list_->currentRow())];
}

} // namespace tsl
