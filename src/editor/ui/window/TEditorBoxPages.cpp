// The main window's part in editing the game's page file and its other
// pictures and sounds: "Game Pictures and Sounds..." opens the browser of the
// pages controller with the tabs of the game data controller, the title and
// the question before closing count their changes with the maps', Save
// writes them beside them, and a wall the maps still use is looked for with
// Find and Replace.

#include "editor/ui/window/TEditorBox.h"

#include "editor/operations/PlaneManager.h"
#include "editor/ui/window/EditorActions.h"
#include "editor/ui/dialogs/TFindReplaceBox.h"
#include "editor/ui/gamedata/GameDataController.h"
#include "editor/ui/gamedata/PagesController.h"

#include <QAction>

namespace tsl {

void TEditorBox::ConnectPageCommands()
{
    connect(actions_->Get(Command::GamePictures), &QAction::triggered, this, [this] {
        if (session_ && pages_->Document()) {
            gameData_->SetSoundOutput(pages_->Output());
            gameData_->ShowIn(pages_->Show());
        }
    });
    const auto follow = [this] {
        UpdateTitle();
        RefreshCommands();
    };
    connect(pages_, &PagesController::savedStateChanged, this, follow);
    connect(gameData_, &GameDataController::savedStateChanged, this, follow);
    connect(pages_, &PagesController::findWallAsked, this, &TEditorBox::FindWall);
}

void TEditorBox::FindWall(int wall)
{
    if (!session_ || !session_->CanFindReplace())
        return;
    FindFields fields = session_->Finds().Fields;
    fields.Plane = 0;
    fields.FindWhat = std::to_string(wall);
    fields.Scope = ReplaceScope::AllMaps;
    const Project& project = session_->CurrentProject();
    Apply(session_->RunFind(
        findReplaceBox_->ShowFindReplace(fields, PlaneNames(*project.Settings, project.Maps().NumPlanes))));
}

bool TEditorBox::Changed() const
{
    return session_ && (session_->Changed() || pages_->Changed() || gameData_->Changed());
}

void TEditorBox::SetSoundOutput(std::unique_ptr<SoundOutput> output)
{
    pages_->SetSoundOutput(std::move(output));
    // The other sounds play through the same output; the one they held is gone.
    gameData_->SetSoundOutput(pages_->Output());
}

bool TEditorBox::SavePages()
{
    std::string tidied;
    if (!pages_->Save(session_->Maps().Backups, &tidied) || !gameData_->Save(session_->Maps().Backups))
        return false;
    if (!tidied.empty()) {
        // A note in the status bar: nothing was lost, and nothing waits for an answer.
        EditResult note;
        note.Status = tidied;
        Apply(note);
    }
    return true;
}

} // namespace tsl
