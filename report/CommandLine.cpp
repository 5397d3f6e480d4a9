#include "report/CommandLine.h"

#include "report/ReportTexts.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>

#ifndef FOLDSCAN_VERSION
#define FOLDSCAN_VERSION "0"
#endif

namespace {

const std::map<std::string, ReportFormat> Formats = {
    {"table", ReportFormat::Table}, {"tsv", ReportFormat::Tsv}, {"csv", ReportFormat::Csv},
    {"json", ReportFormat::Json},   {"html", ReportFormat::Html},
};

const std::map<std::string, int> SortKeys = {
    {"name", FolderCompare::FileNameColumn},
    {"size", FolderCompare::SizeColumn},
    {"folder", FolderCompare::FolderNameColumn},
};

// --format csv and tsv write one table: the rows, the tree, the findings or
// the largest folders.
bool OneTable(const ReportOptions& options) {
    bool delimited = options.format == ReportFormat::Csv || options.format == ReportFormat::Tsv;
    int tables = (options.tree ? 1 : 0) + (options.check ? 1 : 0) + (options.top > 0 ? 1 : 0);
    return !delimited || tables <= 1;
}

// Digits only, at least one, and no more than fit: the value in number.
bool ParseWhole(const std::string& text, uint64_t& number) {
    if (text.empty()) return false;
    number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        unsigned digit = static_cast<unsigned>(c - '0');
        if (number > (UINT64_MAX - digit) / 10) return false;
        number = number * 10 + digit;
    }
    return true;
}

}  // namespace

Language CommandLine::LanguageOf(const std::vector<std::string>& args, const std::string& locale) {
    Language language = LanguageOfLocale(locale);
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--") break;
        if (args[i] == "--lang" && i + 1 < args.size())
            ParseLanguage(args[i + 1], language);
        else if (args[i].compare(0, 7, "--lang=") == 0)
            ParseLanguage(args[i].substr(7), language);
    }
    return language;
}

bool CommandLine::ParseSort(const std::string& text, int& column, bool& descending) {
    size_t colon = text.find(':');
    std::string key = text.substr(0, colon);
    std::string direction = colon == std::string::npos ? "asc" : text.substr(colon + 1);
    auto found = SortKeys.find(key);
    if (found == SortKeys.end() || (direction != "asc" && direction != "desc")) return false;
    column = found->second;
    descending = direction == "desc";
    return true;
}

bool CommandLine::ParseSize(const std::string& text, uint64_t& bytes) {
    static const std::string Suffixes = "kmgt";
    std::string digits = text;
    unsigned shift = 0;
    if (!digits.empty()) {
        size_t unit = Suffixes.find(static_cast<char>(std::tolower(static_cast<unsigned char>(digits.back()))));
        if (unit != std::string::npos) {
            shift = 10 * static_cast<unsigned>(unit + 1);
            digits.pop_back();
        }
    }
    uint64_t number;
    if (!ParseWhole(digits, number) || number > (UINT64_MAX >> shift)) return false;
    bytes = number << shift;
    return true;
}

bool CommandLine::ParseCount(const std::string& text, size_t& count) {
    uint64_t number;
    if (!ParseWhole(text, number) || number == 0 || number > SIZE_MAX) return false;
    count = static_cast<size_t>(number);
    return true;
}

CommandLine::Outcome CommandLine::Parse(const std::vector<std::string>& args, const std::string& locale,
                                        unsigned processors, ReportOptions& options, std::string& text) {
    options = ReportOptions();
    options.language = LanguageOf(args, locale);
    ReportTexts texts(options.language);

    CLI::App app(texts.helpIntro, "foldscan-report");
    auto formatter = std::make_shared<CLI::Formatter>();
    formatter->label("Usage", texts.helpUsage);
    formatter->label("OPTIONS", texts.helpOptions);
    formatter->label("Positionals", texts.helpPositionals);
    formatter->label("REQUIRED", texts.helpRequired);
    app.formatter(formatter);
    app.allow_windows_style_options(false);  // "/x" is a path, also on Windows
    app.option_defaults()->group(texts.helpOptions);
    app.set_help_flag("-h,--help", texts.helpHelp);
    app.set_version_flag("--version", std::string("foldscan-report ") + FOLDSCAN_VERSION, texts.helpVersion);

    std::string format = "table", sort = "folder", language = "de";
    std::string newMail, top, minSize;
    unsigned jobs = std::max(1u, processors);
    app.add_option("--format", format, texts.helpFormat)->type_name("FORMAT")->check(CLI::IsMember(
        {"table", "tsv", "csv", "json", "html"}));
    app.add_option("--sort", sort, texts.helpSort)->type_name("KEY[:desc]")->check([](const std::string& value) {
        int column;
        bool descending;
        return ParseSort(value, column, descending) ? std::string() : "name, size or folder, with :desc or :asc";
    });
    // A flag's description is set apart: add_flag would take a string as
    // the variable to set.
    CLI::Option* exact = app.add_flag("--exact")->description(texts.helpExact);
    CLI::Option* compact = app.add_flag("--compact")->description(texts.helpCompact);
    CLI::Option* noPaths = app.add_flag("--no-paths")->description(texts.helpNoPaths);
    CLI::Option* newMailOption = app.add_option("--newmail", newMail, texts.helpNewMail)->type_name("DIR");
    CLI::Option* noNewMail = app.add_flag("--no-newmail")->description(texts.helpNoNewMail);
    app.add_flag("--tree", options.tree)->description(texts.helpTree);
    app.add_flag("--check", options.check)->description(texts.helpCheck);
    CLI::Option* since = app.add_option("--since", options.stateFile, texts.helpSince)->type_name("STATEFILE");
    CLI::Option* topOption = app.add_option("--top", top, texts.helpTop)->type_name("N");
    CLI::Option* minSizeOption = app.add_option("--min-size", minSize, texts.helpMinSize)->type_name("SIZE");
    app.add_option("--jobs", jobs, texts.helpJobs)->type_name("N")->check(CLI::Range(1u, 256u));
    app.add_option("--lang", language, texts.helpLang)->type_name("de|en")->check(CLI::IsMember({"de", "en"}));
    app.add_option("MAILBOX", options.mailboxes, texts.helpMailbox)
        ->required()
        ->type_name("")
        ->group(texts.helpPositionals);

    auto fail = [&](const std::string& what) {
        text = ReportTexts::Fill(texts.badOption, {what}) + "\n" + texts.seeHelp + "\n";
        return Outcome::Failed;
    };
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());  // as CLI11 takes them
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        text = app.help();
        return Outcome::Done;
    } catch (const CLI::CallForVersion& e) {
        text = std::string(e.what()) + "\n";
        return Outcome::Done;
    } catch (const CLI::ParseError& e) {
        return fail(e.what());
    }

    options.format = Formats.at(format);
    ParseSort(sort, options.sortColumn, options.descending);
    if (since->count() != 0 && options.stateFile.empty()) return fail("--since \"\"");
    if (exact->count() != 0 && compact->count() != 0) return fail("--exact, --compact");
    if (topOption->count() != 0 && !ParseCount(top, options.top)) return fail(ReportTexts::Fill(texts.badTop, {top}));
    if (minSizeOption->count() != 0 && !ParseSize(minSize, options.minSize))
        return fail(ReportTexts::Fill(texts.badMinSize, {minSize}));
    options.compact = exact->count() == 0;
    options.showPaths = noPaths->count() == 0;
    options.newMailDir = noNewMail->count() == 0 && newMailOption->count() != 0 ? newMail : std::string();
    options.jobs = jobs;
    if (!OneTable(options)) return fail(ReportTexts::Fill(texts.oneTableOnly, {format}));
    return Outcome::Run;
}
