// The commands of tesselar-cli, listed once: a new command adds its maker
// (defined in its own file, CliNAME.cpp) here. The help and the bash
// completion list them in this order.

#include "app/cli/Cli.h"

namespace tsl::cli {

Command AnalyzeCommand();
Command AudioCommand();
Command BackupsCommand();
Command CheckCommand();
Command DiffCommand();
Command EditCommand();
Command EpisodesCommand();
Command ExportCommand();
Command ExportAudioCommand();
Command ExportGraphicsCommand();
Command ExportPagesCommand();
Command GenerateCommand();
Command GraphicsCommand();
Command ImportCommand();
Command ImportAudioCommand();
Command ImportGraphicCommand();
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
        AudioCommand(),
        BackupsCommand(),
        CheckCommand(),
        DiffCommand(),
        EditCommand(),
        EpisodesCommand(),
        ExportCommand(),
        ExportAudioCommand(),
        ExportGraphicsCommand(),
        ExportPagesCommand(),
        GenerateCommand(),
        GraphicsCommand(),
        ImportCommand(),
        ImportAudioCommand(),
        ImportGraphicCommand(),
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
