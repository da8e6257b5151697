// The main window's whole-map commands: Autofloor, Clear Map, the turns and
// mirrors, Flip Planes, find and replace with F3 and the view's markers, the
// plane manager and the map information. Each hands the user's choice to the
// session and shows what it did, like every other command of the window.

#include "editor/ui/window/TEditorBox.h"

#include "core/ui/TProgressBox.h"
#include "editor/operations/PlaneManager.h"
#include "editor/ui/window/EditorActions.h"
#include "editor/ui/views/MapViewController.h"
#include "editor/ui/views/SidePanel.h"
#include "editor/ui/dialogs/TFindReplaceBox.h"
#include "editor/ui/dialogs/TFlipPlanesBox.h"
#include "editor/ui/play/AnalysisController.h"
#include "editor/ui/views/PreviewController.h"
#include "editor/ui/dialogs/TGenerateLevelBox.h"
#include "editor/ui/dialogs/TPlaneBox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QShortcut>

namespace tsl {

void TEditorBox::ConnectMapCommands()
{
    auto on = [this](Command c, auto handler) { connect(actions_->Get(c), &QAction::triggered, this, handler); };
    on(Command::Autofloor, [this] {
        if (session_)
            Apply(session_->Autofloor());
    });
    on(Command::ClearMapSolid, [this] { onClearMap(false); });
    on(Command::ClearMapRandom, [this] { onClearMap(true); });
    on(Command::GenerateLevel, [this] { onGenerateLevel(); });
    const std::pair<Command, MapTransform> transforms[] = {
        {Command::Rotate90, MapTransform::Rotate90},         {Command::Rotate180, MapTransform::Rotate180},
        {Command::Rotate270, MapTransform::Rotate270},       {Command::FlipHorizontal, MapTransform::FlipHorizontal},
        {Command::FlipVertical, MapTransform::FlipVertical},
    };
    for (auto [c, transform] : transforms)
        on(c, [this, transform = transform] {
            if (session_)
                Apply(session_->TransformCurrentMap(transform));
        });
    on(Command::FlipPlanes, [this] { onFlipPlanes(); });
    on(Command::FindReplace, [this] { onFindReplace(); });
    on(Command::PlaneManager, [this] { onPlaneManager(); });
    on(Command::MapInformation, [this] { analyser_->ShowMapInformation(); });
    on(Command::LevelStatistics, [this] { analyser_->ShowStatistics(); });
    connect(actions_->Get(Command::ShowReachableArea), &QAction::triggered, this, [this](bool shown) {
        analyser_->ShowReachable(shown);
        settings_.ShowReachableArea = view_->ReachableShown();
        settings_.WriteShowReachableArea(settingsFile_);
        RefreshCommands(); // a refusal leaves the view state as it was, and the action shows it
    });
    connect(actions_->Get(Command::ShowPatrolRoutes), &QAction::triggered, this, [this](bool shown) {
        analyser_->ShowPatrols(shown);
        RefreshCommands();
    });

    // F3 belongs to the main window, like Page Up and Page Down.
    auto* findAgain = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(findAgain, &QShortcut::activated, this, [this] {
        if (actions_->Get(Command::FindReplace)->isEnabled())
            onFindAgain();
    });
}

void TEditorBox::onClearMap(bool random)
{
    if (!session_)
        return;
    if (prompter_.Message(kEraseQuestion, kEraseCaption, MessageIcon::Question, Buttons::YesNo) != Answer::Yes)
        return;
    Apply(session_->ClearMap(random));
}

void TEditorBox::onGenerateLevel()
{
    if (!session_)
        return;
    const Project& project = session_->CurrentProject();
    const EngineRules& rules = *project.Rules.Rules;
    if (auto failure = CheckGeneratorOptions(rules, DefaultGeneratorOptions(rules, project.Maps().Current()))) {
        prompter_.Show(*failure);
        return;
    }
    GenerateLevelContext context;
    context.input.rules = &rules;
    context.input.symbols = &project.Symbols;
    context.input.limits = ReadMapLimits(*project.Settings);
    context.input.planes = project.Maps().NumPlanes;
    context.defaults = DefaultGeneratorOptions(rules, project.Maps().Current());
    context.draw = [this](const MapList& map) { return viewer_->LevelPreview(map); };
    if (auto choice = generateLevelBox_->ChooseLevel(context, static_cast<std::uint32_t>(ProgramRandom()())))
        Apply(session_->PutLevel(choice->level, choice->name));
}

void TEditorBox::onFlipPlanes()
{
    if (!session_)
        return;
    const Project& project = session_->CurrentProject();
    const auto planes = flipPlanesBox_->ChoosePlanes(PlaneNames(*project.Settings, project.Maps().NumPlanes));
    if (planes)
        Apply(session_->FlipPlanes(planes->first, planes->second));
}

void TEditorBox::onFindReplace()
{
    if (!session_)
        return;
    const Project& project = session_->CurrentProject();
    Apply(session_->RunFind(findReplaceBox_->ShowFindReplace(session_->Finds().Fields,
                                                             PlaneNames(*project.Settings, project.Maps().NumPlanes))));
}

void TEditorBox::onFindAgain()
{
    if (session_)
        Apply(session_->FindAgain());
}

void TEditorBox::onPlaneManager()
{
    if (!session_)
        return;
    TPlaneBox::Actions actions;
    actions.changePlaneCount = [this](int count) { return onChangePlaneCount(count); };
    actions.planeNamesChanged = [this] { onPlaneNamesChanged(); };
    planeBox_->ShowPlaneManager(*session_->CurrentProject().Settings, session_->Maps().NumPlanes, actions);
    // Flags may have changed: the byte modes follow the selected plane, and
    // the view shows the planes as they are now.
    if (session_) {
        Apply(session_->SelectPlane(session_->SelectedPlane()));
        viewer_->RedrawMap();
    }
}

int TEditorBox::onChangePlaneCount(int count)
{
    const int before = session_->Maps().NumPlanes;
    if (count < before && prompter_.Ask(PlaneReductionQuestion(session_->CurrentProject(), count)) != Answer::Yes)
        return before;
    if (!AskSaveChanges()) {
        SetStatus("Ready");
        return before;
    }
    SetStatus("Saving...");
    QApplication::processEvents();
    const EditResult result = session_->ChangePlaneCount(count, [this](const MapHandler& maps) -> std::optional<Failure> {
        if (progressBox_->RunSave(maps, {}))
            return std::nullopt;
        return Failure{"The map files couldn't be saved, so the number of planes is unchanged.", kPlaneManagerCaption,
                       MessageIcon::Error};
    });
    SetStatus("Ready");
    if (session_->Maps().NumPlanes != before)
        ShowReloadedProject(result);
    else
        Apply(result);
    return session_->Maps().NumPlanes;
}

void TEditorBox::onPlaneNamesChanged()
{
    if (!session_)
        return;
    panel_->ShowProject(session_->CurrentProject());
    Apply(session_->SelectPlane(0));
}

} // namespace tsl
