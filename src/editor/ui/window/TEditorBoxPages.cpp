// The main window's part in editing the game's page file: "Game Pictures
// and Sounds..." opens the browser of the pages controller, the title and
// the question before closing count the page file's changes with the maps',
// and Save writes it beside them.

#include "editor/ui/window/TEditorBox.h"

#include "editor/ui/window/EditorActions.h"
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
    return pages_->Save(session_->Maps().Backups);
}

} // namespace tsl
