// The main window's part in editing the game's page file and its other
// pictures and sounds: "Game Pictures and Sounds..." opens the browser of the
// pages controller with the tabs of the game data controller, the title and
// the question before closing count their changes with the maps', and Save
// writes them beside them.

#include "editor/ui/window/TEditorBox.h"

#include "editor/ui/window/EditorActions.h"
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
}

bool TEditorBox::Changed() const
{
    return session_ && (session_->Changed() || pages_->Changed() || gameData_->Changed());
}

void TEditorBox::SetSoundOutput(std::unique_ptr<SoundOutput> output)
{
    pages_->SetSoundOutput(std::move(output));
}

bool TEditorBox::SavePages()
{
    return pages_->Save(session_->Maps().Backups) && gameData_->Save(session_->Maps().Backups);
}

} // namespace tsl
