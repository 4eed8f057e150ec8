// velocitronimatics-cli: the simulator without windows, for lab data, batch
// runs and regression checks. See CliUsageText() for the commands.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_tool.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#else
#include <unistd.h>
#endif

namespace {

// The signal that asked a run to stop. A run ends through its normal path,
// which removes the temporary files of its outputs; a second signal of the
// same kind ends the process at once.
volatile std::sig_atomic_t interrupted = 0;

#ifdef _WIN32

// Ctrl+Break, and the console window closed or the session ending, ask the
// run to stop as Ctrl+C and SIGTERM do elsewhere. After a close the system
// ends the process once this returns, so it waits here (the system allows
// some seconds) for the run to end and remove its temporary files.
BOOL WINAPI StopRunOnConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        if (interrupted != 0) return FALSE;  // the second one ends the process
        interrupted = SIGINT;
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        interrupted = SIGTERM;
        Sleep(4000);
        return TRUE;
    default: return FALSE;
    }
}

// The arguments as UTF-8: the narrow ones the C runtime hands to main are
// in the ANSI code page, which has no letters for most file names.
std::vector<std::string> Utf8Arguments() {
    std::vector<std::string> args;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return args;
    for (int i = 1; i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(size > 0 ? static_cast<std::size_t>(size - 1) : 0, '\0');
        if (size > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), size, nullptr, nullptr);
        args.push_back(std::move(text));
    }
    LocalFree(wide);
    return args;
}

#else

extern "C" void StopRun(int signal) {
    interrupted = signal;
    std::signal(signal, SIG_DFL);
}

#endif

}  // namespace

int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef _WIN32
    // The messages are UTF-8; a console shows them as such only when told,
    // and is given its own code page back afterwards.
    const UINT consoleCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCtrlHandler(StopRunOnConsoleEvent, TRUE);
    const std::vector<std::string> args = Utf8Arguments();
    const int status = velo::RunCli(args, std::cout, std::cerr, _isatty(2) != 0, &interrupted);
    std::cout.flush();
    if (consoleCodePage != 0) SetConsoleOutputCP(consoleCodePage);
    return status;
#else
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::signal(SIGINT, StopRun);
    std::signal(SIGTERM, StopRun);
    return velo::RunCli(args, std::cout, std::cerr, isatty(2) != 0, &interrupted);
#endif
}
