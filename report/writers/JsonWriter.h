#pragma once

#include "report/writers/ReportWriter.h"

// One JSON document: per mailbox its rows with exact sizes, hierarchy keys,
// states and kinds beside the texts, its count, total and summary line, and
// where asked for its tree (a flat list of nodes with parent links), its
// findings and its growth; then the total.
class JsonWriter : public ReportWriter {
public:
    void Write(const ReportRun& run, std::ostream& out) const override;
    void Write(const HistoryListing& listing, std::ostream& out) const override;
};
