#include "report/CommandLine.h"

#include "report/ReportTexts.h"

#include <CLI/CLI.hpp>

#include <algorithm>
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

// --format csv and tsv write one table; the rows, the tree or the findings.
bool OneTable(const ReportOptions& options) {
    bool delimited = options.format == ReportFormat::Csv || options.format == ReportFormat::Tsv;
    return !delimited || !(options.tree && options.check);
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
    std::string newMail;
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
    app.add_option("--jobs", jobs, texts.helpJobs)->type_name("N")->check(CLI::Range(1u, 256u));
    app.add_option("--lang", language, texts.helpLang)->type_name("de|en")->check(CLI::IsMember({"de", "en"}));
    app.add_option("MAILBOX", options.mailboxes, texts.helpMailbox)
        ->required()
        ->type_name("")
        ->group(texts.helpPositionals);

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
        text = ReportTexts::Fill(texts.badOption, {e.what()}) + "\n" + texts.seeHelp + "\n";
        return Outcome::Failed;
    }

    options.format = Formats.at(format);
    ParseSort(sort, options.sortColumn, options.descending);
    if (since->count() != 0 && options.stateFile.empty()) {
        text = ReportTexts::Fill(texts.badOption, {"--since \"\""}) + "\n" + texts.seeHelp + "\n";
        return Outcome::Failed;
    }
    if (exact->count() != 0 && compact->count() != 0) {
        text = ReportTexts::Fill(texts.badOption, {"--exact, --compact"}) + "\n" + texts.seeHelp + "\n";
        return Outcome::Failed;
    }
    options.compact = exact->count() == 0;
    options.showPaths = noPaths->count() == 0;
    options.newMailDir = noNewMail->count() == 0 && newMailOption->count() != 0 ? newMail : std::string();
    options.jobs = jobs;
    if (!OneTable(options)) {
        text = ReportTexts::Fill(texts.badOption, {ReportTexts::Fill(texts.oneTableOnly, {format})}) + "\n" +
               texts.seeHelp + "\n";
        return Outcome::Failed;
    }
    return Outcome::Run;
}
