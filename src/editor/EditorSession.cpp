#include "editor/EditorSession.h"

#include <algorithm>

namespace tsl {

EditorSession::EditorSession(std::unique_ptr<Project> project)
    : project_(std::move(project)),
      histories_(*project_),
      clipboard_(project_->Symbols),
      tools_(*project_, histories_, clipboard_)
{
    ResetForSymbols();
    if (project_->Settings) {
        const ButtonValues values = ReadButtonValues(*project_->Settings, Maps().NumPlanes);
        tools_.SetButtonValues(values.Left, values.Right);
    }
}

bool EditorSession::StoreButtonValues()
{
    if (!project_->Settings)
        return false;
    return SaveButtonValues(*project_->Settings, {tools_.LeftValues(), tools_.RightValues()});
}

void EditorSession::SetChanged(bool changed)
{
    project_->Changed = changed;
    if (!changed)
        histories_.MarkSaved();
}

void EditorSession::ResetForSymbols()
{
    const int planes = std::max(Maps().NumPlanes, 0);
    tools_.EndGesture();
    tools_.Reset();
    if (Maps().NumMaps() > 0)
        clipboard_.Reset(planes, Maps().Current().Width, Maps().Current().Height);
    else
        clipboard_.Reset(planes, 0, 0);
    RebuildHistories();
}

EditResult EditorSession::ReloadSymbols()
{
    Project& project = *project_;
    EditResult result = EditResult::Redrawing(EditResult::Redraw::MapList);
    result.Message = project.Symbols.LoadMapSymbols(project.StructureFolder, *project.Settings, Maps().NumPlanes);
    ResetForSymbols();
    return result;
}

void EditorSession::RebuildHistories()
{
    histories_.Rebuild();
    finds_.Discard();
}

EditResult EditorSession::Pointer(const PointerInput& input)
{
    if (input.Action != PointerAction::Move)
        finds_.Discard();
    return tools_.Pointer(input);
}

// --- undo and redo ---

EditResult EditorSession::StepHistory(HistoryStep direction)
{
    if (!histories_.Step(direction))
        return EditResult::None();
    finds_.Discard();
    return EditResult::Redrawing(EditResult::Redraw::MapList);
}

EditResult EditorSession::EditCurrentMap(int scope, const std::function<void(MapList&)>& change)
{
    return histories_.Edit(Maps().CurrentMap, scope, change);
}

EditResult EditorSession::EditMap(int map, int scope, const std::function<void(MapList&)>& change)
{
    return histories_.Edit(map, scope, change);
}

// --- cut, copy, paste ---

EditResult EditorSession::Copy()
{
    const auto selection = tools_.CopyableSelection();
    if (!selection)
        return EditResult::None();
    clipboard_.CopyBlock(Maps().Current(), Maps().NumPlanes, *selection, false);
    tools_.SelectionCopied();
    return EditResult::None();
}

EditResult EditorSession::Cut()
{
    const auto selection = tools_.CopyableSelection();
    if (!selection)
        return EditResult::None();
    EditResult result = EditCurrentMap(
        kAllPlanes, [&](MapList& map) { clipboard_.CopyBlock(map, Maps().NumPlanes, *selection, true); });
    tools_.SelectionCut();
    result.Overlay = true;
    return result;
}

EditResult EditorSession::Paste()
{
    if (!CanPaste())
        return EditResult::None();
    return tools_.StartPlacement(false);
}

EditResult EditorSession::PasteFromClipboard(int index)
{
    if (!clipboard_.TakeEntry(index, Maps().NumPlanes))
        return EditResult::None();
    return tools_.StartPlacement(true);
}

// --- maps ---

EditResult EditorSession::MapsChanged()
{
    tools_.HideSelection();
    return EditResult::Redrawing(EditResult::Redraw::MapList);
}

EditResult EditorSession::ChangeMaps(const std::function<bool(MapHandler&)>& change)
{
    const EditResult ended = tools_.EndGesture();
    if (!change(Maps()))
        return ended;
    finds_.Discard();
    tools_.MapsChanged();
    EditResult result = EditResult::Redrawing(EditResult::Redraw::MapList);
    result.Overlay = true;
    result.ValuesChanged = ended.ValuesChanged;
    result.ToolChanged = ended.ToolChanged;
    result.GestureEnded = ended.GestureEnded;
    return result;
}

EditResult EditorSession::PreviousMap()
{
    return ChangeMaps([](MapHandler& maps) {
        maps.CurrentMap = std::max(0, maps.CurrentMap - 1);
        return true;
    });
}

EditResult EditorSession::NextMap()
{
    return ChangeMaps([](MapHandler& maps) {
        maps.CurrentMap = std::min(maps.NumMaps() - 1, maps.CurrentMap + 1);
        return true;
    });
}

EditResult EditorSession::GoToLevel(int map)
{
    if (map < 0 || map >= Maps().NumMaps())
        return EditResult::None();
    return ChangeMaps([map](MapHandler& maps) {
        maps.CurrentMap = map;
        return true;
    });
}

bool EditorSession::CanAddMap() const
{
    // A longer plain header would be taken for a WDC one at the next open.
    const MapHandler& maps = Maps();
    return (maps.WDCCompatibleMaps && !maps.HeaderInExecutable) || maps.NumMaps() < kMaxPlainHeaderMaps;
}

EditResult EditorSession::AddMap()
{
    if (!CanAddMap())
        return EditResult::Refusal(
            Failure{"The map files can hold at most 100 maps!", "Error adding map", MessageIcon::Error});
    EditResult result = ChangeMaps([this](MapHandler& maps) {
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
        tools_.SelectFirstPlane();
        return true;
    });
    result.ValuesChanged = true;
    return result;
}

Question EditorSession::DeleteMapQuestion() const
{
    return {"Delete map " + std::to_string(Maps().CurrentMap + 1) + " \"" + MapNameUtf8(Maps().Current().Name) +
                "\"?\n\nThis cannot be undone.",
            "Delete map"};
}

EditResult EditorSession::DeleteMap()
{
    if (!CanDeleteMap())
        return EditResult::None();
    return ChangeMaps([this](MapHandler& maps) {
        maps.DeleteMap(maps.CurrentMap);
        maps.DeleteHeader(maps.CurrentMap);
        maps.RenumberMaps(0, 0);
        if (maps.CurrentMap != 0)
            --maps.CurrentMap;
        RebuildHistories();
        SetChanged(true);
        return true;
    });
}

int EditorSession::MaxNameLength() const
{
    return std::max(Maps().NameLength - 1, 0);
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
    return MapsChanged();
}

} // namespace tsl
