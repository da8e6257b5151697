// The main window's view of the level from inside and its way into the game:
// "3D Preview" and "View From Here" (Alt + click, or the map view's context
// menu) through the preview's controller, and "Run Map" through Run Map's
// controller.

#include "editor/ui/window/TEditorBox.h"

#include "editor/ui/window/EditorActions.h"
#include "editor/ui/views/MapView.h"
#include "editor/ui/views/PreviewController.h"
#include "editor/ui/run/RunController.h"

#include <QAction>
#include <QMenu>


namespace tsl {

void TEditorBox::ConnectPreviewCommands()
{
    // The everyday keys work from the preview too: walked to the place to
    // try, F9 runs it; an edit looked at from inside can be undone, saved,
    // or the next map walked, without going back to the map.
    previewer_->ShareActions({actions_->Get(Command::RunMap), actions_->Get(Command::SaveProject),
                              actions_->Get(Command::Undo), actions_->Get(Command::Redo),
                              actions_->Get(Command::PreviousLevel), actions_->Get(Command::NextLevel)});
    connect(actions_->Get(Command::Preview3D), &QAction::triggered, this, [this] {
        if (session_)
            previewer_->Show(true);
    });
    connect(actions_->Get(Command::RunMap), &QAction::triggered, this, [this] {
        // The game goes on once the maps are saved: nothing to close first.
        if (session_)
            runner_->RunMap(session_->Maps(), Changed(), [this] { return SaveProject(true); });
    });
    connect(actions_->Get(Command::RunMapCommand), &QAction::triggered, this,
            [this] { runner_->AskCommand(session_ ? &session_->Maps() : nullptr); });
    connect(View()->PaintArea(), &MapPaintArea::viewFromHere, previewer_, &PreviewController::ViewFromHere);
    connect(View()->PaintArea(), &MapPaintArea::contextMenuAsked, this, &TEditorBox::onMapContextMenu);
}

void TEditorBox::onMapContextMenu(QPoint tile, QPoint globalPosition)
{
    if (!session_)
        return;
    const MapList& map = session_->Maps().Current();
    QMenu menu(this);
    menu.setObjectName("mapViewMenu");
    QAction* here = menu.addAction("View From Here");
    here->setObjectName("viewFromHereAction");
    here->setEnabled(tile.x() >= 0 && tile.y() >= 0 && tile.x() < map.Width && tile.y() < map.Height);
    if (menu.exec(globalPosition) == here)
        previewer_->ViewFromHere(tile);
}

} // namespace tsl
