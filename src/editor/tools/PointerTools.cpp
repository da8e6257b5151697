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
    if (!keep) {
        // A rectangle or a placement held has written nothing yet: it goes.
        if (Held())
            document_.ReleaseGesture();
        gesture_ = gesture::Idle{};
    }
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
    if (plane < 0 || plane >= document_.Maps().NumPlanes)
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

EditResult PointerTools::Press(const PointerInput& input)
{
    // A second button while one is held: the first gesture ends here. A
    // gesture some command ended before is past news to this press.
    ended_ = EditResult{};
    EditResult result = EndGesture();
    result.GestureEnded = false; // the view goes on sending this press
    const int current = document_.CurrentMap();
    const MapList& map = document_.Current();
    const int x = std::clamp(input.X, 0, map.Width - 1);
    const int y = std::clamp(input.Y, 0, map.Height - 1);
    const auto plane = static_cast<std::size_t>(selectedPlane_);
    const std::uint16_t value = input.Button == PointerButton::Right ? rightValue_[plane] : leftValue_[plane];
    const std::uint16_t word = CombineWord(value, map.Word(plane, x, y), valueMode_);
    const std::uint16_t tool = CurrentTool();
    if (tool == kToolPencil || tool == kToolFill) {
        recent_.Use(selectedPlane_, value);
        stroke_.emplace(document_.Begin());
    } else if (tool == kToolRectangle) {
        recent_.Use(selectedPlane_, value);
    }

    const gesture::Stroke stroke{current, input.Button, word, x, y};
    switch (tool) {
    case kToolPencil:
        stroke_->SetWord(current, selectedPlane_, x, y, word);
        stroke_->Publish();
        gesture_ = stroke;
        break;
    case kToolFill: {
        MapList& words = stroke_->Map(current, selectedPlane_);
        FloodFill(words.Planes[plane], words.Width, words.Height, x, y, word);
        stroke_->Publish();
        gesture_ = stroke;
        break;
    }
    case kToolSelectObject:
        (input.Button == PointerButton::Right ? rightValue_ : leftValue_)[plane] = map.Word(plane, x, y);
        result.ValuesChanged = true;
        gesture_ = stroke;
        break;
    case kToolRectangleSelection:
    case kToolRectangle:
        gesture_ = gesture::RectangleDrag{current, input.Button, word, TileRect{x, y, x, y}};
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
        stroke_->SetWord(stroke.Map, selectedPlane_, tx, ty, stroke.Word);
    }
    if (steps == 0)
        stroke_->SetWord(stroke.Map, selectedPlane_, x, y, stroke.Word);
    stroke_->Publish();
}

EditResult PointerTools::Move(const PointerInput& input)
{
    const MapList& map = document_.Current();
    const int x = input.X;
    const int y = input.Y;
    if (x < 0 || y < 0 || x >= map.Width || y >= map.Height) {
        // A stroke that leaves the map is over, though it lasts until the release.
        if (auto* stroke = std::get_if<gesture::Stroke>(&gesture_))
            stroke->Left = true;
        return EditResult::None();
    }
    EditResult result;
    if (auto* placing = std::get_if<gesture::PastePlacement>(&gesture_)) {
        if (placing->Tile != std::make_pair(x, y)) {
            placing->Tile = std::make_pair(x, y);
            result.Overlay = true;
        }
    } else if (auto* stroke = std::get_if<gesture::Stroke>(&gesture_); stroke && !stroke->Left) {
        if (tool_ == kToolPencil && stroke_)
            DrawLine(*stroke, x, y);
        stroke->X = x;
        stroke->Y = y;
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
    if (Held())
        document_.ReleaseGesture();
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
    // The stroke's transaction ends with its release: one undo step.
    if (stroke_) {
        std::optional<MapDocument::Transaction> stroke = std::move(stroke_);
        stroke_.reset();
        stroke->Commit();
    }
    return result;
}

void PointerTools::FillRectangle(const gesture::RectangleDrag& drag)
{
    const MapList& map = document_.Current();
    const int right = std::min(drag.Rect.Right(), map.Width - 1);
    const int bottom = std::min(drag.Rect.Bottom(), map.Height - 1);
    const int left = std::max(drag.Rect.Left(), 0);
    const int top = std::max(drag.Rect.Top(), 0);
    if (right < left || bottom < top)
        return;
    auto change = document_.Begin();
    MapList& words = change.Current(selectedPlane_, TileRect{left, top, right, bottom});
    for (int ty = top; ty <= bottom; ++ty)
        for (int tx = left; tx <= right; ++tx)
            words.SetWord(static_cast<std::size_t>(selectedPlane_), tx, ty, drag.Word);
    change.Commit();
}

EditResult PointerTools::Place(const gesture::PastePlacement& placing, const PointerInput& input)
{
    const MapList& map = document_.Current();
    const auto [x, y] = placing.Tile.value_or(
        std::make_pair(std::clamp(input.X, 0, map.Width - 1), std::clamp(input.Y, 0, map.Height - 1)));
    const bool fromManager = placing.FromManager;
    gesture_ = gesture::Idle{};
    auto change = document_.Begin();
    const CP_Manager& block = clipboard_.PasteBuffer();
    const TileRect region{x, y, x + block.BlockWidth() - 1, y + block.BlockHeight() - 1};
    clipboard_.PasteInto(change.Current(kAllPlanes, region), x, y);
    change.Commit();
    return SelectTool(fromManager ? kToolPencil : kToolRectangleSelection);
}

} // namespace tsl
