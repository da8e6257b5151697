// The session's whole-map operations, find and replace, plane count and map
// information: the pure functions of MapOperations, FindReplace,
// PlaneManager and MapInformation run through the edit frame.

#include "editor/EditorSession.h"
#include "editor/MapRenderer.h"

namespace tsl {

namespace {

EditResult Redraw(EditResult::Redraw what)
{
    EditResult result;
    result.What = what;
    return result;
}

EditResult Refusal(Failure failure)
{
    EditResult result;
    result.Message = std::move(failure);
    return result;
}

} // namespace

EditResult EditorSession::Autofloor()
{
    if (!CanWholeMapOperations())
        return EditResult::None();
    const FloorRange range = FindFloorRange(project_->Symbols.PlaneSymbols(0));
    return EditCurrentMap(kAllPlanes, [&](MapList& map) { tsl::Autofloor(map, range); });
}

EditResult EditorSession::ClearMap(bool random)
{
    if (!CanWholeMapOperations())
        return EditResult::None();
    const auto wall = ClearMapWallValue(project_->Symbols, selectedPlane_, LeftValue(selectedPlane_));
    if (!wall)
        return Refusal(NoWallTilesFailure());
    return EditCurrentMap(kAllPlanes, [&](MapList& map) {
        if (random)
            ClearMapRandom(map, *wall, ProgramRandom());
        else
            ClearMapSolid(map, *wall);
    });
}

EditResult EditorSession::TransformCurrentMap(MapTransform transform)
{
    if (!CanWholeMapOperations())
        return EditResult::None();
    if (currentTool_ == kToolPastePlacement) {
        TransformPasteBuffer(pasteBuffer_, transform);
        MakePastePreview();
        EditResult result;
        result.Overlay = true;
        return result;
    }
    if (!CanTransformMap(Maps().Current()))
        return EditResult::None();
    EditResult result = EditCurrentMap(kAllPlanes, [&](MapList& map) { TransformMap(map, transform); });
    // A turn changes the map's size: the view takes the new one.
    result.What = EditResult::Redraw::MapList;
    return result;
}

bool EditorSession::CanFlipPlanes(int first, int second) const
{
    return CanWholeMapOperations() && tsl::CanFlipPlanes(Maps().Current(), first, second);
}

EditResult EditorSession::FlipPlanes(int first, int second)
{
    if (first == second)
        return Refusal(FlipPlaneWithItselfFailure());
    if (!CanFlipPlanes(first, second))
        return EditResult::None();
    return EditCurrentMap(kAllPlanes, [&](MapList& map) { tsl::FlipPlanes(map, first, second); });
}

EditResult EditorSession::RunFindAction(FindAction action)
{
    if (!CanFindReplace())
        return EditResult::None();
    if (action == FindAction::FindNext || action == FindAction::FindAll) {
        finds_.Search(action, Maps().Current(), project_->Symbols);
        EditResult result;
        result.Overlay = true;
        result.Message = finds_.NotFoundMessage();
        return result;
    }
    const auto changes = finds_.PlanReplace(action, Maps(), project_->Symbols);
    if (!changes)
        return EditResult::None();
    for (const PlaneReplacement& change : *changes)
        EditMap(change.MapIndex, kAllPlanes, [&](MapList& map) {
            map.Planes[static_cast<std::size_t>(change.Plane)] = change.Words;
        });
    EditResult result = Redraw(EditResult::Redraw::Map);
    result.Message = finds_.ReplacedMessage();
    return result;
}

EditResult EditorSession::FindAgain()
{
    if (!CanFindReplace())
        return EditResult::None();
    if (auto refusal = finds_.Validate(FindAction::FindNext))
        return Refusal(*refusal);
    EditResult result;
    result.Overlay = finds_.FindAgain(Maps().Current(), project_->Symbols);
    return result;
}

EditResult EditorSession::ChangePlaneCount(int count, const SaveMaps& save)
{
    if (count == Maps().NumPlanes)
        return EditResult::None();
    if (auto failure = tsl::ChangePlaneCount(*project_, count, save))
        return Refusal(*failure);
    DestroyClipboardManager();
    ResetForSymbols();
    return Redraw(EditResult::Redraw::MapList);
}

MapStatistics EditorSession::CurrentMapStatistics() const
{
    if (Maps().NumMaps() == 0)
        return {};
    return CountMapObjects(Maps().Current(), project_->Symbols);
}

std::vector<MapFinding> EditorSession::CheckCurrentMap() const
{
    if (Maps().NumMaps() == 0)
        return {};
    std::vector<bool> shown;
    for (const PlaneDisplay& display : project_->Display())
        shown.push_back(display.Show);
    return CheckMap(Maps().Current(), project_->Symbols, ReadMapLimits(*project_->Settings), shown);
}

} // namespace tsl
