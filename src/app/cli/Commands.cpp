// The commands of tesselar-cli, listed once: a new command adds its maker
// (defined in its own file, CliNAME.cpp) here. The help and the bash
// completion list them in this order.

#include "app/cli/Cli.h"

namespace tsl::cli {

Command AnalyzeCommand();
Command BackupsCommand();
Command CheckCommand();
Command DiffCommand();
Command EditCommand();
Command EpisodesCommand();
Command ExportCommand();
Command ExportPagesCommand();
Command GenerateCommand();
Command ImportCommand();
Command ImportPageCommand();
Command InfoCommand();
Command PackageCommand();
Command PagesCommand();
Command RenderCommand();
Command Render3DCommand();
Command ResaveCommand();
Command RestoreCommand();
Command StatsCommand();

std::vector<Command> Commands()
{
    return {
        AnalyzeCommand(),
        BackupsCommand(),
        CheckCommand(),
        DiffCommand(),
        EditCommand(),
        EpisodesCommand(),
        ExportCommand(),
        ExportPagesCommand(),
        GenerateCommand(),
        ImportCommand(),
        ImportPageCommand(),
        InfoCommand(),
        PackageCommand(),
        PagesCommand(),
        RenderCommand(),
        Render3DCommand(),
        ResaveCommand(),
        RestoreCommand(),
        StatsCommand(),
    };
}

} // namespace tsl::cli
