// tesselar-cli resave DIR: load the set and save it back in place.

#include "app/cli/Cli.h"

#include <ostream>

namespace tsl::cli {
namespace {

int RunResave(Arguments& args, std::ostream& out, std::ostream& err)
{
    const std::string usage = "resave DIR [loader options]";
    LoaderOptions options;
    if (std::string error = ReadLoaderOptions(args, options); !error.empty()) {
        err << error << "\n";
        return 2;
    }
    if (!ExpectPositionals(args, 1, usage, err))
        return 2;
    MapHandler maps;
    if (!OpenGameSet(args.Rest()[0], options, maps, err))
        return 1;
    if (auto failure = maps.Save()) {
        Report(*failure, err);
        return 1;
    }
    out << "Maps saved!\n";
    return 0;
}

const Registrar kResave({"resave", "resave DIR [loader options]",
                         "Loads the set and saves it back in place, keeping the previous files as .BAK.",
                         RunResave});

} // namespace
} // namespace tsl::cli
