#pragma once
// The two lists of the map exporter and their moves, and how the chosen
// entries become maps of the set. The dialog shows these lists as they are.

#include "core/MapHandler.h"

#include <string>
#include <vector>

namespace tsl {

// A map's name as the exporter lists it: cut to NameLength - 1 characters.
std::string ExporterEntry(const MapList& map, int nameLength);

class MapExporterLists {
public:
    // Every map's entry in "Available maps", "Maps to export" empty.
    explicit MapExporterLists(const MapHandler& set);

    // Kept in alphabetical order (letter case aside; equal names in the
    // order they arrived).
    const std::vector<std::string>& Available() const { return available_; }
    // Kept in the order the entries arrived.
    const std::vector<std::string>& ToExport() const { return toExport_; }

    // ">" and "<": the selected rows of the source list go over, taken from
    // the last selected up to the first. Returns the row to select in the
    // source list afterwards, or -1 when it is empty.
    int MoveToExport(std::vector<int> selectedRows);
    int MoveToAvailable(std::vector<int> selectedRows);
    // ">>" and "<<": every entry, first to last.
    void MoveAllToExport();
    void MoveAllToAvailable();

    bool CanMoveToExport() const { return !available_.empty(); }
    bool CanMoveToAvailable() const { return !toExport_.empty(); }

private:
    void InsertSorted(std::string entry);

    std::vector<std::string> available_;
    std::vector<std::string> toExport_;
};

// The maps to write for the exporter's entries, in entry order: each entry
// is the first map whose listed name equals it. No entry: the current map.
std::vector<int> ResolveExportEntries(const std::vector<std::string>& entries, const MapHandler& set);

} // namespace tsl
