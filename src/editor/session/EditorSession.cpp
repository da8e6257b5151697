#include "editor/session/EditorSession.h"

#include <algorithm>

namespace tsl {

EditorSession::EditorSession(std::unique_ptr<Project> project)
    : project_(std::move(project)),
      document_(*project_),
      clipboard_(project_->Symbols),
      tools_(*project_, document_, clipboard_)
{
    ResetForSymbols();
    if (project_->Settings) {
        const ButtonValues values = ReadButtonValues(*project_->Settings, Maps().NumPlanes);
        tools_.SetButtonValues(values.Left, values.Right);
    }
    following_ = document_.Listen([this](const DocumentChange& change) { Follow(change); });
}

EditorSession::~EditorSession()
{
    following_.Reset();
}

void EditorSession::Follow(const DocumentChange& change)
{
    if (change.What == DocumentChange::Kind::CurrentMap || change.What == DocumentChange::Kind::MapList) {
        finds_.Discard();
        tools_.MapsChanged();
    }
}

bool EditorSession::StoreButtonValues()
{
    if (!project_->Settings)
        return false;
    return SaveButtonValues(*project_->Settings, {tools_.LeftValues(), tools_.RightValues()});
}

void EditorSession::ResetForSymbols()
{
    const int planes = std::max(Maps().NumPlanes, 0);
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
    EditResult result = EditResult::Redrawing(EditResult::Redraw::Map);
    result.Message = project.Symbols.LoadMapSymbols(project.StructureFolder, *project.Settings, Maps().NumPlanes);
    ResetForSymbols();
    document_.SymbolsReloaded();
    return result;
}

void EditorSession::RebuildHistories()
{
    document_.RebuildHistories();
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
    if (!document_.Step(direction))
        return EditResult::None();
    finds_.Discard();
    EditResult result;
    result.Overlay = true;
    return result;
}

// --- cut, copy, paste ---

EditResult EditorSession::Copy()
{
    document_.EndGesture(); // a selection still dragged is the one to copy
    const auto selection = tools_.CopyableSelection();
    if (!selection)
        return EditResult::None();
    clipboard_.CopyBlock(Maps().Current(), Maps().NumPlanes, *selection);
    return EditResult::None();
}

EditResult EditorSession::Cut()
{
    document_.EndGesture();
    const auto selection = tools_.CopyableSelection();
    if (!selection)
        return EditResult::None();
    clipboard_.CopyBlock(Maps().Current(), Maps().NumPlanes, *selection);
    const TileRect block = clipboard_.BlockTiles();
    auto change = document_.Begin();
    MapList& map = change.Current(block);
    for (std::vector<std::uint16_t>& plane : map.Planes)
        for (int y = block.Top(); y <= block.Bottom(); ++y)
            std::fill_n(plane.begin() + static_cast<std::ptrdiff_t>(y) * map.Width + block.Left(),
                        block.Right() - block.Left() + 1, std::uint16_t{0});
    change.Commit();
    tools_.SelectionCut();
    EditResult result;
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

EditResult EditorSession::PreviousMap()
{
    return GoToLevel(std::max(0, Maps().CurrentMap - 1));
}

EditResult EditorSession::NextMap()
{
    return GoToLevel(std::min(Maps().NumMaps() - 1, Maps().CurrentMap + 1));
}

EditResult EditorSession::GoToLevel(int map)
{
    if (map < 0 || map >= Maps().NumMaps())
        return EditResult::None();
    document_.SetCurrentMap(map);
    EditResult result;
    result.Overlay = true;
    return result;
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
    auto change = document_.Begin();
    MapHandler& maps = change.Set();
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
    change.Commit();
    tools_.SelectFirstPlane();
    EditResult result;
    result.ValuesChanged = true;
    result.Overlay = true;
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
    auto change = document_.Begin();
    MapHandler& maps = change.Set();
    maps.DeleteMap(maps.CurrentMap);
    maps.DeleteHeader(maps.CurrentMap);
    maps.RenumberMaps(0, 0);
    if (maps.CurrentMap != 0)
        --maps.CurrentMap;
    change.Commit();
    EditResult result;
    result.Overlay = true;
    return result;
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
    auto change = document_.Begin();
    const MapHandler& maps = Maps();
    const int current = maps.CurrentMap;
    if (choice.Width != maps.Current().Width || choice.Height != maps.Current().Height) {
        for (int i = 0; i < maps.NumMaps(); ++i)
            if (choice.AllMaps || i == current)
                ResizeMap(change.Map(i), choice.Width, choice.Height);
    }
    const auto renamed =
        RenamedBuffer(maps.Current().Name, choice.Name, static_cast<std::size_t>(std::max(maps.NameLength, 1)));
    if (renamed != maps.Current().Name)
        change.Rename(current, renamed);
    change.Commit();
    tools_.HideSelection();
    result.Overlay = true;
    return result;
}

} // namespace tsl
