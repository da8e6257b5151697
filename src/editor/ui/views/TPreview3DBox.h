#pragma once
// "3D Preview": the current map seen from inside, drawn by the raycaster at
// the window's size. A non-modal window that only shows the raycaster's
// picture and turns keys into camera moves: arrows and W/A/S/D walk and
// turn, Q/E and Alt with the arrows step sideways, Shift runs, Space opens
// or closes the door ahead, Escape closes the window. It draws only when
// something changed: a move, a resize, an edit or another map.
//
// F5 (from the player start) and F6 (from the camera's place) start a walk
// by the game's rules instead (see raycast/Walk.h), played in the engine's
// tics on its own copy of the map while editing goes on; Space is then the
// game's use key, the keys held and the ratios show over the picture, and
// Escape stops the walk. The context menu has these, a key to give for
// testing and the skill level whose actors stand in the level.
//
// The window's preview controller tells it which project and map to show and
// where the map was edited, and follows the camera through CameraMoved.

#include "core/Image.h"
#include "core/TileRect.h"
#include "raycast/Camera.h"
#include "raycast/GamePictures.h"
#include "raycast/Level.h"
#include "raycast/Raycaster.h"
#include "raycast/Walk.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <map>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QActionGroup;
class QMenu;

namespace tsl {

class MapHandler;
class Project;
struct GameGraphics;
struct MapList;

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

    // A walk by the game's rules of the shown map, from its player start or
    // from the camera's place (which the camera then follows); stopping it
    // leaves the camera where the walk got to.
    void StartWalk(bool fromStart);
    void StopWalk();
    // The walk under way or ended (nothing when none).
    const Walk* CurrentWalk() const { return walk_.get(); }
    // Plays `tics` tics of the walk with the keys held now (the ticker's
    // work, public for the tests).
    void AdvanceWalk(int tics);
    // The actors of skill level 1 to 4, or 0 for every actor the engine
    // places on some skill level. A walk under way starts again from the
    // camera's place with the actors of that level.
    void SetSkill(int skill);
    int Skill() const { return skill_; }
    // The window's context menu (also on the menu key).
    QMenu* ContextMenu() const { return menu_; }

    // The set compared with ("Compare with..."), or nothing: "Show the Other
    // Side" (O) then shows its map of the same number from the same place,
    // and shows the project's again when unchecked. The set must outlive
    // its use here.
    void SetOtherSide(const MapHandler* other);
    void ShowOtherSide(bool on);
    // The other side is shown now (the other set has the map).
    bool ShowingOtherSide() const;

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
    // A walk started, stopped or ended, or marked another tile.
    void WalkChanged();
    // The user picked skill level `skill` from the window's menu.
    void SkillChosen(int skill);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    enum class Motion { Forward, Back, TurnLeft, TurnRight, StrafeLeft, StrafeRight };
    void Step(double seconds);
    WalkControl HeldControl() const;
    void onTick();
    void BuildMenu();
    void UpdateWalkActions();
    void PaintWalk(QPainter& painter) const;
    void ToggleDoorAhead();
    void CameraChanged();
    void Redraw();
    // An edit's redraw: at once, then at most one frame per kEditFrameMs
    // while the edits stream in (a stroke sends one per tile).
    void EditRedraw();
    void CatchUp();
    // The rules of play of the shown project (none without them).
    const EngineRules& ProjectRules() const;
    // The map the level is built from: the project's, or the other side's.
    const MapList& ShownMap() const;

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

    std::unique_ptr<Walk> walk_;
    double ticsDue_ = 0; // the part of a tic the clock has run past the last one
    int usedAt_ = 0;     // the walk's tic of the last use of a door, for its note
    int skill_ = 0;
    QMenu* menu_ = nullptr;
    QAction* walkFromStart_ = nullptr;
    QAction* walkFromHere_ = nullptr;
    QAction* stopWalk_ = nullptr;
    QMenu* keysMenu_ = nullptr;
    QActionGroup* skills_ = nullptr;
    const MapHandler* other_ = nullptr;
    bool showOther_ = false;
    QAction* otherSide_ = nullptr;
};

} // namespace tsl
