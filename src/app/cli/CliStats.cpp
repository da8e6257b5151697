// tesselar-cli stats DIR: the map information counters of each map.

#include "app/cli/CliMaps.h"
#include "editor/MapInformation.h"

#include <array>
#include <iomanip>
#include <ostream>

namespace tsl::cli {
namespace {

const char* const kUsage = "stats DIR [--maps LIST] [--json] [loader options]";

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

void PrintJson(const MapsWithSymbols& opened, std::ostream& out)
{
    out << "[";
    const char* separator = "\n";
    for (int index : opened.selected) {
        const MapList& map = opened.maps.Maps[static_cast<std::size_t>(index)];
        const auto counters = CountMapObjects(map, opened.symbols).Counters();
        out << separator << "  {\"map\": " << index + 1 << ", \"name\": " << JsonName(map.Name);
        for (std::size_t i = 0; i < counters.size(); ++i)
            out << ", \"" << kCounters[i].json << "\": " << counters[i];
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
        const auto counters = CountMapObjects(map, opened.symbols).Counters();
        out << std::setw(4) << index + 1 << "  " << PadRight(PrintableName(map.Name), static_cast<std::size_t>(nameWidth));
        for (int value : counters)
            out << std::setw(8) << value;
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
