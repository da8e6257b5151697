// tesselar-cli resave DIR: load the set and save it back in place.

#include "app/cli/Cli.h"

#include <ostream>

namespace tsl::cli {
namespace {

int RunResave(Arguments& args, std::ostream& out, std::ostream& err)
{
    const std::string usage = "resave DIR [--force] [loader options]";
    LoaderOptions options;
    if (std::string error = ReadLoaderOptions(args, options); !error.empty()) {
        err << error << "\n";
        return kExitUsage;
    }
    const bool force = args.Flag("--force");
    if (!ExpectPositionals(args, 1, usage, err))
        return kExitUsage;
    MapHandler maps;
    std::string kept;
    if (!OpenGameSet(args.Rest()[0], options, maps, err) || !SaveGameSet(maps, force, err, kept))
        return kExitFailed;
    out << "Maps saved!" << (kept.empty() ? "" : " " + kept) << "\n";
    return 0;
}

const Registrar kResave({"resave", "resave DIR [--force] [loader options]",
                         "Loads the set and saves it back in place, keeping the previous files as .BAK. A set\n"
                         "      whose load found damage is saved only with --force, and then never replaces a\n"
                         "      backup (its previous files go to .BAK1, .BAK2, ... when a .BAK exists).",
                         RunResave});

} // namespace
} // namespace tsl::cli
