// "Restore Backup": the generations newest first with their time and map
// count, the chosen one handed back.

#include "UiTestUtil.h"
#include "editor/ui/TRestoreBackupBox.h"

#include <gtest/gtest.h>

#include <QListWidget>

using namespace tsl;
using namespace tsl::test;
using namespace std::chrono;

TEST(RestoreBackupBox, ListsTheNewestFirstAndHandsBackTheChosenOne)
{
    std::vector<BackupGeneration> generations(3);
    for (int i = 0; i < 3; ++i) {
        generations[i].Id = "generation " + std::to_string(i);
        generations[i].Time = sys_days{year(2025) / 3 / (10 + i)} + hours(9);
        generations[i].Maps = i + 1;
    }
    TRestoreBackupBox box;
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Restore Backup");
        auto* list = Find<QListWidget>(dialog, "backupList");
        EXPECT_EQ(Items(list), (std::vector<std::string>{"2025-03-12 09:00:00 - 3 maps", "2025-03-11 09:00:00 - 2 maps",
                                                         "2025-03-10 09:00:00 - 1 map"}));
        EXPECT_EQ(list->currentRow(), 0);
        list->setCurrentRow(2);
        Click(dialog, "okButton");
        Finish(dialog);
    });
    EXPECT_EQ(box.ChooseBackup(generations)->Id, "generation 0");

    WhenModal([&](QWidget* dialog) {
        Click(dialog, "cancelButton");
        Finish(dialog);
    });
    EXPECT_FALSE(box.ChooseBackup(generations));
}
