#pragma once

#include <ostream>

struct HistoryListing;
struct ReportRun;

// Writes a run's results in one format, as UTF-8.
class ReportWriter {
public:
    virtual ~ReportWriter() = default;
    virtual void Write(const ReportRun& run, std::ostream& out) const = 0;
    // --timeline or --changes, in the formats that have them (the command
    // line refuses the others).
    virtual void Write(const HistoryListing&, std::ostream&) const {}
};
