#include "editor/EditorSession.h"

#include "editor/MapOperations.h"
#include "editor/MapRenderer.h"

#include <algorithm>

namespace tsl {

namespace {

Failure SizeError(const char* text, const char* caption)
{
    return Failure{text, caption, MessageIcon::Error};
}

EditResult Redraw(EditResult::Redraw what)
{
    EditResult result;
    result.What = what;
    return result;
}

} // namespace

std::uint16_t CombineWord(std::uint16_t value, std::uint16_t word, int valueMode)
{
    switch (valueMode) {
    case kHighByteMode:
        return static_cast<std::uint16_t>(((value & 0xFF) << 8) | (word & 0xFF));
    case kLowByteMode:
        return static_cast<std::uint16_t>((word & 0xFF00) | (value & 0xFF));
    default:
        return value;
    }
}

std::size_t FloodFill(std::vector<std::uint16_t>& plane, int width, int height, int x, int y, std::uint16_t word)
{
    if (width <= 0 || height <= 0 || x < 0 || y < 0 || x >= width || y >= height ||
        plane.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return 0;
    auto at = [&](int cx, int cy) -> std::uint16_t& {
        return plane[static_cast<std::size_t>(cy) * static_cast<std::size_t>(width) + static_cast<std::size_t>(cx)];
    };
    const std::uint16_t old = at(x, y);
    if (old == word)
        return 0;
    // Column spans: each span is scanned once and pushes a tile of a
    // neighbouring column only where a run of equal words starts, so the
    // stack grows with the region, never to a fixed worst case.
    std::vector<std::uint32_t> stack;
    stack.push_back(static_cast<std::uint32_t>(x * height + y));
    std::size_t filled = 0;
    while (!stack.empty()) {
        const std::uint32_t entry = stack.back();
        stack.pop_back();
        const int cx = static_cast<int>(entry / static_cast<std::uint32_t>(height));
        int cy = static_cast<int>(entry % static_cast<std::uint32_t>(height));
        while (cy >= 0 && at(cx, cy) == old)
            --cy;
        ++cy;
        bool spanLeft = false;
        bool spanRight = false;
        for (; cy < height && at(cx, cy) == old; ++cy) {
            at(cx, cy) = word;
            ++filled;
            if (cx > 0) {
                const bool same = at(cx - 1, cy) == old;
                if (!spanLeft && same)
                    stack.push_back(static_cast<std::uint32_t>((cx - 1) * height + cy));
                spanLeft = same;
            }
            if (cx < width - 1) {
                const bool same = at(cx + 1, cy) == old;
                if (!spanRight && same)
                    stack.push_back(static_cast<std::uint32_t>((cx + 1) * height + cy));
                spanRight = same;
            }
        }
    }
    return filled;
}

EditorSession::EditorSession(std::unique_ptr<Project> project) : project_(std::move(project))
{
    ResetForSymbols();
}

void EditorSession::ResetForSymbols()
{
    const auto planes = static_cast<std::size_t>(std::max(Maps().NumPlanes, 0));
    currentTool_ = kToolPencil;
    previousTool_ = kToolPencil;
    valueMode_ = kIntMode;
    selectedPlane_ = 0;
    leftValue_.assign(planes, 0);
    rightValue_.assign(planes, 0);
    strokeWord_ = 0;
    buttonHeld_ = rectangleDrag_ = outlineShown_ = false;
    selectionRect_ = {};
    cutCopyEnabled_ = pasteEnabled_ = pastePlacing_ = fromManager_ = false;
    placement_.reset();
    stepOpen_ = false;
    if (Maps().NumMaps() > 0)
        pasteBuffer_.Reset(static_cast<int>(planes), Maps().Current().Width, Maps().Current().Height);
    else
        pasteBuffer_.Reset(static_cast<int>(planes), 0, 0);
    if (clipboard_ && !clipboard_->Entries.empty() && clipboard_->Entries.front().PlaneCount() != static_cast<int>(planes))
        clipboard_.reset();
    RebuildHistories();
}

void EditorSession::RebuildHistories()
{
    histories_.clear();
    histories_.resize(static_cast<std::size_t>(Maps().NumMaps()));
    finds_.Discard();
}

std::vector<std::uint16_t>& EditorSession::CurrentPlane()
{
    return Maps().Current().Planes[static_cast<std::size_t>(selectedPlane_)];
}

// --- tools ---

EditResult EditorSession::SelectTool(std::uint16_t tool)
{
    EditResult result;
    result.ToolChanged = true;
    result.Overlay = true;
    if (tool == kToolSelectObject) {
        previousTool_ = (currentTool_ == kToolSelectObject || currentTool_ == kToolRectangleSelection)
                            ? kToolPencil
                            : currentTool_;
    } else if (tool > kToolSelectObject) {
        return EditResult::None();
    }
    if (tool != kToolRectangleSelection) {
        cutCopyEnabled_ = false;
        outlineShown_ = false;
    }
    currentTool_ = tool;
    pastePlacing_ = false;
    placement_.reset();
    rectangleDrag_ = false;
    return result;
}

EditResult EditorSession::SetValueMode(int mode)
{
    if (mode != kIntMode && mode != kHighByteMode && mode != kLowByteMode)
        return EditResult::None();
    if (mode != kIntMode && !CanByteModes())
        return EditResult::None();
    valueMode_ = mode;
    return Redraw(EditResult::Redraw::Map);
}

bool EditorSession::CanByteModes() const
{
    return project_->SplitPlane(selectedPlane_);
}

EditResult EditorSession::SelectPlane(int plane)
{
    if (plane < 0 || plane >= Maps().NumPlanes)
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

void EditorSession::SetButtonValue(PointerButton button, std::uint16_t value)
{
    auto& values = button == PointerButton::Right ? rightValue_ : leftValue_;
    values.at(static_cast<std::size_t>(selectedPlane_)) = value;
}

std::optional<TileRect> EditorSession::Outline() const
{
    if ((currentTool_ == kToolRectangle || currentTool_ == kToolRectangleSelection) &&
        (rectangleDrag_ || outlineShown_))
        return selectionRect_;
    return std::nullopt;
}

std::optional<std::pair<int, int>> EditorSession::PlacementTile() const
{
    if (PastePlacing())
        return placement_;
    return std::nullopt;
}

EditResult EditorSession::Pointer(const PointerInput& input)
{
    if (Maps().NumMaps() == 0 || Maps().NumPlanes <= 0)
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

EditResult EditorSession::Press(const PointerInput& input)
{
    finds_.Discard();
    MapList& map = Maps().Current();
    const int x = std::clamp(input.X, 0, map.Width - 1);
    const int y = std::clamp(input.Y, 0, map.Height - 1);
    const auto plane = static_cast<std::size_t>(selectedPlane_);
    const std::uint16_t value = input.Button == PointerButton::Right ? rightValue_[plane] : leftValue_[plane];
    strokeWord_ = CombineWord(value, map.Word(plane, x, y), valueMode_);
    buttonHeld_ = true;
    outlineShown_ = false;

    if (currentTool_ != kToolSelectObject && currentTool_ != kToolRectangleSelection) {
        CurrentHistory().PushUndoStep(map, currentTool_ == kToolPastePlacement ? kAllPlanes : selectedPlane_);
        stepOpen_ = true;
    }

    EditResult result;
    switch (currentTool_) {
    case kToolPencil:
        map.SetWord(plane, x, y, strokeWord_);
        result.What = EditResult::Redraw::Tiles;
        result.Changed = TileRect{x, y, x, y};
        break;
    case kToolFill:
        FloodFill(map.Planes[plane], map.Width, map.Height, x, y, strokeWord_);
        result.What = EditResult::Redraw::Map;
        break;
    case kToolSelectObject: {
        const std::uint16_t word = map.Word(plane, x, y);
        (input.Button == PointerButton::Right ? rightValue_ : leftValue_)[plane] = word;
        result.ValuesChanged = true;
        break;
    }
    case kToolRectangleSelection:
    case kToolRectangle:
        selectionRect_ = TileRect{x, y, x, y};
        rectangleDrag_ = true;
        result.Overlay = true;
        break;
    default:
        break;
    }
    return result;
}

EditResult EditorSession::Move(const PointerInput& input)
{
    MapList& map = Maps().Current();
    const int x = input.X;
    const int y = input.Y;
    if (x < 0 || y < 0 || x >= map.Width || y >= map.Height) {
        buttonHeld_ = false;
        return EditResult::None();
    }
    EditResult result;
    if (PastePlacing()) {
        if (placement_ != std::make_pair(x, y)) {
            placement_ = std::make_pair(x, y);
            result.Overlay = true;
        }
    } else if (currentTool_ == kToolPencil && buttonHeld_) {
        map.SetWord(static_cast<std::size_t>(selectedPlane_), x, y, strokeWord_);
        result.What = EditResult::Redraw::Tiles;
        result.Changed = TileRect{x, y, x, y};
    } else if ((currentTool_ == kToolRectangle || currentTool_ == kToolRectangleSelection) && rectangleDrag_) {
        if (selectionRect_.X2 != x || selectionRect_.Y2 != y) {
            selectionRect_.X2 = x;
            selectionRect_.Y2 = y;
            result.Overlay = true;
        }
    }
    return result;
}

EditResult EditorSession::Release(const PointerInput& input)
{
    finds_.Discard();
    buttonHeld_ = false;
    EditResult result;
    MapList& map = Maps().Current();

    switch (currentTool_) {
    case kToolSelectObject:
        // The tool picked once; it hands over without acting on this release.
        if (previousTool_ == kToolPencil || previousTool_ == kToolFill || previousTool_ == kToolRectangle) {
            result = SelectTool(previousTool_);
            result.ValuesChanged = true;
        }
        return FinishStep(result);
    case kToolRectangleSelection:
        rectangleDrag_ = false;
        outlineShown_ = true;
        cutCopyEnabled_ = true;
        result.Overlay = true;
        return result;
    case kToolPastePlacement: {
        if (!pastePlacing_)
            return FinishStep(result);
        auto [x, y] = placement_.value_or(std::make_pair(std::clamp(input.X, 0, map.Width - 1),
                                                         std::clamp(input.Y, 0, map.Height - 1)));
        Maps().PasteBlock(pasteBuffer_.Planes, x, y, pasteBuffer_.X1, pasteBuffer_.Y1, pasteBuffer_.X2,
                          pasteBuffer_.Y2, pasteBuffer_.BufferWidth);
        result = FinishStep(result);
        pastePlacing_ = false;
        if (fromManager_) {
            fromManager_ = false;
            SelectTool(kToolPencil);
        } else {
            SelectTool(kToolRectangleSelection);
        }
        result.ToolChanged = true;
        result.Overlay = true;
        result.What = EditResult::Redraw::Map;
        return result;
    }
    case kToolRectangle: {
        rectangleDrag_ = false;
        const auto plane = static_cast<std::size_t>(selectedPlane_);
        const int right = std::min(selectionRect_.Right(), map.Width - 1);
        const int bottom = std::min(selectionRect_.Bottom(), map.Height - 1);
        for (int ty = std::max(selectionRect_.Top(), 0); ty <= bottom; ++ty)
            for (int tx = std::max(selectionRect_.Left(), 0); tx <= right; ++tx)
                map.SetWord(plane, tx, ty, strokeWord_);
        result.What = EditResult::Redraw::Map;
        result.Overlay = true;
        return FinishStep(result);
    }
    default:
        return FinishStep(result);
    }
}

// Ends the step a press started: even a stroke that changed no word is a
// step, and marks the set changed.
EditResult EditorSession::FinishStep(EditResult result)
{
    if (!stepOpen_)
        return result;
    stepOpen_ = false;
    CurrentHistory().PushRedoStep(Maps().Current());
    SetChanged(true);
    return result;
}

// --- undo and redo ---

bool EditorSession::CanUndo() const
{
    const UR_Manager& history = histories_.at(static_cast<std::size_t>(Maps().CurrentMap));
    return !history.Pending() && history.CanUndo();
}

bool EditorSession::CanRedo() const
{
    const UR_Manager& history = histories_.at(static_cast<std::size_t>(Maps().CurrentMap));
    return !history.Pending() && history.CanRedo();
}

EditResult EditorSession::Undo()
{
    bool changed = false;
    if (!CurrentHistory().Undo(Maps().Current(), &changed))
        return EditResult::None();
    // Unlike the original behaviour, taking a change back is a change of its
    // own: after a save, an Undo must be saved too.
    if (changed)
        SetChanged(true);
    finds_.Discard();
    return Redraw(EditResult::Redraw::MapList);
}

EditResult EditorSession::Redo()
{
    bool changed = false;
    if (!CurrentHistory().Redo(Maps().Current(), &changed))
        return EditResult::None();
    if (changed)
        SetChanged(true);
    finds_.Discard();
    return Redraw(EditResult::Redraw::MapList);
}

EditResult EditorSession::EditCurrentMap(int scope, const std::function<void(MapList&)>& change)
{
    return EditMap(Maps().CurrentMap, scope, change);
}

EditResult EditorSession::EditMap(int mapIndex, int scope, const std::function<void(MapList&)>& change)
{
    if (mapIndex < 0 || mapIndex >= Maps().NumMaps())
        return EditResult::None();
    MapList& map = Maps().Maps[static_cast<std::size_t>(mapIndex)];
    UR_Manager& history = histories_.at(static_cast<std::size_t>(mapIndex));
    history.PushUndoStep(map, scope);
    change(map);
    SetChanged(true);
    history.PushRedoStep(map);
    return Redraw(mapIndex == Maps().CurrentMap ? EditResult::Redraw::Map : EditResult::Redraw::Nothing);
}

// --- cut, copy, paste ---

void EditorSession::CopyBlock(bool clear)
{
    MapList& map = Maps().Current();
    if (pasteBuffer_.BufferWidth != map.Width || pasteBuffer_.BufferHeight != map.Height ||
        pasteBuffer_.PlaneCount() != Maps().NumPlanes)
        pasteBuffer_.Reset(Maps().NumPlanes, map.Width, map.Height);
    for (std::vector<std::uint16_t>& plane : pasteBuffer_.Planes)
        std::fill(plane.begin(), plane.end(), 0);
    // A selection dragged on a larger map keeps to this map's words.
    pasteBuffer_.X1 = std::clamp(selectionRect_.Left(), 0, static_cast<int>(map.Width));
    pasteBuffer_.X2 = std::clamp(selectionRect_.Right() + 1, pasteBuffer_.X1, static_cast<int>(map.Width));
    pasteBuffer_.Y1 = std::clamp(selectionRect_.Top(), 0, static_cast<int>(map.Height));
    pasteBuffer_.Y2 = std::clamp(selectionRect_.Bottom() + 1, pasteBuffer_.Y1, static_cast<int>(map.Height));
    for (std::size_t p = 0; p < pasteBuffer_.Planes.size() && p < map.Planes.size(); ++p)
        for (int y = pasteBuffer_.Y1; y < pasteBuffer_.Y2; ++y)
            for (int x = pasteBuffer_.X1; x < pasteBuffer_.X2; ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * map.Width + static_cast<std::size_t>(x);
                pasteBuffer_.Planes[p][at] = map.Planes[p][at];
                if (clear)
                    map.Planes[p][at] = 0;
            }
    MakePastePreview();
    pasteEnabled_ = true;
    cutCopyEnabled_ = false;
}

void EditorSession::MakePastePreview()
{
    const CP_Manager& buffer = pasteBuffer_;
    const int width = buffer.BlockWidth();
    const int height = buffer.BlockHeight();
    std::vector<std::vector<std::uint16_t>> block(buffer.Planes.size());
    for (std::size_t p = 0; p < buffer.Planes.size(); ++p) {
        block[p].reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (int y = buffer.Y1; y < buffer.Y2; ++y)
            for (int x = buffer.X1; x < buffer.X2; ++x)
                block[p].push_back(
                    buffer.Planes[p][static_cast<std::size_t>(y) * static_cast<std::size_t>(buffer.BufferWidth) +
                                     static_cast<std::size_t>(x)]);
    }
    RenderBlockPreview(pasteBuffer_.Preview, block, width, height, 1, project_->Symbols);
}

EditResult EditorSession::Copy()
{
    if (!CanCopy())
        return EditResult::None();
    CopyBlock(false);
    return EditResult::None();
}

EditResult EditorSession::Cut()
{
    if (!CanCut())
        return EditResult::None();
    EditResult result = EditCurrentMap(kAllPlanes, [this](MapList&) { CopyBlock(true); });
    outlineShown_ = false;
    result.Overlay = true;
    return result;
}

EditResult EditorSession::Paste()
{
    if (!CanPaste())
        return EditResult::None();
    SelectTool(kToolRectangleSelection);
    buttonHeld_ = false;
    outlineShown_ = false;
    pastePlacing_ = true;
    placement_.reset();
    currentTool_ = kToolPastePlacement;
    cutCopyEnabled_ = false;
    EditResult result;
    result.ToolChanged = true;
    result.Overlay = true;
    return result;
}

CB_Manager& EditorSession::CreateClipboardManager()
{
    clipboard_.emplace();
    return *clipboard_;
}

CB_Object EditorSession::MakeClipboardEntry(int width, int height, std::vector<std::vector<std::uint16_t>> planes) const
{
    CB_Object entry;
    entry.Width = width;
    entry.Height = height;
    entry.Planes = std::move(planes);
    RenderBlockPreview(entry.Preview, entry.Planes, width, height, 1, project_->Symbols);
    return entry;
}

EditResult EditorSession::PasteFromClipboard(int index)
{
    if (!clipboard_ || index < 0 || index >= static_cast<int>(clipboard_->Entries.size()))
        return EditResult::None();
    const CB_Object& entry = clipboard_->Entries[static_cast<std::size_t>(index)];
    if (entry.Width > pasteBuffer_.BufferWidth || entry.Height > pasteBuffer_.BufferHeight ||
        pasteBuffer_.PlaneCount() != Maps().NumPlanes)
        pasteBuffer_.Reset(Maps().NumPlanes, std::max(entry.Width, pasteBuffer_.BufferWidth),
                           std::max(entry.Height, pasteBuffer_.BufferHeight));
    for (std::vector<std::uint16_t>& plane : pasteBuffer_.Planes)
        std::fill(plane.begin(), plane.end(), 0);
    pasteBuffer_.X1 = pasteBuffer_.Y1 = 0;
    pasteBuffer_.X2 = entry.Width;
    pasteBuffer_.Y2 = entry.Height;
    const auto width = static_cast<std::size_t>(entry.Width);
    for (std::size_t p = 0; p < pasteBuffer_.Planes.size() && p < entry.Planes.size(); ++p)
        for (std::size_t y = 0; y < static_cast<std::size_t>(entry.Height); ++y)
            std::copy_n(entry.Planes[p].begin() + static_cast<std::ptrdiff_t>(y * width), width,
                        pasteBuffer_.Planes[p].begin() +
                            static_cast<std::ptrdiff_t>(y * static_cast<std::size_t>(pasteBuffer_.BufferWidth)));
    pasteBuffer_.Preview = entry.Preview;
    pasteEnabled_ = true;
    EditResult result = Paste();
    fromManager_ = true;
    return result;
}

// --- maps ---

EditResult EditorSession::MapSwitched()
{
    finds_.Discard();
    outlineShown_ = false;
    return Redraw(EditResult::Redraw::MapList);
}

EditResult EditorSession::PreviousMap()
{
    Maps().CurrentMap = std::max(0, Maps().CurrentMap - 1);
    return MapSwitched();
}

EditResult EditorSession::NextMap()
{
    Maps().CurrentMap = std::min(Maps().NumMaps() - 1, Maps().CurrentMap + 1);
    return MapSwitched();
}

EditResult EditorSession::GoToLevel(int map)
{
    if (map < 0 || map >= Maps().NumMaps())
        return EditResult::None();
    Maps().CurrentMap = map;
    return MapSwitched();
}

EditResult EditorSession::AddMap()
{
    MapHandler& maps = Maps();
    // A plain header (and an executable's table) has room for 100 offsets;
    // a longer plain header would be taken for a WDC one at the next open.
    if ((!maps.WDCCompatibleMaps || maps.HeaderInExecutable) && maps.NumMaps() >= kMaxPlainHeaderMaps) {
        EditResult refused;
        refused.Message = Failure{"The map files can hold at most 100 maps!", "Error adding map", MessageIcon::Error};
        return refused;
    }
    MapList map = maps.CreateMap(64, 64, "New map");
    MapType header = MapHandler::HeaderFor(map);
    if (maps.CurrentMap + 1 != maps.NumMaps()) {
        maps.InsertMap(std::move(map), maps.CurrentMap);
        maps.InsertHeader(std::move(header), maps.CurrentMap);
    } else {
        maps.InsertMap(std::move(map), maps.CurrentMap + 1);
        maps.InsertHeader(std::move(header), maps.CurrentMap + 1);
        ++maps.CurrentMap;
    }
    maps.RenumberMaps(0, 0);
    RebuildHistories();
    SetChanged(true);
    valueMode_ = kIntMode;
    selectedPlane_ = 0;
    outlineShown_ = false;
    EditResult result = Redraw(EditResult::Redraw::MapList);
    result.ValuesChanged = true;
    return result;
}

EditResult EditorSession::DeleteMap()
{
    if (!CanDeleteMap())
        return EditResult::None();
    MapHandler& maps = Maps();
    maps.DeleteMap(maps.CurrentMap);
    maps.DeleteHeader(maps.CurrentMap);
    maps.RenumberMaps(0, 0);
    if (maps.CurrentMap != 0)
        --maps.CurrentMap;
    RebuildHistories();
    SetChanged(true);
    outlineShown_ = false;
    return Redraw(EditResult::Redraw::MapList);
}

int EditorSession::MaxNameLength() const
{
    return std::max(Maps().NameLength - 1, 0);
}

std::optional<Failure> EditorSession::CheckMapWidth(std::optional<int> width)
{
    if (!width || *width < 1)
        return SizeError("The minimum map width is 1!", "Map width error");
    if (*width > kMaxMapSize)
        return SizeError("The maximum map width is 256!", "Map width error");
    return std::nullopt;
}

std::optional<Failure> EditorSession::CheckMapHeight(std::optional<int> height)
{
    if (!height || *height < 1)
        return SizeError("The minimum map height is 1!", "Map height error");
    if (*height > kMaxMapSize)
        return SizeError("The maximum map height is 256!", "Map height error");
    return std::nullopt;
}

EditResult EditorSession::ApplyMapProperties(const MapPropertiesChoice& choice)
{
    EditResult result;
    if (auto refused = CheckMapWidth(choice.Width); refused) {
        result.Message = refused;
        return result;
    }
    if (auto refused = CheckMapHeight(choice.Height); refused) {
        result.Message = refused;
        return result;
    }
    MapHandler& maps = Maps();
    const MapList& current = maps.Current();
    if (choice.Width != current.Width || choice.Height != current.Height) {
        auto resize = [&choice](MapList& map) { ResizeMap(map, choice.Width, choice.Height); };
        if (choice.AllMaps) {
            for (int i = 0; i < maps.NumMaps(); ++i)
                EditMap(i, kAllPlanes, resize);
        } else {
            EditCurrentMap(kAllPlanes, resize);
        }
    }
    maps.Current().Name =
        RenamedBuffer(maps.Current().Name, choice.Name, static_cast<std::size_t>(std::max(maps.NameLength, 1)));
    SetChanged(true);
    outlineShown_ = false;
    return Redraw(EditResult::Redraw::MapList);
}

} // namespace tsl
