#pragma once

#include <ostream>

struct ReportRun;

// Writes a run's results in one format, as UTF-8.
class ReportWriter {
public:
    virtual ~ReportWriter() = default;
    virtual void Write(const ReportRun& run, std::ostream& out) const = 0;
};
