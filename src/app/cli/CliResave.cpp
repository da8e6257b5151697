// tesselar-cli resave DIR: load the set and save it back in place.

#include "app/cli/Cli.h"

#include <ostream>

namespace tsl::cli {
namespace {

struct ResaveArguments {
    std::string dir;
    bool force = false;
    LoaderOptions loader;

    void Declare(Declarations& d) { d.Force(force); }
};

int RunResave(const ResaveArguments& a, std::ostream& out, std::ostream& err)
{
    MapHandler maps;
    std::string kept;
    if (!OpenGameSet(a.dir, a.loader, maps, err) || !SaveGameSet(maps, a.force, err, kept))
        return kExitFailed;
    out << "Maps saved!" << (kept.empty() ? "" : " " + kept) << "\n";
    return 0;
}

} // namespace

Command ResaveCommand()
{
    return MakeCommand(
        "resave",
        "Loads the set and saves it back in place, keeping the previous files as .BAK. A set\n"
        "whose load found damage is saved only with --force, and then never replaces a\n"
        "backup (its previous files go to .BAK1, .BAK2, ... when a .BAK exists).",
        RunResave);
}

} // namespace tsl::cli
