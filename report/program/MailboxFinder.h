#pragma once

#include <cstddef>
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
// root in the order the system sorts names.
class MailboxFinder {
public:
    MailboxFinder(const ReportTexts& texts, std::istream* input, std::ostream& err);

    // Replaces options.mailboxes by every mailbox found. False, after its
    // message, for a pattern that matches nothing or lies in a directory
    // that cannot be listed, a list that cannot be read or names nothing,
    // and a directory of --all-under that cannot be listed or holds no
    // mailbox: the run then reads nothing.
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
    bool Expand(const std::string& pattern, std::vector<std::string>& found);
    bool ReadList(const std::string& file, std::vector<std::string>& found);
    bool ReadBytes(const std::string& file, std::string& bytes, std::string& reason);
    bool Walk(const std::string& root, std::vector<std::string>& found);
    bool Fail(const std::string& pattern, std::initializer_list<std::string> arguments);

    const ReportTexts& texts;
    std::istream* input;
    std::ostream& err;
};
