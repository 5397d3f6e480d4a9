#include "report/program/CommandLine.h"

#include "report/text/ReportTexts.h"
#include "report/text/RunTime.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <optional>
#include <tuple>

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
    {"growth", ReportOptions::GrowthColumn},
};

// --format csv and tsv write one table: the rows, the tree, the findings or
// the largest folders.
bool OneTable(const ReportOptions& options) {
    bool delimited = options.format == ReportFormat::Csv || options.format == ReportFormat::Tsv;
    int tables = (options.tree ? 1 : 0) + (options.check ? 1 : 0) + (options.top > 0 ? 1 : 0);
    return !delimited || tables <= 1;
}

// --timeline and --changes ask the history alone, each for a listing of its
// own; --rename-mailbox changes it and asks nothing. The mistake, or empty.
std::string HistoryQuestions(const ReportOptions& options, const ReportTexts& texts, bool fromHistory, bool history,
                             bool filter) {
    const bool asked = options.timeline || options.changes;
    if (options.timeline && options.changes) return ReportTexts::Fill(texts.exclusive, {"--timeline", "--changes"});
    if (asked && !fromHistory)
        return ReportTexts::Fill(texts.needs, {options.timeline ? "--timeline" : "--changes", "--from-history"});
    if (filter && !options.changes) return ReportTexts::Fill(texts.needs, {"--filter", "--changes"});
    if (asked && (options.format == ReportFormat::Html || options.monitor || options.top > 0))
        return ReportTexts::Fill(texts.needs, {options.timeline ? "--timeline" : "--changes",
                                               "--format table, csv, tsv, json"});
    if (options.rename.empty()) return std::string();
    if (!history) return ReportTexts::Fill(texts.needs, {"--rename-mailbox", "--history"});
    if (options.monitor) return ReportTexts::Fill(texts.exclusive, {"--rename-mailbox", "--monitor"});
    return std::string();
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

// --jobs: 0 asks for as many threads as processors, and more than MaxJobs
// would only wait on each other, so more asks for MaxJobs.
constexpr unsigned MaxJobs = 256;

bool ParseJobs(const std::string& text, unsigned processors, unsigned& jobs) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    uint64_t number;
    if (!ParseWhole(text, number)) number = UINT64_MAX;  // more digits than 64 bits hold
    jobs = number == 0 ? std::max(1u, processors) : static_cast<unsigned>(std::min<uint64_t>(number, MaxJobs));
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

bool CommandLine::AsksToMonitor(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--monitor" || arg.compare(0, 10, "--monitor=") == 0) return true;
    }
    return false;
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
    auto fail = [&](const std::string& what) {
        text = ReportTexts::Fill(texts.badOption, {what}) + "\n" + texts.seeHelp + "\n";
        return Outcome::Failed;
    };

    CLI::App app(texts.helpIntro, "foldscan-report");
    auto formatter = std::make_shared<CLI::Formatter>();
    formatter->label("Usage", texts.helpUsage);
    formatter->label("OPTIONS", texts.helpOptions);
    formatter->label("Positionals", texts.helpPositionals);
    formatter->label("REQUIRED", texts.helpRequired);
    app.formatter(formatter);
    app.footer(texts.helpFooter);
    app.allow_windows_style_options(false);  // "/x" is a path, also on Windows
    app.option_defaults()->group(texts.helpOptions)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.set_help_flag("-h,--help", texts.helpHelp);
    app.set_version_flag("--version", std::string("foldscan-report ") + FOLDSCAN_VERSION, texts.helpVersion);

    // Every value is taken as text and checked below, so that each mistake
    // is told in the output language rather than in the library's words.
    std::string format = "table", sort = "folder", language, newMail, top, minSize, jobs, growthSince;
    app.add_option("--format", format, texts.helpFormat)->type_name("FORMAT");
    app.add_option("--sort", sort, texts.helpSort)->type_name("KEY[:desc]");
    // A flag's description is set apart: add_flag would take a string as
    // the variable to set.
    CLI::Option* exact = app.add_flag("--exact")->description(texts.helpExact);
    CLI::Option* compact = app.add_flag("--compact")->description(texts.helpCompact);
    CLI::Option* noPaths = app.add_flag("--no-paths")->description(texts.helpNoPaths);
    CLI::Option* newMailOption = app.add_option("--newmail", newMail, texts.helpNewMail)->type_name("DIR");
    CLI::Option* noNewMail = app.add_flag("--no-newmail")->description(texts.helpNoNewMail);
    app.add_flag("--tree", options.tree)->description(texts.helpTree);
    app.add_flag("--check", options.check)->description(texts.helpCheck);
    CLI::Option* topOption = app.add_option("--top", top, texts.helpTop)->type_name("N");
    CLI::Option* minSizeOption = app.add_option("--min-size", minSize, texts.helpMinSize)->type_name("SIZE");
    CLI::Option* since = app.add_option("--since", options.stateFile, texts.helpSince)->type_name("STATEFILE");
    CLI::Option* history = app.add_option("--history", options.historyFile, texts.helpHistory)->type_name("FILE");
    CLI::Option* growth = app.add_flag("--growth")->description(texts.helpGrowth);
    CLI::Option* growthSinceOption =
        app.add_option("--growth-since", growthSince, texts.helpGrowthSince)->type_name("SINCE");
    app.add_flag("--excel", options.excel)->description(texts.helpExcel);
    CLI::Option* jobsOption = app.add_option("--jobs", jobs, texts.helpJobs)->type_name("N");
    CLI::Option* lang = app.add_option("--lang", language, texts.helpLang)->type_name("de|en");
    // The history read and kept.
    std::string keep;
    CLI::Option* fromHistory =
        app.add_option("--from-history", options.fromHistory, texts.helpFromHistory)->type_name("FILE");
    CLI::Option* keepOption = app.add_option("--keep", keep, texts.helpKeep)->type_name("SPAN");
    CLI::Option* migrate = app.add_flag("--migrate-history")->description(texts.helpMigrateHistory);
    CLI::Option* timeline = app.add_flag("--timeline", options.timeline)->description(texts.helpTimeline);
    CLI::Option* changes = app.add_flag("--changes", options.changes)->description(texts.helpChanges);
    CLI::Option* filter = app.add_option("--filter", options.filter, texts.helpFilter)->type_name("TEXT");
    // --rename-mailbox OLD NEW: NEW stands where a MAILBOX would.
    std::string renamed;
    CLI::Option* rename =
        app.add_option("--rename-mailbox", renamed, texts.helpRenameMailbox)->type_name("OLD NEW");
    app.add_option("MAILBOX", options.mailboxes, texts.helpMailbox)->type_name("")->group(texts.helpPositionals);

    // The administrator's routine.
    CLI::Option* output = app.add_option("--output", options.outputFile, texts.helpOutput)->type_name("FILE");
    // One value each time, and every time counts.
    for (const auto& [name, given, help, type] :
         {std::make_tuple("--mailboxes-from", &options.mailboxLists, &texts.helpMailboxesFrom, "FILE"),
          std::make_tuple("--all-under", &options.mailboxRoots, &texts.helpAllUnder, "DIR")})
        app.add_option(name, *given, *help)
            ->type_name(type)
            ->allow_extra_args(false)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    CLI::Option* monitor = app.add_flag("--monitor")->description(texts.helpMonitor);
    struct Limit {
        const char* name;
        const std::string* help;
        std::optional<uint64_t>* bytes;
        std::string text;
        CLI::Option* option;
    };
    Limit limits[] = {{"--warn", &texts.helpWarn, &options.thresholds.warnTotal, {}, nullptr},
                      {"--crit", &texts.helpCrit, &options.thresholds.critTotal, {}, nullptr},
                      {"--warn-folder", &texts.helpWarnFolder, &options.thresholds.warnFolder, {}, nullptr},
                      {"--crit-folder", &texts.helpCritFolder, &options.thresholds.critFolder, {}, nullptr},
                      {"--warn-growth", &texts.helpWarnGrowth, &options.thresholds.warnGrowth, {}, nullptr},
                      {"--crit-growth", &texts.helpCritGrowth, &options.thresholds.critGrowth, {}, nullptr}};
    for (Limit& limit : limits) limit.option = app.add_option(limit.name, limit.text, *limit.help)->type_name("SIZE");
    std::string timeout;
    CLI::Option* timeoutOption = app.add_option("--timeout", timeout, texts.helpTimeout)->type_name("SECONDS");

    std::string mistake;
    if (!Precheck(app, args, texts, mistake)) return fail(mistake);
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
        return fail(ReportTexts::Fill(texts.notUnderstood, {e.what()}));
    }
    options.migrateHistory = migrate->count() != 0;
    if (rename->count() != 0) {
        if (options.mailboxes.size() != 1 || !options.mailboxLists.empty() || !options.mailboxRoots.empty())
            return fail(ReportTexts::Fill(texts.renameNeedsNew, {"--rename-mailbox"}));
        options.rename = {renamed, options.mailboxes.front()};
        options.mailboxes.clear();
    }
    if (options.mailboxes.empty() && options.mailboxLists.empty() && options.mailboxRoots.empty() &&
        fromHistory->count() == 0 && !options.migrateHistory && rename->count() == 0)
        return fail(texts.mailboxMissing);

    auto found = Formats.find(format);
    if (found == Formats.end()) return fail(ReportTexts::Fill(texts.badFormat, {format}));
    options.format = found->second;
    if (!ParseSort(sort, options.sortColumn, options.descending)) return fail(ReportTexts::Fill(texts.badSort, {sort}));
    if (lang->count() != 0 && !ParseLanguage(language, options.language))
        return fail(ReportTexts::Fill(texts.badLang, {language}));
    options.jobs = std::min(std::max(1u, processors), MaxJobs);
    if (jobsOption->count() != 0 && !ParseJobs(jobs, processors, options.jobs))
        return fail(ReportTexts::Fill(texts.badJobs, {jobs}));
    if (since->count() != 0 && options.stateFile.empty()) return fail(ReportTexts::Fill(texts.emptyFile, {"--since"}));
    if (history->count() != 0 && options.historyFile.empty())
        return fail(ReportTexts::Fill(texts.emptyFile, {"--history"}));
    if (topOption->count() != 0 && !ParseCount(top, options.top)) return fail(ReportTexts::Fill(texts.badTop, {top}));
    if (minSizeOption->count() != 0 && !ParseSize(minSize, options.minSize))
        return fail(ReportTexts::Fill(texts.badMinSize, {minSize}));
    options.growthSince = growthSinceOption->count() != 0;
    if (options.growthSince && !RunTime::ParseSince(growthSince, RunTime::Clock(), options.growthMoment))
        return fail(ReportTexts::Fill(texts.badSince, {growthSince}));
    // A page that a recording run writes, as a nightly job does, shows the
    // growth since the run before without being asked.
    options.historyGrowth = growth->count() != 0 || options.growthSince || fromHistory->count() != 0 ||
                            (history->count() != 0 && options.format == ReportFormat::Html);

    // Options that exclude each other, and those that need another.
    const std::vector<std::pair<const CLI::Option*, const CLI::Option*>> exclusive = {
        {exact, compact}, {growth, growthSinceOption}, {since, growth}, {since, growthSinceOption}};
    for (const auto& [one, other] : exclusive)
        if (one->count() != 0 && other->count() != 0)
            return fail(ReportTexts::Fill(texts.exclusive, {one->get_name(), other->get_name()}));
    for (const CLI::Option* needing : {growth, growthSinceOption})
        if (needing->count() != 0 && history->count() == 0 && fromHistory->count() == 0)
            return fail(ReportTexts::Fill(texts.needs, {needing->get_name(), "--history"}));
    if (options.excel && options.format != ReportFormat::Csv)
        return fail(ReportTexts::Fill(texts.needs, {"--excel", "--format csv"}));
    if (options.sortColumn == ReportOptions::GrowthColumn && options.stateFile.empty() && !options.historyGrowth)
        return fail(ReportTexts::Fill(texts.needs, {"--sort growth", "--since, --growth, --growth-since"}));

    // The history read and kept: --from-history reads no mailbox and writes nothing.
    for (const CLI::Option* other : {history, since})
        if (fromHistory->count() != 0 && other->count() != 0)
            return fail(ReportTexts::Fill(texts.exclusive, {"--from-history", other->get_name()}));
    if (fromHistory->count() != 0 && (options.check || options.tree))
        return fail(ReportTexts::Fill(texts.exclusive, {"--from-history", options.check ? "--check" : "--tree"}));
    if (fromHistory->count() != 0 && options.fromHistory.empty())
        return fail(ReportTexts::Fill(texts.emptyFile, {"--from-history"}));
    if (keepOption->count() != 0 && history->count() == 0)
        return fail(ReportTexts::Fill(texts.needs, {"--keep", "--history"}));
    if (options.migrateHistory && history->count() == 0)
        return fail(ReportTexts::Fill(texts.needs, {"--migrate-history", "--history"}));
    std::time_t minutesOrHours;
    if (keepOption->count() != 0 && (!RunTime::ParseRetention(keep, options.keepSeconds) || options.keepSeconds == 0))
        return fail(ReportTexts::Fill(RunTime::ParseSpan(keep, minutesOrHours) ? texts.keepTooShort : texts.badKeep,
                                      {keep}));

    options.compact = exact->count() == 0;
    options.showPaths = noPaths->count() == 0;
    options.newMailDir = noNewMail->count() == 0 && newMailOption->count() != 0 ? newMail : std::string();
    if (!OneTable(options)) return fail(ReportTexts::Fill(texts.oneTableOnly, {format}));

    // The administrator's routine.
    if (output->count() != 0 && options.outputFile.empty())
        return fail(ReportTexts::Fill(texts.emptyFile, {"--output"}));
    for (const auto& [given, option] : {std::make_pair(&options.mailboxLists, "--mailboxes-from"),
                                        std::make_pair(&options.mailboxRoots, "--all-under")})
        if (std::find(given->begin(), given->end(), std::string()) != given->end())
            return fail(ReportTexts::Fill(texts.emptyFile, {option}));
    options.monitor = monitor->count() != 0;
    for (Limit& limit : limits) {
        if (limit.option->count() == 0) continue;
        uint64_t bytes = 0;
        if (!ParseSize(limit.text, bytes)) return fail(ReportTexts::Fill(texts.badThreshold, {limit.name, limit.text}));
        if (!options.monitor) return fail(ReportTexts::Fill(texts.needs, {limit.name, "--monitor"}));
        *limit.bytes = bytes;
    }
    for (size_t warn = 0; warn < std::size(limits); warn += 2) {
        const Limit &low = limits[warn], &high = limits[warn + 1];
        if (*low.bytes && *high.bytes && **low.bytes > **high.bytes)
            return fail(ReportTexts::Fill(texts.warnAboveCrit, {low.name, low.text, high.name, high.text}));
    }
    // Growth is measured against the history, by its comparison rule.
    if (options.thresholds.AnyGrowth() && history->count() == 0 && fromHistory->count() == 0)
        return fail(ReportTexts::Fill(texts.needs, {options.thresholds.warnGrowth ? "--warn-growth" : "--crit-growth",
                                                     "--history"}));
    if (options.thresholds.AnyGrowth() && since->count() != 0)
        return fail(ReportTexts::Fill(texts.exclusive, {"--since", "--warn-growth, --crit-growth"}));
    // Against the run nearest to a day before, unless --growth-since says
    // otherwise: a check repeated within the day keeps its state, and one
    // whose time wanders by minutes still compares with the night before.
    if (options.thresholds.AnyGrowth()) {
        options.historyGrowth = true;
        if (!options.growthSince) {
            options.growthSince = true;
            options.growthMoment = RunTime::Clock() - 24 * 3600;
        }
    }
    size_t seconds = 0;
    if (timeoutOption->count() != 0 && (!ParseCount(timeout, seconds) || seconds > 86400))
        return fail(ReportTexts::Fill(texts.badTimeout, {timeout}));
    options.timeout = static_cast<unsigned>(seconds);
    // The status line takes the place of every listing.
    for (const char* listing : {"--format", "--tree", "--check", "--top", "--output", "--excel"})
        if (options.monitor && app.count(listing) != 0)
            return fail(ReportTexts::Fill(texts.exclusive, {"--monitor", listing}));
    const std::string asked =
        HistoryQuestions(options, texts, fromHistory->count() != 0, history->count() != 0, filter->count() != 0);
    if (!asked.empty()) return fail(asked);
    return Outcome::Run;
}

// The mistakes the library would report in its own words: an option it does
// not know, an option without its value, a value for a flag. --help and
// --version win over any of them, as the library has them.
bool CommandLine::Precheck(const CLI::App& app, const std::vector<std::string>& args, const ReportTexts& texts,
                           std::string& mistake) {
    for (size_t i = 0; i < args.size() && args[i] != "--"; ++i)
        if (args[i] == "--help" || args[i] == "-h" || args[i] == "--version") return true;
    const std::vector<const CLI::Option*> options = app.get_options();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") break;
        if (arg.size() < 2 || arg[0] != '-') continue;  // a mailbox, or "-"
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const CLI::Option* option = nullptr;
        // Looked up here: the library's own lookup would end the program if
        // memory ran out in it.
        for (const CLI::Option* candidate : options)
            for (const std::string& longName : candidate->get_lnames())
                if (name.size() == longName.size() + 2 && name.compare(0, 2, "--") == 0 &&
                    name.compare(2, std::string::npos, longName) == 0)
                    option = candidate;
        if (!option) {
            mistake = ReportTexts::Fill(texts.unknownOption, {name});
            return false;
        }
        if (option->get_expected_max() == 0) {
            if (equals == std::string::npos) continue;
            mistake = ReportTexts::Fill(texts.flagWithValue, {name});
            return false;
        }
        if (equals == std::string::npos && i + 1 == args.size()) {
            mistake = ReportTexts::Fill(texts.valueMissing, {name});
            return false;
        }
        if (equals == std::string::npos) ++i;  // the value, whatever it looks like
    }
    return true;
}
