// tesselar-cli info DIR: the facts of a game's map set and one line per map.

#include "app/cli/Cli.h"

#include <iomanip>
#include <ostream>

namespace tsl::cli {
namespace {

int RunInfo(Arguments& args, std::ostream& out, std::ostream& err)
{
    const std::string usage = "info DIR [loader options]";
    LoaderOptions options;
    if (std::string error = ReadLoaderOptions(args, options); !error.empty()) {
        err << error << "\n";
        return kExitUsage;
    }
    if (!ExpectPositionals(args, 1, usage, err))
        return kExitUsage;
    MapHandler maps;
    if (!OpenGameSet(args.Rest()[0], options, maps, err))
        return kExitFailed;

    const bool mapTemp = maps.FileVersion == DataFileVersion::MapTemp;
    out << "Extension:   " << maps.Extension << "\n";
    out << "Header:      "
        << (maps.HeaderInExecutable ? maps.ExecutablePath() : maps.HeaderFilePath()).filename().string()
        << (maps.HeaderInExecutable ? " (map table in the executable)" : "")
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
    return ReadingStatus(maps, err);
}

const Registrar kInfo({"info", "info DIR [loader options]",
                       "Shows the set's facts (extension, files, RLEW tag, planes, name length, number of maps)\n"
                       "      and one line per map: number from 1, name, width x height.",
                       RunInfo});

} // namespace
} // namespace tsl::cli
