#include "editor/PointerTools.h"

#include "editor/BlockClipboard.h"
#include "editor/MapHistories.h"
#include "editor/MapOperations.h"
#include "editor/MapRenderer.h"
#include "editor/Project.h"

#include <algorithm>

namespace tsl {

PointerTools::PointerTools(Project& project, MapHistories& histories, BlockClipboard& clipboard)
    : project_(project), histories_(histories), clipboard_(clipboard)
{
    Reset();
}

void PointerTools::Reset()
{
    const auto planes = static_cast<std::size_t>(std::max(project_.Maps.NumPlanes, 0));
    tool_ = previousTool_ = kToolPencil;
    valueMode_ = kIntMode;
    selectedPlane_ = 0;
    leftValue_.assign(planes, 0);
    rightValue_.assign(planes, 0);
    recent_.Reset(static_cast<int>(planes));
    gesture_ = gesture::Idle{};
}

std::uint16_t PointerTools::CurrentTool() const
{
    return PastePlacing() ? kToolPastePlacement : tool_;
}

EditResult PointerTools::SelectTool(std::uint16_t tool)
{
    const std::uint16_t current = CurrentTool();
    if (tool == kToolSelectObject)
        previousTool_ = (current == kToolSelectObject || current == kToolRectangleSelection) ? kToolPencil : current;
    else if (tool > kToolSelectObject)
        return EditResult::None();
    // A held stroke goes on with the new tool; Rectangle Selection chosen
    // again keeps its selection. Everything else ends here.
    const bool keep = std::holds_alternative<gesture::Stroke>(gesture_) ||
                      (tool == kToolRectangleSelection && std::holds_alternative<gesture::ShownSelection>(gesture_));
    if (!keep)
        gesture_ = gesture::Idle{};
    tool_ = tool;
    EditResult result;
    result.ToolChanged = true;
    result.Overlay = true;
    return result;
}

EditResult PointerTools::SetValueMode(int mode)
{
    if (mode != kIntMode && mode != kHighByteMode && mode != kLowByteMode)
        return EditResult::None();
    if (mode != kIntMode && !CanByteModes())
        return EditResult::None();
    valueMode_ = mode;
    return EditResult::Redrawing(EditResult::Redraw::Map);
}

bool PointerTools::CanByteModes() const
{
    return project_.SplitPlane(selectedPlane_);
}

EditResult PointerTools::SelectPlane(int plane)
{
    if (plane < 0 || plane >= project_.Maps.NumPlanes)
        return EditResult::None();
    selectedPlane_ = plane;
    EditResult result;
    result.ValuesChanged = true;
    if (!CanByteModes() && valueMode_ != kIntMode) {
        valueMode_ = kIntMode;
        result.What = EditResult::Redraw::Map;
    }
    return result;
}

void PointerTools::SelectFirstPlane()
{
    valueMode_ = kIntMode;
    selectedPlane_ = 0;
}

EditResult PointerTools::SetButtonValue(PointerButton button, std::uint16_t value)
{
    auto& values = button == PointerButton::Right ? rightValue_ : leftValue_;
    values.at(static_cast<std::size_t>(selectedPlane_)) = value;
    EditResult result;
    result.ValuesChanged = true;
    return result;
}

void PointerTools::SetButtonValues(const std::vector<std::uint16_t>& left, const std::vector<std::uint16_t>& right)
{
    for (std::size_t p = 0; p < leftValue_.size(); ++p) {
        leftValue_[p] = p < left.size() ? left[p] : 0;
        rightValue_[p] = p < right.size() ? right[p] : 0;
    }
}

std::optional<std::uint16_t> PointerTools::PencilWord(int x, int y) const
{
    if (CurrentTool() != kToolPencil || project_.Maps.NumMaps() == 0 || project_.Maps.NumPlanes <= 0)
        return std::nullopt;
    const MapList& map = project_.Maps.Current();
    if (x < 0 || y < 0 || x >= map.Width || y >= map.Height)
        return std::nullopt;
    const auto plane = static_cast<std::size_t>(selectedPlane_);
    return CombineWord(leftValue_[plane], map.Word(plane, x, y), valueMode_);
}

std::optional<TileRect> PointerTools::Outline() const
{
    if (const auto* drag = std::get_if<gesture::RectangleDrag>(&gesture_))
        return drag->Rect;
    if (const auto* selection = std::get_if<gesture::ShownSelection>(&gesture_); selection && selection->Outlined)
        return selection->Rect;
    return std::nullopt;
}

std::optional<TileRect> PointerTools::CopyableSelection() const
{
    if (const auto* selection = std::get_if<gesture::ShownSelection>(&gesture_); selection && selection->Copyable)
        return selection->Rect;
    return std::nullopt;
}

void PointerTools::SelectionCopied()
{
    if (auto* selection = std::get_if<gesture::ShownSelection>(&gesture_)) {
        selection->Copyable = false;
        if (!selection->Outlined)
            gesture_ = gesture::Idle{};
    }
}

void PointerTools::SelectionCut()
{
    if (std::holds_alternative<gesture::ShownSelection>(gesture_))
        gesture_ = gesture::Idle{};
}

void PointerTools::HideSelection()
{
    if (auto* selection = std::get_if<gesture::ShownSelection>(&gesture_)) {
        selection->Outlined = false;
        if (!selection->Copyable)
            gesture_ = gesture::Idle{};
    }
}

void PointerTools::MapsChanged()
{
    HideSelection();
    if (auto* placing = std::get_if<gesture::PastePlacement>(&gesture_))
        placing->Map = project_.Maps.CurrentMap;
}

EditResult PointerTools::EndGesture()
{
    PointerInput release{PointerAction::Release, PointerButton::Left, 0, 0};
    if (const auto* stroke = std::get_if<gesture::Stroke>(&gesture_)) {
        release = {PointerAction::Release, stroke->Button, stroke->X, stroke->Y};
    } else if (const auto* drag = std::get_if<gesture::RectangleDrag>(&gesture_)) {
        release = {PointerAction::Release, drag->Button, drag->Rect.X2, drag->Rect.Y2};
    } else if (!histories_.StepOpen()) {
        return EditResult::None(); // no button held; a placement not pressed goes on
    }
    EditResult result = Release(release);
    result.GestureEnded = true;
    return result;
}

EditResult PointerTools::StartPlacement(bool fromManager)
{
    // A second Paste while placing still returns to the tool before the first.
    const auto* placing = std::get_if<gesture::PastePlacement>(&gesture_);
    const std::uint16_t before = placing ? placing->ToolBefore : tool_;
    tool_ = kToolRectangleSelection;
    gesture_ = gesture::PastePlacement{project_.Maps.CurrentMap, std::nullopt, fromManager, before};
    EditResult result;
    result.ToolChanged = true;
    result.Overlay = true;
    return result;
}

EditResult PointerTools::Cancel()
{
    EditResult result;
    if (const auto* placing = std::get_if<gesture::PastePlacement>(&gesture_)) {
        tool_ = placing->ToolBefore;
        result.ToolChanged = true;
    } else if (!std::holds_alternative<gesture::RectangleDrag>(gesture_) &&
               !std::holds_alternative<gesture::ShownSelection>(gesture_)) {
        return result;
    }
    // A press while placing, or with the Rectangle, opened a step that
    // nothing has written to yet: it goes without a trace.
    histories_.DropStep();
    gesture_ = gesture::Idle{};
    result.Overlay = true;
    return result;
}

std::optional<std::pair<int, int>> PointerTools::PlacementTile() const
{
    if (const auto* placing = std::get_if<gesture::PastePlacement>(&gesture_))
        return placing->Tile;
    return std::nullopt;
}

EditResult PointerTools::Pointer(const PointerInput& input)
{
    if (project_.Maps.NumMaps() == 0 || project_.Maps.NumPlanes <= 0)
        return EditResult::None();
    switch (input.Action) {
    case PointerAction::Press:
        return Press(input);
    case PointerAction::Move:
        return Move(input);
    case PointerAction::Release:
        return Release(input);
    }
    return EditResult::None();
}

EditResult PointerTools::Press(const PointerInput& input)
{
    MapHandler& maps = project_.Maps;
    MapList& map = maps.Current();
    const int x = std::clamp(input.X, 0, map.Width - 1);
    const int y = std::clamp(input.Y, 0, map.Height - 1);
    const auto plane = static_cast<std::size_t>(selectedPlane_);
    const std::uint16_t value = input.Button == PointerButton::Right ? rightValue_[plane] : leftValue_[plane];
    const std::uint16_t word = CombineWord(value, map.Word(plane, x, y), valueMode_);
    const std::uint16_t tool = CurrentTool();
    if (tool != kToolSelectObject && tool != kToolRectangleSelection)
        histories_.OpenStep(maps.CurrentMap, tool == kToolPastePlacement ? kAllPlanes : selectedPlane_);

    if (tool == kToolPencil || tool == kToolFill || tool == kToolRectangle)
        recent_.Use(selectedPlane_, value);

    const gesture::Stroke stroke{maps.CurrentMap, input.Button, word, x, y};
    EditResult result;
    switch (tool) {
    case kToolPencil:
        map.SetWord(plane, x, y, word);
        result.What = EditResult::Redraw::Tiles;
        result.Changed = TileRect{x, y, x, y};
        gesture_ = stroke;
        break;
    case kToolFill:
        FloodFill(map.Planes[plane], map.Width, map.Height, x, y, word);
        result.What = EditResult::Redraw::Map;
        gesture_ = stroke;
        break;
    case kToolSelectObject:
        (input.Button == PointerButton::Right ? rightValue_ : leftValue_)[plane] = map.Word(plane, x, y);
        result.ValuesChanged = true;
        gesture_ = stroke;
        break;
    case kToolRectangleSelection:
    case kToolRectangle:
        gesture_ = gesture::RectangleDrag{maps.CurrentMap, input.Button, word, TileRect{x, y, x, y}};
        result.Overlay = true;
        break;
    default: // placing: the release places the block where the pointer is now
        if (auto* placing = std::get_if<gesture::PastePlacement>(&gesture_); placing && !placing->Tile) {
            placing->Tile = std::make_pair(x, y);
            result.Overlay = true;
        }
        break;
    }
    return result;
}

EditResult PointerTools::Move(const PointerInput& input)
{
    MapList& map = project_.Maps.Current();
    const int x = input.X;
    const int y = input.Y;
    if (x < 0 || y < 0 || x >= map.Width || y >= map.Height) {
        // A stroke that leaves the map is over, though its step lasts until the release.
        if (std::holds_alternative<gesture::Stroke>(gesture_))
            gesture_ = gesture::Idle{};
        return EditResult::None();
    }
    EditResult result;
    if (auto* placing = std::get_if<gesture::PastePlacement>(&gesture_)) {
        if (placing->Tile != std::make_pair(x, y)) {
            placing->Tile = std::make_pair(x, y);
            result.Overlay = true;
        }
    } else if (auto* stroke = std::get_if<gesture::Stroke>(&gesture_)) {
        stroke->X = x;
        stroke->Y = y;
        if (tool_ == kToolPencil) {
            map.SetWord(static_cast<std::size_t>(selectedPlane_), x, y, stroke->Word);
            result.What = EditResult::Redraw::Tiles;
            result.Changed = TileRect{x, y, x, y};
        }
    } else if (auto* drag = std::get_if<gesture::RectangleDrag>(&gesture_)) {
        if (drag->Rect.X2 != x || drag->Rect.Y2 != y) {
            drag->Rect.X2 = x;
            drag->Rect.Y2 = y;
            result.Overlay = true;
        }
    }
    return result;
}

EditResult PointerTools::Release(const PointerInput& input)
{
    EditResult result;
    if (CurrentTool() == kToolSelectObject) {
        // The tool picked once; it hands over without acting on this release.
        gesture_ = gesture::Idle{};
        if (previousTool_ == kToolPencil || previousTool_ == kToolFill || previousTool_ == kToolRectangle) {
            result = SelectTool(previousTool_);
            result.ValuesChanged = true;
        }
    } else if (const auto* placing = std::get_if<gesture::PastePlacement>(&gesture_)) {
        return Place(*placing, input);
    } else if (const auto* drag = std::get_if<gesture::RectangleDrag>(&gesture_)) {
        result.Overlay = true;
        if (tool_ == kToolRectangleSelection) {
            gesture_ = gesture::ShownSelection{drag->Map, drag->Rect};
            return result;
        }
        FillRectangle(*drag);
        result.What = EditResult::Redraw::Map;
        gesture_ = gesture::Idle{};
    } else {
        gesture_ = gesture::Idle{};
    }
    // Ends the step the press began: even a stroke that changed no word is a
    // step, and marks the set changed.
    histories_.CloseStep();
    return result;
}

void PointerTools::FillRectangle(const gesture::RectangleDrag& drag)
{
    MapList& map = project_.Maps.Current();
    const auto plane = static_cast<std::size_t>(selectedPlane_);
    const int right = std::min(drag.Rect.Right(), map.Width - 1);
    const int bottom = std::min(drag.Rect.Bottom(), map.Height - 1);
    for (int ty = std::max(drag.Rect.Top(), 0); ty <= bottom; ++ty)
        for (int tx = std::max(drag.Rect.Left(), 0); tx <= right; ++tx)
            map.SetWord(plane, tx, ty, drag.Word);
}

EditResult PointerTools::Place(const gesture::PastePlacement& placing, const PointerInput& input)
{
    const MapList& map = project_.Maps.Current();
    const auto [x, y] = placing.Tile.value_or(
        std::make_pair(std::clamp(input.X, 0, map.Width - 1), std::clamp(input.Y, 0, map.Height - 1)));
    const bool fromManager = placing.FromManager;
    clipboard_.PasteInto(project_.Maps, x, y);
    histories_.CloseStep();
    EditResult result = SelectTool(fromManager ? kToolPencil : kToolRectangleSelection);
    result.What = EditResult::Redraw::Map;
    return result;
}

} // namespace tsl
