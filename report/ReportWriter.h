#pragma once

#include "report/ReportOptions.h"

#include <memory>
#include <ostream>

struct ReportRun;

// Writes a run's results in one format, as UTF-8.
class ReportWriter {
public:
    virtual ~ReportWriter() = default;
    virtual void Write(const ReportRun& run, std::ostream& out) const = 0;

    static std::unique_ptr<ReportWriter> For(const ReportOptions& options);
};
