#pragma once
// "3D Preview": the current map seen from inside, drawn by the raycaster at
// the window's size. A non-modal window that only shows the raycaster's
// picture and turns keys into camera moves: arrows and W/A/S/D walk and
// turn, Q/E and Alt with the arrows step sideways, Shift runs, Space opens
// or closes the door ahead, Escape closes the window. It draws only when
// something changed: a move, a resize, an edit or another map.
//
// The window's preview controller tells it which project and map to show and
// where the map was edited, and follows the camera through CameraMoved.

#include "core/Image.h"
#include "core/TileRect.h"
#include "raycast/Camera.h"
#include "raycast/GamePictures.h"
#include "raycast/Level.h"
#include "raycast/Raycaster.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace tsl {

class Project;
struct GameGraphics;

class TPreview3DBox : public QWidget {
    Q_OBJECT
public:
    explicit TPreview3DBox(QWidget* parent = nullptr);

    // The project whose maps are shown (nothing: an empty view), with the
    // game's pictures as the map view loaded them (read here when not
    // given). Shows the project's current map from its player start. The
    // window reads the project's maps until it is given another one (or
    // nothing), so that must happen before the project goes.
    void SetProject(const Project* project, std::shared_ptr<const GameGraphics> graphics = {});
    // The game's page file changed: with `chunk` (a wall or sprite
    // replaced, nothing moved) that picture is read again, without it every
    // picture; the view is drawn again from where the camera is.
    void ReplacePages(const GameGraphics& graphics, std::optional<int> chunk);
    // Shows map `index` of the project from its player start (Page Up, Page
    // Down, Go To Level ...).
    void ShowMap(int index);
    // The shown map's words changed in `region` (nothing: anywhere, or its
    // size): rebuilds those cells and draws them again, keeping the camera
    // and the doors that are still doors as they were.
    void MapEdited(const std::optional<TileRect>& region = std::nullopt);
    // Puts the camera in the middle of tile (x, y), keeping its direction.
    void PutCameraAt(int x, int y);
    void SetCamera(const Camera& camera);

    const Camera& CurrentCamera() const { return camera_; }
    // The project last given to SetProject (nothing when none).
    const Project* ShownProject() const { return project_; }
    int MapIndex() const { return mapIndex_; }
    // Why the game's pictures are missing (walls then show plain colours);
    // empty when they were read.
    const std::string& PictureProblem() const { return pictureProblem_; }
    const Level& CurrentLevel() const { return level_; }
    // The pictures it draws with (nothing without a project).
    const GamePictures* Pictures() const { return pictures_.get(); }
    // The picture as last drawn, for the tests.
    const Image& Frame() const { return frame_; }

signals:
    // The camera moved or turned (also when a map or project was shown).
    void CameraMoved(const tsl::Camera& camera);
    // The window was shown or hidden (closed): the map view shows the
    // camera only while the window is there to look through it.
    void VisibilityChanged(bool visible);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class Motion { Forward, Back, TurnLeft, TurnRight, StrafeLeft, StrafeRight };
    void Step(double seconds);
    void onTick();
    void ToggleDoorAhead();
    void CameraChanged();
    void Redraw();
    // An edit's redraw: at once, then at most one frame per kEditFrameMs
    // while the edits stream in (a stroke sends one per tile).
    void EditRedraw();
    void CatchUp();

    const Project* project_ = nullptr;
    int mapIndex_ = 0;
    std::shared_ptr<const GamePictures> pictures_;
    std::string pictureProblem_;
    Level level_;
    Camera camera_;
    Raycaster raycaster_;
    Image frame_;
    bool stale_ = true;      // the picture is older than the camera or the level
    bool levelStale_ = false; // the map was edited while the window was hidden
    QTimer editFrame_;         // runs after an edit's frame
    bool editWaiting_ = false; // an edit came while it ran

    std::map<int, Motion> held_; // by key
    bool running_ = false;
    QTimer ticker_;
    QElapsedTimer clock_;
};

} // namespace tsl
