// tesselar-cli COMMAND ...: see --help.

#include "app/cli/Cli.h"

#include <iostream>

int main(int argc, char** argv)
{
    return tsl::cli::RunCommandLine({argv + 1, argv + argc}, std::cout, std::cerr);
}
