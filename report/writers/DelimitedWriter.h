#pragma once

#include "report/writers/ReportWriter.h"

class MailboxReport;
struct ReportRow;

#include <string>
#include <vector>

// One table for scripts and spreadsheets: the rows of every mailbox, or with
// --tree the tree's nodes, or with --check the findings, or with --top the
// largest folders of all, each line naming its mailbox. The first line names
// the columns. With more than one mailbox the overview comes first, a table
// of its own followed by an empty line. CSV begins with heading lines of
// one field, when it was made and any note on the history, and an empty
// line. Numbers are exact byte counts,
// shares percentages with the language's decimal mark; texts are as the mail
// store has them, converted to UTF-8.
//
// CSV quotes a field holding a comma, a quote or a line break (quotes
// doubled) and ends lines with CR LF, so every text comes back exactly.
// Excel's CSV is for spreadsheets in the user's language: semicolons, a
// byte-order mark so that UTF-8 is taken as such, and a text that a
// spreadsheet would run as a formula (beginning with =, +, -, @, a tab or a
// carriage return) behind an apostrophe. TSV
// is read by people too and has no quoting: control characters, tabs and
// line breaks in a field show as U+FFFD (folder paths are full of
// backslashes, so no escape character serves).
class DelimitedWriter : public ReportWriter {
public:
    enum class Style { Csv, Excel, Tsv };

    explicit DelimitedWriter(Style style) : style(style) {}
    void Write(const ReportRun& run, std::ostream& out) const override;
    // --timeline: mailbox, recorded_at, count, total; --changes: recorded_at,
    // mailbox, change, file_name, folder_path, folder_name, size, size_before,
    // from, to. Times in UTC.
    void Write(const HistoryListing& listing, std::ostream& out) const override;

    // Whether a spreadsheet would take the text for a formula.
    static bool RunsAsFormula(const std::string& text);

private:
    // One field as this style writes it, appended to line.
    void AppendField(std::string& line, const std::string& text) const;
    // A line is made field by field in line, then written.
    void Add(const std::string& utf8) const;
    // Texts as the mail store has them, joined into one field.
    void AddStoreText(const std::string& cp1252, const std::string& more = std::string()) const;
    // A folder file's name as the listing gave it.
    void AddFileName(const std::string& name) const;
    void EndLine(std::ostream& out) const;
    void Line(std::ostream& out, const std::vector<std::string>& fields) const;
    const char* LineEnd() const;
    void Heading(const ReportRun& run, std::ostream& out) const;
    void Overview(const ReportRun& run, std::ostream& out) const;
    void Rows(const ReportRun& run, std::ostream& out) const;
    void Top(const ReportRun& run, std::ostream& out) const;
    // Adds a row's columns to the line; path is the mailbox's, as PathText gives it.
    void AddRow(const ReportRun& run, const std::string& path, const MailboxReport& mailbox, const ReportRow& row) const;
    static const std::vector<std::string>& RowHead();
    void Tree(const ReportRun& run, std::ostream& out) const;
    void Findings(const ReportRun& run, std::ostream& out) const;

    Style style;
    mutable std::string line;  // every line is made in this one, so that it costs no memory of its own
    mutable size_t fieldsInLine = 0;
};
