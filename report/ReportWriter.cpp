#include "report/ReportWriter.h"

#include "report/DelimitedWriter.h"
#include "report/HtmlWriter.h"
#include "report/JsonWriter.h"
#include "report/TableWriter.h"

std::unique_ptr<ReportWriter> ReportWriter::For(const ReportOptions& options) {
    switch (options.format) {
    case ReportFormat::Table:
        return std::make_unique<TableWriter>();
    case ReportFormat::Tsv:
        return std::make_unique<DelimitedWriter>(DelimitedWriter::Style::Tsv);
    case ReportFormat::Csv:
        return std::make_unique<DelimitedWriter>(options.excel ? DelimitedWriter::Style::Excel
                                                               : DelimitedWriter::Style::Csv);
    case ReportFormat::Json:
        return std::make_unique<JsonWriter>();
    case ReportFormat::Html:
        return std::make_unique<HtmlWriter>();
    }
    return std::make_unique<TableWriter>();
}
