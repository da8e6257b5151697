#pragma once
// The main window's commands: every QAction with its caption, shortcut,
// object name and tool-button hint, the menus "&File", "&Edit", "&Map" and
// "&?", and the tool bar. Refresh is the one place where commands are
// enabled and checked, from the session's "can" functions, after every
// change; the window only wires the actions to what they do.

#include "editor/settings/AppSettings.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstddef>

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QToolBar;

namespace tsl {

class EditorSession;

// What the checkable commands show: the models' state, never read back from
// the actions.
struct EditorToggles {
    bool Grid = false;
    bool GameGraphics = false; // shown now
    bool CheckAtStartup = false;
    bool TurnFacingObjects = true;
    bool ReachableArea = false;
    bool PatrolRoutes = false;
    bool Comparing = false; // "Compare with..." chose a set: its commands are on
};

enum class Command {
    OpenProject,
    SaveProject,
    RestoreBackup,
    CompareWith,
    StopComparing,
    MakeRelease,
    ImportMap,
    ExportMap,
    RunMap,
    RunMapCommand,
    Exit,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    ClipboardManager,
    PreviousLevel,
    NextLevel,
    GoToLevel,
    AddMap,
    DeleteMap,
    MapProperties,
    Autofloor,
    ClearMapSolid,
    ClearMapRandom,
    GenerateLevel,
    Rotate90,
    Rotate180,
    Rotate270,
    FlipHorizontal,
    FlipVertical,
    TurnFacingObjects,
    FlipPlanes,
    FindReplace,
    PlaneManager,
    MapInformation,
    LevelStatistics,
    ShowReachableArea,
    ShowPatrolRoutes,
    EpisodeBoard,
    NextChange,
    PreviousChange,
    IntMode,
    HighByteMode,
    LowByteMode,
    MapGrid,
    GameGraphics,
    GamePictures,
    ZoomIn,
    ZoomOut,
    ZoomWholeMap,
    MapViewOptions,
    MapConfigurations,
    MapSymbols,
    SaveMapAsBmp,
    Preview3D,
    CheckForUpdateAtStartup,
    // The application connects these to the update check, the manual and the about box.
    CheckForUpdate,
    Help,
    MapLegend,
    About,
};
inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(Command::About) + 1;

class EditorActions : public QObject {
    Q_OBJECT
public:
    // Creates the actions (owned by `window`), its menu bar and tool bar.
    explicit EditorActions(QMainWindow* window);

    QAction* Get(Command command) const { return actions_[static_cast<std::size_t>(command)]; }
    QAction* Recent(int slot) const { return recent_[static_cast<std::size_t>(slot)]; }
    QAction* RecentSeparator() const { return recentSeparator_; }
    QMenu* FileMenu() const { return fileMenu_; }
    QToolBar* ToolBar() const { return toolBar_; }

    // Enables and checks every command from the session's state and the
    // toggles; without a session only the commands that need no maps are
    // enabled. "Game Graphics" and "Game Pictures and Sounds..." need the
    // game's pictures as well (`gameGraphics`).
    void Refresh(const EditorSession* session, bool gameGraphics = false, const EditorToggles& toggles = {});
    // The hint of a command's tool button with why it is disabled, or, with
    // an empty `why`, the plain hint again.
    void ExplainDisabled(Command command, const QString& why);

private:
    void CreateActions(QMainWindow* window);
    void CreateMenus(QMainWindow* window);
    void CreateToolBar(QMainWindow* window);

    std::array<QAction*, kCommandCount> actions_{};
    std::array<QAction*, kRecentSlots> recent_{};
    QAction* recentSeparator_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QActionGroup* modes_ = nullptr;
};

} // namespace tsl
