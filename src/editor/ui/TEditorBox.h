#pragma once
// The main window. It coordinates: the project (map set, structure, symbol
// tables) comes from the core's open flow and lives in an editing session,
// the actions (EditorActions), the map view and the side panel hand the
// user's commands to the session, the dialogs collect typed choices that the
// session applies, the window redraws what each command's result names, and
// every message goes through the Prompter.

#include "editor/AppSettings.h"
#include "core/Prompter.h"
#include "core/Image.h"
#include "core/IniFile.h"
#include "editor/EditorEnvironment.h"
#include "editor/EditorSession.h"
#include "editor/GameMapRenderer.h"
#include "editor/Project.h"
#include "editor/RunMapFlow.h"

#include <QImage>
#include <QMainWindow>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QTimer;

namespace tsl {

class Autosaver;
class EditorActions;
class MapView;
class SidePanel;
class TClipboardManagerBox;
class TFindReplaceBox;
class TFlipPlanesBox;
class TMapInformationBox;
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
class TRunCommandBox;
class TRestoreBackupBox;

class TEditorBox : public QMainWindow {
    Q_OBJECT
public:
    TEditorBox(Prompter& prompter, EditorEnvironment environment, QWidget* parent = nullptr);
    ~TEditorBox() override;

    // The operations of the project lifecycle.
    bool OpenProject(bool fromRecent, const std::filesystem::path& directory = {});
    bool AskSaveChanges();
    bool SaveProject();
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

    void RedrawMap();
    void RedrawTile(int x, int y);

    // For the tests and the start-up code.
    EditorSession* Session() const { return session_.get(); }
    Project* CurrentProject() const;
    bool Changed() const { return session_ && session_->Changed(); }
    void SetChanged(bool changed);
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
    const Image& ViewImage() const { return viewImage_; }
    // The game's pictures of the open project, loaded once when it opened;
    // nothing for a game without them. Everything that draws shares them.
    std::shared_ptr<const GameGraphics> Graphics() const { return graphics_; }
    // Whether the view draws the game's pictures now ("Game Graphics").
    bool GameGraphicsShown() const;
    MapView* View() const { return view_; }
    SidePanel* Panel() const { return panel_; }
    QAction* Action(const QString& objectName) const;
    EditorActions* Actions() const { return actions_; }
    TMapDefinitionStructureBox* StructureBox() const { return structureBox_; }
    int SelectedPlane() const;
    // The 3D preview window; nothing until "3D Preview" or "View From Here"
    // first opened it.
    TPreview3DBox* Preview() const { return preview_; }
    // What "Run Map" starts the game with (LaunchDetached unless set).
    void SetLauncher(decltype(RunMapHooks::launch) launcher) { launcher_ = std::move(launcher); }
    // Writes the unsaved maps to the recovery file (the timer's work, every
    // [Autosave] Interval seconds), or removes it once there is nothing
    // unsaved; shows the first failure of a write.
    void Autosave();
    const QTimer* AutosaveTimer() const { return autosaveTimer_; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ConnectActions();
    void ShowStartPicture();
    void SetStatus(const QString& text);
    void ShowPicture();
    void ApplyLoadedProject(std::unique_ptr<Project> project);
    // A new session or new planes or symbols: everything the window shows
    // starts anew, with what `result` adds (its message).
    void ShowReloadedProject(EditResult result);
    void RefreshSelectionRows();
    // Shows what a command did: its message, the redraw it names, the
    // selection rows, the tool, the overlay and the enabled commands.
    void Apply(const EditResult& result);
    void SyncPlane();
    void ShowTool();
    void SyncOverlay();
    // A press the view will never see released (a dialog took the mouse):
    // its gesture ends as its release would.
    void EndGesture();
    void ShowModified();
    // Scrolls the tile to the middle of the view and outlines it.
    void ShowTile(QPoint tile);

    void onZoomChosen(int position);
    void onPlaneChosen(int plane);
    void onSymbolPressed(int index, Qt::MouseButton button);
    void onPointerInput(const PointerInput& input);
    void onPointerMoved(QPoint position);
    void onZoomStep(int step, QPoint viewportPoint);
    // The game's own graphics in the view, the side panel and the pictures
    // made of the map (TEditorBoxGraphics.cpp).
    // Loads the pictures of the project just opened; the failure to show
    // once the project is shown, when its page file is damaged.
    std::optional<Failure> LoadProjectGraphics();
    void onToggleGameGraphics();
    // The side panel's pictures for the mode, the list and rows shown again.
    void ShowPanelPictures();
    void ShowGameView();
    void PaintGameView(Image& target, int left, int top);
    // The paste preview in the game's graphics: its picture and its pixels
    // per tile, drawn anew only when the block or the zoom changed.
    const QImage& GamePastePreview(int& tilePixels);
    Image GameClipboardPreview(const CB_Object& entry);
    // One zoom step keeping the map's point under `viewportPoint`; false
    // when the zoom is already at that end.
    bool ZoomKeeping(int step, QPoint viewportPoint);
    // The view's keys and the pointer's feedback (TEditorBoxViewCommands.cpp):
    // zooming by keys, Escape, the symbol filter's key, the recent row, the
    // picture size, the status bar's fields and the tile under the pointer.
    void ConnectViewCommands();
    void MakeStatusFields();
    void onZoomKey(int step);
    void onZoomWholeMap();
    void onEscape();
    // The tile under the pointer: "Tile Information", the coordinates, the
    // status fields and the outline with the Pencil's word. After every
    // command too, since a command changes what the tile holds.
    void ShowPointerFeedback();
    void ShowSelectionStatus();
    QImage PencilPicture(std::uint16_t word);
    void onClipboardManager();
    void onDeleteMap();
    void onGoToLevel();
    void onMapProperties();
    // Whole-map operations, find and replace, the plane manager and the map
    // information (TEditorBoxMapCommands.cpp).
    void ConnectMapCommands();
    void onClearMap(bool random);
    void onFlipPlanes();
    void onFindReplace();
    void onFindAgain();
    void onPlaneManager();
    int onChangePlaneCount(int count);
    void onPlaneNamesChanged();
    void onMapInformation();
    void SyncMarkers();
    void onToggleGrid();
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
    void onToggleCheckAtStartup();
    // The 3D preview, the camera arrow of the map view, View From Here and
    // Run Map (TEditorBoxPreview.cpp).
    void ConnectPreviewCommands();
    TPreview3DBox& ShowPreview(bool activate);
    // Before the project goes: the preview must let go of it.
    void LeavePreview();
    // After every command: the preview follows the project, the map and its edits.
    void SyncPreview(const EditResult& result);
    void SyncCameraMark();
    void onViewFromHere(QPoint tile);
    void onMapContextMenu(QPoint tile, QPoint globalPosition);
    void onRunMap();
    void onRunMapCommand();
    // Backups and the recovery file (TEditorBoxRecovery.cpp).
    void onRestoreBackup();
    // At open, before the project is shown: the recovery file of its game
    // offered back (true when its maps took the loaded ones' place), or set
    // aside; the autosave then writes to that file.
    bool OfferRecovery(Project& project);
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
    Image viewImage_;  // the current map at 8 pixels per tile
    std::shared_ptr<const GameGraphics> graphics_;
    GameMapRenderer renderer_;
    std::vector<PlaneDisplay> display_; // as the view was last drawn
    struct GamePreview {
        PlaneSet block;
        int width = 0;
        int factor = 0;
        int tilePixels = kBlockSize;
        QImage picture;
    } gamePreview_;
    std::optional<QPoint> pointerTile_; // the tile under the pointer, while it is over the map
    QImage startPicture_;
    int zoomPosition_ = 0;

    MapView* view_;
    SidePanel* panel_;
    QLabel* status_;
    QLabel* tileStatus_;
    QLabel* wordStatus_;
    QLabel* selectionStatus_;
    TMapDefinitionStructureBox* structureBox_;
    TMapConfigurationsBox* configurationsBox_;
    TMapViewOptionsBox* viewOptionsBox_;
    TProgressBox* progressBox_;
    TGoToLevelBox* goToLevelBox_;
    TMapPropertiesBox* propertiesBox_;
    TClipboardManagerBox* clipboardBox_;
    TFlipPlanesBox* flipPlanesBox_;
    TFindReplaceBox* findReplaceBox_;
    TPlaneBox* planeBox_;
    TMapInformationBox* mapInformationBox_;
    TMapSymbolsBox* symbolsBox_;
    TMapExporterBox* exporterBox_;
    TRunCommandBox* runCommandBox_;
    TPreview3DBox* preview_ = nullptr;
    int previewMapCount_ = 0; // the number of maps when the preview was last told
    decltype(RunMapHooks::launch) launcher_;
    TRestoreBackupBox* restoreBox_;
    EditorActions* actions_;
    QTimer* autosaveTimer_;
    std::unique_ptr<Autosaver> autosaver_; // of the open project; none without a recovery folder
    bool autosaved_ = false;               // the recovery file holds maps not saved since
    bool autosaveFailureShown_ = false;    // one message per project, not one per interval
};

} // namespace tsl
