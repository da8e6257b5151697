// tesselar-cli package DIR --against ORIGINAL OUT.zip: the release of the mod
// in DIR, the game files that differ from the original game's with a text
// and their checksums, checked before it is written.

#include "app/cli/CliMaps.h"
#include "core/FileSystem.h"
#include "engine/LevelFlow.h"
#include "engine/StructureRules.h"
#include "mod/Release.h"

#include <ostream>

namespace tsl::cli {
namespace {

struct PackageArguments {
    std::string dir;
    std::string out;
    std::string against;
    bool allowFindings = false;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Positional("OUT.zip", out, "the release to write, a zip file");
        d.Value("--against", "ORIGINAL", "the folder of the original game the mod modifies",
                [this](const std::string& folder) {
                    against = folder;
                    return std::string();
                });
        d.Required("--against");
        d.Flag("--allow-findings", allowFindings,
               "make the release even when a level cannot be finished or a file does not load");
    }
};

bool EndsInZip(const std::string& name)
{
    return name.size() > 4 && EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".zip");
}

int RunPackage(const PackageArguments& a, std::ostream& out, std::ostream& err)
{
    if (!EndsInZip(a.out)) {
        err << "The release is a zip file: " << PrintableText(a.out) << " does not end in .zip.\n";
        return kExitUsage;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(a.against, ec)) {
        err << "The directory " << PrintableText(a.against) << " doesn't exist!\n";
        return kExitUsage;
    }
    MapsWithSymbols opened;
    if (OpenMapsWithSymbols(a.dir, a.loader, MapNumbers(), opened, err) != 0)
        return kExitUsage;
    const RulesLoad rules = LoadEngineRules(opened.structureFolder, *opened.settings, opened.symbols);
    const FlowLoad flow = LoadLevelFlow(opened.structureFolder, *opened.settings);

    ReleaseRequest request;
    request.modDir = a.dir;
    request.originalDir = a.against;
    request.name = std::filesystem::path(a.out).stem().string();
    request.layout = &opened.maps;
    request.rules = rules.Status == RulesStatus::Loaded ? rules.Rules.get() : nullptr;
    request.flow = flow.Flow.get();
    auto plan = PlanRelease(request);
    if (!plan) {
        Report(plan.failure(), err);
        return kExitFailed;
    }
    if (!plan->findings.empty()) {
        err << FindingsText(*plan) << "\n";
        if (!a.allowFindings) {
            err << "Nothing was written. Give --allow-findings to make the release anyway.\n";
            return kExitFailed;
        }
    }
    if (auto failure = WriteRelease(*plan, a.out)) {
        Report(*failure, err);
        return kExitFailed;
    }
    out << ReleaseDoneText(*plan, a.out) << "\n";
    return 0;
}

} // namespace

Command PackageCommand()
{
    return MakeCommand(
        "package",
        "Makes the release of the mod in DIR: a zip holding exactly the game files that differ\n"
        "from those of the original game in ORIGINAL (under their names in DIR), README.TXT\n"
        "(the mod's levels with their totals and par times, the files and how to install them)\n"
        "and SHA256SUMS. The changed files are read back and the changed levels analysed first:\n"
        "a level that cannot be finished or a file that does not load stops the release unless\n"
        "--allow-findings is given. Exit status 0 when written, 1 when refused or not written,\n"
        "2 on an error.",
        RunPackage);
}
} // namespace tsl::cli
