// The main window's part in keeping work: "Restore Backup..." (a backup
// generation of the game's files put back, then the project opened again at
// the place the user was), the autosave of unsaved maps and page file into
// the recovery (its policy is the core's AutosavePolicy, which follows the
// documents), and the recovery offered back when its game is opened.

#include "editor/ui/window/TEditorBox.h"

#include "core/ui/TProgressBox.h"
#include "editor/keeping/BackupRestore.h"
#include "editor/ui/dialogs/TRestoreBackupBox.h"
#include "editor/ui/gamedata/PagesController.h"

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
    TRestoreBackupBox box(this);
    const std::optional<BackupGeneration> chosen = box.ChooseBackup(*generations);
    if (!chosen)
        return;
    // Refused before the question: a yes must not lead to a refusal.
    if (auto refusal = RefuseRestore(*chosen, &maps)) {
        prompter_.Show(*refusal);
        return;
    }
    if (prompter_.Ask(RestoreQuestion(*chosen)) != Answer::Yes)
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
    // What is open now is not what the files hold: the project is read
    // again, and the user goes on where they were.
    const EditorPlace place = Place();
    ForgetRecovery();
    if (OpenProject(true, directory) && session_)
        GoToPlace(place);
    SetStatus("Ready");
}

void TEditorBox::OfferRecovery()
{
    const std::filesystem::path& root = environment_.recoveryRoot;
    if (root.empty() || !session_)
        return;
    RemoveOldRecoveries(root, std::chrono::system_clock::now());
    const std::filesystem::path file = RecoveryFilePath(root, session_->Maps().Path);
    const auto time = RecoveryTime(file);
    if (!time)
        return;
    const std::vector<KeptDocument*> kept = KeptDocuments();
    std::optional<RecoveredWork> recovered;
    // A recovery older than the game's files holds nothing they lack; it is
    // set aside unasked all the same, never thrown away.
    if (RecoveryIsNewer(file, session_->Maps(), kept) &&
        prompter_.Ask(RecoveryQuestion(file, *time, kept)) == Answer::Yes) {
        auto work = ReadRecovery(file, session_->Maps(), kept);
        if (work)
            recovered = std::move(*work);
        else
            prompter_.Show(work.failure());
    }
    if (!recovered) {
        if (const auto aside = SetRecoveryAside(file); !aside)
            prompter_.Show(aside.failure());
        return;
    }
    const std::optional<EditorPlace> place = recovered->Place;
    UseRecoveredWork(session_->Document(), std::move(*recovered));
    if (place)
        GoToPlace(*place);
}

std::vector<KeptDocument*> TEditorBox::KeptDocuments() const
{
    std::vector<KeptDocument*> kept;
    if (KeptDocument* pages = pages_->Kept())
        kept.push_back(pages);
    return kept;
}

void TEditorBox::StartAutosave()
{
    const std::filesystem::path& root = environment_.recoveryRoot;
    if (root.empty() || !session_)
        return;
    autosave_ = std::make_unique<AutosavePolicy>(RecoveryFilePath(root, session_->Maps().Path),
                                                 session_->Document(), KeptDocuments());
}

void TEditorBox::ForgetRecovery()
{
    if (autosave_)
        autosave_->Forget();
}

void TEditorBox::Autosave()
{
    // Not while the maps are being saved: they are written whole right then.
    if (!session_ || !autosave_ || progressBox_->isVisible())
        return;
    if (auto failure = autosave_->Tick(Place()))
        prompter_.Show(*failure);
}

} // namespace tsl
