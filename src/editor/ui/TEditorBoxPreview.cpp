// The main window's view of the level from inside and its way into the game:
// the one "3D Preview" window, which follows the project, the map and every
// edit through Apply; the camera arrow in the map view while that window is
// shown; "View From Here" (Alt + click, or the map view's context menu); and
// "Run Map" with the command it starts the game with.

#include "editor/ui/TEditorBox.h"

#include "editor/ui/EditorActions.h"
#include "editor/ui/MapView.h"
#include "editor/ui/TPreview3DBox.h"
#include "editor/ui/TRunCommandBox.h"

#include <QAction>
#include <QMenu>
#include <QScreen>

namespace tsl {

void TEditorBox::ConnectPreviewCommands()
{
    connect(actions_->Get(Command::Preview3D), &QAction::triggered, this, [this] {
        if (session_)
            ShowPreview(true);
    });
    connect(actions_->Get(Command::RunMap), &QAction::triggered, this, &TEditorBox::onRunMap);
    connect(actions_->Get(Command::RunMapCommand), &QAction::triggered, this, &TEditorBox::onRunMapCommand);
    connect(view_->PaintArea(), &MapPaintArea::viewFromHere, this, &TEditorBox::onViewFromHere);
    connect(view_->PaintArea(), &MapPaintArea::contextMenuAsked, this, &TEditorBox::onMapContextMenu);
}

TPreview3DBox& TEditorBox::ShowPreview(bool activate)
{
    if (!preview_) {
        // Made at its first use: a project that is never looked at from
        // inside never has its pictures read for it.
        preview_ = new TPreview3DBox(this);
        connect(preview_, &TPreview3DBox::CameraMoved, this, &TEditorBox::SyncCameraMark);
        connect(preview_, &TPreview3DBox::VisibilityChanged, this, &TEditorBox::SyncCameraMark);
        // The everyday keys work from the preview too: walked to the place
        // to try, F9 runs it; an edit looked at from inside can be undone,
        // saved, or the next map walked, without going back to the map.
        for (Command command : {Command::RunMap, Command::SaveProject, Command::Undo, Command::Redo,
                                Command::PreviousLevel, Command::NextLevel})
            preview_->addAction(actions_->Get(command));
        SyncPreview(EditResult::None());
        // Beside the main window when the screen has room for it there, so
        // that the map and the view from inside are seen together.
        const QRect room = screen()->availableGeometry();
        const QRect beside(frameGeometry().topRight() + QPoint(1, 0), preview_->size());
        if (room.contains(beside))
            preview_->move(beside.topLeft());
    }
    preview_->show();
    preview_->raise();
    if (activate)
        preview_->activateWindow();
    return *preview_;
}

void TEditorBox::LeavePreview()
{
    if (preview_ && preview_->ShownProject())
        preview_->SetProject(nullptr);
}

void TEditorBox::SyncPreview(const EditResult& result)
{
    if (!preview_)
        return;
    const Project* project = CurrentProject();
    if (preview_->ShownProject() != project) {
        preview_->SetProject(project, graphics_); // the pictures the window loaded
    } else if (project) {
        // Another map, or maps added or deleted (the same number may now
        // stand for another map): from the player start. Otherwise the
        // camera stays where it is in the edited map.
        const int current = project->Maps.CurrentMap;
        if (result.What == EditResult::Redraw::MapList &&
            (preview_->MapIndex() != current || previewMapCount_ != project->Maps.NumMaps()))
            preview_->ShowMap(current);
        else if (result.What != EditResult::Redraw::Nothing)
            preview_->MapEdited();
    }
    previewMapCount_ = project ? project->Maps.NumMaps() : 0;
    SyncCameraMark();
}

void TEditorBox::SyncCameraMark()
{
    std::optional<CameraMark> mark;
    if (preview_ && preview_->isVisible() && preview_->ShownProject()) {
        const Camera& camera = preview_->CurrentCamera();
        mark = CameraMark{QPointF(camera.x, camera.y), camera.angle};
    }
    view_->PaintArea()->SetCameraMark(mark);
}

void TEditorBox::onViewFromHere(QPoint tile)
{
    if (!session_)
        return;
    const MapList& map = session_->Maps().Current();
    if (tile.x() < 0 || tile.y() < 0 || tile.x() >= map.Width || tile.y() >= map.Height)
        return;
    // The map view keeps the keys: the user goes on pointing at tiles.
    ShowPreview(false).PutCameraAt(tile.x(), tile.y());
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
        onViewFromHere(tile);
}

void TEditorBox::onRunMap()
{
    if (!session_)
        return;
    RunMapHooks hooks;
    hooks.save = [this] { return SaveProject(); };
    hooks.askCommand = [this] { return runCommandBox_->AskCommand(); };
    hooks.launch = launcher_;
    RunMap(session_->Maps(), Changed(), settingsFile_, prompter_, hooks);
}

void TEditorBox::onRunMapCommand()
{
    const std::string current = settingsFile_.ReadString(kGameSection, kRunCommandKey, "");
    if (const auto command = runCommandBox_->AskCommand(current))
        settingsFile_.WriteString(kGameSection, kRunCommandKey, *command);
}

} // namespace tsl
