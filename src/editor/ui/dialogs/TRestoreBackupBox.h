#pragma once
// "Restore Backup": the backup generations of the open game, newest first,
// each with the time its maps were saved, the time a save replaced them and
// its number of maps (or what it lacks). It hands back the chosen one; the
// main window asks (RestoreQuestion), restores and opens the game again.

#include "core/BackupGenerations.h"

#include <QDialog>

#include <optional>
#include <vector>

class QTreeWidget;
class QPushButton;

namespace tsl {

class TRestoreBackupBox : public QDialog {
    Q_OBJECT
public:
    explicit TRestoreBackupBox(QWidget* parent = nullptr);

    // Shows the dialog modally over `generations` (oldest first, as listed):
    // the chosen one after "OK" or a double click, nothing after "Cancel".
    std::optional<BackupGeneration> ChooseBackup(const std::vector<BackupGeneration>& generations);

private:
    QTreeWidget* list_;
    QPushButton* ok_;
};

} // namespace tsl
