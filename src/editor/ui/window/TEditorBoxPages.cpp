// The main window's part in editing the game's page file: "Game Pictures
// and Sounds..." opens the browser of the pages controller, the title and
// the question before closing count the page file's changes with the maps',
// Save writes it beside them, and a wall the maps still use is looked for
// with Find and Replace.

#include "editor/ui/window/TEditorBox.h"

#include "editor/operations/PlaneManager.h"
#include "editor/ui/window/EditorActions.h"
#include "editor/ui/dialogs/TFindReplaceBox.h"
#include "editor/ui/gamedata/PagesController.h"

#include <QAction>

namespace tsl {

void TEditorBox::ConnectPageCommands()
{
    connect(actions_->Get(Command::GamePictures), &QAction::triggered, this, [this] {
        if (session_ && pages_->Document())
            pages_->Show();
    });
    connect(pages_, &PagesController::savedStateChanged, this, [this] {
        UpdateTitle();
        RefreshCommands();
    });
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
    return session_ && (session_->Changed() || pages_->Changed());
}

void TEditorBox::SetSoundOutput(std::unique_ptr<SoundOutput> output)
{
    pages_->SetSoundOutput(std::move(output));
}

bool TEditorBox::SavePages()
{
    std::string tidied;
    if (!pages_->Save(session_->Maps().Backups, &tidied))
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
