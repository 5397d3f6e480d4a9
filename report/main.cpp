// foldscan-report [options] MAILBOX...
#include "platform/Console.h"
#include "report/program/ReportProgram.h"

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // A reader that stops early (| head) ends the program quietly, as it
    // ends other tools, even where the caller ignored the signal.
    std::signal(SIGPIPE, SIG_DFL);
#endif
    Console::UseUtf8();
    std::ios::sync_with_stdio(false);
    ReportEnvironment environment = ReportEnvironment::OfProcess();
    environment.errorIsTerminal = Console::ErrorIsTerminal();
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return ReportProgram(environment).Run(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "foldscan-report: " << e.what() << '\n';
        return ReportProgram::Failure;
    }
}
