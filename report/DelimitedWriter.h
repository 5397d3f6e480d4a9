#pragma once

#include "report/ReportWriter.h"

#include <string>
#include <vector>

// One table for scripts and spreadsheets: the rows of every mailbox, or with
// --tree the tree's nodes, or with --check the findings, each line naming
// its mailbox. The first line names the columns. Numbers are exact byte
// counts; texts are as the mail store has them, converted to UTF-8.
//
// CSV quotes a field holding a comma, a quote or a line break (quotes
// doubled) and ends lines with CR LF, so every text comes back exactly. TSV
// has no quoting: a tab or line break inside a field shows as U+FFFD (folder
// paths are full of backslashes, so no escape character serves).
class DelimitedWriter : public ReportWriter {
public:
    enum class Style { Csv, Tsv };

    explicit DelimitedWriter(Style style) : style(style) {}
    void Write(const ReportRun& run, std::ostream& out) const override;

    // One field as this style writes it.
    std::string Field(const std::string& text) const;

private:
    void Line(std::ostream& out, const std::vector<std::string>& fields) const;
    void Rows(const ReportRun& run, std::ostream& out) const;
    void Tree(const ReportRun& run, std::ostream& out) const;
    void Findings(const ReportRun& run, std::ostream& out) const;

    Style style;
};
