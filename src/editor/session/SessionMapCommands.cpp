// The session's whole-map operations, find and replace, plane count and map
// information: the pure functions of MapOperations, FindReplace,
// PlaneManager and MapInformation, each run as one transaction of the
// document.

#include "editor/session/EditorSession.h"
#include "editor/render/MapRenderer.h"

#include <algorithm>

namespace tsl {

EditResult EditorSession::Autofloor()
{
    if (!CanWholeMapOperations())
        return EditResult::None();
    const FloorRange range = FindFloorRange(project_->Symbols.PlaneSymbols(0));
    auto change = document_.Begin();
    tsl::Autofloor(change.Current(), range);
    change.Commit();
    return EditResult::None();
}

EditResult EditorSession::ClearMap(bool random)
{
    if (!CanWholeMapOperations())
        return EditResult::None();
    const auto wall = ClearMapWallValue(project_->Symbols, SelectedPlane(), LeftValue(SelectedPlane()));
    if (!wall)
        return EditResult::Refusal(NoWallTilesFailure());
    auto change = document_.Begin();
    if (random)
        ClearMapRandom(change.Current(), *wall, ProgramRandom());
    else
        ClearMapSolid(change.Current(), *wall);
    change.Commit();
    return EditResult::None();
}

EditResult EditorSession::PutLevel(const GeneratedLevel& level, const std::string& name)
{
    if (!CanWholeMapOperations())
        return EditResult::None();
    auto change = document_.Begin();
    PutGeneratedLevel(change.Current(), level, name);
    change.Commit();
    return EditResult::None();
}

EditResult EditorSession::TransformCurrentMap(MapTransform transform)
{
    if (!CanWholeMapOperations())
        return EditResult::None();
    const FacingGroups facing = project_->Settings ? ReadFacingGroups(*project_->Settings) : FacingGroups{};
    if (PastePlacing()) {
        clipboard_.Transform(transform, facing, turnsFacing_);
        EditResult result;
        result.Overlay = true;
        return result;
    }
    if (!CanTransformMap(Maps().Current()))
        return EditResult::None();
    auto change = document_.Begin();
    TransformMap(change.Current(), transform, facing, turnsFacing_);
    change.Commit();
    return EditResult::None();
}

bool EditorSession::CanFlipPlanes(int first, int second) const
{
    return CanWholeMapOperations() && tsl::CanFlipPlanes(Maps().Current(), first, second);
}

EditResult EditorSession::FlipPlanes(int first, int second)
{
    if (first == second)
        return EditResult::Refusal(FlipPlaneWithItselfFailure());
    if (!CanFlipPlanes(first, second))
        return EditResult::None();
    auto change = document_.Begin();
    tsl::FlipPlanes(change.Current(), first, second);
    change.Commit();
    return EditResult::None();
}

EditResult EditorSession::RunFind(const FindRequest& request)
{
    if (!CanFindReplace())
        return EditResult::None();
    finds_.TakeFields(request.Fields);
    EditResult result;
    if (request.Action == FindAction::None) {
        // Left without an action: no "not found" for a search that never ran.
        finds_.Cancel();
        result.Overlay = true;
        return result;
    }
    if (auto refusal = finds_.Validate(request.Action))
        return EditResult::Refusal(*refusal);
    if (request.Action == FindAction::FindNext || request.Action == FindAction::FindAll) {
        finds_.Search(request.Action, Maps().Current(), project_->Symbols);
        result.Overlay = true;
        result.Message = finds_.NotFoundMessage();
        result.Status = finds_.MarkedNote();
        return result;
    }
    const auto changes = finds_.PlanReplace(request.Action, Maps(), project_->Symbols);
    if (!changes)
        return EditResult::None();
    // Each changed plane alone: a map's step keeps no other plane's words.
    auto change = document_.Begin();
    for (const PlaneReplacement& replaced : *changes) {
        PlaneWriter plane = change.Plane(replaced.MapIndex, replaced.Plane);
        std::copy_n(replaced.Words.begin(), std::min(replaced.Words.size(), plane.Words().size()),
                    plane.Words().begin());
    }
    change.Commit();
    result.Message = finds_.ReplacedMessage();
    return result;
}

EditResult EditorSession::FindAgain()
{
    if (!CanFindReplace())
        return EditResult::None();
    if (auto refusal = finds_.Validate(FindAction::FindNext))
        return EditResult::Refusal(*refusal);
    EditResult result;
    result.Overlay = finds_.FindAgain(Maps().Current(), project_->Symbols);
    return result;
}

EditResult EditorSession::ChangePlaneCount(int count, const SaveMaps& save)
{
    if (count == Maps().NumPlanes)
        return EditResult::None();
    // The stroke still held belongs to the maps that are saved.
    EditResult result = tools_.EndGesture();
    auto changed = tsl::ChangePlaneCount(*project_, count, save);
    if (!changed) {
        result.Message = changed.failure();
        return result;
    }
    auto change = document_.Begin();
    change.Set() = std::move(*changed);
    change.Commit();
    document_.MarkSaved(); // saved with the new planes
    DestroyClipboardManager();
    ResetForSymbols();
    document_.SymbolsReloaded();
    result.What = EditResult::Redraw::Map;
    return result;
}

MapStatistics EditorSession::CurrentMapStatistics() const
{
    if (Maps().NumMaps() == 0)
        return {};
    return CountMapObjects(Maps().Current(), project_->Symbols);
}

std::vector<MapFinding> EditorSession::CheckCurrentMap(const PageFile* pages) const
{
    if (Maps().NumMaps() == 0)
        return {};
    std::vector<bool> shown;
    for (const PlaneDisplay& display : project_->Display())
        shown.push_back(display.Show);
    const MapLimits limits = ReadMapLimits(*project_->Settings);
    if (project_->Rules.Status == RulesStatus::Loaded)
        return CheckMap(Maps().Current(), project_->Symbols, *project_->Rules.Rules, limits, shown, pages);
    // Without the game's rules the symbols say what a word is, as they stand now.
    return CheckMap(Maps().Current(), project_->Symbols, EngineRules::FromSymbols(project_->Symbols), limits, shown,
                    pages);
}

} // namespace tsl
