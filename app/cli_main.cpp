// velocitronimatics-cli: the simulator without windows, for lab data, batch
// runs and regression checks. See CliUsageText() for the commands.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_tool.h"

#ifdef _WIN32
#include <io.h>
#define VELO_ISATTY _isatty
#else
#include <unistd.h>
#define VELO_ISATTY isatty
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return velo::RunCli(args, std::cout, std::cerr, VELO_ISATTY(2) != 0);
}
