#include "editor/ui/window/EditorActions.h"

#include "editor/session/EditorSession.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QToolBar>

#include <algorithm>
#include <iterator>

namespace tsl {

namespace {

// Whether a command needs an open project to be enabled, or one whose game
// has pictures that could be loaded.
enum class Needs { Nothing, Project, Graphics, Comparison };

struct ActionSpec {
    Command command;
    const char* caption;
    const char* name;
    const char* shortcut;
    const char* hint;  // the tool button's hint; empty: no tool button
    const char* theme; // a themed icon, before the standard one
    QStyle::StandardPixmap icon;
    Needs needs;
};

constexpr QStyle::StandardPixmap kNoIcon = QStyle::SP_CustomBase;

constexpr ActionSpec kActions[] = {
    {Command::OpenProject, "&Open Project", "openProjectAction", "Ctrl+O", "Open Project", "",
     QStyle::SP_DialogOpenButton, Needs::Nothing},
    {Command::SaveProject, "&Save Project", "saveProjectAction", "Ctrl+S", "Save Project", "",
     QStyle::SP_DialogSaveButton, Needs::Project},
    {Command::RestoreBackup, "Restore &Backup...", "restoreBackupAction", "", "", "", kNoIcon, Needs::Project},
    {Command::CompareWith, "Co&mpare with...", "compareWithAction", "", "", "", kNoIcon, Needs::Project},
    {Command::StopComparing, "S&top Comparing", "stopComparingAction", "", "", "", kNoIcon, Needs::Comparison},
    {Command::MakeRelease, "Make Re&lease...", "makeReleaseAction", "", "", "", kNoIcon, Needs::Project},
    {Command::ImportMap, "&Import Map", "importMapAction", "Shift+Insert", "Import Map", "document-import",
     QStyle::SP_ArrowDown, Needs::Project},
    {Command::ExportMap, "&Export Map", "exportMapAction", "Shift+Delete", "Export Map", "document-export",
     QStyle::SP_ArrowUp, Needs::Project},
    {Command::RunMap, "&Run Map", "runMapAction", "F9", "Run Map", "media-playback-start", QStyle::SP_MediaPlay,
     Needs::Project},
    {Command::RunMapCommand, "Run Map &Command...", "runMapCommandAction", "", "", "", kNoIcon, Needs::Nothing},
    {Command::Exit, "E&xit", "exitAction", "Ctrl+Q", "", "", kNoIcon, Needs::Nothing},
    {Command::Undo, "&Undo", "undoAction", "Ctrl+Z", "Undo", "edit-undo", kNoIcon, Needs::Project},
    {Command::Redo, "&Redo", "redoAction", "Ctrl+Y", "Redo", "edit-redo", kNoIcon, Needs::Project},
    {Command::Cut, "Cu&t", "cutAction", "Ctrl+X", "Cut", "edit-cut", kNoIcon, Needs::Project},
    {Command::Copy, "&Copy", "copyAction", "Ctrl+C", "Copy", "edit-copy", kNoIcon, Needs::Project},
    {Command::Paste, "&Paste", "pasteAction", "Ctrl+V", "Paste", "edit-paste", kNoIcon, Needs::Project},
    {Command::ClipboardManager, "Clipboard &Manager", "clipboardManagerAction", "Ctrl+B", "Clipboard Manager", "",
     QStyle::SP_FileDialogListView, Needs::Project},
    {Command::PreviousLevel, "&Previous Level", "previousLevelAction", "Ctrl+P", "Previous Level", "",
     QStyle::SP_ArrowBack, Needs::Project},
    {Command::NextLevel, "&Next Level", "nextLevelAction", "Ctrl+N", "Next Level", "", QStyle::SP_ArrowForward,
     Needs::Project},
    {Command::GoToLevel, "&Go To Level", "goToLevelAction", "Ctrl+G", "Go To Level", "go-jump",
     QStyle::SP_FileDialogContentsView, Needs::Project},
    {Command::AddMap, "&Add Map", "addMapAction", "Insert", "Add Map", "document-new", QStyle::SP_FileIcon,
     Needs::Project},
    {Command::DeleteMap, "&Delete Map", "deleteMapAction", "Delete", "Delete Map", "edit-delete",
     QStyle::SP_TrashIcon, Needs::Project},
    {Command::MapProperties, "&Map Properties", "mapPropertiesAction", "Ctrl+M", "", "", kNoIcon, Needs::Project},
    {Command::Autofloor, "Auto&floor", "autofloorAction", "Ctrl+Alt+F", "Autofloor", "", QStyle::SP_DialogResetButton,
     Needs::Project},
    {Command::ClearMapSolid, "Clear Map (Solid)", "clearMapSolidAction", "", "", "", kNoIcon, Needs::Project},
    {Command::ClearMapRandom, "Clear Map (Random)", "clearMapRandomAction", "", "", "", kNoIcon, Needs::Project},
    {Command::GenerateLevel, "&Generate Level...", "generateLevelAction", "", "", "", kNoIcon, Needs::Project},
    {Command::Rotate90, "&90 Degrees", "rotate90Action", "", "", "", kNoIcon, Needs::Project},
    {Command::Rotate180, "&180 Degrees", "rotate180Action", "", "", "", kNoIcon, Needs::Project},
    {Command::Rotate270, "&270 Degrees", "rotate270Action", "", "", "", kNoIcon, Needs::Project},
    {Command::FlipHorizontal, "&Horizontal", "flipHorizontalAction", "", "", "", kNoIcon, Needs::Project},
    {Command::FlipVertical, "&Vertical", "flipVerticalAction", "", "", "", kNoIcon, Needs::Project},
    {Command::TurnFacingObjects, "Turn &Facing Objects", "turnFacingObjectsAction", "", "", "", kNoIcon,
     Needs::Project},
    {Command::FlipPlanes, "Flip &Planes", "flipPlanesAction", "", "", "", kNoIcon, Needs::Project},
    {Command::FindReplace, "&Find && Replace", "findReplaceAction", "Ctrl+F", "Find & Replace", "edit-find",
     QStyle::SP_FileDialogContentsView, Needs::Project},
    {Command::PlaneManager, "Plan&e Manager", "planeManagerAction", "Ctrl+D", "Plane Manager", "",
     QStyle::SP_FileDialogInfoView, Needs::Project},
    {Command::MapInformation, "Map Info&rmation", "mapInformationAction", "Ctrl+I", "", "", kNoIcon, Needs::Project},
    {Command::LevelStatistics, "Level &Statistics", "levelStatisticsAction", "Ctrl+Shift+I", "", "", kNoIcon,
     Needs::Project},
    {Command::ShowReachableArea, "Show &Reachable Area", "showReachableAreaAction", "Ctrl+Shift+R", "", "", kNoIcon,
     Needs::Project},
    {Command::ShowPatrolRoutes, "Show &Patrol Routes", "showPatrolRoutesAction", "Ctrl+Shift+T", "", "", kNoIcon,
     Needs::Project},
    {Command::EpisodeBoard, "E&pisode Board", "episodeBoardAction", "Ctrl+Shift+E", "", "", kNoIcon, Needs::Project},
    {Command::NextChange, "Ne&xt Change", "nextChangeAction", "F8", "", "", kNoIcon, Needs::Comparison},
    {Command::PreviousChange, "Previous C&hange", "previousChangeAction", "Shift+F8", "", "", kNoIcon,
     Needs::Comparison},
    {Command::IntMode, "&Int (16-bit) Mode", "intModeAction", "Ctrl+Alt+N", "", "", kNoIcon, Needs::Project},
    {Command::HighByteMode, "&High Byte Mode", "highByteModeAction", "Ctrl+Alt+H", "", "", kNoIcon, Needs::Project},
    {Command::LowByteMode, "&Low Byte Mode", "lowByteModeAction", "Ctrl+Alt+L", "", "", kNoIcon, Needs::Project},
    {Command::MapGrid, "Displa&y Map Grid", "mapGridAction", "Ctrl+W", "", "", kNoIcon, Needs::Project},
    {Command::GameGraphics, "&Game Graphics", "gameGraphicsAction", "Ctrl+Alt+G", "Game Graphics",
     "", kNoIcon, Needs::Graphics},
    {Command::GamePictures, "Game &Pictures and Sounds...", "gamePicturesAction", "", "", "", kNoIcon,
     Needs::Graphics},
    {Command::ZoomIn, "&Zoom In", "zoomInAction", "Ctrl++", "", "zoom-in", kNoIcon, Needs::Project},
    {Command::ZoomOut, "Zoom O&ut", "zoomOutAction", "Ctrl+-", "", "zoom-out", kNoIcon, Needs::Project},
    {Command::ZoomWholeMap, "Zoom to &Whole Map", "zoomWholeMapAction", "Ctrl+0", "", "zoom-fit-best", kNoIcon,
     Needs::Project},
    {Command::MapViewOptions, "Map &View Options", "mapViewOptionsAction", "F2", "Map View Options", "",
     QStyle::SP_FileDialogDetailedView, Needs::Project},
    {Command::MapConfigurations, "Map C&onfigurations", "mapConfigurationsAction", "Ctrl+Alt+C", "", "", kNoIcon,
     Needs::Project},
    {Command::MapSymbols, "Map &Symbols", "mapSymbolsAction", "Ctrl+E", "", "", kNoIcon, Needs::Project},
    {Command::SaveMapAsBmp, "Save Map As &BMP", "saveMapAsBmpAction", "Ctrl+Alt+S", "", "", kNoIcon, Needs::Project},
    {Command::Preview3D, "3D &Preview", "preview3DAction", "F4", "3D Preview", "", QStyle::SP_ComputerIcon,
     Needs::Project},
    {Command::CheckForUpdateAtStartup, "Check For Update At Startup", "checkForUpdateAtStartupAction", "", "", "",
     kNoIcon, Needs::Nothing},
    {Command::CheckForUpdate, "Check For &Update", "checkForUpdateAction", "", "", "", kNoIcon, Needs::Nothing},
    {Command::Help, "&Help", "helpAction", "F1", "", "", kNoIcon, Needs::Nothing},
    {Command::MapLegend, "Map &Legend", "mapLegendAction", "", "", "", kNoIcon, Needs::Nothing},
    {Command::About, "&About Tesselar", "aboutAction", "", "", "", kNoIcon, Needs::Nothing},
};
static_assert(std::size(kActions) == kCommandCount);

// "Game Graphics": a piece of stone wall, three rows of bricks.
QIcon WallIcon()
{
    QPixmap picture(16, 16);
    picture.fill(QColor(0x50, 0x50, 0x50));
    QPainter painter(&picture);
    for (int row = 0; row < 3; ++row)
        for (int x = row % 2 ? -4 : 0; x < 16; x += 8)
            painter.fillRect(QRect(x + 1, row * 5 + 1, 7, 4), row == 1 ? QColor(0xA8, 0xA8, 0xA8) : QColor(0x90, 0x90, 0x90));
    return QIcon(picture);
}

// Keys people try beside the one the menu shows.
struct MoreKeys {
    Command command;
    QKeyCombination keys[2];
};
const MoreKeys kMoreKeys[] = {
    {Command::Redo, {Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z, {}}},
    {Command::ZoomIn, {Qt::ControlModifier | Qt::Key_Equal, Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus}},
    {Command::ZoomOut, {Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Minus, {}}},
};

// A tool-bar button's hint, naming the key that does the same: "Undo (Ctrl+Z)".
QString HintOf(const ActionSpec& spec)
{
    return *spec.shortcut ? QString("%1 (%2)").arg(spec.hint, spec.shortcut) : QString(spec.hint);
}

// What enables each command that needs an open project.
bool Enabled(Command command, const EditorSession& s)
{
    switch (command) {
    case Command::Undo:
        return s.CanUndo();
    case Command::Redo:
        return s.CanRedo();
    case Command::Cut:
        return s.CanCut();
    case Command::Copy:
        return s.CanCopy();
    case Command::Paste:
        return s.CanPaste();
    case Command::ClipboardManager:
        return s.CanClipboardManager();
    case Command::PreviousLevel:
        return s.CanPreviousMap();
    case Command::NextLevel:
        return s.CanNextMap();
    case Command::AddMap:
        return s.CanAddMap();
    case Command::DeleteMap:
        return s.CanDeleteMap();
    case Command::Autofloor:
    case Command::ClearMapSolid:
    case Command::ClearMapRandom:
    case Command::GenerateLevel:
    case Command::Rotate90:
    case Command::Rotate180:
    case Command::Rotate270:
    case Command::FlipHorizontal:
    case Command::FlipVertical:
    case Command::TurnFacingObjects:
    case Command::FlipPlanes:
        return s.CanWholeMapOperations();
    case Command::FindReplace:
        return s.CanFindReplace();
    case Command::HighByteMode: // UpdateByteModes: only for a split plane
    case Command::LowByteMode:
        return s.CanByteModes();
    default:
        return true;
    }
}

} // namespace

EditorActions::EditorActions(QMainWindow* window) : QObject(window)
{
    CreateActions(window);
    CreateMenus(window);
    CreateToolBar(window);
    Refresh(nullptr);
}

void EditorActions::CreateActions(QMainWindow* window)
{
    for (const ActionSpec& spec : kActions) {
        auto* action = new QAction(spec.caption, window);
        action->setObjectName(spec.name);
        if (*spec.shortcut)
            action->setShortcut(QKeySequence(spec.shortcut));
        if (*spec.hint)
            action->setToolTip(HintOf(spec));
        QIcon icon = *spec.theme ? QIcon::fromTheme(spec.theme) : QIcon();
        if (icon.isNull() && spec.icon != kNoIcon)
            icon = window->style()->standardIcon(spec.icon);
        if (spec.command == Command::GameGraphics)
            icon = WallIcon();
        action->setIcon(icon);
        window->addAction(action);
        actions_[static_cast<std::size_t>(spec.command)] = action;
    }
    for (const MoreKeys& more : kMoreKeys) {
        QList<QKeySequence> keys = Get(more.command)->shortcuts();
        for (QKeyCombination key : more.keys)
            if (key.key() != Qt::Key_unknown)
                keys.append(QKeySequence(key));
        Get(more.command)->setShortcuts(keys);
    }
    Get(Command::MapGrid)->setCheckable(true);
    Get(Command::TurnFacingObjects)->setCheckable(true);
    Get(Command::TurnFacingObjects)->setChecked(true);
    Get(Command::GameGraphics)->setCheckable(true);
    Get(Command::ShowReachableArea)->setCheckable(true);
    Get(Command::ShowPatrolRoutes)->setCheckable(true);
    Get(Command::CheckForUpdateAtStartup)->setCheckable(true);
    modes_ = new QActionGroup(this);
    modes_->setExclusive(true);
    for (Command mode : {Command::IntMode, Command::HighByteMode, Command::LowByteMode}) {
        Get(mode)->setCheckable(true);
        modes_->addAction(Get(mode));
    }
    Get(Command::IntMode)->setChecked(true);

    for (int i = 0; i < kRecentSlots; ++i) {
        auto* recent = new QAction(window);
        recent->setObjectName(QString("recentProject%1").arg(i + 1));
        recent->setVisible(false);
        window->addAction(recent);
        recent_[static_cast<std::size_t>(i)] = recent;
    }
}

void EditorActions::CreateMenus(QMainWindow* window)
{
    auto add = [this](QMenu* menu, std::initializer_list<Command> commands) {
        for (Command command : commands)
            menu->addAction(Get(command));
    };
    fileMenu_ = window->menuBar()->addMenu("&File");
    fileMenu_->setObjectName("fileMenu");
    add(fileMenu_, {Command::OpenProject, Command::SaveProject, Command::RestoreBackup});
    fileMenu_->addSeparator();
    add(fileMenu_, {Command::CompareWith, Command::StopComparing, Command::MakeRelease});
    fileMenu_->addSeparator();
    add(fileMenu_, {Command::ImportMap, Command::ExportMap});
    fileMenu_->addSeparator();
    add(fileMenu_, {Command::RunMap, Command::RunMapCommand});
    fileMenu_->addSeparator();
    for (QAction* recent : recent_)
        fileMenu_->addAction(recent);
    recentSeparator_ = fileMenu_->addSeparator();
    recentSeparator_->setVisible(false);
    add(fileMenu_, {Command::Exit});

    QMenu* edit = window->menuBar()->addMenu("&Edit");
    edit->setObjectName("editMenu");
    add(edit, {Command::Undo, Command::Redo});
    edit->addSeparator();
    add(edit, {Command::Cut, Command::Copy, Command::Paste});
    edit->addSeparator();
    add(edit, {Command::ClipboardManager});
    edit->addSeparator();
    add(edit, {Command::FindReplace});

    QMenu* map = window->menuBar()->addMenu("&Map");
    map->setObjectName("mapMenu");
    add(map, {Command::PreviousLevel, Command::NextLevel, Command::GoToLevel});
    map->addSeparator();
    add(map, {Command::AddMap, Command::DeleteMap, Command::MapProperties});
    map->addSeparator();
    add(map, {Command::Autofloor, Command::ClearMapSolid, Command::ClearMapRandom, Command::GenerateLevel});
    QMenu* advanced = map->addMenu("Advan&ced");
    advanced->setObjectName("advancedMenu");
    QMenu* rotate = advanced->addMenu("&Rotate Map");
    rotate->setObjectName("rotateMapMenu");
    add(rotate, {Command::Rotate90, Command::Rotate180, Command::Rotate270});
    QMenu* flip = advanced->addMenu("&Flip Map");
    flip->setObjectName("flipMapMenu");
    add(flip, {Command::FlipHorizontal, Command::FlipVertical});
    add(advanced, {Command::TurnFacingObjects, Command::FlipPlanes});
    map->addSeparator();
    add(map, {Command::PlaneManager, Command::MapInformation, Command::LevelStatistics, Command::ShowReachableArea,
              Command::ShowPatrolRoutes, Command::EpisodeBoard, Command::NextChange, Command::PreviousChange});
    map->addSeparator();
    add(map, {Command::IntMode, Command::HighByteMode, Command::LowByteMode});
    map->addSeparator();
    add(map, {Command::MapGrid, Command::GameGraphics, Command::GamePictures, Command::ZoomIn, Command::ZoomOut, Command::ZoomWholeMap,
              Command::MapViewOptions, Command::Preview3D});
    map->addSeparator();
    add(map, {Command::MapConfigurations, Command::MapSymbols});
    map->addSeparator();
    add(map, {Command::SaveMapAsBmp});

    QMenu* help = window->menuBar()->addMenu("&?");
    help->setObjectName("helpMenu");
    add(help, {Command::Help, Command::MapLegend});
    help->addSeparator();
    add(help, {Command::CheckForUpdate, Command::CheckForUpdateAtStartup});
    help->addSeparator();
    add(help, {Command::About});
}

void EditorActions::CreateToolBar(QMainWindow* window)
{
    QToolBar* bar = toolBar_ = window->addToolBar("Tools");
    bar->setObjectName("mainToolBar");
    bar->setMovable(false);
    const std::initializer_list<std::initializer_list<Command>> groups = {
        {Command::OpenProject, Command::SaveProject},
        {Command::ImportMap, Command::ExportMap},
        {Command::Undo, Command::Redo},
        {Command::Cut, Command::Copy, Command::Paste, Command::ClipboardManager, Command::FindReplace},
        {Command::PreviousLevel, Command::NextLevel, Command::GoToLevel},
        {Command::AddMap, Command::DeleteMap},
        {Command::Autofloor, Command::PlaneManager, Command::MapViewOptions, Command::GameGraphics},
        {Command::Preview3D, Command::RunMap},
    };
    bool first = true;
    for (const auto& group : groups) {
        if (!first)
            bar->addSeparator();
        first = false;
        for (Command command : group)
            bar->addAction(Get(command));
    }
}

void EditorActions::ExplainDisabled(Command command, const QString& why)
{
    const auto spec = std::find_if(std::begin(kActions), std::end(kActions),
                                   [command](const ActionSpec& s) { return s.command == command; });
    Get(command)->setToolTip(why.isEmpty() ? HintOf(*spec) : QString("%1\n%2").arg(HintOf(*spec), why));
}

void EditorActions::Refresh(const EditorSession* session, bool gameGraphics, const EditorToggles& toggles)
{
    for (const ActionSpec& spec : kActions)
        Get(spec.command)->setEnabled(spec.needs == Needs::Nothing ||
                                      (session && Enabled(spec.command, *session) &&
                                       (spec.needs != Needs::Graphics || gameGraphics) &&
                                       (spec.needs != Needs::Comparison || toggles.Comparing)));
    Get(Command::MapGrid)->setChecked(toggles.Grid);
    Get(Command::GameGraphics)->setChecked(toggles.GameGraphics);
    Get(Command::CheckForUpdateAtStartup)->setChecked(toggles.CheckAtStartup);
    Get(Command::TurnFacingObjects)->setChecked(toggles.TurnFacingObjects);
    Get(Command::ShowReachableArea)->setChecked(toggles.ReachableArea);
    Get(Command::ShowPatrolRoutes)->setChecked(toggles.PatrolRoutes);
    if (!session)
        return;
    // The radio group follows the session's value mode (a plane that is not
    // split has already taken the session back to whole words).
    const Command mode = session->ValueMode() == kHighByteMode  ? Command::HighByteMode
                         : session->ValueMode() == kLowByteMode ? Command::LowByteMode
                                                                : Command::IntMode;
    Get(mode)->setChecked(true);
}

} // namespace tsl
