#include "editor/tools/PointerTools.h"

#include "editor/tools/BlockClipboard.h"
#include "editor/operations/MapOperations.h"
#include "editor/render/MapRenderer.h"
#include "editor/document/Project.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tsl {

PointerTools::PointerTools(const Project& project, MapDocument& document, BlockClipboard& clipboard)
    : project_(project), document_(document), clipboard_(clipboard)
{
    Reset();
}

PointerTools::~PointerTools()
{
    // The document must not call back into tools that are gone.
    if (Held())
        document_.ReleaseGesture();
}

void PointerTools::Reset()
{
    if (Held())
        EndGesture();
    const auto planes = static_cast<std::size_t>(std::max(document_.Maps().NumPlanes, 0));
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

EditResult PointerTools::EndBeforeChange()
{
    return Held() ? EndGesture() : EditResult::None();
}

EditResult PointerTools::SelectTool(std::uint16_t tool)
{
    if (tool > kToolSelectObject || (Held() && tool == CurrentTool()))
        return EditResult::None();
    EditResult result = EndBeforeChange();
    const std::uint16_t current = CurrentTool();
    if (tool == kToolSelectObject)
        previousTool_ = (current == kToolSelectObject || current == kToolRectangleSelection) ? kToolPencil : current;
    // Rectangle Selection chosen again keeps its selection; a block not yet
    // placed goes.
    if (tool != kToolRectangleSelection || !std::holds_alternative<gesture::ShownSelection>(gesture_))
        gesture_ = gesture::Idle{};
    tool_ = tool;
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
    EditResult result = mode != valueMode_ ? EndBeforeChange() : EditResult::None();
    valueMode_ = mode;
    result.What = EditResult::Redraw::Map;
    return result;
}

bool PointerTools::CanByteModes() const
{
    return project_.SplitPlane(selectedPlane_);
}

EditResult PointerTools::SelectPlane(int plane)
{
    if (plane < 0 || plane >= document_.Maps().NumPlanes)
        return EditResult::None();
    EditResult result = plane != selectedPlane_ ? EndBeforeChange() : EditResult::None();
    selectedPlane_ = plane;
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
    EditResult result =
        values.at(static_cast<std::size_t>(selectedPlane_)) != value ? EndBeforeChange() : EditResult::None();
    values[static_cast<std::size_t>(selectedPlane_)] = value;
    result.ValuesChanged = true;
    return result;
}

void PointerTools::SetButtonValues(const std::vector<std::uint16_t>& left, const std::vector<std::uint16_t>& right)
{
    ended_.Add(EndBeforeChange());
    for (std::size_t p = 0; p < leftValue_.size(); ++p) {
        leftValue_[p] = p < left.size() ? left[p] : 0;
        rightValue_[p] = p < right.size() ? right[p] : 0;
    }
}

std::optional<std::uint16_t> PointerTools::PencilWord(int x, int y) const
{
    if (CurrentTool() != kToolPencil || document_.NumMaps() == 0 || document_.Maps().NumPlanes <= 0)
        return std::nullopt;
    const MapList& map = document_.Current();
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
    if (const auto* selection = std::get_if<gesture::ShownSelection>(&gesture_))
        return selection->Rect;
    return std::nullopt;
}

void PointerTools::SelectionCut()
{
    if (std::holds_alternative<gesture::ShownSelection>(gesture_))
        gesture_ = gesture::Idle{};
}

void PointerTools::HideSelection()
{
    if (auto* selection = std::get_if<gesture::ShownSelection>(&gesture_))
        selection->Outlined = false;
}

void PointerTools::MapsChanged()
{
    HideSelection();
    if (auto* placing = std::get_if<gesture::PastePlacement>(&gesture_))
        placing->Map = document_.CurrentMap();
}

bool PointerTools::Held() const
{
    if (const auto* placing = std::get_if<gesture::PastePlacement>(&gesture_))
        return placing->Pressed;
    return std::holds_alternative<gesture::Stroke>(gesture_) || std::holds_alternative<gesture::RectangleDrag>(gesture_);
}

void PointerTools::Hold()
{
    document_.HoldGesture([this] { ended_.Add(EndGesture()); });
}

EditResult PointerTools::EndGesture()
{
    PointerInput release{PointerAction::Release, PointerButton::Left, 0, 0};
    if (const auto* stroke = std::get_if<gesture::Stroke>(&gesture_)) {
        release = {PointerAction::Release, stroke->Button, stroke->X, stroke->Y};
    } else if (const auto* drag = std::get_if<gesture::RectangleDrag>(&gesture_)) {
        release = {PointerAction::Release, drag->Button, drag->Rect.X2, drag->Rect.Y2};
    } else if (const auto* placing = std::get_if<gesture::PastePlacement>(&gesture_); placing && placing->Pressed) {
        const auto [x, y] = placing->Tile.value_or(std::make_pair(0, 0));
        release = {PointerAction::Release, PointerButton::Left, x, y};
    } else {
        return EditResult::None(); // no button held; a placement not pressed goes on
    }
    EditResult result = Release(release);
    result.GestureEnded = true;
    return result;
}

EditResult PointerTools::StartPlacement(bool fromManager)
{
    EditResult result = EndGesture();
    // A second Paste while placing still returns to the tool before the first.
    const auto* placing = std::get_if<gesture::PastePlacement>(&gesture_);
    const std::uint16_t before = placing ? placing->ToolBefore : tool_;
    tool_ = kToolRectangleSelection;
    gesture_ = gesture::PastePlacement{document_.CurrentMap(), std::nullopt, fromManager, before};
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
    // Nothing of a placement or a rectangle is written before its release.
    if (Held())
        document_.ReleaseGesture();
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
    if (document_.NumMaps() == 0 || document_.Maps().NumPlanes <= 0)
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

gesture::Target PointerTools::TargetAt(PointerButton button, int x, int y) const
{
    gesture::Target target;
    target.Map = document_.CurrentMap();
    target.Plane = selectedPlane_;
    target.Button = button;
    const auto plane = static_cast<std::size_t>(selectedPlane_);
    target.Value = button == PointerButton::Right ? rightValue_[plane] : leftValue_[plane];
    target.Mode = valueMode_;
    target.Word = CombineWord(target.Value, document_.Current().Word(plane, x, y), valueMode_);
    return target;
}

EditResult PointerTools::Press(const PointerInput& input)
{
    // A second button while one is held: the first gesture ends here. A
    // gesture some command ended before is past news to this press.
    ended_ = EditResult{};
    EditResult result = EndGesture();
    result.GestureEnded = false; // the view goes on sending this press
    const MapList& map = document_.Current();
    const int x = std::clamp(input.X, 0, map.Width - 1);
    const int y = std::clamp(input.Y, 0, map.Height - 1);
    const gesture::Target target = TargetAt(input.Button, x, y);
    const std::uint16_t tool = CurrentTool();
    if (tool == kToolPencil || tool == kToolFill || tool == kToolRectangle)
        recent_.Use(target.Plane, target.Value);

    switch (tool) {
    case kToolPencil:
    case kToolFill: {
        gesture::Stroke stroke{target, tool, x, y, false, std::make_unique<MapDocument::Transaction>(document_.Begin())};
        if (tool == kToolPencil) {
            stroke.Change->SetWord(target.Map, target.Plane, x, y, target.Word);
        } else {
            PlaneWriter plane = stroke.Change->Plane(target.Map, target.Plane);
            FloodFill(plane.Words(), plane.Width(), plane.Height(), x, y, target.Word);
        }
        stroke.Change->Publish();
        gesture_ = std::move(stroke);
        break;
    }
    case kToolSelectObject:
        (input.Button == PointerButton::Right ? rightValue_ : leftValue_)[static_cast<std::size_t>(target.Plane)] =
            map.Word(static_cast<std::size_t>(target.Plane), x, y);
        result.ValuesChanged = true;
        gesture_ = gesture::Stroke{target, tool, x, y, false, nullptr};
        break;
    case kToolRectangleSelection:
    case kToolRectangle:
        gesture_ = gesture::RectangleDrag{target, TileRect{x, y, x, y}};
        result.Overlay = true;
        break;
    default: // placing: the release places the block where the pointer is now
        if (auto* placing = std::get_if<gesture::PastePlacement>(&gesture_)) {
            if (!placing->Tile) {
                placing->Tile = std::make_pair(x, y);
                result.Overlay = true;
            }
            placing->Pressed = true;
        }
        break;
    }
    Hold();
    return result;
}

void PointerTools::DrawLine(gesture::Stroke& stroke, int x, int y)
{
    const int steps = std::max(std::abs(x - stroke.X), std::abs(y - stroke.Y));
    for (int i = 1; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const int tx = stroke.X + static_cast<int>(std::lround((x - stroke.X) * t));
        const int ty = stroke.Y + static_cast<int>(std::lround((y - stroke.Y) * t));
        stroke.Change->SetWord(stroke.Map, stroke.Plane, tx, ty, stroke.Word);
    }
    if (steps == 0)
        stroke.Change->SetWord(stroke.Map, stroke.Plane, x, y, stroke.Word);
    stroke.Change->Publish();
}

EditResult PointerTools::Move(const PointerInput& input)
{
    const int x = input.X;
    const int y = input.Y;
    EditResult result;
    if (auto* placing = std::get_if<gesture::PastePlacement>(&gesture_)) {
        const MapList& map = document_.Current();
        if (x < 0 || y < 0 || x >= map.Width || y >= map.Height)
            return result;
        if (placing->Tile != std::make_pair(x, y)) {
            placing->Tile = std::make_pair(x, y);
            result.Overlay = true;
        }
    } else if (auto* stroke = std::get_if<gesture::Stroke>(&gesture_); stroke && !stroke->Left) {
        const MapList& map = MapOf(stroke->Map);
        if (x < 0 || y < 0 || x >= map.Width || y >= map.Height) {
            // A stroke that leaves the map is over, though it lasts until the release.
            stroke->Left = true;
            return result;
        }
        if (stroke->Tool == kToolPencil && stroke->Change)
            DrawLine(*stroke, x, y);
        stroke->X = x;
        stroke->Y = y;
    } else if (auto* drag = std::get_if<gesture::RectangleDrag>(&gesture_)) {
        const MapList& map = MapOf(drag->Map);
        if (x < 0 || y < 0 || x >= map.Width || y >= map.Height)
            return result;
        if (drag->Rect.X2 != x || drag->Rect.Y2 != y) {
            drag->Rect.X2 = x;
            drag->Rect.Y2 = y;
            result.Overlay = true;
        }
    }
    return result;
}

const MapList& PointerTools::MapOf(int map) const
{
    return document_.Maps().Maps.at(static_cast<std::size_t>(map));
}

EditResult PointerTools::Release(const PointerInput& input)
{
    if (Held())
        document_.ReleaseGesture();
    // The stroke's transaction ends with its release: one undo step.
    std::unique_ptr<MapDocument::Transaction> change;
    if (auto* stroke = std::get_if<gesture::Stroke>(&gesture_))
        change = std::move(stroke->Change);
    EditResult result;
    if (CurrentTool() == kToolSelectObject) {
        // The tool picked once; it hands over without acting on this release.
        gesture_ = gesture::Idle{};
        if (previousTool_ == kToolPencil || previousTool_ == kToolFill || previousTool_ == kToolRectangle) {
            result = SelectTool(previousTool_);
            result.ValuesChanged = true;
        }
    } else if (const auto* placing = std::get_if<gesture::PastePlacement>(&gesture_)) {
        result = Place(*placing, input);
    } else if (const auto* drag = std::get_if<gesture::RectangleDrag>(&gesture_)) {
        result.Overlay = true;
        if (tool_ == kToolRectangleSelection) {
            gesture_ = gesture::ShownSelection{drag->Map, drag->Rect};
        } else {
            const gesture::RectangleDrag filled = *drag;
            gesture_ = gesture::Idle{};
            FillRectangle(filled);
        }
    } else {
        gesture_ = gesture::Idle{};
    }
    if (change)
        change->Commit();
    return result;
}

void PointerTools::FillRectangle(const gesture::RectangleDrag& drag)
{
    const MapList& map = MapOf(drag.Map);
    const int right = std::min(drag.Rect.Right(), map.Width - 1);
    const int bottom = std::min(drag.Rect.Bottom(), map.Height - 1);
    const int left = std::max(drag.Rect.Left(), 0);
    const int top = std::max(drag.Rect.Top(), 0);
    if (right < left || bottom < top)
        return;
    auto change = document_.Begin();
    PlaneWriter words = change.Plane(drag.Map, drag.Plane, TileRect{left, top, right, bottom});
    for (int ty = top; ty <= bottom; ++ty)
        for (int tx = left; tx <= right; ++tx)
            words.SetWord(tx, ty, drag.Word);
    change.Commit();
}

EditResult PointerTools::Place(const gesture::PastePlacement& placing, const PointerInput& input)
{
    const int target = placing.Map;
    const MapList& map = MapOf(target);
    const auto [x, y] = placing.Tile.value_or(
        std::make_pair(std::clamp(input.X, 0, map.Width - 1), std::clamp(input.Y, 0, map.Height - 1)));
    const bool fromManager = placing.FromManager;
    gesture_ = gesture::Idle{};
    auto change = document_.Begin();
    const CP_Manager& block = clipboard_.PasteBuffer();
    const TileRect region{x, y, x + block.BlockWidth() - 1, y + block.BlockHeight() - 1};
    clipboard_.PasteInto(change.Map(target, region), x, y);
    change.Commit();
    return SelectTool(fromManager ? kToolPencil : kToolRectangleSelection);
}

} // namespace tsl
