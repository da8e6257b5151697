#pragma once
// The two lists of the map exporter and their moves, and how the chosen
// entries become maps of the set. The dialog shows these lists as they are.
// An entry stands for one map, not for its name: two maps named alike are
// two entries, and each exports its own map.

#include "core/MapHandler.h"

#include <string>
#include <vector>

namespace tsl {

// A map's name as the exporter lists it (Windows-1252 bytes): cut to
// NameLength - 1 characters.
std::string ExporterEntryText(const MapList& map, int nameLength);

// One entry of the lists: the map it was made from (its position in the set)
// and the name it shows.
struct ExporterEntry {
    int Map = 0;
    std::string Text;

    bool operator==(const ExporterEntry&) const = default;
};

class MapExporterLists {
public:
    // Every map's entry in "Available maps", "Maps to export" empty.
    explicit MapExporterLists(const MapHandler& set);

    // Kept in alphabetical order (letter case aside; equal names in the
    // order they arrived).
    const std::vector<ExporterEntry>& Available() const { return available_; }
    // Kept in the order the entries arrived.
    const std::vector<ExporterEntry>& ToExport() const { return toExport_; }
    // The maps of "Maps to export", in its order.
    std::vector<int> ChosenMaps() const;

    // ">" and "<": the selected rows of the source list go over, taken from
    // the last selected up to the first. Returns the row to select in the
    // source list afterwards, or -1 when it is empty.
    int MoveToExport(std::vector<int> selectedRows);
    int MoveToAvailable(std::vector<int> selectedRows);
    // ">>": every available entry, in the order of the set's maps.
    void MoveAllToExport();
    // "<<": every entry back, each sorting into place.
    void MoveAllToAvailable();

    bool CanMoveToExport() const { return !available_.empty(); }
    bool CanMoveToAvailable() const { return !toExport_.empty(); }

private:
    void InsertSorted(ExporterEntry entry);

    std::vector<ExporterEntry> available_;
    std::vector<ExporterEntry> toExport_;
};

// The maps to write for the exporter's choice: the chosen maps in their
// order (any that is not a map of the set left out), or the current map
// when none was chosen.
std::vector<int> MapsToExport(const std::vector<int>& chosen, const MapHandler& set);

} // namespace tsl
