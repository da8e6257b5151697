#include "exchange/MapExporter.h"

#include <algorithm>
#include <cctype>

namespace tsl {

namespace {

bool LessNoCase(const ExporterEntry& a, const ExporterEntry& b)
{
    return std::lexicographical_compare(a.Text.begin(), a.Text.end(), b.Text.begin(), b.Text.end(),
                                        [](char x, char y) {
                                            return std::tolower(static_cast<unsigned char>(x)) <
                                                   std::tolower(static_cast<unsigned char>(y));
                                        });
}

// Moves the selected rows of `from` to the end of `to` (through `put`),
// last selected first; returns the row to select in `from` then.
template <typename Put>
int MoveSelected(std::vector<ExporterEntry>& from, std::vector<int> rows, Put put)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [&](int row) { return row < 0 || row >= static_cast<int>(from.size()); });
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        ExporterEntry entry = std::move(from[static_cast<std::size_t>(*it)]);
        from.erase(from.begin() + *it);
        put(std::move(entry));
    }
    if (from.empty())
        return -1;
    const int first = rows.empty() ? 0 : rows.front();
    return std::min(first, static_cast<int>(from.size()) - 1);
}

} // namespace

std::string ExporterEntryText(const MapList& map, int nameLength)
{
    std::string name = MapNameText(map.Name);
    const auto most = static_cast<std::size_t>(std::max(nameLength - 1, 0));
    if (name.size() > most)
        name.resize(most);
    return name;
}

MapExporterLists::MapExporterLists(const MapHandler& set)
{
    for (int i = 0; i < set.NumMaps(); ++i)
        InsertSorted({i, ExporterEntryText(set.Maps[static_cast<std::size_t>(i)], set.NameLength)});
}

std::vector<int> MapExporterLists::ChosenMaps() const
{
    std::vector<int> maps;
    for (const ExporterEntry& entry : toExport_)
        maps.push_back(entry.Map);
    return maps;
}

void MapExporterLists::InsertSorted(ExporterEntry entry)
{
    const auto at = std::upper_bound(available_.begin(), available_.end(), entry, LessNoCase);
    available_.insert(at, std::move(entry));
}

int MapExporterLists::MoveToExport(std::vector<int> selectedRows)
{
    return MoveSelected(available_, std::move(selectedRows),
                        [this](ExporterEntry entry) { toExport_.push_back(std::move(entry)); });
}

int MapExporterLists::MoveToAvailable(std::vector<int> selectedRows)
{
    return MoveSelected(toExport_, std::move(selectedRows),
                        [this](ExporterEntry entry) { InsertSorted(std::move(entry)); });
}

void MapExporterLists::MoveAllToExport()
{
    // "All maps" means the set as it stands, not the alphabet of its names.
    std::stable_sort(available_.begin(), available_.end(),
                     [](const ExporterEntry& a, const ExporterEntry& b) { return a.Map < b.Map; });
    for (ExporterEntry& entry : available_)
        toExport_.push_back(std::move(entry));
    available_.clear();
}

void MapExporterLists::MoveAllToAvailable()
{
    for (ExporterEntry& entry : toExport_)
        InsertSorted(std::move(entry));
    toExport_.clear();
}

std::vector<int> MapsToExport(const std::vector<int>& chosen, const MapHandler& set)
{
    std::vector<int> maps;
    for (int map : chosen)
        if (map >= 0 && map < set.NumMaps())
            maps.push_back(map);
    if (chosen.empty() && set.CurrentMap >= 0 && set.CurrentMap < set.NumMaps())
        maps.push_back(set.CurrentMap);
    return maps;
}

} // namespace tsl
