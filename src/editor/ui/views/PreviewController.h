#pragma once
// The 3D preview's part in the main window: the one "3D Preview" window,
// made at its first use, which follows the session's document (an edit
// rebuilds the cells of its region, another map or list shows the current
// map from its player start, another project is shown from its start; a
// rename leaves it, and the walk under way, alone) and the view state (the
// skill level, the page file's pictures, the rules), the camera arrow in the
// map view while that window is shown, the marks of its walk, and "View From
// Here".

#include "editor/document/MapDocument.h"
#include "editor/view/ViewState.h"

#include <QObject>
#include <QPoint>

#include <memory>
#include <optional>

class QAction;
class QWidget;

namespace tsl {

class EditorSession;
class MapHandler;
class MapPaintArea;
class TPreview3DBox;
struct GameGraphics;

class PreviewController : public QObject {
    Q_OBJECT
public:
    // The preview is a window of `window`'s; the camera arrow is drawn in
    // `area`; `state` (which must outlive the controller) says what it shows.
    PreviewController(QWidget* window, MapPaintArea* area, ViewState& state);
    ~PreviewController() override;

    // A new session (or none), with the pictures of the view state: the
    // preview shows it at once when it is there, and follows its document.
    void Attach(EditorSession* session);
    // Before the session goes: the preview must let go of its project.
    void Leave();
    // The preview shown (made when there is none); `activate` gives it the keys.
    TPreview3DBox& Show(bool activate);
    // Alt + click or the context menu: the camera on tile (x, y), the map
    // view keeping the keys.
    void ViewFromHere(QPoint tile);
    // Nothing until "3D Preview" or "View From Here" first opened it.
    TPreview3DBox* Preview() const { return preview_; }
    // The main window's actions that work from the preview's window too.
    void ShareActions(std::initializer_list<QAction*> actions);
    // The set compared with, whose map the preview can show instead ("Show
    // the Other Side"), now and in a preview made later; nothing: none.
    void SetOtherSide(const MapHandler* other);

private:
    void Follow(const DocumentChange& change);
    void Follow(const ViewChange& change);
    void SyncCameraMark();
    // The map view marks what the walk under way opened, pushed and took.
    void SyncWalkMarks();

    QWidget* window_;
    MapPaintArea* area_;
    EditorSession* session_ = nullptr;
    ViewState& state_;
    TPreview3DBox* preview_ = nullptr;
    const MapHandler* other_ = nullptr;
    QList<QAction*> shared_;
    DocumentToken following_;
    ViewToken viewing_;
};

} // namespace tsl
