#pragma once
// The main window. It coordinates: the project (map set, structure, symbol
// tables) comes from the core's open flow, the map view and the side panel
// show it, the dialogs collect choices, and every message goes through the
// Prompter.

#include "editor/AppSettings.h"
#include "core/Prompter.h"
#include "core/Image.h"
#include "core/IniFile.h"
#include "editor/EditorEnvironment.h"
#include "editor/Project.h"
#include "editor/ToolState.h"

#include <QImage>
#include <QMainWindow>

#include <array>
#include <filesystem>
#include <memory>

class QAction;
class QLabel;
class QMenu;

namespace tsl {

class MapView;
class SidePanel;
class TMapConfigurationsBox;
class TMapDefinitionStructureBox;
class TMapViewOptionsBox;
class TProgressBox;

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
    void UpdateTitle();
    void UpdateMapNavigation();

    // Opens `directory` as a recent project would be opened: no directory
    // dialog, changes saved or discarded first.
    void OpenDirectory(const std::filesystem::path& directory);

    void RedrawMap();
    void RedrawTile(int x, int y);

    // For the tests and the start-up code.
    Project* CurrentProject() const { return project_.get(); }
    bool Changed() const { return project_ && project_->Changed; }
    void SetChanged(bool changed);
    QString StatusText() const;
    const AppSettings& Settings() const { return settings_; }
    int ZoomPosition() const;
    int ZoomFactor() const;
    bool MapGrid() const;
    const Image& ViewImage() const { return viewImage_; }
    MapView* View() const { return view_; }
    SidePanel* Panel() const { return panel_; }
    QAction* Action(const QString& objectName) const;
    TMapDefinitionStructureBox* StructureBox() const { return structureBox_; }
    const ToolState& Tools() const { return tools_; }
    int SelectedPlane() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void ShowStartPicture();
    void EnableMapCommands(bool enabled);
    void RefreshRecentItems();
    void SetStatus(const QString& text);
    void ShowPicture();
    void ApplyLoadedProject(std::unique_ptr<Project> project);
    void ResetPanelForProject();
    void RefreshSelectionRows();
    void RefreshTileInformation(int x, int y);
    void SaveApplicationSettings();
    void ReadWindowPlacement();
    void WindowPlacementIntoSettings();

    void onOpenProject();
    void onSaveProject();
    void onRecentProject(int slot);
    void onZoomChosen(int position);
    void onPlaneChosen(int plane);
    void onSymbolPressed(int index, Qt::MouseButton button);
    void onPointerMoved(QPoint position);
    void onToggleGrid();
    void onMapViewOptions();
    void onMapConfigurations();
    void onSaveMapAsBitmap();
    void onToggleCheckAtStartup();

    Prompter& prompter_;
    EditorEnvironment environment_;
    IniFile settingsFile_; // TSL.ini
    AppSettings settings_;
    std::unique_ptr<Project> project_;
    ToolState tools_;
    Image viewImage_;  // the current map at 8 pixels per tile
    QImage startPicture_;
    int zoomPosition_ = 0;

    MapView* view_;
    SidePanel* panel_;
    QLabel* status_;
    TMapDefinitionStructureBox* structureBox_;
    TMapConfigurationsBox* configurationsBox_;
    TMapViewOptionsBox* viewOptionsBox_;
    TProgressBox* progressBox_;

    QMenu* fileMenu_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    std::array<QAction*, kRecentSlots> recentActions_{};
    QAction* recentSeparator_ = nullptr;
    QAction* previousAction_ = nullptr;
    QAction* nextAction_ = nullptr;
    QAction* gridAction_ = nullptr;
    QAction* viewOptionsAction_ = nullptr;
    QAction* configurationsAction_ = nullptr;
    QAction* bitmapAction_ = nullptr;
    QAction* checkAtStartupAction_ = nullptr;
};

} // namespace tsl
