#pragma once
// The editing state of one open project and every command that changes it,
// without a window. The session is a facade over parts with one job each:
// the document (the maps, their histories, the save marks and the changed
// state), the pointer tools (tool, values, selected plane and the gesture in
// progress) and the block clipboard (paste buffer and clipboard manager),
// with the find results beside them.
//
// Every command that changes map words runs as one transaction of the
// document (MapDocument::Begin), which ends a gesture still held first; the
// document tells its listeners what changed. Each command returns an
// EditResult for what the document does not tell (messages, the tool, the
// overlay); each has a "can" twin that the window uses to enable its
// actions, all from one place after every change.
//
// Opening a project makes a new session; a failed open keeps the old one.

#include "editor/tools/BlockClipboard.h"
#include "editor/document/EditResult.h"
#include "editor/operations/FindReplace.h"
#include "editor/operations/LevelGeneration.h"
#include "editor/document/MapDocument.h"
#include "editor/play/MapInformation.h"
#include "editor/operations/MapOperations.h"
#include "editor/operations/PlaneManager.h"
#include "editor/tools/PointerTools.h"
#include "editor/document/Project.h"

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
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    Project& CurrentProject() { return *project_; }
    const Project& CurrentProject() const { return *project_; }
    const MapHandler& Maps() const { return document_.Maps(); }
    // True while the maps differ from their files (MapDocument::Changed).
    bool Changed() const { return document_.Changed(); }
    // The maps are as their files hold them now (after a save).
    void MarkSaved() { document_.MarkSaved(); }

    // The parts, for what the facade does not pass on.
    MapDocument& Document() { return document_; }
    const MapDocument& Document() const { return document_; }
    PointerTools& Tools() { return tools_; }
    const PointerTools& Tools() const { return tools_; }
    BlockClipboard& Clipboard() { return clipboard_; }
    const BlockClipboard& Clipboard() const { return clipboard_; }

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

    // --- undo and redo: refused while a gesture is held ---
    EditResult Undo() { return StepHistory(HistoryStep::Undo); }
    EditResult Redo() { return StepHistory(HistoryStep::Redo); }
    bool CanUndo() const { return document_.CanStep(HistoryStep::Undo); }
    bool CanRedo() const { return document_.CanStep(HistoryStep::Redo); }
    const UR_Manager& History(int map) const { return document_.History(map); }

    // --- cut, copy, paste, clipboard manager ---
    // Copy and Cut take the selection, a selection still being dragged ended
    // first; it stays shown (and copyable) after Copy.
    EditResult Copy();
    EditResult Cut();
    // A gesture still held ends; placing starts; a release places the block
    // and Rectangle Selection follows.
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
    // A change of the current map or of the map list ends a button still
    // held first, on the map its gesture began on; the find results and the
    // selection's outline go with the change.
    // The window's press ended without its release (a dialog took the mouse).
    EditResult EndGesture() { return tools_.EndGesture(); }
    // What a gesture that another command ended did (see PointerTools).
    EditResult TakeEndedGesture() { return tools_.TakeEndedGesture(); }
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
    // The name, and the size of the current map or of every map (one undo
    // step per map), in one transaction.
    EditResult ApplyMapProperties(const MapPropertiesChoice& choice);
    // Discards every history and makes one empty history per map.
    void RebuildHistories();

    // --- whole-map operations: each one undoable step over all planes ---
    bool CanWholeMapOperations() const { return Maps().NumMaps() > 0 && Maps().NumPlanes > 0; }
    EditResult Autofloor();
    // Clear Map (Solid) or (Random); the window asks kEraseQuestion first.
    // Without a wall symbol the result carries the refusal and nothing changed.
    EditResult ClearMap(bool random);
    // "&Generate Level...": the current map takes the level's size and
    // planes, and `name` (UTF-8) when not empty, as one undoable step.
    EditResult PutLevel(const GeneratedLevel& level, const std::string& name);
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
    // The map check of the current map; with the game's page file, its walls' pictures too.
    std::vector<MapFinding> CheckCurrentMap(const PageFile* pages = nullptr) const;

private:
    EditResult StepHistory(HistoryStep direction);
    // The document's notices the session itself follows: another map or
    // list forgets the find results and hides the selection.
    void Follow(const DocumentChange& change);

    std::unique_ptr<Project> project_;
    MapDocument document_;
    BlockClipboard clipboard_;
    PointerTools tools_;
    FindReplaceState finds_;
    bool turnsFacing_ = true;
    DocumentToken following_;
};

} // namespace tsl
