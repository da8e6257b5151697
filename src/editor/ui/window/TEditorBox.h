#pragma once
// The main window, a coordinator. The project (map set, structure, symbol
// tables) comes from the core's open flow and lives in an editing session,
// whose document tells its listeners what changed: the map view's
// controller redraws, the preview's controller rebuilds, the autosave policy
// marks work, and the window's title follows the names and the saved state.
// What the views show (the skill level, the picture mode, the grid, the
// overlays, the rules) is one ViewState that the controllers follow; they
// never call into one another, and the window takes the rules the document
// announces into it. The actions
// (EditorActions), the map view and the side panel hand the user's commands
// to the session, the dialogs collect typed choices that the session
// applies, Apply shows what a command did beside the maps (its message, the
// tool, the overlay), and every message goes through the Prompter.

#include "editor/settings/AppSettings.h"
#include "core/Prompter.h"
#include "core/Image.h"
#include "core/IniFile.h"
#include "editor/settings/EditorEnvironment.h"
#include "editor/session/EditorSession.h"
#include "editor/document/Project.h"
#include "editor/keeping/Recovery.h"
#include "editor/view/ViewState.h"

#include <QMainWindow>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QTimer;

namespace tsl {

class AnalysisController;
class EditorActions;
class MapView;
class MapViewController;
class GameDataController;
class ModController;
class PagesController;
class PreviewController;
class RunController;
class SoundOutput;
class SidePanel;
class TClipboardManagerBox;
class TFindReplaceBox;
class TFlipPlanesBox;
class TGenerateLevelBox;
class TPlaneBox;
class TGoToLevelBox;
class TMapConfigurationsBox;
class TMapPropertiesBox;
class TMapDefinitionStructureBox;
class TMapExporterBox;
class TMapSymbolsBox;
class TMapViewOptionsBox;
class TPreview3DBox;
class TProgressBox;
struct GameGraphics;

class TEditorBox : public QMainWindow {
    Q_OBJECT
public:
    TEditorBox(Prompter& prompter, EditorEnvironment environment, QWidget* parent = nullptr);
    ~TEditorBox() override;

    // The operations of the project lifecycle.
    bool OpenProject(bool fromRecent, const std::filesystem::path& directory = {});
    bool AskSaveChanges();
    // `closeWhenSaved`: the progress box closes by itself once the maps are
    // saved (Run Map goes on to the game).
    bool SaveProject(bool closeWhenSaved = false);
    void PreviousMap();
    void NextMap();
    // "Tesselar: " and the map's name, with the modified marker (an
    // asterisk after the title) while there are unsaved changes.
    void UpdateTitle();
    // Enables every command from the session: after every command.
    void RefreshCommands();

    // Opens `directory` as a recent project would be opened: no directory
    // dialog, changes saved or discarded first.
    void OpenDirectory(const std::filesystem::path& directory);

    // For the tests and the start-up code.
    EditorSession* Session() const { return session_.get(); }
    Project* CurrentProject() const;
    // The maps or the game's page file differ from their files.
    bool Changed() const;
    QString StatusText() const;
    // The status bar's fields of the tile under the pointer, the word there
    // and the selection's size.
    QString TileStatusText() const;
    QString WordStatusText() const;
    QString SelectionStatusText() const;
    const AppSettings& Settings() const { return settings_; }
    int ZoomPosition() const;
    int ZoomFactor() const;
    bool MapGrid() const;
    // The map picture in symbols (stale while the game's graphics are shown).
    const Image& ViewImage() const;
    // The game's pictures of the open project, loaded once when it opened;
    // nothing for a game without them. Everything that draws shares them.
    std::shared_ptr<const GameGraphics> Graphics() const;
    // Whether the view draws the game's pictures now ("Game Graphics").
    bool GameGraphicsShown() const;
    MapView* View() const;
    AnalysisController* Analyser() const { return analyser_; }
    // What the views show: the skill level, the picture mode, the grid, the overlays, the rules.
    ViewState& Views() const { return *view_; }
    SidePanel* Panel() const { return panel_; }
    QAction* Action(const QString& objectName) const;
    EditorActions* Actions() const { return actions_; }
    TMapDefinitionStructureBox* StructureBox() const { return structureBox_; }
    int SelectedPlane() const;
    // The 3D preview window; nothing until "3D Preview" or "View From Here"
    // first opened it.
    TPreview3DBox* Preview() const;
    // The page file's document, browser and sound output.
    PagesController* Pages() const { return pages_; }
    GameDataController* GameData() const { return gameData_; }
    // The episode board, the comparison with another set and the release.
    ModController* Modder() const { return modder_; }
    // Where the browser plays sounds (the system's audio output unless set).
    void SetSoundOutput(std::unique_ptr<SoundOutput> output);
    // Run Map and the program it started.
    RunController* Runner() const { return runner_; }
    // The autosave policy's tick (the timer's work, every [Autosave]
    // Interval seconds); shows the first failure of a write.
    void Autosave();
    const QTimer* AutosaveTimer() const { return autosaveTimer_; }
    // Where the user is: the map, the zoom and the buttons' values.
    EditorPlace Place() const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ConnectActions();
    void ConnectPanel();
    void SetStatus(const QString& text);
    // A new session for `project`, then the recovery of its game offered.
    void ApplyLoadedProject(std::unique_ptr<Project> project);
    // Returns to a place (after recovery or a restored backup).
    void GoToPlace(const EditorPlace& place);
    // A new session or new planes or symbols: everything the window shows
    // starts anew, with what `result` adds (its message).
    void ShowReloadedProject(EditResult result);
    void RefreshSelectionRows();
    // Shows what a command did beside the maps (which the document tells
    // its listeners): its message, a gesture that another command ended,
    // the selection rows, the tool, the overlay and the enabled commands.
    void Apply(EditResult result);
    // The document's notices the window itself follows: the title, and the
    // rules taken into the view state.
    void Follow(const DocumentChange& change);
    // The project's rules of play into the view state.
    void ShowRules();
    void SyncPlane();
    void ShowTool();
    // A press the view will never see released (a dialog took the mouse):
    // its gesture ends as its release would.
    void EndGesture();
    void ShowModified();

    void onPlaneChosen(int plane);
    void onSymbolPressed(int index, Qt::MouseButton button);
    void onPointerInput(const PointerInput& input);
    // The view's keys (TEditorBoxViewCommands.cpp): zooming by keys,
    // Escape, the symbol filter's key, the recent row and the picture size.
    void ConnectViewCommands();
    void onEscape();
    void onClipboardManager();
    void onDeleteMap();
    void onGoToLevel();
    void onMapProperties();
    // Whole-map operations, find and replace, the plane manager, the map
    // information and the analysis of play (TEditorBoxMapCommands.cpp).
    void ConnectMapCommands();
    void onClearMap(bool random);
    void onGenerateLevel();
    void onFlipPlanes();
    void onFindReplace();
    void onFindAgain();
    void onPlaneManager();
    int onChangePlaneCount(int count);
    void onPlaneNamesChanged();
    void onMapViewOptions();
    void onMapConfigurations();
    void onMapSymbols();
    // The "&File" menu and the settings that outlive the window
    // (TEditorBoxFileCommands.cpp).
    void onOpenProject();
    void onSaveProject();
    void onRecentProject(int slot);
    void RefreshRecentItems();
    void onImportMap();
    void onExportMap();
    void onSaveMapAsBitmap();
    // The page browser's command and Save's part for the page file
    // (TEditorBoxPages.cpp).
    void ConnectPageCommands();
    bool SavePages();
    // Find and Replace opened on the word of a wall (the page browser's
    // offer when a wall to remove is in use).
    void FindWall(int wall);
    // The episode board, comparing and the release (TEditorBoxModCommands.cpp).
    void ConnectModCommands();
    // The 3D preview's commands and Run Map's (TEditorBoxPreview.cpp).
    void ConnectPreviewCommands();
    void onMapContextMenu(QPoint tile, QPoint globalPosition);
    // Backups and the recovery file (TEditorBoxRecovery.cpp).
    void onRestoreBackup();
    // At open, once the project and its page file are shown: the recovery
    // of its game offered back (its maps, the kept documents and the place,
    // when the user wants them), or set aside.
    void OfferRecovery();
    // The documents beside the maps whose unsaved state the autosave keeps.
    std::vector<KeptDocument*> KeptDocuments() const;
    // The autosave of the session just made, writing the recovery file.
    void StartAutosave();
    // The unsaved maps are saved or given up: the recovery file goes.
    void ForgetRecovery();
    void SaveApplicationSettings();
    void ReadWindowPlacement();
    void WindowPlacementIntoSettings();

    Prompter& prompter_;
    EditorEnvironment environment_;
    IniFile settingsFile_; // TSL.ini
    AppSettings settings_;
    std::unique_ptr<EditorSession> session_;
    DocumentToken following_; // the session's document, for the title
    std::unique_ptr<ViewState> view_; // what the views show, for every project of the window
    ViewToken viewing_;               // for the actions that show it

    SidePanel* panel_;
    EditorActions* actions_;
    MapViewController* viewer_;
    PreviewController* previewer_;
    AnalysisController* analyser_; // the skill level, the overlays of play, the statistics and the map check
    PagesController* pages_; // the page file, its browser and the sound output
    GameDataController* gameData_; // the game's other pictures and its sounds, in tabs of the browser
    ModController* modder_;  // the episode board, comparing and the release
    std::unique_ptr<AutosavePolicy> autosave_; // of the open project; none without a recovery folder
    QTimer* autosaveTimer_;
    RunController* runner_; // Run Map, its command dialog and the program started

    TMapDefinitionStructureBox* structureBox_;
    TMapConfigurationsBox* configurationsBox_;
    TMapViewOptionsBox* viewOptionsBox_;
    TProgressBox* progressBox_;
    TGoToLevelBox* goToLevelBox_;
    TMapPropertiesBox* propertiesBox_;
    TClipboardManagerBox* clipboardBox_;
    TFlipPlanesBox* flipPlanesBox_;
    TGenerateLevelBox* generateLevelBox_;
    TFindReplaceBox* findReplaceBox_;
    TPlaneBox* planeBox_;
    TMapSymbolsBox* symbolsBox_;
    TMapExporterBox* exporterBox_;
};

} // namespace tsl
