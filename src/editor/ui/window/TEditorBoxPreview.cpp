// The main window's view of the level from inside and its way into the game:
// "3D Preview" and "View From Here" (Alt + click, or the map view's context
// menu) through the preview's controller, and "Run Map" with the command it
// starts the game with.

#include "editor/ui/window/TEditorBox.h"

#include "editor/ui/window/EditorActions.h"
#include "editor/ui/views/MapView.h"
#include "editor/ui/views/PreviewController.h"
#include "editor/ui/run/TRunCommandBox.h"

#include <QAction>
#include <QMenu>

#include <cstdlib>

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
    connect(actions_->Get(Command::RunMap), &QAction::triggered, this, &TEditorBox::onRunMap);
    connect(actions_->Get(Command::RunMapCommand), &QAction::triggered, this, &TEditorBox::onRunMapCommand);
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

namespace {

// The command dialog with the presets for the open game (`maps`; without
// one, those that need no game folder) and the run options of TSL.ini; the
// skill level and debug switch chosen are kept there.
std::optional<std::string> AskRunCommand(TRunCommandBox& box, IniFile& settings, const MapHandler* maps,
                                         const std::string& current)
{
    const char* path = std::getenv("PATH");
    const std::filesystem::path folder =
        maps ? std::filesystem::absolute(maps->Path).lexically_normal() : std::filesystem::path();
    auto command = box.AskCommand(current, RunPresets(folder, maps ? maps->Extension : "", path ? path : ""),
                                  RunOptions::Read(settings));
    if (command)
        box.Options().Write(settings);
    return command;
}

} // namespace

void TEditorBox::onRunMap()
{
    if (!session_)
        return;
    RunMapHooks hooks;
    // The game goes on once the maps are saved: nothing to close first.
    hooks.save = [this] { return SaveProject(true); };
    hooks.askCommand = [this] { return AskRunCommand(*runCommandBox_, settingsFile_, &session_->Maps(), {}); };
    hooks.launch = launcher_;
    RunMap(session_->Maps(), Changed(), settingsFile_, prompter_, hooks);
}

void TEditorBox::onRunMapCommand()
{
    const std::string current = settingsFile_.ReadString(kGameSection, kRunCommandKey, "");
    if (const auto command =
            AskRunCommand(*runCommandBox_, settingsFile_, session_ ? &session_->Maps() : nullptr, current))
        settingsFile_.WriteString(kGameSection, kRunCommandKey, *command);
}

} // namespace tsl
