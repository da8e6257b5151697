#include "editor/MapHistories.h"

#include "editor/Project.h"

#include <algorithm>

namespace tsl {

MapHistories::MapHistories(Project& project) : project_(project)
{
    Rebuild();
}

void MapHistories::Rebuild()
{
    if (Unsaved())
        project_.Changed = true;
    histories_.clear();
    histories_.resize(static_cast<std::size_t>(project_.Maps.NumMaps()));
    openStep_.reset();
}

bool MapHistories::Unsaved() const
{
    return std::any_of(histories_.begin(), histories_.end(), [](const UR_Manager& h) { return !h.AtSaved(); });
}

void MapHistories::MarkSaved()
{
    for (UR_Manager& history : histories_)
        history.MarkSaved();
}

EditResult MapHistories::Edit(int map, int scope, const std::function<void(MapList&)>& change)
{
    MapHandler& maps = project_.Maps;
    if (map < 0 || map >= maps.NumMaps())
        return EditResult::None();
    MapList& words = maps.Maps[static_cast<std::size_t>(map)];
    UR_Manager& history = At(map);
    history.PushUndoStep(words, scope);
    change(words);
    history.PushRedoStep(words);
    return EditResult::Redrawing(map == maps.CurrentMap ? EditResult::Redraw::Map : EditResult::Redraw::Nothing);
}

void MapHistories::OpenStep(int map, int scope)
{
    if (map < 0 || map >= project_.Maps.NumMaps())
        return;
    At(map).PushUndoStep(project_.Maps.Maps[static_cast<std::size_t>(map)], scope);
    openStep_ = map;
}

void MapHistories::CloseStep()
{
    if (!openStep_)
        return;
    const int map = *openStep_;
    openStep_.reset();
    At(map).PushRedoStep(project_.Maps.Maps[static_cast<std::size_t>(map)]);
}

void MapHistories::DropStep()
{
    if (!openStep_)
        return;
    At(*openStep_).DropPendingStep();
    openStep_.reset();
}

bool MapHistories::CanStep(HistoryStep direction) const
{
    const UR_Manager& history = History(project_.Maps.CurrentMap);
    return !history.Pending() && history.CanStep(direction);
}

bool MapHistories::Step(HistoryStep direction)
{
    MapHandler& maps = project_.Maps;
    return At(maps.CurrentMap).Step(direction, maps.Current());
}

} // namespace tsl
