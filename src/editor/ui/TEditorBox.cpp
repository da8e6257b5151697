#include "editor/ui/TEditorBox.h"

#include "editor/ui/Cursors.h"
#include "core/ui/TProgressBox.h"
#include "editor/MapRenderer.h"
#include "editor/ui/MapView.h"
#include "editor/ui/SidePanel.h"
#include "editor/ui/TMapViewOptionsBox.h"
#include "mapdefs/ui/TMapConfigurationsBox.h"
#include "mapdefs/ui/TMapDefinitionStructureBox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QShortcut>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

namespace tsl {

namespace {

constexpr int kStartPictureSize = 512;
constexpr int kSidePanelWidth = 240;

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

std::optional<std::filesystem::path> DroppedDirectory(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo info(url.toLocalFile());
        if (info.isDir())
            return std::filesystem::path(info.absoluteFilePath().toStdString());
    }
    return std::nullopt;
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

    structureBox_ = new TMapDefinitionStructureBox(prompter_, this);
    configurationsBox_ = new TMapConfigurationsBox(prompter_, this);
    viewOptionsBox_ = new TMapViewOptionsBox(prompter_, this);
    progressBox_ = new TProgressBox(prompter_, this);

    CreateActions();
    CreateMenus();
    CreateToolBar();

    connect(panel_, &SidePanel::zoomChosen, this, &TEditorBox::onZoomChosen);
    connect(panel_, &SidePanel::planeChosen, this, &TEditorBox::onPlaneChosen);
    connect(panel_, &SidePanel::symbolPressed, this, &TEditorBox::onSymbolPressed);
    connect(view_->PaintArea(), &MapPaintArea::pointerMoved, this, &TEditorBox::onPointerMoved);

    // The main window takes these keys before its controls do.
    auto* pageUp = new QShortcut(QKeySequence(Qt::Key_PageUp), this);
    connect(pageUp, &QShortcut::activated, this, [this] {
        if (nextAction_->isEnabled())
            NextMap();
    });
    auto* pageDown = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
    connect(pageDown, &QShortcut::activated, this, [this] {
        if (previousAction_->isEnabled())
            PreviousMap();
    });

    ShowStartPicture();
    EnableMapCommands(false);
    ReadWindowPlacement();
}

TEditorBox::~TEditorBox()
{
    SaveApplicationSettings();
}

void TEditorBox::CreateActions()
{
    auto make = [this](const QString& caption, const QString& name, const QKeySequence& key = {}) {
        auto* action = new QAction(caption, this);
        action->setObjectName(name);
        if (!key.isEmpty())
            action->setShortcut(key);
        addAction(action);
        return action;
    };
    openAction_ = make("&Open Project", "openProjectAction", QKeySequence("Ctrl+O"));
    openAction_->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    openAction_->setToolTip("Open Project");
    connect(openAction_, &QAction::triggered, this, &TEditorBox::onOpenProject);

    saveAction_ = make("&Save Project", "saveProjectAction", QKeySequence("Ctrl+S"));
    saveAction_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    saveAction_->setToolTip("Save Project");
    connect(saveAction_, &QAction::triggered, this, &TEditorBox::onSaveProject);

    for (int i = 0; i < kRecentSlots; ++i) {
        recentActions_[static_cast<std::size_t>(i)] = make(QString(), QString("recentProject%1").arg(i + 1));
        recentActions_[static_cast<std::size_t>(i)]->setVisible(false);
        connect(recentActions_[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { onRecentProject(i); });
    }

    exitAction_ = make("E&xit", "exitAction");
    connect(exitAction_, &QAction::triggered, this, &QWidget::close);

    previousAction_ = make("&Previous Level", "previousLevelAction", QKeySequence("Ctrl+P"));
    previousAction_->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    previousAction_->setToolTip("Previous Level");
    connect(previousAction_, &QAction::triggered, this, &TEditorBox::PreviousMap);

    nextAction_ = make("&Next Level", "nextLevelAction", QKeySequence("Ctrl+N"));
    nextAction_->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    nextAction_->setToolTip("Next Level");
    connect(nextAction_, &QAction::triggered, this, &TEditorBox::NextMap);

    gridAction_ = make("Displa&y Map Grid", "mapGridAction", QKeySequence("Ctrl+W"));
    gridAction_->setCheckable(true);
    connect(gridAction_, &QAction::triggered, this, &TEditorBox::onToggleGrid);

    viewOptionsAction_ = make("Map &View Options", "mapViewOptionsAction", QKeySequence(Qt::Key_F2));
    viewOptionsAction_->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    viewOptionsAction_->setToolTip("Map View Options");
    connect(viewOptionsAction_, &QAction::triggered, this, &TEditorBox::onMapViewOptions);

    configurationsAction_ = make("Map C&onfigurations", "mapConfigurationsAction", QKeySequence("Ctrl+Alt+C"));
    connect(configurationsAction_, &QAction::triggered, this, &TEditorBox::onMapConfigurations);

    bitmapAction_ = make("Save Map As &BMP", "saveMapAsBmpAction", QKeySequence("Ctrl+Alt+S"));
    connect(bitmapAction_, &QAction::triggered, this, &TEditorBox::onSaveMapAsBitmap);

    checkAtStartupAction_ = make("Check For Update At Startup", "checkForUpdateAtStartupAction");
    checkAtStartupAction_->setCheckable(true);
    checkAtStartupAction_->setChecked(settings_.CheckAtStartup);
    connect(checkAtStartupAction_, &QAction::triggered, this, &TEditorBox::onToggleCheckAtStartup);

    // The application connects these to the update check, the manual and the about box.
    make("Check For &Update", "checkForUpdateAction");
    make("&Help", "helpAction", QKeySequence(Qt::Key_F1));
    make("&About Tesselar", "aboutAction");
}

void TEditorBox::CreateMenus()
{
    fileMenu_ = menuBar()->addMenu("&File");
    fileMenu_->setObjectName("fileMenu");
    fileMenu_->addAction(openAction_);
    fileMenu_->addAction(saveAction_);
    fileMenu_->addSeparator();
    for (QAction* recent : recentActions_)
        fileMenu_->addAction(recent);
    recentSeparator_ = fileMenu_->addSeparator();
    recentSeparator_->setVisible(false);
    fileMenu_->addAction(exitAction_);
    connect(fileMenu_, &QMenu::aboutToShow, this, &TEditorBox::RefreshRecentItems);

    QMenu* map = menuBar()->addMenu("&Map");
    map->setObjectName("mapMenu");
    map->addAction(previousAction_);
    map->addAction(nextAction_);
    map->addSeparator();
    map->addAction(gridAction_);
    map->addAction(viewOptionsAction_);
    map->addSeparator();
    map->addAction(configurationsAction_);
    map->addSeparator();
    map->addAction(bitmapAction_);

    QMenu* help = menuBar()->addMenu("&?");
    help->setObjectName("helpMenu");
    help->addAction(Action("helpAction"));
    help->addSeparator();
    help->addAction(Action("checkForUpdateAction"));
    help->addAction(checkAtStartupAction_);
    help->addSeparator();
    help->addAction(Action("aboutAction"));
}

void TEditorBox::CreateToolBar()
{
    QToolBar* bar = addToolBar("Tools");
    bar->setObjectName("mainToolBar");
    bar->setMovable(false);
    bar->addAction(openAction_);
    bar->addAction(saveAction_);
    bar->addSeparator();
    bar->addAction(previousAction_);
    bar->addAction(nextAction_);
    bar->addSeparator();
    bar->addAction(viewOptionsAction_);
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

void TEditorBox::EnableMapCommands(bool enabled)
{
    for (QAction* action : {saveAction_, gridAction_, viewOptionsAction_, configurationsAction_, bitmapAction_})
        action->setEnabled(enabled);
    panel_->setEnabled(enabled);
    view_->setEnabled(enabled);
    UpdateMapNavigation();
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

bool TEditorBox::MapGrid() const
{
    return gridAction_->isChecked();
}

int TEditorBox::SelectedPlane() const
{
    return std::max(panel_->PlaneSelector()->currentIndex(), 0);
}

void TEditorBox::SetChanged(bool changed)
{
    if (project_)
        project_->Changed = changed;
}

// --- project lifecycle ---

bool TEditorBox::OpenProject(bool fromRecent, const std::filesystem::path& directory)
{
    SetStatus("Opening...");
    QApplication::processEvents();
    OpenRequest request;
    if (fromRecent)
        request.directory = directory;
    if (project_)
        request.startDirectory = project_->Maps.Path;
    request.mapDefsRoot = environment_.mapDefsRoot;
    OpenOutcome outcome = tsl::OpenProject(request, prompter_, [this](const std::string& extension,
                                                                      const std::string& executable) {
        return structureBox_->ShowStructureDialog(environment_.mapDefsRoot, extension, executable);
    });
    SetStatus("Ready");
    if (outcome.result == OpenResult::Cancelled)
        return true;
    if (outcome.result != OpenResult::Opened)
        return false;
    ApplyLoadedProject(std::move(outcome.project));
    return true;
}

void TEditorBox::ApplyLoadedProject(std::unique_ptr<Project> project)
{
    // The stored zoom is read before the settings are saved below, which
    // writes the track bar's present position.
    const StructureSettings structure = project->Structure();
    project_ = std::move(project);

    UpdateTitle();
    ResetPanelForProject();
    gridAction_->setChecked(structure.MapGrid);
    view_->PaintArea()->SetGrid(structure.MapGrid);
    RedrawMap();
    EnableMapCommands(true);
    SaveApplicationSettings();

    if (settings_.AddRecentProject(project_->Maps.Path.string()))
        settings_.WriteRecent(settingsFile_);

    const int zoom = std::clamp(structure.ZoomFactor, 0, 4);
    if (zoom != zoomPosition_) {
        panel_->SetZoomPosition(zoom);
        onZoomChosen(zoom);
    }
    project_->Changed = false;
    panel_->XLabel()->setText("X: 0");
    panel_->YLabel()->setText("Y: 0");
    view_->PaintArea()->setCursor(CursorNamed("Pencil"));
}

void TEditorBox::ResetPanelForProject()
{
    const int planes = project_->Maps.NumPlanes;
    tools_.Reset(planes);
    std::vector<std::string> names;
    for (int p = 0; p < planes; ++p)
        names.push_back(project_->PlaneName(p));
    panel_->SetPlanes(names);
    panel_->FillSymbolList(project_->Symbols, 0);
    RefreshSelectionRows();
    for (int p = 0; p < 3; ++p) {
        const PanelRow& row = panel_->TileRow(p);
        if (p < planes)
            SidePanel::SetRow(row, project_->Symbols.SymbolPicture(p, 0), "0 - Nothing");
        else
            row.text->clear();
    }
}

void TEditorBox::RefreshSelectionRows()
{
    if (!project_)
        return;
    const int plane = SelectedPlane();
    const SymbolTables& symbols = project_->Symbols;
    auto show = [&](const PanelRow& row, std::uint16_t value) {
        const bool known = symbols.FindSymbol(plane, value).has_value();
        SidePanel::SetRow(row, symbols.SymbolPicture(plane, known ? value : 0), Text(symbols.ValueText(plane, value)));
    };
    show(panel_->LeftRow(), tools_.LeftValue[static_cast<std::size_t>(plane)]);
    show(panel_->RightRow(), tools_.RightValue[static_cast<std::size_t>(plane)]);
}

void TEditorBox::RefreshTileInformation(int x, int y)
{
    const int planes = project_->Maps.NumPlanes;
    for (int p = 0; p < 3; ++p) {
        const PanelRow& row = panel_->TileRow(p);
        if (p >= planes) {
            row.text->clear();
            continue;
        }
        const TileInfo info =
            TileInfoText(project_->Maps.Current(), project_->Symbols, p, x, y, project_->SplitPlane(p), tools_.ValueMode);
        SidePanel::SetRow(row, project_->Symbols.SymbolPicture(p, info.PictureValue), Text(info.Text));
    }
}

bool TEditorBox::AskSaveChanges()
{
    if (!Changed())
        return true;
    switch (prompter_.Message("You have made changes to your maps.\n\nDo you wish to save this data now?",
                              "Save maps", MessageIcon::Question, Buttons::YesNoCancel)) {
    case Answer::Yes:
        // A save that fails keeps the changes: the caller must not go on and
        // lose them.
        return SaveProject();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

bool TEditorBox::SaveProject()
{
    if (!project_)
        return false;
    SetStatus("Saving...");
    QApplication::processEvents();
    const bool saved = progressBox_->RunSave(project_->Maps, [this] {
        SetChanged(false);
        SetStatus("Maps saved!");
    });
    SetStatus("Ready");
    return saved;
}

void TEditorBox::PreviousMap()
{
    if (!project_)
        return;
    project_->Maps.CurrentMap = std::max(0, project_->Maps.CurrentMap - 1);
    UpdateMapNavigation();
    UpdateTitle();
    RedrawMap();
}

void TEditorBox::NextMap()
{
    if (!project_)
        return;
    project_->Maps.CurrentMap = std::min(project_->Maps.NumMaps() - 1, project_->Maps.CurrentMap + 1);
    UpdateMapNavigation();
    UpdateTitle();
    RedrawMap();
}

void TEditorBox::UpdateTitle()
{
    setWindowTitle(Text(TitleFor(project_.get())));
}

void TEditorBox::UpdateMapNavigation()
{
    const bool loaded = project_ != nullptr;
    previousAction_->setEnabled(loaded && project_->Maps.CurrentMap != 0);
    nextAction_->setEnabled(loaded && project_->Maps.CurrentMap != project_->Maps.NumMaps() - 1);
}

void TEditorBox::OpenDirectory(const std::filesystem::path& directory)
{
    if (!AskSaveChanges())
        return;
    OpenProject(true, directory);
    SetStatus("Ready");
}

void TEditorBox::closeEvent(QCloseEvent* event)
{
    if (AskSaveChanges())
        event->accept();
    else
        event->ignore();
}

void TEditorBox::dragEnterEvent(QDragEnterEvent* event)
{
    if (DroppedDirectory(event->mimeData()))
        event->acceptProposedAction();
}

void TEditorBox::dropEvent(QDropEvent* event)
{
    if (auto directory = DroppedDirectory(event->mimeData())) {
        event->acceptProposedAction();
        OpenDirectory(*directory);
    }
}

// --- settings ---

void TEditorBox::ReadWindowPlacement()
{
    const WindowPlacement& w = settings_.Window;
    move(w.Left, w.Top);
    resize(std::max(w.Width, kMinimumWindowWidth), std::max(w.Height, kMinimumWindowHeight));
    if (w.WindowState == 1)
        setWindowState(Qt::WindowMinimized);
    else if (w.WindowState == 2)
        setWindowState(Qt::WindowMaximized);
}

void TEditorBox::WindowPlacementIntoSettings()
{
    // The restored placement, so that a maximized window comes back to its
    // place when it is restored.
    const QRect normal = (isMaximized() || isMinimized()) ? normalGeometry() : geometry();
    const QRect frame = frameGeometry();
    WindowPlacement& w = settings_.Window;
    w.Left = (isMaximized() || isMinimized()) ? normal.left() : frame.left();
    w.Top = (isMaximized() || isMinimized()) ? normal.top() : frame.top();
    w.Width = normal.width();
    w.Height = normal.height();
    w.WindowState = isMinimized() ? 1 : isMaximized() ? 2 : 0;
}

void TEditorBox::SaveApplicationSettings()
{
    WindowPlacementIntoSettings();
    settings_.Write(settingsFile_);
    if (project_)
        SaveStructureSettings(*project_->Settings, project_->Maps, MapGrid(), zoomPosition_);
}

void TEditorBox::RefreshRecentItems()
{
    bool any = false;
    for (int i = 0; i < kRecentSlots; ++i) {
        const std::string& dir = settings_.RecentList[static_cast<std::size_t>(i)];
        QAction* action = recentActions_[static_cast<std::size_t>(i)];
        action->setVisible(!dir.empty());
        if (!dir.empty()) {
            action->setText(Text(RecentCaption(i + 1, dir)));
            any = true;
        }
    }
    recentSeparator_->setVisible(any);
}

// --- drawing ---

void TEditorBox::RedrawMap()
{
    if (!project_)
        return;
    tsl::RedrawMap(viewImage_, project_->Maps.Current(), project_->Symbols, project_->Display(), tools_.ValueMode);
    ShowPicture();
}

void TEditorBox::RedrawTile(int x, int y)
{
    if (!project_)
        return;
    const QSize before(viewImage_.width, viewImage_.height);
    const auto* pixels = viewImage_.pixels.data();
    tsl::RedrawTile(viewImage_, project_->Maps.Current(), project_->Symbols, project_->Display(), tools_.ValueMode, x,
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

void TEditorBox::onOpenProject()
{
    if (!AskSaveChanges())
        return;
    OpenProject(false);
    SetStatus("Ready");
}

void TEditorBox::onSaveProject()
{
    SaveProject();
}

void TEditorBox::onRecentProject(int slot)
{
    const std::string directory = settings_.RecentList[static_cast<std::size_t>(slot)];
    if (directory.empty())
        return;
    OpenDirectory(directory);
}

void TEditorBox::onZoomChosen(int position)
{
    zoomPosition_ = std::clamp(position, 0, 4);
    if (!project_)
        return;
    RedrawMap();
    project_->Settings->WriteInteger("General", "ZoomFactor", zoomPosition_);
}

void TEditorBox::onPlaneChosen(int plane)
{
    if (!project_ || plane < 0)
        return;
    panel_->FillSymbolList(project_->Symbols, plane);
    RefreshSelectionRows();
}

void TEditorBox::onSymbolPressed(int index, Qt::MouseButton button)
{
    if (!project_)
        return;
    const int plane = SelectedPlane();
    const auto& symbols = project_->Symbols.PlaneSymbols(plane);
    if (index < 0 || index >= static_cast<int>(symbols.size()))
        return;
    const MapSymbols& symbol = symbols[static_cast<std::size_t>(index)];
    const auto value = static_cast<std::uint16_t>(symbol.Value);
    const bool right = button == Qt::RightButton;
    (right ? tools_.RightValue : tools_.LeftValue)[static_cast<std::size_t>(plane)] = value;
    SidePanel::SetRow(right ? panel_->RightRow() : panel_->LeftRow(), project_->Symbols.SymbolPicture(plane, value),
                      Text(SymbolTables::EntryText(symbol)));
}

void TEditorBox::onPointerMoved(QPoint position)
{
    if (!project_)
        return;
    const MapList& map = project_->Maps.Current();
    const int c = kBlockSize * ZoomFactor();
    const int x = position.x() < 0 ? -1 : position.x() / c;
    const int y = position.y() < 0 ? -1 : position.y() / c;
    if (x < 0 || y < 0 || x >= map.Width || y >= map.Height)
        return;
    RefreshTileInformation(x, y);
    panel_->XLabel()->setText(QString("X: %1").arg(x));
    panel_->YLabel()->setText(QString("Y: %1").arg(y));
}

void TEditorBox::onToggleGrid()
{
    if (!project_)
        return;
    const bool on = gridAction_->isChecked();
    project_->Settings->WriteBool("General", "MapGrid", on);
    view_->PaintArea()->SetGrid(on);
}

void TEditorBox::onMapViewOptions()
{
    if (!project_)
        return;
    viewOptionsBox_->ShowMapViewOptions(*project_);
    RedrawMap();
}

void TEditorBox::onMapConfigurations()
{
    if (project_)
        configurationsBox_->ShowMapConfigurations(*project_);
}

void TEditorBox::onSaveMapAsBitmap()
{
    if (!project_)
        return;
    auto path = prompter_.ChooseSaveFile("Save as BMP", {"Bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*", 0}, "bmp");
    if (!path)
        return;
    // The map picture at 8 pixels per tile, whatever the zoom: the grid and
    // the markers are drawn on the screen only.
    const QImage picture = Wrap(viewImage_).copy();
    if (!picture.save(Text(path->string()), "BMP"))
        prompter_.Message("Couldn't write the bitmap file " + path->filename().string() + "!", "Error saving bitmap",
                          MessageIcon::Error, Buttons::Ok);
}

void TEditorBox::onToggleCheckAtStartup()
{
    settings_.CheckAtStartup = checkAtStartupAction_->isChecked();
    settings_.WriteCheckAtStartup(settingsFile_);
}

} // namespace tsl
