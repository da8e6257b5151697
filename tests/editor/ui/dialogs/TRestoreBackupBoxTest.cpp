// "Restore Backup": the generations newest first with the time their maps
// were saved, the time they were replaced and their map count (or what an
// incomplete one lacks), the chosen one handed back.

#include "UiTestUtil.h"
#include "editor/ui/dialogs/TRestoreBackupBox.h"

#include <gtest/gtest.h>

#include <QTreeWidget>

using namespace tsl;
using namespace tsl::test;
using namespace std::chrono;

TEST(RestoreBackupBox, ListsTheNewestFirstAndHandsBackTheChosenOne)
{
    std::vector<BackupGeneration> generations(3);
    for (int i = 0; i < 3; ++i) {
        generations[i].Id = "generation " + std::to_string(i);
        generations[i].Time = sys_days{year(2025) / 3 / (10 + i)} + hours(9);
        generations[i].Saved = generations[i].Time - minutes(5);
        generations[i].Maps = i + 1;
    }
    generations[0].Saved.reset(); // kept before the time was recorded
    generations[2].MissingFiles = {"MAPHEAD.WL6"};
    TRestoreBackupBox box;
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Restore Backup");
        auto* list = Find<QTreeWidget>(dialog, "backupList");
        std::vector<std::string> rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            rows.push_back(S(item->text(0) + " | " + item->text(1) + " | " + item->text(2)));
        }
        EXPECT_EQ(rows, (std::vector<std::string>{
                            "2025-03-12 08:55:00 | 2025-03-12 09:00:00 | Incomplete: MAPHEAD.WL6 is missing",
                            "2025-03-11 08:55:00 | 2025-03-11 09:00:00 | 2 maps",
                            "unknown | 2025-03-10 09:00:00 | 1 map"}));
        EXPECT_EQ(list->indexOfTopLevelItem(list->currentItem()), 0);
        list->setCurrentItem(list->topLevelItem(2));
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
