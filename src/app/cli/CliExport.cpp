// tesselar-cli export DIR FILE: maps of a game's set into an exchange map file.

#include "app/cli/Cli.h"
#include "exchange/ExchangeFormats.h"

#include <ostream>

namespace tsl::cli {
namespace {

const char* const kUsage = "export DIR FILE [--maps LIST] [--chaosedit] [loader options]";

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

int RunExport(Arguments& args, std::ostream& out, std::ostream& err)
{
    LoaderOptions options;
    if (std::string error = ReadLoaderOptions(args, options); !error.empty()) {
        err << error << "\n";
        return kExitUsage;
    }
    const auto list = args.Value("--maps");
    const bool chaosEdit = args.Flag("--chaosedit");
    if (!ExpectPositionals(args, 2, kUsage, err))
        return kExitUsage;
    const std::string dir = args.Rest()[0];
    const std::string file = args.Rest()[1];

    const ExchangeFormat format = ExportFormatFor(file, chaosEdit);
    if (format == ExchangeFormat::Unknown) {
        Report(UnknownFormatFailure(kExportCaption), err);
        return kExitFailed;
    }
    MapHandler set;
    if (!OpenGameSet(dir, options, set, err))
        return kExitFailed;

    std::vector<int> maps;
    if (list) {
        if (std::string error = ParseMapList(*list, set.NumMaps(), maps); !error.empty()) {
            err << error << "\n";
            return kExitUsage;
        }
    } else if (format == ExchangeFormat::MapEdit || format == ExchangeFormat::ChaosEdit) {
        maps.push_back(0);
    } else {
        for (int i = 0; i < set.NumMaps(); ++i)
            maps.push_back(i);
    }
    if (auto failure = WriteExchangeFile(file, format, maps, set)) {
        Report(*failure, err);
        return kExitFailed;
    }
    NoteCutMaps(format, maps, set, err);
    out << "Exported " << maps.size() << (maps.size() == 1 ? " map" : " maps") << " to the "
        << ExchangeFormatName(format) << " " << file << ".\n";
    return ReadingStatus(set, err);
}

const Registrar kExport({"export", kUsage,
                         "Writes maps of the set into FILE, in the format its extension names: tsl (TSL), lvl\n"
                         "      (FloEdit), flr (MapEdit), map (WDC, or ChaosEdit with --chaosedit). LIST is map\n"
                         "      numbers from 1 and ranges (1,3,5-9); without it every map, or map 1 for the\n"
                         "      one-map formats (MapEdit, ChaosEdit).",
                         RunExport});

} // namespace
} // namespace tsl::cli
