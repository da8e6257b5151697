#pragma once
// The pointer tools of the editing session: the tool, the value mode, the
// selected plane, the value each button draws in each plane, and the gesture
// in progress over the map view. Press, move and release drive the gesture;
// what the view overlays (the dragged outline, the block being placed) and
// whether a selection can be copied are read off it.
//
// A press makes a gesture that owns its target until the release: the map
// it began on, the plane, the button's value and the value mode of the
// press, and (the Pencil and the Fill, which change words from the press on)
// the transaction it writes through, which the release commits: one undo
// step per stroke. The Rectangle and a paste change words at the release, in
// a transaction of their own, on the map and plane of their press.
//
// Nothing changes a held gesture's target under it: another tool, plane,
// value mode or button value chosen while the button is down ends the
// gesture first, exactly as its release at the last tile reached would. The
// gesture is registered with the document as well (MapDocument::HoldGesture),
// so that any change of the maps, and any other change of words, ends it the
// same way; nothing more of that press reaches the maps.

#include "editor/document/EditResult.h"
#include "editor/document/MapDocument.h"
#include "editor/document/PointerInput.h"
#include "editor/tools/RecentSymbols.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace tsl {

class BlockClipboard;
class Project;

// Tool codes (`CurrentTool`).
inline constexpr std::uint16_t kToolPencil = 0;
inline constexpr std::uint16_t kToolFill = 1;
inline constexpr std::uint16_t kToolRectangleSelection = 2;
inline constexpr std::uint16_t kToolRectangle = 3;
inline constexpr std::uint16_t kToolSelectObject = 4;
inline constexpr std::uint16_t kToolPastePlacement = 5; // entered only by Paste

namespace gesture {

struct Idle {};
// What a press holds until its release: the map it began on, the plane, the
// button, its value and the value mode at the press, and the word that made
// on the tile pressed (what the Pencil and the Rectangle write).
struct Target {
    int Map = 0;
    int Plane = 0;
    PointerButton Button = PointerButton::Left;
    std::uint16_t Value = 0;
    int Mode = 0;
    std::uint16_t Word = 0;
};
// A button held with the Pencil, the Fill or Select Object. The Pencil draws
// Word on every tile of the line from the last tile to the one the pointer
// moves to (a fast drag skips tiles between two events); leaving the map ends
// the drawing, though the stroke lasts until the release.
struct Stroke : Target {
    std::uint16_t Tool = 0;
    int X = 0, Y = 0; // the last tile
    bool Left = false; // it left the map
    // The Pencil's or the Fill's change, from the press to the release.
    std::unique_ptr<MapDocument::Transaction> Change;
};
// A button held with the Rectangle or Rectangle Selection: the corners so far.
struct RectangleDrag : Target {
    TileRect Rect;
};
// A finished Rectangle Selection, until the next action: the rectangle Copy
// and Cut take, as often as they like. A change of the maps hides the
// outline but leaves the rectangle to copy.
struct ShownSelection {
    int Map = 0;
    TileRect Rect;
    bool Outlined = true;
};
// Paste: the block follows the pointer until a release places it.
struct PastePlacement {
    int Map = 0;
    std::optional<std::pair<int, int>> Tile; // the block's top-left corner, once the pointer moved
    bool FromManager = false;                // "Past into map": the Pencil follows
    std::uint16_t ToolBefore = kToolPencil;  // what a cancelled paste returns to
    bool Pressed = false;                    // a button is held: its release places the block
};

} // namespace gesture

using Gesture = std::variant<gesture::Idle, gesture::Stroke, gesture::RectangleDrag, gesture::ShownSelection,
                             gesture::PastePlacement>;

class PointerTools {
public:
    // The tools change the words of `document` (the maps of `project`, whose
    // settings say which planes are split) and paste the block of
    // `clipboard`. All three must outlive the tools.
    PointerTools(const Project& project, MapDocument& document, BlockClipboard& clipboard);
    ~PointerTools();
    PointerTools(const PointerTools&) = delete;
    PointerTools& operator=(const PointerTools&) = delete;

    // The Pencil, whole words, plane 0, every value 0, no gesture.
    void Reset();

    std::uint16_t CurrentTool() const;
    std::uint16_t PreviousTool() const { return previousTool_; }
    // Another tool; a gesture held ends first (see the class comment).
    EditResult SelectTool(std::uint16_t tool);
    // Press, move and release over the map view.
    EditResult Pointer(const PointerInput& input);
    const Gesture& CurrentGesture() const { return gesture_; }
    // True from a press to its release.
    bool Held() const;
    // While a button is held (a stroke, a dragged rectangle, a placement
    // pressed): its release at the last tile it reached, on the map it began
    // on. Nothing otherwise. The result says GestureEnded when there was one.
    EditResult EndGesture();
    // What a gesture ended by the document (for another change) did, since
    // the last call: the window shows it with the command that ended it.
    EditResult TakeEndedGesture() { return std::exchange(ended_, EditResult{}); }
    // The current map or the map list changed under an idle gesture: the
    // selection's outline goes, and a block being placed moves on to the
    // current map.
    void MapsChanged();

    int ValueMode() const { return valueMode_; }
    EditResult SetValueMode(int mode);
    bool CanByteModes() const; // the selected plane is split
    int SelectedPlane() const { return selectedPlane_; }
    // Selects a plane; leaves a byte mode when the plane is not split.
    EditResult SelectPlane(int plane);
    // Whole words on plane 0, as for a new map.
    void SelectFirstPlane();

    std::uint16_t LeftValue(int plane) const { return leftValue_.at(static_cast<std::size_t>(plane)); }
    std::uint16_t RightValue(int plane) const { return rightValue_.at(static_cast<std::size_t>(plane)); }
    const std::vector<std::uint16_t>& LeftValues() const { return leftValue_; }
    const std::vector<std::uint16_t>& RightValues() const { return rightValue_; }
    // The value a button draws in the selected plane (the middle button draws the left value).
    EditResult SetButtonValue(PointerButton button, std::uint16_t value);
    // Every plane's pair at once (values remembered from an earlier run);
    // planes beyond the lists keep 0. A gesture held ends first.
    void SetButtonValues(const std::vector<std::uint16_t>& left, const std::vector<std::uint16_t>& right);
    // The values last drawn with in `plane`, newest first (at most eight).
    const std::vector<std::uint16_t>& RecentValues(int plane) const { return recent_.Values(plane); }
    // The word a left press of the Pencil would write on tile (x, y) of the
    // current map; nothing for another tool or a tile off the map.
    std::optional<std::uint16_t> PencilWord(int x, int y) const;

    // The dashed outline to draw over the view: the rectangle being dragged,
    // or the selection shown.
    std::optional<TileRect> Outline() const;
    // The selection Copy and Cut take, when there is one to take.
    std::optional<TileRect> CopyableSelection() const;
    // Cut took the selection away.
    void SelectionCut();
    // The maps changed under the selection: its outline goes.
    void HideSelection();

    // Paste: a gesture still held ends, then placing starts, with Rectangle
    // Selection's button shown pressed.
    EditResult StartPlacement(bool fromManager);
    // Escape: a paste being placed is dropped and the tool used before it
    // comes back; a rectangle being dragged is dropped; a finished selection
    // is cleared; none of them has written a word. A stroke, whose words are
    // already written, goes on.
    EditResult Cancel();
    bool PastePlacing() const { return std::holds_alternative<gesture::PastePlacement>(gesture_); }
    // The tile where the preview's top-left corner stands while placing.
    std::optional<std::pair<int, int>> PlacementTile() const;

private:
    EditResult Press(const PointerInput& input);
    EditResult Move(const PointerInput& input);
    EditResult Release(const PointerInput& input);
    EditResult Place(const gesture::PastePlacement& placing, const PointerInput& input);
    void FillRectangle(const gesture::RectangleDrag& drag);
    const MapList& MapOf(int map) const;
    // The target of a press of `button` on tile (x, y) of the current map.
    gesture::Target TargetAt(PointerButton button, int x, int y) const;
    // The tool, plane, value mode or a button's value is about to change: a
    // held gesture ends first, as its release would.
    EditResult EndBeforeChange();
    // The Pencil's rule between two pointer positions: every tile of the
    // line from the stroke's last tile to (x, y), by equal steps along the
    // longer axis.
    void DrawLine(gesture::Stroke& stroke, int x, int y);
    // The press begins a gesture the document must be able to end.
    void Hold();

    const Project& project_;
    MapDocument& document_;
    BlockClipboard& clipboard_;
    EditResult ended_;
    std::uint16_t tool_ = kToolPencil; // Rectangle Selection while placing
    std::uint16_t previousTool_ = kToolPencil;
    int valueMode_ = 0;
    int selectedPlane_ = 0;
    std::vector<std::uint16_t> leftValue_;
    std::vector<std::uint16_t> rightValue_;
    RecentSymbols recent_;
    Gesture gesture_;
};

} // namespace tsl
