// tesselar-cli import DIR FILE: the maps of an exchange map file into a game's set.

#include "app/cli/Cli.h"
#include "core/FileSystem.h"
#include "exchange/ExchangeFormats.h"
#include "exchange/ImportMaps.h"

#include <algorithm>
#include <charconv>
#include <ostream>

namespace tsl::cli {
namespace {

const char* const kUsage = "import DIR FILE [--at N] [loader options]";

int RunImport(Arguments& args, std::ostream& out, std::ostream& err)
{
    LoaderOptions options;
    if (std::string error = ReadLoaderOptions(args, options); !error.empty()) {
        err << error << "\n";
        return 2;
    }
    const auto at = args.Value("--at");
    if (!ExpectPositionals(args, 2, kUsage, err))
        return 2;
    const std::string dir = args.Rest()[0];
    const std::string file = args.Rest()[1];

    MapHandler set;
    if (!OpenGameSet(dir, options, set, err))
        return 1;
    set.CurrentMap = std::max(set.NumMaps() - 1, 0);
    if (at) {
        int number = 0;
        const char* last = at->data() + at->size();
        auto [ptr, ec] = std::from_chars(at->data(), last, number);
        if (ec != std::errc() || ptr != last || number < 1 || number > set.NumMaps()) {
            err << "--at needs the number of a map of the set, from 1 to " << set.NumMaps() << ".\n";
            return 2;
        }
        set.CurrentMap = number - 1;
    }

    // A file that cannot be read is said to be so, not taken for an empty one.
    const auto bytes = ReadWholeFile(file);
    if (!bytes) {
        Report(Failure{"Couldn't read the map file " + file + "!", kImportCaption, MessageIcon::Warning}, err);
        return 1;
    }
    // Everything is read before anything is inserted: a damaged file imports nothing.
    auto contents = ReadExchangeFile(*bytes, set.NumPlanes, set.NameLength);
    if (!contents) {
        Report(contents.failure(), err);
        return 1;
    }
    if (contents->Maps.empty()) {
        Report(Failure{"The map file holds no maps!", kImportCaption, MessageIcon::Warning}, err);
        return 1;
    }

    // The new maps end up side by side, in file order after the last map,
    // otherwise in reverse order in front of the current one.
    int first = set.NumMaps();
    for (ExchangeMap& map : contents->Maps)
        first = std::min(first, InsertExchangeMap(set, std::move(map)));
    if (auto failure = set.Save()) {
        Report(*failure, err);
        return 1;
    }
    const std::size_t count = contents->Maps.size();
    const int end = first + static_cast<int>(count);
    out << "Imported " << count << (count == 1 ? " map" : " maps") << " from the "
        << ExchangeFormatName(contents->Header.Format) << " " << file << " as "
        << (count == 1 ? "map " + std::to_string(first + 1) : "maps " + std::to_string(first + 1) + " to " +
                                                                  std::to_string(end))
        << "; the set now has " << set.NumMaps() << " maps. Maps saved!\n";
    return 0;
}

const Registrar kImport({"import", kUsage,
                         "Reads every map of FILE (TSL, WDC, ChaosEdit, FloEdit or MapEdit, recognised by its\n"
                         "      contents) and inserts them into the set as the editor's direct import does, with\n"
                         "      map N (default: the last map) as the current map: after it when it is the last\n"
                         "      map, otherwise each new map in its place, so that they stand in front of it in\n"
                         "      reverse file order. Then saves the set, keeping the previous files as .BAK.",
                         RunImport});

} // namespace
} // namespace tsl::cli
