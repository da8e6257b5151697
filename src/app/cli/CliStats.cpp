// tesselar-cli stats DIR: the map information counters of each map.

#include "app/cli/CliMaps.h"
#include "app/cli/JsonOutput.h"
#include "editor/play/MapInformation.h"

#include <array>
#include <iomanip>
#include <ostream>

namespace tsl::cli {
namespace {

// Headings in the order of MapStatistics::Counters.
struct Counter {
    const char* json;
    const char* heading;
};

const std::array<Counter, 10> kCounters = {{
    {"static_objects", "Statics"},
    {"tile_objects", "Tiles"},
    {"doors", "Doors"},
    {"secrets", "Secrets"},
    {"guards_level1", "Level1"},
    {"guards_level3", "Level3"},
    {"guards_level4", "Level4"},
    {"bosses", "Bosses"},
    {"other_actors", "Other"},
    {"total_actors", "Actors"},
}};

void PrintJsonStats(const MapsWithSymbols& opened, std::ostream& out)
{
    Json list = Json::array();
    for (int index : opened.selected) {
        const MapList& map = opened.maps.Maps[static_cast<std::size_t>(index)];
        const auto counters = CountMapObjects(map, opened.symbols).Counters();
        Json& object = list.emplace_back(Json{{"map", index + 1}, {"name", MapNameUtf8(map.Name)}});
        for (std::size_t i = 0; i < counters.size(); ++i)
            object[kCounters[i].json] = counters[i];
    }
    PrintJson(list, out);
}

void PrintTable(const MapsWithSymbols& opened, std::ostream& out)
{
    const int nameWidth = opened.maps.NameLength;
    out << " Map  " << std::left << std::setw(nameWidth) << "Name" << std::right;
    for (const Counter& counter : kCounters)
        out << std::setw(8) << counter.heading;
    out << "\n";
    for (int index : opened.selected) {
        const MapList& map = opened.maps.Maps[static_cast<std::size_t>(index)];
        const auto counters = CountMapObjects(map, opened.symbols).Counters();
        out << std::setw(4) << index + 1 << "  " << PadRight(PrintableName(map.Name), static_cast<std::size_t>(nameWidth));
        for (int value : counters)
            out << std::setw(8) << value;
        out << "\n";
    }
}

int RunStats(const MapsArguments& a, std::ostream& out, std::ostream& err)
{
    MapsWithSymbols opened;
    if (int status = OpenMapsWithSymbols(a.dir, a.loader, a.maps, opened, err))
        return status;
    if (a.json)
        PrintJsonStats(opened, out);
    else
        PrintTable(opened, out);
    return ReadingStatus(opened.maps, err);
}

} // namespace

Command StatsCommand()
{
    return MakeCommand(
        "stats",
        "Counts what each map holds, as the editor's map information does: static objects,\n"
        "tile objects, doors, secrets, guards of levels 1, 3 and 4, bosses, other actors\n"
        "and all actors.",
        RunStats);
}

} // namespace tsl::cli
