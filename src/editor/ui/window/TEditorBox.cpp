#include "editor/ui/window/TEditorBox.h"

#include "editor/ui/views/Cursors.h"
#include "core/ui/TProgressBox.h"
#include "editor/render/MapRenderer.h"
#include "editor/ui/window/EditorActions.h"
#include "editor/ui/views/MapView.h"
#include "editor/ui/views/SidePanel.h"
#include "editor/ui/dialogs/TClipboardManagerBox.h"
#include "editor/ui/dialogs/TFindReplaceBox.h"
#include "editor/ui/dialogs/TFlipPlanesBox.h"
#include "editor/ui/play/AnalysisController.h"
#include "editor/ui/mod/ModController.h"
#include "editor/ui/dialogs/TGenerateLevelBox.h"
#include "editor/ui/dialogs/TPlaneBox.h"
#include "editor/ui/dialogs/TGoToLevelBox.h"
#include "editor/ui/dialogs/TMapPropertiesBox.h"
#include "editor/ui/dialogs/TMapViewOptionsBox.h"
#include "editor/ui/views/MapViewController.h"
#include "editor/ui/gamedata/GameDataController.h"
#include "editor/ui/gamedata/PagesController.h"
#include "editor/ui/views/PreviewController.h"
#include "editor/ui/run/RunController.h"
#include "mapdefs/ui/TMapConfigurationsBox.h"
#include "exchange/ui/TMapExporterBox.h"
#include "mapdefs/ui/TMapDefinitionStructureBox.h"
#include "symbols/ui/TMapSymbolsBox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QShortcut>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

namespace tsl {

namespace {

constexpr int kSidePanelWidth = 240;
constexpr int kStatusNoteTime = 10000; // milliseconds a count stays in the status bar

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

TEditorBox::TEditorBox(Prompter& prompter, EditorEnvironment environment, QWidget* parent)
    : QMainWindow(parent),
      prompter_(prompter),
      environment_(std::move(environment)),
      settingsFile_(environment_.settingsFile),
      settings_(AppSettings::Read(settingsFile_))
{
    setObjectName("editorBox");
    setWindowTitle("Tesselar");
    setMinimumSize(kMinimumWindowWidth, kMinimumWindowHeight);
    setAcceptDrops(true);

    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = std::make_unique<ViewState>();
    auto* view = new MapView;
    panel_ = new SidePanel;
    panel_->setFixedWidth(kSidePanelWidth);
    layout->addWidget(view, 1);
    layout->addWidget(panel_);
    setCentralWidget(central);
    viewer_ = new MapViewController(view, panel_, statusBar(), *view_, this);
    previewer_ = new PreviewController(this, view->PaintArea(), *view_);
    pages_ = new PagesController(this, prompter_, *view_);
    gameData_ = new GameDataController(this, prompter_, *view_);

    structureBox_ = new TMapDefinitionStructureBox(prompter_, this);
    configurationsBox_ = new TMapConfigurationsBox(prompter_, this);
    viewOptionsBox_ = new TMapViewOptionsBox(prompter_, this);
    progressBox_ = new TProgressBox(prompter_, this);

    goToLevelBox_ = new TGoToLevelBox(this);
    propertiesBox_ = new TMapPropertiesBox(prompter_, this);
    clipboardBox_ = new TClipboardManagerBox(this);
    flipPlanesBox_ = new TFlipPlanesBox(prompter_, this);
    generateLevelBox_ = new TGenerateLevelBox(this);
    findReplaceBox_ = new TFindReplaceBox(prompter_, this);
    planeBox_ = new TPlaneBox(prompter_, this);
    symbolsBox_ = new TMapSymbolsBox(prompter_, this);
    exporterBox_ = new TMapExporterBox(this);
    runner_ = new RunController(this, prompter_, settingsFile_);
    connect(runner_, &RunController::statusMessage, this, &TEditorBox::SetStatus);
    actions_ = new EditorActions(this);
    analyser_ = new AnalysisController(this, prompter_, environment_.mapDefsRoot, *view_, view->PaintArea(),
                                       actions_->ToolBar());
    connect(analyser_, &AnalysisController::statusNote, viewer_, &MapViewController::SetStatus);
    connect(analyser_, &AnalysisController::tilesChosen, viewer_, &MapViewController::ShowTiles);
    analyser_->ShowReachable(settings_.ShowReachableArea);
    modder_ = new ModController(this, prompter_, viewer_, previewer_);
    // The actions show what the views show.
    viewing_ = view_->Listen([this](const ViewChange&) { RefreshCommands(); });
    ConnectActions();
    ConnectMapCommands();
    ConnectPreviewCommands();
    ConnectPageCommands();
    ConnectModCommands();
    ConnectViewCommands();
    ConnectPanel();
    panel_->BindToolKeys(central);
    panel_->BindPlaneKeys(central);

    // The main window takes these keys before its controls do.
    auto* pageUp = new QShortcut(QKeySequence(Qt::Key_PageUp), this);
    connect(pageUp, &QShortcut::activated, this, [this] {
        if (actions_->Get(Command::NextLevel)->isEnabled())
            NextMap();
    });
    auto* pageDown = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
    connect(pageDown, &QShortcut::activated, this, [this] {
        if (actions_->Get(Command::PreviousLevel)->isEnabled())
            PreviousMap();
    });

    autosaveTimer_ = new QTimer(this);
    connect(autosaveTimer_, &QTimer::timeout, this, &TEditorBox::Autosave);
    if (settings_.AutosaveInterval > 0)
        autosaveTimer_->start(std::min(settings_.AutosaveInterval, 24 * 60 * 60) * 1000);

    RefreshCommands();
    ReadWindowPlacement();
}

TEditorBox::~TEditorBox()
{
    SaveApplicationSettings();
    autosave_.reset(); // before the documents it keeps
    viewing_.Reset();
    pages_->Leave();
    gameData_->Leave();
    modder_->Attach(nullptr);
    previewer_->Leave();
    analyser_->Attach(nullptr);
    viewer_->Attach(nullptr);
    following_.Reset();
}

void TEditorBox::ConnectPanel()
{
    connect(panel_, &SidePanel::zoomChosen, viewer_, &MapViewController::SetZoom);
    connect(panel_, &SidePanel::planeChosen, this, &TEditorBox::onPlaneChosen);
    connect(panel_, &SidePanel::symbolPressed, this, &TEditorBox::onSymbolPressed);
    // A palette entry names its plane: the plane follows before the value is taken.
    connect(panel_, &SidePanel::palettePressed, this, [this](int plane, int index, Qt::MouseButton button) {
        if (session_ && plane != session_->SelectedPlane())
            onPlaneChosen(plane);
        onSymbolPressed(index, button);
    });
    connect(panel_, &SidePanel::toolChosen, this,
            [this](int tool) { Apply(session_ ? session_->SelectTool(static_cast<std::uint16_t>(tool)) : EditResult{}); });
    MapPaintArea* area = View()->PaintArea();
    connect(area, &MapPaintArea::pointerInput, this, &TEditorBox::onPointerInput);
    connect(area, &MapPaintArea::pointerMoved, viewer_, &MapViewController::PointerMoved);
    connect(area, &MapPaintArea::pointerLeft, viewer_, &MapViewController::PointerLeft);
    connect(View(), &MapView::zoomStep, viewer_, &MapViewController::ZoomStep);
}

void TEditorBox::ConnectActions()
{
    // Commands of the session that need nothing from the window but a redraw.
    auto command = [this](Command c, EditResult (EditorSession::*run)()) {
        connect(actions_->Get(c), &QAction::triggered, this, [this, run] {
            if (session_)
                Apply((session_.get()->*run)());
        });
    };
    command(Command::Undo, &EditorSession::Undo);
    command(Command::Redo, &EditorSession::Redo);
    command(Command::Cut, &EditorSession::Cut);
    command(Command::Copy, &EditorSession::Copy);
    command(Command::Paste, &EditorSession::Paste);
    command(Command::AddMap, &EditorSession::AddMap);
    const std::pair<Command, int> modes[] = {
        {Command::IntMode, kIntMode}, {Command::HighByteMode, kHighByteMode}, {Command::LowByteMode, kLowByteMode}};
    for (auto [c, mode] : modes)
        connect(actions_->Get(c), &QAction::triggered, this, [this, mode] {
            if (session_)
                Apply(session_->SetValueMode(mode));
        });

    auto on = [this](Command c, void (TEditorBox::*handler)()) {
        connect(actions_->Get(c), &QAction::triggered, this, handler);
    };
    // What a toggle means is the model's; the action only shows it.
    auto toggle = [this](Command c, auto set) {
        connect(actions_->Get(c), &QAction::triggered, this, [this, set](bool checked) {
            set(checked);
            RefreshCommands();
        });
    };
    on(Command::OpenProject, &TEditorBox::onOpenProject);
    on(Command::SaveProject, &TEditorBox::onSaveProject);
    on(Command::PreviousLevel, &TEditorBox::PreviousMap);
    on(Command::NextLevel, &TEditorBox::NextMap);
    on(Command::ClipboardManager, &TEditorBox::onClipboardManager);
    on(Command::DeleteMap, &TEditorBox::onDeleteMap);
    on(Command::RestoreBackup, &TEditorBox::onRestoreBackup);
    toggle(Command::TurnFacingObjects, [this](bool checked) {
        if (session_)
            session_->SetTurnsFacingObjects(checked);
    });
    on(Command::GoToLevel, &TEditorBox::onGoToLevel);
    on(Command::MapProperties, &TEditorBox::onMapProperties);
    toggle(Command::MapGrid, [this](bool checked) { view_->SetGrid(checked); });
    toggle(Command::GameGraphics, [this](bool checked) { view_->WantGameGraphics(checked); });
    on(Command::MapViewOptions, &TEditorBox::onMapViewOptions);
    on(Command::MapConfigurations, &TEditorBox::onMapConfigurations);
    on(Command::MapSymbols, &TEditorBox::onMapSymbols);
    on(Command::ImportMap, &TEditorBox::onImportMap);
    on(Command::ExportMap, &TEditorBox::onExportMap);
    on(Command::SaveMapAsBmp, &TEditorBox::onSaveMapAsBitmap);
    toggle(Command::CheckForUpdateAtStartup, [this](bool checked) {
        settings_.CheckAtStartup = checked;
        settings_.WriteCheckAtStartup(settingsFile_);
    });
    connect(actions_->Get(Command::Exit), &QAction::triggered, this, &QWidget::close);
    for (int i = 0; i < kRecentSlots; ++i)
        connect(actions_->Recent(i), &QAction::triggered, this, [this, i] { onRecentProject(i); });
    connect(actions_->FileMenu(), &QMenu::aboutToShow, this, &TEditorBox::RefreshRecentItems);
}

QAction* TEditorBox::Action(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

void TEditorBox::RefreshCommands()
{
    EditorToggles toggles{view_->Grid(),           view_->GameGraphicsShown(),
                          settings_.CheckAtStartup, !session_ || session_->TurnsFacingObjects(),
                          view_->ReachableShown(), view_->PatrolsShown(),
                          modder_->Comparing()};
    actions_->Refresh(session_.get(), view_->Graphics() != nullptr, toggles);
    for (const Command command : {Command::GameGraphics, Command::GamePictures})
        actions_->ExplainDisabled(command,
                                  view_->Graphics() ? QString() : QString::fromStdString(view_->GraphicsProblem()));
    panel_->setEnabled(session_ != nullptr);
    View()->setEnabled(session_ != nullptr);
    ShowModified();
}

void TEditorBox::ShowModified()
{
    setWindowModified(Changed());
}

void TEditorBox::SetStatus(const QString& text)
{
    viewer_->SetStatus(text);
}

QString TEditorBox::StatusText() const
{
    return viewer_->StatusText();
}

QString TEditorBox::TileStatusText() const
{
    return viewer_->TileStatusText();
}

QString TEditorBox::WordStatusText() const
{
    return viewer_->WordStatusText();
}

QString TEditorBox::SelectionStatusText() const
{
    return viewer_->SelectionStatusText();
}

int TEditorBox::ZoomPosition() const
{
    return viewer_->ZoomPosition();
}

int TEditorBox::ZoomFactor() const
{
    return viewer_->ZoomFactor();
}

bool TEditorBox::MapGrid() const
{
    return view_->Grid();
}

const Image& TEditorBox::ViewImage() const
{
    return viewer_->ViewImage();
}

std::shared_ptr<const GameGraphics> TEditorBox::Graphics() const
{
    return view_->Graphics();
}

bool TEditorBox::GameGraphicsShown() const
{
    return view_->GameGraphicsShown();
}

MapView* TEditorBox::View() const
{
    return viewer_->View();
}

TPreview3DBox* TEditorBox::Preview() const
{
    return previewer_->Preview();
}

Project* TEditorBox::CurrentProject() const
{
    return session_ ? &session_->CurrentProject() : nullptr;
}

int TEditorBox::SelectedPlane() const
{
    return session_ ? session_->SelectedPlane() : 0;
}

EditorPlace TEditorBox::Place() const
{
    EditorPlace place;
    place.Zoom = viewer_->ZoomPosition();
    if (session_) {
        place.Map = session_->Maps().CurrentMap;
        place.Left = session_->Tools().LeftValues();
        place.Right = session_->Tools().RightValues();
    }
    return place;
}

// --- showing the project ---

void TEditorBox::ApplyLoadedProject(std::unique_ptr<Project> project)
{
    // Its last write ends before the next project's file is looked at, and
    // it lets go of the documents it keeps before they go.
    autosave_.reset();
    // The page file, the preview and the view let go of the old session before it goes.
    pages_->Leave();
    gameData_->Leave();
    modder_->Attach(nullptr);
    previewer_->Leave();
    analyser_->Attach(nullptr);
    viewer_->Attach(nullptr);
    following_.Reset();
    if (session_)
        session_->StoreButtonValues();
    session_ = std::make_unique<EditorSession>(std::move(project));
    following_ = session_->Document().Listen([this](const DocumentChange& change) { Follow(change); });

    ShowRules();
    viewer_->Attach(session_.get());
    const std::optional<Failure> graphicsProblem = viewer_->OpenProject(); // into the view state
    previewer_->Attach(session_.get());
    analyser_->Attach(session_.get());
    pages_->Attach(session_.get());
    gameData_->Attach(session_.get());
    modder_->Attach(session_.get());
    viewer_->ShowProjectAnew();
    ShowReloadedProject(EditResult::None());
    OfferRecovery(); // in memory only: the files wait for a save
    StartAutosave();
    SaveApplicationSettings();

    const std::string path = session_->Maps().Path.string();
    if (settings_.AddRecentProject(path))
        settings_.WriteRecent(settingsFile_);
    if (graphicsProblem)
        prompter_.Show(*graphicsProblem);
}

void TEditorBox::GoToPlace(const EditorPlace& place)
{
    if (!session_)
        return;
    session_->Tools().SetButtonValues(place.Left, place.Right);
    Apply(session_->GoToLevel(place.Map));
    panel_->ZoomSlider()->setValue(std::clamp(place.Zoom, 0, 4));
    RefreshSelectionRows();
}

void TEditorBox::ShowReloadedProject(EditResult result)
{
    // New maps, planes or symbols: the tools and the title start anew (the
    // view follows the document's notice of new symbols).
    UpdateTitle();
    result.ValuesChanged = true;
    result.ToolChanged = true;
    result.Overlay = true;
    Apply(result);
}

void TEditorBox::RefreshSelectionRows()
{
    if (session_)
        panel_->ShowSelection(session_->CurrentProject().Symbols, session_->SelectedPlane(),
                              session_->LeftValue(session_->SelectedPlane()),
                              session_->RightValue(session_->SelectedPlane()));
}

void TEditorBox::Follow(const DocumentChange& change)
{
    switch (change.What) {
    case DocumentChange::Kind::Rules:
        ShowRules();
        return;
    case DocumentChange::Kind::Words: // the title follows through the saved state alone
    case DocumentChange::Kind::Symbols: // shown anew by the command that read them
        return;
    default: // another map, list, name, storage or saved state
        UpdateTitle();
        RefreshCommands();
        return;
    }
}

void TEditorBox::ShowRules()
{
    const RulesLoad& rules = session_->CurrentProject().Rules;
    view_->SetRules(rules.Rules, rules.Status == RulesStatus::Loaded);
}

void TEditorBox::Apply(EditResult result)
{
    if (!session_)
        return;
    // A gesture that this command ended (the document ended it first).
    result.Add(session_->TakeEndedGesture());
    if (result.GestureEnded)
        View()->PaintArea()->CancelPress();
    if (result.Message)
        prompter_.Show(*result.Message);
    if (result.Status)
        statusBar()->showMessage(Text(*result.Status), kStatusNoteTime);
    if (result.What == EditResult::Redraw::Map)
        viewer_->RedrawMap();
    SyncPlane();
    if (result.ValuesChanged)
        RefreshSelectionRows();
    if (result.ToolChanged)
        ShowTool();
    viewer_->SyncOverlay();
    viewer_->SyncMarkers();
    RefreshCommands();
    const int plane = session_->SelectedPlane();
    panel_->ShowRecent(session_->CurrentProject().Symbols, plane, session_->RecentValues(plane));
    viewer_->ShowPointerFeedback();
}

void TEditorBox::SyncPlane()
{
    // Adding a map selects plane 0 again.
    const int plane = session_->SelectedPlane();
    if (panel_->PlaneSelector()->currentIndex() == plane)
        return;
    panel_->PlaneSelector()->setCurrentIndex(plane);
    panel_->FillSymbolList(session_->CurrentProject().Symbols, plane);
    RefreshSelectionRows();
}

void TEditorBox::ShowTool()
{
    const std::uint16_t tool = session_->CurrentTool();
    panel_->ShowTool(tool);
    View()->PaintArea()->setCursor(CursorNamed(ToolCursorName(tool)));
}

void TEditorBox::PreviousMap()
{
    if (session_)
        Apply(session_->PreviousMap());
}

void TEditorBox::NextMap()
{
    if (session_)
        Apply(session_->NextMap());
}

void TEditorBox::UpdateTitle()
{
    QString title = Text(TitleFor(CurrentProject()));
    // "[*]" is where the window shows its modified marker; one in a map's
    // name is written twice to stand for itself.
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(session_ ? title + QStringLiteral("[*]") : title);
    ShowModified();
}

bool TEditorBox::event(QEvent* event)
{
    // A dialog opened while a button is held takes the mouse: the view never
    // sees that button's release.
    if (event->type() == QEvent::WindowBlocked)
        EndGesture();
    return QMainWindow::event(event);
}

void TEditorBox::EndGesture()
{
    if (!session_)
        return;
    const EditResult result = session_->EndGesture();
    if (result.GestureEnded)
        Apply(result);
}

// --- handlers ---

void TEditorBox::onPlaneChosen(int plane)
{
    if (!session_ || plane < 0)
        return;
    const EditResult result = session_->SelectPlane(plane);
    panel_->FillSymbolList(session_->CurrentProject().Symbols, plane);
    Apply(result);
}

void TEditorBox::onSymbolPressed(int index, Qt::MouseButton button)
{
    if (!session_)
        return;
    const auto& symbols = session_->CurrentProject().Symbols.PlaneSymbols(session_->SelectedPlane());
    if (index < 0 || index >= static_cast<int>(symbols.size()))
        return;
    const auto value = static_cast<std::uint16_t>(symbols[static_cast<std::size_t>(index)].Value);
    Apply(session_->SetButtonValue(button == Qt::RightButton ? PointerButton::Right : PointerButton::Left, value));
}

void TEditorBox::onPointerInput(const PointerInput& input)
{
    if (!session_)
        return;
    if (input.Action == PointerAction::Press)
        View()->PaintArea()->SetShownTile(std::nullopt);
    Apply(session_->Pointer(input));
}

void TEditorBox::onClipboardManager()
{
    if (!session_ || !session_->ClipboardManager())
        return;
    TClipboardManagerBox::Previewer previewer;
    if (view_->GameGraphicsShown())
        previewer = [this](const CB_Object& entry) { return viewer_->GameClipboardPreview(entry); };
    const std::optional<int> chosen = clipboardBox_->ShowClipboardManager(*session_->ClipboardManager(), previewer);
    Apply(chosen ? session_->PasteFromClipboard(*chosen) : EditResult{});
}

void TEditorBox::onDeleteMap()
{
    if (!session_ || !session_->CanDeleteMap())
        return;
    // No undo brings the map back: No is the answer Enter gives.
    if (prompter_.Ask(session_->DeleteMapQuestion(), Answer::No) != Answer::Yes)
        return;
    Apply(session_->DeleteMap());
}

void TEditorBox::onGoToLevel()
{
    if (!session_)
        return;
    if (const std::optional<int> map = goToLevelBox_->ChooseLevel(session_->Maps(), modder_->ChangedMaps()))
        Apply(session_->GoToLevel(*map));
}

void TEditorBox::onMapProperties()
{
    if (!session_)
        return;
    if (auto choice = propertiesBox_->ShowMapProperties(session_->Maps().Current(), session_->MaxNameLength()))
        Apply(session_->ApplyMapProperties(*choice));
}

void TEditorBox::onMapViewOptions()
{
    if (!session_)
        return;
    viewOptionsBox_->ShowMapViewOptions(session_->CurrentProject(), view_.get());
    viewer_->RedrawMap();
}

void TEditorBox::onMapConfigurations()
{
    if (!session_ || !session_->CurrentProject().Settings)
        return;
    Project& p = session_->CurrentProject();
    const auto chosen = configurationsBox_->ShowMapConfigurations(CurrentMapConfiguration(p.Maps(), *p.Settings));
    if (!chosen)
        return;
    std::optional<Failure> failure;
    session_->Document().ChangeStorage(
        [&](MapHandler& storage) { failure = ApplyMapConfiguration(*chosen, storage, *p.Settings); });
    if (failure)
        prompter_.Show(*failure);
}

void TEditorBox::onMapSymbols()
{
    if (!session_)
        return;
    Project& project = session_->CurrentProject();
    std::vector<std::string> names;
    for (int p = 0; p < project.Maps().NumPlanes; ++p)
        names.push_back(project.PlaneName(p));
    if (!symbolsBox_->ShowMapSymbols(project.Symbols, names, session_->Changed()))
        return;
    // The tables are built again from the files just written, which
    // discards every history and resets the tools.
    ShowReloadedProject(session_->ReloadSymbols());
}

} // namespace tsl
