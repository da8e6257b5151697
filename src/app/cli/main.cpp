// tesselar-cli COMMAND ...: see --help.

#include "app/cli/Cli.h"

#include <algorithm>
#include <iostream>

namespace {

void PrintHelp(std::ostream& out)
{
    auto commands = tsl::cli::Commands();
    std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    out << "Usage: tesselar-cli COMMAND [ARGUMENTS]\n\n"
           "The command-line companion of Tesselar, the map editor for Wolfenstein 3-D\n"
           "engine games. DIR is a game's data directory (MAPHEAD and GAMEMAPS or MAPTEMP).\n\n"
           "Commands:\n";
    for (const auto& c : commands)
        out << "  " << c.usage << "\n      " << c.summary << "\n";
    out << "\nLoader options (how the game's maps are stored; what is not given comes from\n"
           "the game's map definition structure in MapDefs, else from the defaults):\n"
           "  --planes N          planes per map (default 3)\n"
           "  --near XX           Carmack near tag, hexadecimal (default A7)\n"
           "  --far XX            Carmack far tag, hexadecimal (default A8)\n"
           "  --wdc               the map header carries the plane count (WDC compatible)\n"
           "  --extended-names    32-character map names\n"
           "  --mapdefs DIR       the MapDefs folder (default: the shipped one)\n\n"
           "  --help              this text\n"
           "  --version           the program's version\n";
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "--version") {
        std::cout << "tesselar-cli " << TESSELAR_VERSION << "\n";
        return 0;
    }
    for (const auto& command : tsl::cli::Commands()) {
        if (command.name != args[0])
            continue;
        tsl::cli::Arguments rest({args.begin() + 1, args.end()});
        if (rest.Flag("--help")) {
            std::cout << "Usage: tesselar-cli " << command.usage << "\n" << command.summary << "\n";
            return 0;
        }
        return command.run(rest, std::cout, std::cerr);
    }
    std::cerr << "Unknown command \"" << args[0] << "\". See tesselar-cli --help.\n";
    return 2;
}
