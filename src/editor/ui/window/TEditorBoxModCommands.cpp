// From levels to a mod: "Episode Board" (Map menu), "Compare with...",
// "Stop Comparing" and "Make Release..." (File menu), and Next Change and
// Previous Change, handed to the mod controller; the maps it asks for are
// opened as Go To Level opens them.

#include "editor/ui/window/TEditorBox.h"

#include "editor/ui/mod/ModController.h"
#include "editor/ui/window/EditorActions.h"

#include <QAction>

namespace tsl {

void TEditorBox::ConnectModCommands()
{
    connect(actions_->Get(Command::EpisodeBoard), &QAction::triggered, modder_, &ModController::ShowBoard);
    connect(actions_->Get(Command::CompareWith), &QAction::triggered, modder_, &ModController::CompareWith);
    connect(actions_->Get(Command::StopComparing), &QAction::triggered, modder_, &ModController::StopComparing);
    connect(actions_->Get(Command::NextChange), &QAction::triggered, this, [this] { modder_->StepChange(1); });
    connect(actions_->Get(Command::PreviousChange), &QAction::triggered, this, [this] { modder_->StepChange(-1); });
    connect(actions_->Get(Command::MakeRelease), &QAction::triggered, this,
            [this] { modder_->MakeRelease(Changed(), [this] { return SaveProject(); }); });
    connect(modder_, &ModController::openMap, this, [this](int index) {
        if (session_ && index >= 0 && index < session_->Maps().NumMaps())
            Apply(session_->GoToLevel(index));
    });
    connect(modder_, &ModController::changed, this, &TEditorBox::RefreshCommands);
}

} // namespace tsl
