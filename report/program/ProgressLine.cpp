#include "report/program/ProgressLine.h"

#include "report/text/ReportTexts.h"
#include "report/text/Utf8.h"

ProgressLine::ProgressLine(bool shown, size_t total, const ReportTexts& texts, std::ostream& err)
    : shown(shown), total(total), texts(texts), err(err) {}

void ProgressLine::Done() {
    if (!shown) return;
    std::lock_guard<std::mutex> hold(lock);
    ++done;
    Draw(ReportTexts::Fill(texts.progress, {std::to_string(done), std::to_string(total)}));
}

void ProgressLine::Clear() {
    if (!shown) return;
    std::lock_guard<std::mutex> hold(lock);
    if (drawn == 0) return;
    err << '\r' << std::string(drawn, ' ') << '\r' << std::flush;
    drawn = 0;
}

void ProgressLine::Draw(const std::string& text) {
    size_t length = Utf8Length(text);
    std::string pad(drawn > length ? drawn - length : 0, ' ');
    err << '\r' << text << pad << std::flush;
    drawn = length;
}
