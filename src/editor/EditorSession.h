#pragma once
// The editing state of one open project and every command that changes it,
// without a window. The session is a facade over parts with one job each:
// the pointer tools (tool, values, selected plane and the gesture in
// progress), the block clipboard (paste buffer and clipboard manager) and the
// map histories (one undo history per map and the edit frame), with the find
// results beside them.
//
// Every command that changes map words runs through the one edit frame of
// the histories (EditCurrentMap / EditMap): the before-snapshot, the change,
// the changed flag, the after-snapshot. Each command returns an EditResult
// that tells the window what to redraw; each has a "can" twin that the window
// uses to enable its actions, all from one place after every change.
//
// Opening a project makes a new session; a failed open keeps the old one.

#include "editor/BlockClipboard.h"
#include "editor/EditResult.h"
#include "editor/FindReplace.h"
#include "editor/MapHistories.h"
#include "editor/MapInformation.h"
#include "editor/MapOperations.h"
#include "editor/PlaneManager.h"
#include "editor/PointerTools.h"
#include "editor/Project.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tsl {

inline constexpr int kMaxPlainHeaderMaps = 100; // offsets in a plain header or an executable's table

class EditorSession {
public:
    explicit EditorSession(std::unique_ptr<Project> project);

    Project& CurrentProject() { return *project_; }
    const Project& CurrentProject() const { return *project_; }
    MapHandler& Maps() { return project_->Maps; }
    const MapHandler& Maps() const { return project_->Maps; }
    // True while the maps differ from their files: a history away from where
    // the last save left it, or a change no history holds.
    bool Changed() const { return project_->Changed || histories_.Unsaved(); }
    // True: a change no history holds (the map list, a name). False: the
    // maps are as their files hold them now (opened or saved).
    void SetChanged(bool changed);

    // The parts, for what the facade does not pass on.
    PointerTools& Tools() { return tools_; }
    const PointerTools& Tools() const { return tools_; }
    BlockClipboard& Clipboard() { return clipboard_; }
    const BlockClipboard& Clipboard() const { return clipboard_; }
    MapHistories& Histories() { return histories_; }
    const MapHistories& Histories() const { return histories_; }

    // After the symbol tables were loaded again (the plane manager): tools,
    // value mode, button values, paste buffer and every history start anew,
    // as after an open.
    void ResetForSymbols();
    // "Map Symbols" wrote the symbol files: the tables are built again from
    // them and the session starts anew. The message when they could not be
    // read.
    EditResult ReloadSymbols();

    // --- tools ---
    std::uint16_t CurrentTool() const { return tools_.CurrentTool(); }
    std::uint16_t PreviousTool() const { return tools_.PreviousTool(); }
    EditResult SelectTool(std::uint16_t tool) { return tools_.SelectTool(tool); }
    // A press or a release also forgets the find results.
    EditResult Pointer(const PointerInput& input);
    int ValueMode() const { return tools_.ValueMode(); }
    EditResult SetValueMode(int mode) { return tools_.SetValueMode(mode); }
    bool CanByteModes() const { return tools_.CanByteModes(); }
    int SelectedPlane() const { return tools_.SelectedPlane(); }
    EditResult SelectPlane(int plane) { return tools_.SelectPlane(plane); }
    std::uint16_t LeftValue(int plane) const { return tools_.LeftValue(plane); }
    std::uint16_t RightValue(int plane) const { return tools_.RightValue(plane); }
    EditResult SetButtonValue(PointerButton button, std::uint16_t value)
    {
        return tools_.SetButtonValue(button, value);
    }
    std::optional<TileRect> Outline() const { return tools_.Outline(); }
    // Escape (see PointerTools::Cancel).
    EditResult Cancel() { return tools_.Cancel(); }
    const std::vector<std::uint16_t>& RecentValues(int plane) const { return tools_.RecentValues(plane); }
    std::optional<std::uint16_t> PencilWord(int x, int y) const { return tools_.PencilWord(x, y); }
    // The buttons' values of every plane into the structure's settings,
    // where the next session of the structure finds them.
    bool StoreButtonValues();

    // --- undo and redo ---
    EditResult Undo() { return StepHistory(HistoryStep::Undo); }
    EditResult Redo() { return StepHistory(HistoryStep::Redo); }
    bool CanUndo() const { return histories_.CanStep(HistoryStep::Undo); }
    bool CanRedo() const { return histories_.CanStep(HistoryStep::Redo); }
    const UR_Manager& History(int map) const { return histories_.History(map); }
    // The edit frame (MapHistories::Edit) on the current map or on map `map`.
    EditResult EditCurrentMap(int scope, const std::function<void(MapList&)>& change);
    EditResult EditMap(int map, int scope, const std::function<void(MapList&)>& change);

    // --- cut, copy, paste, clipboard manager ---
    EditResult Copy();
    EditResult Cut();
    // Placing starts; a release places the block and Rectangle Selection follows.
    EditResult Paste();
    bool CanCut() const { return CanCopy(); }
    bool CanCopy() const { return tools_.CopyableSelection().has_value(); }
    bool CanPaste() const { return clipboard_.CanPaste(); }
    bool PastePlacing() const { return tools_.PastePlacing(); }
    const CP_Manager& PasteBuffer() const { return clipboard_.PasteBuffer(); }
    std::optional<std::pair<int, int>> PlacementTile() const { return tools_.PlacementTile(); }

    bool CanClipboardManager() const { return clipboard_.CanClipboardManager(); }
    CB_Manager* ClipboardManager() { return clipboard_.ClipboardManager(); }
    const CB_Manager* ClipboardManager() const { return clipboard_.ClipboardManager(); }
    CB_Manager& CreateClipboardManager() { return clipboard_.CreateClipboardManager(); }
    void DestroyClipboardManager() { clipboard_.DestroyClipboardManager(); }
    CB_Object MakeClipboardEntry(int width, int height, PlaneSet planes) const
    {
        return clipboard_.MakeClipboardEntry(width, height, std::move(planes));
    }
    // "Past into map": entry `index` becomes the paste buffer's block, and
    // placement starts; the Pencil follows the placement.
    EditResult PasteFromClipboard(int index);

    // --- maps ---
    // Every change of the current map or of the map list runs through here:
    // a button still held ends first (PointerTools::EndGesture) on the map
    // its gesture began on, then `change` runs. When `change` says it
    // changed anything, the find results and the selection's outline go and
    // the result redraws the maps.
    EditResult ChangeMaps(const std::function<bool(MapHandler&)>& change);
    // The window's press ended without its release (a dialog took the mouse).
    EditResult EndGesture() { return tools_.EndGesture(); }
    bool CanPreviousMap() const { return Maps().CurrentMap != 0; }
    bool CanNextMap() const { return Maps().CurrentMap != Maps().NumMaps() - 1; }
    EditResult PreviousMap();
    EditResult NextMap();
    EditResult GoToLevel(int map);
    // A plain header (and an executable's table) has room for 100 offsets.
    bool CanAddMap() const;
    EditResult AddMap();
    bool CanDeleteMap() const { return Maps().CurrentMap + 1 != Maps().NumMaps(); }
    // What the window asks before DeleteMap (Yes / No, No the default): no
    // undo brings a deleted map back.
    Question DeleteMapQuestion() const;
    EditResult DeleteMap();
    // The longest name the properties dialog accepts: 15, or 31 with extended names.
    int MaxNameLength() const;
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
    // or mirror the paste buffer instead, and record nothing. The facing
    // objects of the structure's groups turn with them while
    // TurnsFacingObjects is on (the default).
    EditResult TransformCurrentMap(MapTransform transform);
    bool TurnsFacingObjects() const { return turnsFacing_; }
    void SetTurnsFacingObjects(bool on) { turnsFacing_ = on; }
    bool CanFlipPlanes(int first, int second) const;
    // Refused (with the message, the dialog stays open) for a plane with itself.
    EditResult FlipPlanes(int first, int second);

    // --- find and replace ---
    const FindReplaceState& Finds() const { return finds_; }
    bool CanFindReplace() const { return CanWholeMapOperations(); }
    // Runs what the "Find & Replace" dialog handed back: its fields are kept
    // for the next opening and for F3, and a request without an action is a
    // cancel. A replacement writes each changed plane back as one step of its
    // map's own history; the current map stays. The message to show once the
    // dialog closed: the count of a replacement, or that a search found
    // nothing.
    EditResult RunFind(const FindRequest& request);
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
    EditResult StepHistory(HistoryStep direction);
    // A map's name or size changed: the result that redraws the maps.
    EditResult MapsChanged();

    std::unique_ptr<Project> project_;
    MapHistories histories_;
    BlockClipboard clipboard_;
    PointerTools tools_;
    FindReplaceState finds_;
    bool turnsFacing_ = true;
};

} // namespace tsl
