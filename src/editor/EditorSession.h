#pragma once
// The editing state of one open project and every command that changes it,
// without a window: the drawing tools, the value mode and the button values,
// the selected plane, one undo history per map, the paste buffer and the
// clipboard manager, and the find results.
//
// Every command that changes map words runs through one edit frame
// (EditCurrentMap / EditMap): the before-snapshot, the change, the changed
// flag, the after-snapshot. Each command returns an EditResult that tells the
// window what to redraw; each has a "can" twin that the window uses to enable
// its actions, all from one place after every change.
//
// Opening a project makes a new session; a failed open keeps the old one.

#include "core/Failure.h"
#include "core/Image.h"
#include "editor/FindReplace.h"
#include "editor/MapInformation.h"
#include "editor/MapOperations.h"
#include "editor/PasteBuffer.h"
#include "editor/PlaneManager.h"
#include "editor/Project.h"
#include "editor/UndoHistory.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tsl {

// Tool codes (`CurrentTool`).
inline constexpr std::uint16_t kToolPencil = 0;
inline constexpr std::uint16_t kToolFill = 1;
inline constexpr std::uint16_t kToolRectangleSelection = 2;
inline constexpr std::uint16_t kToolRectangle = 3;
inline constexpr std::uint16_t kToolSelectObject = 4;
inline constexpr std::uint16_t kToolPastePlacement = 5; // entered only by Paste

inline constexpr int kMaxPlainHeaderMaps = 100; // offsets in a plain header or an executable's table

// The new word of a tile drawn with symbol value `value` over `word` in a
// value mode: the whole value, or its low byte into the high or the low byte.
std::uint16_t CombineWord(std::uint16_t value, std::uint16_t word, int valueMode);

// Fills the 4-connected region of equal words around (x, y) of a
// width x height plane with `word`; tiles touching only at a corner are not
// connected. Returns the number of tiles changed.
std::size_t FloodFill(std::vector<std::uint16_t>& plane, int width, int height, int x, int y, std::uint16_t word);

enum class PointerAction { Press, Move, Release };
enum class PointerButton { Left, Middle, Right };

// One mouse event over the map view: the tile under the pointer as the view
// computed it (pixel div cell size), not clamped to the map.
struct PointerInput {
    PointerAction Action = PointerAction::Move;
    PointerButton Button = PointerButton::Left;
    int X = 0;
    int Y = 0;
};

// Corners of a dragged rectangle in tiles, in any order.
struct TileRect {
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    int Left() const { return X1 < X2 ? X1 : X2; }
    int Right() const { return X1 < X2 ? X2 : X1; } // included
    int Top() const { return Y1 < Y2 ? Y1 : Y2; }
    int Bottom() const { return Y1 < Y2 ? Y2 : Y1; } // included
    friend bool operator==(const TileRect&, const TileRect&) = default;
};

// What the window must redraw after a command. The window refreshes the
// enabled state of its commands and the tool buttons after every command.
struct EditResult {
    enum class Redraw {
        Nothing,
        Tiles,   // the tiles in Changed (the pencil)
        Map,     // the whole current map
        MapList, // the maps or the current map changed: title, navigation and the whole map
    };
    Redraw What = Redraw::Nothing;
    std::optional<TileRect> Changed; // for Tiles
    bool Overlay = false;            // the outline or the paste preview moved: repaint the view
    std::optional<Failure> Message;  // to show the user (the command did nothing)
    // Select Object handed a picked value to a button: the window shows the
    // "Left:" or "Right:" row again.
    bool ValuesChanged = false;
    bool ToolChanged = false; // CurrentTool changed: buttons and cursor

    static EditResult None() { return {}; }
};

// What the "Map Properties" dialog hands back.
struct MapPropertiesChoice {
    std::string Name;
    int Width = 0;
    int Height = 0;
    bool AllMaps = false; // apply the new size to every map
};

class EditorSession {
public:
    explicit EditorSession(std::unique_ptr<Project> project);

    Project& CurrentProject() { return *project_; }
    const Project& CurrentProject() const { return *project_; }
    MapHandler& Maps() { return project_->Maps; }
    const MapHandler& Maps() const { return project_->Maps; }
    bool Changed() const { return project_->Changed; }
    void SetChanged(bool changed) { project_->Changed = changed; }

    // After the symbol tables were loaded again (the symbols editor, the
    // plane manager): tools, value mode, button values, paste buffer and
    // every history start anew, as after an open.
    void ResetForSymbols();

    // --- tools ---
    std::uint16_t CurrentTool() const { return currentTool_; }
    std::uint16_t PreviousTool() const { return previousTool_; }
    EditResult SelectTool(std::uint16_t tool);
    EditResult Pointer(const PointerInput& input);

    int ValueMode() const { return valueMode_; }
    EditResult SetValueMode(int mode);
    bool CanByteModes() const; // the selected plane is split

    int SelectedPlane() const { return selectedPlane_; }
    // Selects a plane; leaves a byte mode when the plane is not split.
    EditResult SelectPlane(int plane);

    std::uint16_t LeftValue(int plane) const { return leftValue_.at(static_cast<std::size_t>(plane)); }
    std::uint16_t RightValue(int plane) const { return rightValue_.at(static_cast<std::size_t>(plane)); }
    // The value a button draws in the selected plane (the middle button draws the left value).
    void SetButtonValue(PointerButton button, std::uint16_t value);
    std::uint16_t StrokeWord() const { return strokeWord_; }
    bool ButtonHeld() const { return buttonHeld_; }
    bool RectangleDrag() const { return rectangleDrag_; }
    const TileRect& SelectionRect() const { return selectionRect_; }
    // The dashed outline to draw over the view, while a rectangle is dragged
    // and after a Rectangle Selection drag until the next action.
    std::optional<TileRect> Outline() const;

    // --- undo and redo ---
    EditResult Undo();
    EditResult Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    const UR_Manager& History(int map) const { return histories_.at(static_cast<std::size_t>(map)); }

    // The edit frame: `change` runs between the before- and after-snapshot
    // of `scope` (a plane, or kAllPlanes) of one map, and the set is marked
    // changed. No command writes map words any other way.
    EditResult EditCurrentMap(int scope, const std::function<void(MapList&)>& change);
    EditResult EditMap(int map, int scope, const std::function<void(MapList&)>& change);

    // --- cut, copy, paste, clipboard manager ---
    EditResult Copy();
    EditResult Cut();
    EditResult Paste();
    bool CanCut() const { return cutCopyEnabled_; }
    bool CanCopy() const { return cutCopyEnabled_; }
    bool CanPaste() const { return pasteEnabled_; }
    bool PastePlacing() const { return currentTool_ == kToolPastePlacement && pastePlacing_; }
    const CP_Manager& PasteBuffer() const { return pasteBuffer_; }
    // The tile where the preview's top-left corner stands while placing.
    std::optional<std::pair<int, int>> PlacementTile() const;

    bool CanClipboardManager() const { return clipboard_ && !clipboard_->Entries.empty(); }
    // Absent until an import (or a test) stores maps.
    CB_Manager* ClipboardManager() { return clipboard_ ? &*clipboard_ : nullptr; }
    const CB_Manager* ClipboardManager() const { return clipboard_ ? &*clipboard_ : nullptr; }
    CB_Manager& CreateClipboardManager();
    void DestroyClipboardManager() { clipboard_.reset(); }
    // A stored map with its preview, for the import and the tests.
    CB_Object MakeClipboardEntry(int width, int height, std::vector<std::vector<std::uint16_t>> planes) const;
    // "Past into map": entry `index` becomes the paste buffer's block, and
    // placement starts; the Pencil follows the placement.
    EditResult PasteFromClipboard(int index);
    bool FromManager() const { return fromManager_; }

    // --- maps ---
    bool CanPreviousMap() const { return Maps().CurrentMap != 0; }
    bool CanNextMap() const { return Maps().CurrentMap != Maps().NumMaps() - 1; }
    EditResult PreviousMap();
    EditResult NextMap();
    EditResult GoToLevel(int map);
    bool CanAddMap() const { return true; }
    EditResult AddMap();
    bool CanDeleteMap() const { return Maps().CurrentMap + 1 != Maps().NumMaps(); }
    EditResult DeleteMap();
    // The longest name the properties dialog accepts: 15, or 31 with extended names.
    int MaxNameLength() const;
    // The refusal of a size field's value (empty = nullopt), or nothing.
    static std::optional<Failure> CheckMapWidth(std::optional<int> width);
    static std::optional<Failure> CheckMapHeight(std::optional<int> height);
    EditResult ApplyMapProperties(const MapPropertiesChoice& choice);
    // Discards every history and makes one empty history per map (after the
    // map list or the planes changed).
    void RebuildHistories();

    // --- whole-map operations: each one undoable step over all planes ---
    bool CanWholeMapOperations() const { return Maps().NumMaps() > 0 && Maps().NumPlanes > 0; }
    EditResult Autofloor();
    // Clear Map (Solid) or (Random); the window asks kEraseQuestion first.
    // Without a wall symbol the result carries the refusal and nothing changed.
    EditResult ClearMap(bool random);
    // Rotate Map and Flip Map. While a pasted block is being placed they turn
    // or mirror the paste buffer instead, and record nothing.
    EditResult TransformCurrentMap(MapTransform transform);
    bool CanFlipPlanes(int first, int second) const;
    // Refused (with the message, the dialog stays open) for a plane with itself.
    EditResult FlipPlanes(int first, int second);

    // --- find and replace ---
    FindReplaceState& Finds() { return finds_; }
    const FindReplaceState& Finds() const { return finds_; }
    bool CanFindReplace() const { return CanWholeMapOperations(); }
    // Runs a validated action of the dialog with the fields in Finds(). A
    // replacement writes each changed map back as one step of its own
    // history; the current map stays. The message to show once the dialog
    // closed: the count of a replacement, or that a search found nothing.
    EditResult RunFindAction(FindAction action);
    // F3: the next match with the dialog's fields; the refusal when "Find
    // what:" is empty.
    EditResult FindAgain();

    // --- the plane manager and the map information ---
    // Changes the plane count of every map (see ChangePlaneCount); afterwards
    // the clipboard manager is gone and tools and histories start anew. The
    // window asks its questions first.
    EditResult ChangePlaneCount(int count, const SaveMaps& save = {});
    MapStatistics CurrentMapStatistics() const;
    std::vector<MapFinding> CheckCurrentMap() const;

private:
    EditResult Press(const PointerInput& input);
    EditResult Move(const PointerInput& input);
    EditResult Release(const PointerInput& input);
    EditResult FinishStep(EditResult result);
    EditResult MapSwitched();
    void CopyBlock(bool clear);
    void MakePastePreview();
    UR_Manager& CurrentHistory() { return histories_.at(static_cast<std::size_t>(Maps().CurrentMap)); }
    std::vector<std::uint16_t>& CurrentPlane();

    std::unique_ptr<Project> project_;
    std::uint16_t currentTool_ = kToolPencil;
    std::uint16_t previousTool_ = kToolPencil;
    int valueMode_ = 0;
    int selectedPlane_ = 0;
    std::vector<std::uint16_t> leftValue_;
    std::vector<std::uint16_t> rightValue_;
    std::uint16_t strokeWord_ = 0;
    bool buttonHeld_ = false;
    bool rectangleDrag_ = false;
    bool outlineShown_ = false;
    TileRect selectionRect_;
    bool cutCopyEnabled_ = false;
    bool pasteEnabled_ = false;
    bool pastePlacing_ = false;
    bool fromManager_ = false;
    std::optional<std::pair<int, int>> placement_;
    bool stepOpen_ = false;
    std::vector<UR_Manager> histories_;
    CP_Manager pasteBuffer_;
    std::optional<CB_Manager> clipboard_;
    FindReplaceState finds_;
};

} // namespace tsl
