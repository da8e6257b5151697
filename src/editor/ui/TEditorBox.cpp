#include "editor/ui/TEditorBox.h"

#include "editor/ui/Cursors.h"
#include "core/ui/TProgressBox.h"
#include "editor/MapRenderer.h"
#include "editor/ui/EditorActions.h"
#include "editor/ui/MapView.h"
#include "editor/ui/SidePanel.h"
#include "editor/ui/TClipboardManagerBox.h"
#include "editor/ui/TFindReplaceBox.h"
#include "editor/ui/TFlipPlanesBox.h"
#include "editor/ui/TMapInformationBox.h"
#include "editor/ui/TPlaneBox.h"
#include "editor/ui/TGoToLevelBox.h"
#include "editor/ui/TMapPropertiesBox.h"
#include "editor/ui/TMapViewOptionsBox.h"
#include "editor/ui/TRunCommandBox.h"
#include "editor/ui/TRestoreBackupBox.h"
#include "editor/Recovery.h"
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

constexpr int kStartPictureSize = 512;
constexpr int kSidePanelWidth = 240;
constexpr int kStatusNoteTime = 10000; // milliseconds a count stays in the status bar

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// The view picture as a QImage over the same pixels (no copy).
QImage Wrap(const Image& image)
{
    return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height, image.width * 4,
                  QImage::Format_RGB32);
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
    view_ = new MapView;
    panel_ = new SidePanel;
    panel_->setFixedWidth(kSidePanelWidth);
    layout->addWidget(view_, 1);
    layout->addWidget(panel_);
    setCentralWidget(central);

    status_ = new QLabel("Ready");
    status_->setObjectName("statusText");
    status_->setMinimumWidth(120);
    statusBar()->addWidget(status_);
    MakeStatusFields();

    structureBox_ = new TMapDefinitionStructureBox(prompter_, this);
    configurationsBox_ = new TMapConfigurationsBox(prompter_, this);
    viewOptionsBox_ = new TMapViewOptionsBox(prompter_, this);
    progressBox_ = new TProgressBox(prompter_, this);

    goToLevelBox_ = new TGoToLevelBox(this);
    propertiesBox_ = new TMapPropertiesBox(prompter_, this);
    clipboardBox_ = new TClipboardManagerBox(this);
    flipPlanesBox_ = new TFlipPlanesBox(prompter_, this);
    findReplaceBox_ = new TFindReplaceBox(prompter_, this);
    planeBox_ = new TPlaneBox(prompter_, this);
    mapInformationBox_ = new TMapInformationBox(this);
    symbolsBox_ = new TMapSymbolsBox(prompter_, this);
    exporterBox_ = new TMapExporterBox(this);
    runCommandBox_ = new TRunCommandBox(this);
    restoreBox_ = new TRestoreBackupBox(this);
    actions_ = new EditorActions(this);
    actions_->Get(Command::CheckForUpdateAtStartup)->setChecked(settings_.CheckAtStartup);
    ConnectActions();
    ConnectMapCommands();
    ConnectPreviewCommands();
    ConnectViewCommands();

    connect(panel_, &SidePanel::zoomChosen, this, &TEditorBox::onZoomChosen);
    connect(panel_, &SidePanel::planeChosen, this, &TEditorBox::onPlaneChosen);
    connect(panel_, &SidePanel::symbolPressed, this, &TEditorBox::onSymbolPressed);
    connect(panel_, &SidePanel::toolChosen, this,
            [this](int tool) { Apply(session_ ? session_->SelectTool(static_cast<std::uint16_t>(tool)) : EditResult{}); });
    panel_->BindToolKeys(central);
    connect(view_->PaintArea(), &MapPaintArea::pointerInput, this, &TEditorBox::onPointerInput);
    connect(view_->PaintArea(), &MapPaintArea::pointerMoved, this, &TEditorBox::onPointerMoved);
    connect(view_, &MapView::zoomStep, this, &TEditorBox::onZoomStep);

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

    ShowStartPicture();
    RefreshCommands();
    ReadWindowPlacement();
}

TEditorBox::~TEditorBox()
{
    SaveApplicationSettings();
    LeavePreview();
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
    on(Command::OpenProject, &TEditorBox::onOpenProject);
    on(Command::SaveProject, &TEditorBox::onSaveProject);
    on(Command::PreviousLevel, &TEditorBox::PreviousMap);
    on(Command::NextLevel, &TEditorBox::NextMap);
    on(Command::ClipboardManager, &TEditorBox::onClipboardManager);
    on(Command::DeleteMap, &TEditorBox::onDeleteMap);
    on(Command::RestoreBackup, &TEditorBox::onRestoreBackup);
    connect(actions_->Get(Command::TurnFacingObjects), &QAction::toggled, this, [this](bool turn) {
        if (session_)
            session_->SetTurnsFacingObjects(turn);
    });
    on(Command::GoToLevel, &TEditorBox::onGoToLevel);
    on(Command::MapProperties, &TEditorBox::onMapProperties);
    on(Command::MapGrid, &TEditorBox::onToggleGrid);
    on(Command::GameGraphics, &TEditorBox::onToggleGameGraphics);
    on(Command::MapViewOptions, &TEditorBox::onMapViewOptions);
    on(Command::MapConfigurations, &TEditorBox::onMapConfigurations);
    on(Command::MapSymbols, &TEditorBox::onMapSymbols);
    on(Command::ImportMap, &TEditorBox::onImportMap);
    on(Command::ExportMap, &TEditorBox::onExportMap);
    on(Command::SaveMapAsBmp, &TEditorBox::onSaveMapAsBitmap);
    on(Command::CheckForUpdateAtStartup, &TEditorBox::onToggleCheckAtStartup);
    connect(actions_->Get(Command::Exit), &QAction::triggered, this, &QWidget::close);
    for (int i = 0; i < kRecentSlots; ++i)
        connect(actions_->Recent(i), &QAction::triggered, this, [this, i] { onRecentProject(i); });
    connect(actions_->FileMenu(), &QMenu::aboutToShow, this, &TEditorBox::RefreshRecentItems);
}

QAction* TEditorBox::Action(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

void TEditorBox::ShowStartPicture()
{
    startPicture_ = QImage(kStartPictureSize, kStartPictureSize, QImage::Format_RGB32);
    startPicture_.fill(Qt::black);
    QPainter painter(&startPicture_);
    QFont font = painter.font();
    font.setBold(true);
    font.setPointSize(12);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(startPicture_.rect(), Qt::AlignCenter, "Please load the game maps!");
    painter.end();
    view_->PaintArea()->SetPicture(startPicture_, 1);
}

void TEditorBox::RefreshCommands()
{
    actions_->Refresh(session_.get(), graphics_ != nullptr);
    panel_->setEnabled(session_ != nullptr);
    view_->setEnabled(session_ != nullptr);
    ShowModified();
}

void TEditorBox::ShowModified()
{
    setWindowModified(Changed());
}

void TEditorBox::SetStatus(const QString& text)
{
    status_->setText(text);
}

QString TEditorBox::StatusText() const
{
    return status_->text();
}

int TEditorBox::ZoomPosition() const
{
    return zoomPosition_;
}

int TEditorBox::ZoomFactor() const
{
    return ZoomFactorOf(zoomPosition_);
}

Project* TEditorBox::CurrentProject() const
{
    return session_ ? &session_->CurrentProject() : nullptr;
}

bool TEditorBox::MapGrid() const
{
    return actions_->Get(Command::MapGrid)->isChecked();
}

int TEditorBox::SelectedPlane() const
{
    return session_ ? session_->SelectedPlane() : 0;
}

void TEditorBox::SetChanged(bool changed)
{
    if (session_)
        session_->SetChanged(changed);
    ShowModified();
}

// --- showing the project ---

void TEditorBox::ApplyLoadedProject(std::unique_ptr<Project> project)
{
    // The stored zoom is read before the settings are saved below, which
    // writes the track bar's present position.
    const StructureSettings structure = project->Structure();
    // The overlay shows the old session's paste preview: gone before it is.
    view_->PaintArea()->SetOutline(std::nullopt);
    view_->PaintArea()->SetPreview(QImage(), std::nullopt);
    LeavePreview();
    view_->PaintArea()->CancelPress();
    if (session_)
        session_->StoreButtonValues();
    pointerTile_.reset();
    session_ = std::make_unique<EditorSession>(std::move(project));
    session_->SetTurnsFacingObjects(actions_->Get(Command::TurnFacingObjects)->isChecked());

    actions_->Get(Command::MapGrid)->setChecked(structure.MapGrid);
    view_->PaintArea()->SetGrid(structure.MapGrid);
    const std::optional<Failure> graphicsProblem = LoadProjectGraphics();
    ShowReloadedProject(EditResult::None());
    SaveApplicationSettings();

    const std::string path = session_->Maps().Path.string();
    if (settings_.AddRecentProject(path))
        settings_.WriteRecent(settingsFile_);

    const int zoom = std::clamp(structure.ZoomFactor, 0, 4);
    if (zoom != zoomPosition_) {
        panel_->SetZoomPosition(zoom);
        onZoomChosen(zoom);
    }
    SetChanged(false);
    if (graphicsProblem)
        prompter_.Show(*graphicsProblem);
}

void TEditorBox::ShowReloadedProject(EditResult result)
{
    // New maps, planes or symbols: the panel, the tools and the picture start anew.
    panel_->ShowProject(session_->CurrentProject());
    panel_->ShowPointerTile(0, 0);
    pointerTile_.reset();
    gamePreview_ = {}; // its symbols may have changed
    result.What = EditResult::Redraw::MapList;
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

void TEditorBox::Apply(const EditResult& result)
{
    if (!session_)
        return;
    if (result.GestureEnded)
        view_->PaintArea()->CancelPress();
    if (result.Message)
        prompter_.Show(*result.Message);
    if (result.What == EditResult::Redraw::MapList)
        view_->PaintArea()->SetShownTile(std::nullopt);
    if (result.Status)
        statusBar()->showMessage(Text(*result.Status), kStatusNoteTime);
    switch (result.What) {
    case EditResult::Redraw::Nothing:
        break;
    case EditResult::Redraw::Tiles:
        if (const auto& r = result.Changed)
            for (int y = r->Top(); y <= r->Bottom(); ++y)
                for (int x = r->Left(); x <= r->Right(); ++x)
                    RedrawTile(x, y);
        break;
    case EditResult::Redraw::Map:
        RedrawMap();
        break;
    case EditResult::Redraw::MapList:
        UpdateTitle();
        RedrawMap();
        break;
    }
    SyncPlane();
    if (result.ValuesChanged)
        RefreshSelectionRows();
    if (result.ToolChanged)
        ShowTool();
    SyncOverlay();
    SyncMarkers();
    SyncPreview(result);
    RefreshCommands();
    const int plane = session_->SelectedPlane();
    panel_->ShowRecent(session_->CurrentProject().Symbols, plane, session_->RecentValues(plane));
    ShowPointerFeedback();
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
    view_->PaintArea()->setCursor(CursorNamed(ToolCursorName(tool)));
}

void TEditorBox::SyncOverlay()
{
    MapPaintArea* area = view_->PaintArea();
    area->SetOutline(session_->Outline());
    const auto tile = session_->PlacementTile();
    if (session_->PastePlacing() && tile && GameGraphicsShown()) {
        int tilePixels = kBlockSize;
        const QImage& preview = GamePastePreview(tilePixels);
        area->SetPreview(preview, QPoint(tile->first, tile->second), tilePixels);
    } else if (session_->PastePlacing() && tile)
        area->SetPreview(Wrap(session_->PasteBuffer().Preview), QPoint(tile->first, tile->second));
    else
        area->SetPreview(QImage(), std::nullopt);
    ShowSelectionStatus();
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

// --- drawing ---

void TEditorBox::RedrawMap()
{
    if (!session_)
        return;
    if (GameGraphicsShown()) {
        ShowGameView();
        return;
    }
    const Project& project = session_->CurrentProject();
    tsl::RedrawMap(viewImage_, project.Maps.Current(), project.Symbols, project.Display(), session_->ValueMode());
    ShowPicture();
}

void TEditorBox::RedrawTile(int x, int y)
{
    if (!session_)
        return;
    if (GameGraphicsShown()) {
        // The painter draws the tile as it is now.
        const int c = kBlockSize * ZoomFactor();
        view_->PaintArea()->update(x * c, y * c, c, c);
        return;
    }
    const Project& project = session_->CurrentProject();
    const QSize before(viewImage_.width, viewImage_.height);
    const auto* pixels = viewImage_.pixels.data();
    tsl::RedrawTile(viewImage_, project.Maps.Current(), project.Symbols, project.Display(), session_->ValueMode(), x,
                    y);
    if (before != QSize(viewImage_.width, viewImage_.height) || pixels != viewImage_.pixels.data()) {
        ShowPicture();
        return;
    }
    const int c = kBlockSize * ZoomFactor();
    view_->PaintArea()->update(x * c, y * c, c, c);
}

void TEditorBox::ShowPicture()
{
    view_->PaintArea()->SetPicture(Wrap(viewImage_), ZoomFactor());
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
        view_->PaintArea()->SetShownTile(std::nullopt);
    Apply(session_->Pointer(input));
}

void TEditorBox::onPointerMoved(QPoint position)
{
    if (!session_)
        return;
    const MapList& map = session_->Maps().Current();
    const QPoint tile = view_->PaintArea()->TileAt(position);
    if (tile.x() < 0 || tile.y() < 0 || tile.x() >= map.Width || tile.y() >= map.Height)
        pointerTile_.reset();
    else
        pointerTile_ = tile;
    ShowPointerFeedback();
}

void TEditorBox::onClipboardManager()
{
    if (!session_ || !session_->ClipboardManager())
        return;
    TClipboardManagerBox::Previewer previewer;
    if (GameGraphicsShown())
        previewer = [this](const CB_Object& entry) { return GameClipboardPreview(entry); };
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
    if (const std::optional<int> map = goToLevelBox_->ChooseLevel(session_->Maps()))
        Apply(session_->GoToLevel(*map));
}

void TEditorBox::onMapProperties()
{
    if (!session_)
        return;
    if (auto choice = propertiesBox_->ShowMapProperties(session_->Maps().Current(), session_->MaxNameLength()))
        Apply(session_->ApplyMapProperties(*choice));
}

void TEditorBox::onToggleGrid()
{
    if (!session_)
        return;
    SaveStructureView(*session_->CurrentProject().Settings, MapGrid(), zoomPosition_);
    view_->PaintArea()->SetGrid(MapGrid());
}

void TEditorBox::onMapViewOptions()
{
    if (!session_)
        return;
    viewOptionsBox_->ShowMapViewOptions(session_->CurrentProject(), actions_->Get(Command::GameGraphics));
    RedrawMap();
}

void TEditorBox::onMapConfigurations()
{
    if (!session_ || !session_->CurrentProject().Settings)
        return;
    Project& p = session_->CurrentProject();
    const auto chosen = configurationsBox_->ShowMapConfigurations(CurrentMapConfiguration(p.Maps, *p.Settings));
    if (!chosen)
        return;
    if (auto failure = ApplyMapConfiguration(*chosen, p.Maps, *p.Settings))
        prompter_.Show(*failure);
}

void TEditorBox::onMapSymbols()
{
    if (!session_)
        return;
    Project& project = session_->CurrentProject();
    std::vector<std::string> names;
    for (int p = 0; p < project.Maps.NumPlanes; ++p)
        names.push_back(project.PlaneName(p));
    if (!symbolsBox_->ShowMapSymbols(project.Symbols, names, session_->Changed()))
        return;
    // The tables are built again from the files just written, which
    // discards every history and resets the tools.
    ShowReloadedProject(session_->ReloadSymbols());
}

} // namespace tsl
