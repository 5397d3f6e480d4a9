#pragma once

#include "report/model/ReportOptions.h"

#include <string>
#include <vector>

namespace CLI {
class App;
}
class ReportTexts;

// The report's command line. Its language comes from --lang where given,
// else from the locale the caller passes (LC_ALL, LC_MESSAGES or LANG), so
// that the help and the messages about a bad option are in it already.
class CommandLine {
public:
    enum class Outcome {
        Run,     // options are filled in
        Done,    // --help or --version: text holds what to print
        Failed,  // a bad option: text holds the message
    };

    static Outcome Parse(const std::vector<std::string>& args, const std::string& locale, unsigned processors,
                         ReportOptions& options, std::string& text);

    // The language the arguments ask for, or the locale's.
    static Language LanguageOf(const std::vector<std::string>& args, const std::string& locale);

    // "name", "size", "folder" or "growth", with ":desc" or ":asc" after it.
    static bool ParseSort(const std::string& text, int& column, bool& descending);

    // A whole number of bytes, or of KiB, MiB, GiB or TiB with the suffix
    // k, M, G or T (either case), as the panel's size texts count them.
    static bool ParseSize(const std::string& text, uint64_t& bytes);

    // A whole number from 1 on.
    static bool ParseCount(const std::string& text, size_t& count);

private:
    static bool Precheck(const CLI::App& app, const std::vector<std::string>& args, const ReportTexts& texts,
                         std::string& mistake);
};
