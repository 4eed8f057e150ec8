// velocitronimatics-cli: the simulator without windows, for lab data, batch
// runs and regression checks. See CliUsageText() for the commands.
#include <csignal>
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

namespace {

// The signal that asked a run to stop. A run ends through its normal path,
// which removes the temporary files of its outputs; a second signal of the
// same kind ends the process at once.
volatile std::sig_atomic_t interrupted = 0;

extern "C" void StopRun(int signal) {
    interrupted = signal;
    std::signal(signal, SIG_DFL);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::signal(SIGINT, StopRun);
    std::signal(SIGTERM, StopRun);
    return velo::RunCli(args, std::cout, std::cerr, VELO_ISATTY(2) != 0, &interrupted);
}
