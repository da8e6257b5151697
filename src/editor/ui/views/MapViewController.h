#pragma once
// The map view's state, for the main window: the zoom, the picture of the
// current map (in symbols at 8 pixels a tile, or the game's own pictures
// painted per exposed tile by the renderer), the view's toggles, the
// overlay, the find markers and the pointer's feedback (the tile under it,
// "Tile Information", the status bar's fields and the word the Pencil would
// draw). It follows the session's document (a change of words redraws the
// region it names, another map or list redraws the whole map, new symbols
// show the project anew) and the view state (the skill level, the picture
// mode, the page file's pictures, the grid, the rules), which it writes into
// the structure's settings when the user changed them. The window only hands
// it the user's view commands.

#include "core/Image.h"
#include "core/TileRect.h"
#include "editor/render/GameMapRenderer.h"
#include "editor/document/MapDocument.h"
#include "editor/operations/MapOperations.h"
#include "editor/view/ViewState.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QStatusBar;

namespace tsl {

class EditorSession;
class MapView;
class SidePanel;
struct GameGraphics;
struct CB_Object;

class MapViewController : public QObject {
    Q_OBJECT
public:
    // The view and the panel stay the window's widgets; the status bar gets
    // the status text and the permanent fields; `state` (which must outlive
    // the controller) says what the view shows.
    MapViewController(MapView* view, SidePanel* panel, QStatusBar* statusBar, ViewState& state,
                      QObject* parent = nullptr);
    ~MapViewController() override;

    // A new session, or none: the controller follows its document from now
    // on, and shows the start picture without one.
    void Attach(EditorSession* session);
    // The game's pictures of the session's project, read once when it
    // opened, into the view state with the toggles the structure keeps
    // (grid, game graphics) and the zoom; the failure to show once the
    // project is shown, when its page file is damaged.
    std::optional<Failure> OpenProject();
    // Everything the view shows starts anew (new maps, planes or symbols).
    void ShowProjectAnew();

    MapView* View() const { return view_; }

    // --- zoom ---
    int ZoomPosition() const { return zoomPosition_; }
    int ZoomFactor() const;
    // The track bar's position (0 ... 4): the map drawn at that zoom.
    void SetZoom(int position);
    // One step in or out by keys, keeping the view's centre.
    void ZoomKey(int step);
    // One step keeping the map's point under `viewportPoint` (the wheel).
    void ZoomStep(int step, QPoint viewportPoint);
    // The largest zoom that needs no scroll bar.
    void ZoomWholeMap();

    // --- drawing ---
    void RedrawMap();
    // The map picture in symbols (stale while the game's graphics are shown).
    const Image& ViewImage() const { return viewImage_; }
    // The view pixels from (left, top) as the view draws them in the game's pictures.
    void PaintGameView(Image& target, int left, int top);
    // A stored map in the game's graphics, for the clipboard manager.
    Image GameClipboardPreview(const CB_Object& entry);
    // A whole map at 8 pixels a tile as the view draws it: in the game's
    // graphics while they are shown, else in symbols (the generator's preview).
    Image LevelPreview(const MapList& map);

    // --- overlay and feedback, after every command ---
    void SyncOverlay();
    void SyncMarkers();
    // The tile under the pointer and everything that shows it: "Tile
    // Information" (which keeps the last tile pointed at, read from the
    // current map), the coordinates, the status fields and the Pencil's word.
    void ShowPointerFeedback();
    void PointerMoved(QPoint position);
    void PointerLeft();
    // Scrolls the tile to the middle of the view and outlines it.
    void ShowTile(QPoint tile);
    // The same for the first of `tiles`, outlining each.
    void ShowTiles(const std::vector<QPoint>& tiles);

    // --- the status bar ---
    void SetStatus(const QString& text);
    QString StatusText() const;
    QString TileStatusText() const;
    QString WordStatusText() const;
    QString SelectionStatusText() const;

private:
    void Follow(const DocumentChange& change);
    void Follow(const ViewChange& change);
    bool GameGraphicsShown() const { return state_.GameGraphicsShown(); }
    void RedrawRegion(const TileRect& region);
    void ShowPicture();
    void ShowGameView();
    void ShowStartPicture();
    void ShowPanelPictures();
    // The pictures of the view, the symbol list and the panel's rows drawn anew.
    void ShowPicturesAnew();
    void ShowSelectionStatus();
    void ShowTileInformation();
    bool ZoomKeeping(int step, QPoint viewportPoint);
    // The paste preview in the game's graphics: its picture and its pixels
    // per tile, drawn anew only when the block or the zoom changed.
    const QImage& GamePastePreview(int& tilePixels);
    QImage PencilPicture(std::uint16_t word);
    SkillFilter Skill() const;

    MapView* view_;
    SidePanel* panel_;
    EditorSession* session_ = nullptr;
    DocumentToken following_;
    ViewState& state_;
    ViewToken viewing_;
    bool opening_ = false; // the view state takes the project's settings: nothing to write back
    int zoomPosition_ = 0;
    Image viewImage_;
    GameMapRenderer renderer_;
    std::vector<PlaneDisplay> display_; // as the view was last drawn
    struct GamePreview {
        PlaneSet block;
        int width = 0;
        int factor = 0;
        int tilePixels = kBlockSize;
        QImage picture;
    } gamePreview_;
    std::optional<QPoint> pointerTile_; // under the pointer, while it is over the map
    std::optional<QPoint> infoTile_;    // the tile "Tile Information" shows
    QImage startPicture_;
    QLabel* status_;
    QLabel* tileStatus_;
    QLabel* wordStatus_;
    QLabel* selectionStatus_;
};

} // namespace tsl
