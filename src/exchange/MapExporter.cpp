#include "exchange/MapExporter.h"

#include <algorithm>
#include <cctype>

namespace tsl {

namespace {

bool LessNoCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

// Moves the selected rows of `from` to the end of `to` (through `put`),
// last selected first; returns the row to select in `from` then.
template <typename Put>
int MoveSelected(std::vector<std::string>& from, std::vector<int> rows, Put put)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [&](int row) { return row < 0 || row >= static_cast<int>(from.size()); });
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        std::string entry = std::move(from[static_cast<std::size_t>(*it)]);
        from.erase(from.begin() + *it);
        put(std::move(entry));
    }
    if (from.empty())
        return -1;
    const int first = rows.empty() ? 0 : rows.front();
    return std::min(first, static_cast<int>(from.size()) - 1);
}

} // namespace

std::string ExporterEntry(const MapList& map, int nameLength)
{
    std::string name = MapNameText(map.Name);
    const auto most = static_cast<std::size_t>(std::max(nameLength - 1, 0));
    if (name.size() > most)
        name.resize(most);
    return name;
}

MapExporterLists::MapExporterLists(const MapHandler& set)
{
    for (const MapList& map : set.Maps)
        InsertSorted(ExporterEntry(map, set.NameLength));
}

void MapExporterLists::InsertSorted(std::string entry)
{
    const auto at = std::upper_bound(available_.begin(), available_.end(), entry, LessNoCase);
    available_.insert(at, std::move(entry));
}

int MapExporterLists::MoveToExport(std::vector<int> selectedRows)
{
    return MoveSelected(available_, std::move(selectedRows),
                        [this](std::string entry) { toExport_.push_back(std::move(entry)); });
}

int MapExporterLists::MoveToAvailable(std::vector<int> selectedRows)
{
    return MoveSelected(toExport_, std::move(selectedRows),
                        [this](std::string entry) { InsertSorted(std::move(entry)); });
}

void MapExporterLists::MoveAllToExport()
{
    for (std::string& entry : available_)
        toExport_.push_back(std::move(entry));
    available_.clear();
}

void MapExporterLists::MoveAllToAvailable()
{
    for (std::string& entry : toExport_)
        InsertSorted(std::move(entry));
    toExport_.clear();
}

std::vector<int> ResolveExportEntries(const std::vector<std::string>& entries, const MapHandler& set)
{
    std::vector<int> maps;
    for (const std::string& entry : entries)
        for (int i = 0; i < set.NumMaps(); ++i)
            if (ExporterEntry(set.Maps[static_cast<std::size_t>(i)], set.NameLength) == entry) {
                maps.push_back(i);
                break;
            }
    if (entries.empty() && set.CurrentMap >= 0 && set.CurrentMap < set.NumMaps())
        maps.push_back(set.CurrentMap);
    return maps;
}

} // namespace tsl
