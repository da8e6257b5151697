// tesselar-cli stats DIR: the map information counters of each map.

#include "app/cli/CliMaps.h"
#include "editor/MapInformation.h"

#include <iomanip>
#include <ostream>

namespace tsl::cli {
namespace {

const char* const kUsage = "stats DIR [--maps LIST] [--json] [loader options]";

struct Counter {
    const char* json;
    const char* heading;
    int (*value)(const MapStatistics&);
};

const Counter kCounters[] = {
    {"static_objects", "Statics", [](const MapStatistics& s) { return s.StaticObjects; }},
    {"tile_objects", "Tiles", [](const MapStatistics& s) { return s.TileObjects; }},
    {"doors", "Doors", [](const MapStatistics& s) { return s.Doors; }},
    {"secrets", "Secrets", [](const MapStatistics& s) { return s.Secrets; }},
    {"guards_level1", "Level1", [](const MapStatistics& s) { return s.Guards1; }},
    {"guards_level3", "Level3", [](const MapStatistics& s) { return s.Guards3; }},
    {"guards_level4", "Level4", [](const MapStatistics& s) { return s.Guards4; }},
    {"bosses", "Bosses", [](const MapStatistics& s) { return s.Bosses; }},
    {"other_actors", "Other", [](const MapStatistics& s) { return s.OtherActors; }},
    {"total_actors", "Actors", [](const MapStatistics& s) { return s.TotalActors(); }},
};

void PrintJson(const MapsWithSymbols& opened, std::ostream& out)
{
    out << "[";
    const char* separator = "\n";
    for (int index : opened.selected) {
        const MapList& map = opened.maps.Maps[static_cast<std::size_t>(index)];
        const MapStatistics stats = CountMapObjects(map, opened.symbols);
        out << separator << "  {\"map\": " << index + 1 << ", \"name\": " << JsonString(MapNameText(map.Name));
        for (const Counter& counter : kCounters)
            out << ", \"" << counter.json << "\": " << counter.value(stats);
        out << "}";
        separator = ",\n";
    }
    out << "\n]\n";
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
        const MapStatistics stats = CountMapObjects(map, opened.symbols);
        out << std::setw(4) << index + 1 << "  " << std::left << std::setw(nameWidth) << EscapeControls(MapNameText(map.Name))
            << std::right;
        for (const Counter& counter : kCounters)
            out << std::setw(8) << counter.value(stats);
        out << "\n";
    }
}

int RunStats(Arguments& args, std::ostream& out, std::ostream& err)
{
    const bool json = args.Flag("--json");
    MapsWithSymbols opened;
    if (int status = OpenMapsWithSymbols(args, kUsage, opened, err))
        return status;
    if (json)
        PrintJson(opened, out);
    else
        PrintTable(opened, out);
    return ReadingStatus(opened.maps, err);
}

const Registrar kStats({"stats", kUsage,
                        "Counts what each map holds, as the editor's map information does: static objects,\n"
                        "      tile objects, doors, secrets, guards of levels 1, 3 and 4, bosses, other actors\n"
                        "      and all actors. LIST is map numbers from 1 and ranges (1,3-5); every map\n"
                        "      without it. --json prints one array with an object per map.",
                        RunStats});

} // namespace
} // namespace tsl::cli
