// tesselar-cli import DIR FILE: the maps of an exchange map file into a game's set.

#include "app/cli/Cli.h"
#include "core/FileSystem.h"
#include "exchange/ExchangeFormats.h"
#include "exchange/ImportMaps.h"

#include <algorithm>
#include <ostream>

namespace tsl::cli {
namespace {

struct ImportArguments {
    std::string dir;
    std::string file;
    std::optional<int> at;
    bool force = false;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Positional("FILE", file, "the map file to read (TSL, WDC, ChaosEdit, FloEdit or MapEdit)");
        d.Number("--at", "N", 1, 1L << 30, at, "a map number from 1",
                 "the current map to insert at (default: the last)");
        d.Force(force);
    }
};

int RunImport(const ImportArguments& a, std::ostream& out, std::ostream& err)
{
    MapHandler set;
    if (!OpenGameSet(a.dir, a.loader, set, err) || RefuseDamagedSave(set, a.force, err))
        return kExitFailed;
    set.CurrentMap = std::max(set.NumMaps() - 1, 0);
    if (a.at) {
        if (*a.at > set.NumMaps()) {
            err << "--at needs the number of a map of the set, "
                << (set.NumMaps() == 0 ? "but the set has no maps" : "from 1 to " + std::to_string(set.NumMaps()))
                << ".\n";
            return kExitUsage;
        }
        set.CurrentMap = *a.at - 1;
    }

    // A file that cannot be read is said to be so, not taken for an empty one.
    const auto bytes = ReadWholeFile(a.file);
    if (!bytes) {
        Report(Failure{"Couldn't read the map file " + a.file + "!", kImportCaption, MessageIcon::Warning}, err);
        return kExitFailed;
    }
    // Everything is read before anything is inserted: a damaged file imports nothing.
    auto contents = ReadExchangeFile(*bytes, set.NumPlanes, set.NameLength);
    if (!contents) {
        Report(contents.failure(), err);
        return kExitFailed;
    }
    if (contents->Maps.empty()) {
        Report(Failure{"The map file holds no maps!", kImportCaption, MessageIcon::Warning}, err);
        return kExitFailed;
    }

    // The new maps end up side by side, in file order after the last map,
    // otherwise in reverse order in front of the current one.
    const std::size_t count = contents->Maps.size();
    const int first = InsertExchangeMaps(set, std::move(contents->Maps));
    std::string kept;
    if (!SaveGameSet(set, a.force, err, kept))
        return kExitFailed;
    const int end = first + static_cast<int>(count);
    out << "Imported " << count << (count == 1 ? " map" : " maps") << " from the "
        << ExchangeFormatName(contents->Header.Format) << " " << PrintableText(a.file) << " as "
        << (count == 1 ? "map " + std::to_string(first + 1) : "maps " + std::to_string(first + 1) + " to " +
                                                                  std::to_string(end))
        << "; the set now has " << set.NumMaps() << (set.NumMaps() == 1 ? " map" : " maps") << ". Maps saved!" << (kept.empty() ? "" : " " + kept) << "\n";
    return 0;
}

} // namespace

Command ImportCommand()
{
    return MakeCommand(
        "import",
        "Reads every map of FILE (TSL, WDC, ChaosEdit, FloEdit or MapEdit, recognised by its\n"
        "contents) and inserts them into the set as the editor's direct import does, with\n"
        "map N (default: the last map) as the current map: after it when it is the last\n"
        "map, otherwise each new map in its place, so that they stand in front of it in\n"
        "reverse file order. Then saves the set, keeping the previous files as .BAK (a set whose\n"
        "load found damage only with --force, as resave does).",
        RunImport);
}

} // namespace tsl::cli
