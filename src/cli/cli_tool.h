// The command-line tool velocitronimatics-cli: dump a simulation file as
// JSON, run a scene for a given simulated time, write the default project.
// Everything but the process's own streams lives here so that tests can
// run the tool in-process.
#pragma once

#include <csignal>
#include <iosfwd>
#include <string>
#include <vector>

namespace velo {

// Exit statuses.
inline constexpr int CliOk = 0;
inline constexpr int CliUsage = 1;   // wrong usage; the usage text was printed
inline constexpr int CliFile = 2;    // a file missing, refused or not writable
inline constexpr int CliFrozen = 3;  // the run stopped on a frozen object

// The usage text, documenting every command and option.
std::string CliUsageText();

// args excludes the program name. stderrIsTerminal enables the progress
// line of long runs. `interrupted`, when given, is set by the process's
// signal handler to the number of the signal (SIGINT, SIGTERM) that asks
// the run to stop: the step loops look at it after every step and end
// without writing any output, their temporary files removed, with status
// 128 + the signal's number.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool stderrIsTerminal, const volatile std::sig_atomic_t* interrupted = nullptr);

}  // namespace velo
