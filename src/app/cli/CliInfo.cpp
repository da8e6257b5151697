// tesselar-cli info DIR: the facts of a game's map set and one line per map.

#include "app/cli/Cli.h"
#include "app/cli/JsonOutput.h"

#include <iomanip>
#include <ostream>

namespace tsl::cli {
namespace {

struct InfoArguments {
    std::string dir;
    bool json = false;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Json(json, "one object: the facts, and \"maps\" with an object per map");
    }
};

std::string HeaderFile(const MapHandler& maps)
{
    return (maps.HeaderInExecutable ? maps.ExecutablePath() : maps.HeaderFilePath()).filename().string();
}

void PrintJsonInfo(const MapHandler& maps, std::ostream& out)
{
    Json list = Json::array();
    for (int i = 0; i < maps.NumMaps(); ++i) {
        const MapList& map = maps.Maps[static_cast<std::size_t>(i)];
        list.push_back({{"map", i + 1}, {"name", MapNameUtf8(map.Name)}, {"width", map.Width}, {"height", map.Height}});
    }
    PrintJson({{"extension", maps.Extension},
               {"header", HeaderFile(maps)},
               {"map_table_in_executable", maps.HeaderInExecutable},
               {"wdc_compatible", maps.WDCCompatibleMaps},
               {"data_file", maps.DataFilePath().filename().string()},
               {"carmack", maps.FileVersion != DataFileVersion::MapTemp},
               {"rlew_tag", maps.RLEWTag},
               {"planes", maps.NumPlanes},
               {"name_length", maps.NameLength},
               {"maps", list}},
              out);
}

void PrintTextInfo(const MapHandler& maps, std::ostream& out)
{
    const bool mapTemp = maps.FileVersion == DataFileVersion::MapTemp;
    out << "Extension:   " << maps.Extension << "\n";
    out << "Header:      " << HeaderFile(maps) << (maps.HeaderInExecutable ? " (map table in the executable)" : "")
        << (maps.WDCCompatibleMaps ? " (WDC compatible)" : "") << "\n";
    out << "Data file:   " << maps.DataFilePath().filename().string()
        << (mapTemp ? " (RLEW only)" : " (Carmack over RLEW)") << "\n";
    out << "RLEW tag:    0x" << std::hex << std::uppercase << std::setw(4) << std::setfill('0') << maps.RLEWTag
        << std::dec << std::setfill(' ') << "\n";
    out << "Planes:      " << maps.NumPlanes << "\n";
    out << "Name length: " << maps.NameLength << "\n";
    out << "Maps:        " << maps.NumMaps() << "\n";
    for (int i = 0; i < maps.NumMaps(); ++i) {
        const MapList& map = maps.Maps[static_cast<std::size_t>(i)];
        out << std::setw(4) << i + 1 << "  " << PadRight(PrintableName(map.Name), static_cast<std::size_t>(maps.NameLength))
            << "  " << map.Width << " x " << map.Height << "\n";
    }
}

int RunInfo(const InfoArguments& a, std::ostream& out, std::ostream& err)
{
    MapHandler maps;
    if (!OpenGameSet(a.dir, a.loader, maps, err))
        return kExitFailed;
    if (a.json)
        PrintJsonInfo(maps, out);
    else
        PrintTextInfo(maps, out);
    return ReadingStatus(maps, err);
}

} // namespace

Command InfoCommand()
{
    return MakeCommand(
        "info",
        "Shows the set's facts (extension, files, RLEW tag, planes, name length, number of maps)\n"
        "and one line per map: number from 1, name, width x height.",
        RunInfo);
}

} // namespace tsl::cli
