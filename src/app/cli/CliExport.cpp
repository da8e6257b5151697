// tesselar-cli export DIR FILE: maps of a game's set into an exchange map file.

#include "app/cli/Cli.h"
#include "exchange/ExchangeFormats.h"

#include <ostream>

namespace tsl::cli {
namespace {

struct ExportArguments {
    std::string dir;
    std::string file;
    MapNumbers maps;
    bool chaosEdit = false;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Positional("FILE", file, "the map file to write; its extension names the format");
        d.Maps(maps, "the maps to write, in this order (every map without it, map 1 for MapEdit and ChaosEdit)",
               true);
        d.Flag("--chaosedit", chaosEdit, "write a .map file for ChaosEdit instead of WDC");
    }
};

// What the 64 x 64 formats cannot hold of a map: said, so that nobody
// expects the cut part back.
void NoteCutMaps(ExchangeFormat format, const std::vector<int>& maps, const MapHandler& set, std::ostream& err)
{
    if (format != ExchangeFormat::FloEdit && format != ExchangeFormat::MapEdit && format != ExchangeFormat::ChaosEdit)
        return;
    for (int index : maps) {
        const MapList& map = set.Maps[static_cast<std::size_t>(index)];
        if (map.Width != kFixedSide || map.Height != kFixedSide)
            err << "Note: map " << index + 1 << " is " << map.Width << " x " << map.Height << "; the "
                << ExchangeFormatName(format) << " holds it as 64 x 64 (cut, or filled with 0).\n";
    }
}

int RunExport(const ExportArguments& a, std::ostream& out, std::ostream& err)
{
    const ExchangeFormat format = ExportFormatFor(a.file, a.chaosEdit);
    if (format == ExchangeFormat::Unknown) {
        Report(UnknownFormatFailure(kExportCaption), err);
        return kExitFailed;
    }
    MapHandler set;
    if (!OpenGameSet(a.dir, a.loader, set, err))
        return kExitFailed;

    std::vector<int> maps;
    if (!a.maps.Given() && (format == ExchangeFormat::MapEdit || format == ExchangeFormat::ChaosEdit)) {
        maps.push_back(0);
    } else if (std::string error = a.maps.Positions(set.NumMaps(), maps); !error.empty()) {
        err << PrintableText(error, true) << "\n";
        return kExitUsage;
    }
    if (auto failure = WriteExchangeFile(a.file, format, maps, set)) {
        Report(*failure, err);
        return kExitFailed;
    }
    NoteCutMaps(format, maps, set, err);
    out << "Exported " << maps.size() << (maps.size() == 1 ? " map" : " maps") << " to the "
        << ExchangeFormatName(format) << " " << PrintableText(a.file) << ".\n";
    return ReadingStatus(set, err);
}

} // namespace

Command ExportCommand()
{
    return MakeCommand(
        "export",
        "Writes maps of the set into FILE, in the format its extension names: tsl (TSL), lvl\n"
        "(FloEdit), flr (MapEdit), map (WDC, or ChaosEdit with --chaosedit).",
        RunExport);
}

} // namespace tsl::cli
