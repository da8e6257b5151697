#pragma once
// From levels to a mod, in the main window: "Episode Board" (the board of
// the open set, kept up to date while it is shown), "Compare with..." (the
// set compared with another game folder: the maps that differ, the tiles
// that differ tinted in the map view, Next Change and Previous Change to
// step through them, the other side's level in the 3D preview) and "Make
// Release..." (the zip of the files that differ from the original game,
// checked first). Every message goes through the Prompter; the window only
// wires the actions and opens the maps asked for.

#include "core/MapHandler.h"
#include "core/Prompter.h"
#include "editor/document/MapDocument.h"
#include "mod/SetDifference.h"

#include <QImage>
#include <QObject>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QWidget;

namespace tsl {

class EditorSession;
class MapViewController;
class PreviewController;
class TEpisodeBoardBox;

inline constexpr const char* kCompareCaption = "Compare with";
inline constexpr const char* kChooseOtherPrompt = "Choose the game folder to compare the maps with.";
inline constexpr const char* kChooseOriginalPrompt = "Choose the folder of the original game the mod changes.";
inline constexpr const char* kSaveBeforeReleaseText =
    "The release is made of the game files as they are on disk. Save the changes first?";
inline constexpr const char* kReleaseAnywayText = "\n\nMake the release anyway?";

class ModController : public QObject {
    Q_OBJECT
public:
    // The board is a window of `window`'s.
    ModController(QWidget* window, Prompter& prompter, MapViewController* viewer, PreviewController* previewer);
    ~ModController() override;

    // A new session, or none: a comparison ends, the board starts anew.
    void Attach(EditorSession* session);

    // --- "Episode Board" ---
    void ShowBoard();
    TEpisodeBoardBox* BoardBox() const { return board_; }

    // --- "Compare with...", "Stop Comparing", "Next Change", "Previous Change" ---
    void CompareWith();
    // The comparison with the set in `dir`; false (with a message) when it
    // cannot be read.
    bool CompareWithFolder(const std::filesystem::path& dir);
    void StopComparing();
    bool Comparing() const { return other_.has_value(); }
    // The maps (from 0) of the open set that differ from the other one now.
    const std::set<int>& ChangedMaps() const { return changedMaps_; }
    const std::vector<int>& ChangedPages() const { return changedPages_; }
    // The next (+1) or previous (-1) tile that differs, on this map or the
    // next one that has one.
    void StepChange(int direction);

    // --- "Make Release..." ---
    // `unsaved`: the maps or the page file differ from their files; `save`
    // saves them (false when it did not).
    void MakeRelease(bool unsaved, const std::function<bool()>& save);

signals:
    // The window opens map `index` (from 0).
    void openMap(int index);
    // Comparing started or stopped: the commands follow.
    void changed();

private:
    void Follow(const DocumentChange& change);
    void Refresh();
    void RefreshBoard();
    void ShowChangedTiles();
    QImage Picture(int index);
    std::string Summary() const;

    QWidget* window_;
    Prompter& prompter_;
    MapViewController* viewer_;
    PreviewController* previewer_;
    TEpisodeBoardBox* board_;
    EditorSession* session_ = nullptr;
    DocumentToken following_;
    QTimer refresh_; // one turn of the event loop: the notices it brought, worked out once
    bool allMaps_ = false;     // the map list changed: every map compared anew
    std::set<int> staleMaps_;  // maps whose words changed

    std::map<int, QImage> pictures_; // the board's small pictures, by map

    std::optional<MapHandler> other_;
    std::filesystem::path otherDir_;
    std::set<int> changedMaps_;
    std::vector<int> changedPages_;
    std::vector<int> changedGraphics_; // VGAGRAPH chunks
    std::vector<int> changedAudio_;    // AUDIOT chunks
    std::vector<QPoint> changedTiles_; // of the current map, row by row
};

} // namespace tsl
