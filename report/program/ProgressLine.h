#pragma once

#include <cstddef>
#include <mutex>
#include <ostream>
#include <string>

class ReportTexts;

// "12 of 200 mailboxes read", redrawn in place on standard error while the
// mailboxes are scanned, and wiped at the end; only where that stream is a
// terminal, so that logs and pipes stay clean. Safe from several threads.
class ProgressLine {
public:
    ProgressLine(bool shown, size_t total, const ReportTexts& texts, std::ostream& err);
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Done();   // one more mailbox is read
    void Clear();  // removes the line

private:
    void Draw(const std::string& text);

    const bool shown;
    const size_t total;
    const ReportTexts& texts;
    std::ostream& err;
    std::mutex lock;
    size_t done = 0;
    size_t drawn = 0;  // characters on the line now
};
