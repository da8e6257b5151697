// The main window's part in keeping work: "Restore Backup..." (a backup
// generation of the game's files put back, then the project opened again),
// the autosave of unsaved maps into the recovery file, and the recovery file
// offered back when its game is opened.

#include "editor/ui/TEditorBox.h"

#include "core/ui/TProgressBox.h"
#include "editor/BackupRestore.h"
#include "editor/Recovery.h"
#include "editor/ui/TRestoreBackupBox.h"

#include <QTimer>

#include <chrono>

namespace tsl {

void TEditorBox::onRestoreBackup()
{
    if (!session_ || !AskSaveChanges())
        return;
    const MapHandler& maps = session_->Maps();
    const auto generations = GenerationsOf(maps.Backups, maps.Path);
    if (!generations) {
        prompter_.Show(generations.failure());
        return;
    }
    const std::optional<BackupGeneration> chosen = restoreBox_->ChooseBackup(*generations);
    if (!chosen || prompter_.Ask(RestoreQuestion(*chosen)) != Answer::Yes)
        return;
    Project& project = session_->CurrentProject();
    const std::filesystem::path directory = maps.Path;
    const auto report = RestoreBackup(
        {maps.Backups, directory, chosen->Id, &maps, project.Settings.get(), project.StructureFolder},
        std::chrono::system_clock::now());
    if (report)
        prompter_.Message(report->Text, kRestoreBackupCaption, MessageIcon::Information, Buttons::Ok);
    else
        prompter_.Show(report.failure());
    // What is open now is not what the files hold: the project is read again.
    ForgetRecovery();
    OpenProject(true, directory);
    SetStatus("Ready");
}

bool TEditorBox::OfferRecovery(Project& project)
{
    // The previous project's last write ends before this one's file is looked at.
    autosaver_.reset();
    autosaved_ = false;
    autosaveFailureShown_ = false;
    const std::filesystem::path& root = environment_.recoveryRoot;
    if (root.empty())
        return false;
    RemoveOldRecoveries(root, std::chrono::system_clock::now());
    const std::filesystem::path file = RecoveryFilePath(root, project.Maps.Path);
    autosaver_ = std::make_unique<Autosaver>(file);

    const auto time = RecoveryTime(file);
    if (!time)
        return false;
    bool recovered = false;
    // A file older than the game's files holds nothing they lack; it is set
    // aside unasked all the same, never thrown away.
    if (RecoveryIsNewer(file, project.Maps) && prompter_.Ask(RecoveryQuestion(file, *time)) == Answer::Yes) {
        auto maps = ReadRecoveryFile(file, project.Maps);
        if (maps) {
            UseRecoveredMaps(project.Maps, std::move(*maps));
            recovered = true;
        } else {
            prompter_.Show(maps.failure());
        }
    }
    if (!recovered)
        if (const auto aside = SetRecoveryAside(file); !aside)
            prompter_.Show(aside.failure());
    return recovered;
}

void TEditorBox::ForgetRecovery()
{
    if (!autosaver_)
        return;
    autosaver_->Discard();
    autosaved_ = false;
}

void TEditorBox::Autosave()
{
    // Not while the maps are being saved: they are written whole right then.
    if (!session_ || !autosaver_ || progressBox_->isVisible())
        return;
    if (Changed()) {
        autosaver_->Save(session_->Maps());
        autosaved_ = true;
    } else if (autosaved_) {
        ForgetRecovery(); // undone back to what the files hold
    }
    if (auto failure = autosaver_->TakeFailure(); failure && !autosaveFailureShown_) {
        autosaveFailureShown_ = true;
        prompter_.Show(*failure);
    }
}

} // namespace tsl
