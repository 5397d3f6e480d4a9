// foldscan-report [options] MAILBOX...
#include "platform/Console.h"
#include "report/program/ReportProgram.h"

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/Utf16.h"

#include <cwchar>
#endif

namespace {

int Main(const std::vector<std::string>& args) {
#ifdef SIGPIPE
    // A reader that stops early (| head) ends the program quietly, as it
    // ends other tools, even where the caller ignored the signal.
    std::signal(SIGPIPE, SIG_DFL);
#endif
    Console::UseUtf8();
    std::ios::sync_with_stdio(false);
    ReportEnvironment environment = ReportEnvironment::OfProcess();
    environment.errorIsTerminal = Console::ErrorIsTerminal();
    environment.input = &std::cin;
    // A run out of time may leave threads that a share holds inside the OS:
    // the program ends, its output written, without waiting for them.
    environment.abandon = [](int code) { std::_Exit(code); };
    try {
        return ReportProgram(environment).Run(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "foldscan-report: " << e.what() << '\n';
        return ReportProgram::Failure;
    }
}

}  // namespace

#ifdef _WIN32
// The arguments in UTF-16, as Windows keeps them: the ANSI code page would
// turn a name outside it into another name.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Utf16::ToUtf8(argv[i], std::wcslen(argv[i])));
    return Main(args);
}
#else
int main(int argc, char** argv) { return Main(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
