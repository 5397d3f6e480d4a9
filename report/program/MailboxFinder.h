#pragma once

#include "report/model/MailboxPlace.h"

#include <cstddef>
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

struct ReportOptions;
class ReportTexts;

// The mailboxes a run reads: the MAILBOX arguments, each with '*' or '?' in
// its last part expanded to the directories it matches; the paths that the
// files of --mailboxes-from list; and the mailbox directories below each
// directory of --all-under. All in that order, each group in the order of
// its options, the matches of one pattern and the directories below one
// root in the order the system sorts names. Each mailbox's canonical path
// is worked out here, once, for the rest of the run.
class MailboxFinder {
public:
    // A mailbox's canonical path in the OS's text (Directory::Canonical).
    using Canonical = std::function<std::string(const std::string& path)>;

    MailboxFinder(const ReportTexts& texts, std::istream* input, std::ostream& err, Canonical canonical = nullptr);

    // Replaces options.mailboxes by every mailbox found, with its place in
    // options.places, and names where it looked in options.scopes. False,
    // after its message, for a pattern that matches nothing or lies in a
    // directory that cannot be listed, a list that cannot be read or names
    // nothing, and a directory of --all-under that cannot be listed or holds
    // no mailbox: the run then reads nothing. A directory below a root that
    // fails to list for an I/O error is named and kept as a place the run
    // misses (MailboxPlace::unlisted).
    bool Find(ReportOptions& options);

    enum class ListProblem { None, NotText, TooLong };
    // The paths of a list file: one a line, UTF-8 with or without a
    // byte-order mark, LF or CR LF; blank lines and lines beginning with '#'
    // are skipped. NotText for a zero byte or bytes that are not UTF-8 (a
    // binary file), TooLong for a line longer than a path can be; line then
    // says which (from 1).
    static ListProblem ParseList(const std::string& bytes, std::vector<std::string>& paths, size_t& line);

    // Whether an argument is a pattern: '*' or '?' in its last part.
    static bool IsPattern(const std::string& argument);

    // A list file larger than this is not a list of mailboxes.
    static constexpr size_t MaxListSize = 64u << 20;

private:
    struct Found {
        std::string path;
        int scope;
        bool unlisted;
    };
    int Scope(ReportOptions& options, const char* kind, const std::string& where, const std::string& rest = "");
    bool Expand(const std::string& pattern, int scope, std::vector<Found>& found);
    bool ReadList(const std::string& file, int scope, std::vector<Found>& found);
    bool ReadBytes(const std::string& file, std::string& bytes, std::string& reason);
    bool Walk(const std::string& root, MailboxScope& scope, int index, std::vector<Found>& found);
    bool Fail(const std::string& pattern, std::initializer_list<std::string> arguments);

    const ReportTexts& texts;
    std::istream* input;
    std::ostream& err;
    Canonical canonical;
};
