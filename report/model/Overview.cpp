#include "report/model/Overview.h"

#include "report/model/MailboxReport.h"

#include <algorithm>

std::vector<size_t> Overview::Ranked(const std::vector<MailboxReport>& mailboxes) {
    std::vector<size_t> ranked;
    for (size_t i = 0; i < mailboxes.size(); ++i)
        if (mailboxes[i].readable) ranked.push_back(i);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [&](size_t a, size_t b) { return mailboxes[a].total > mailboxes[b].total; });
    return ranked;
}

size_t Overview::Largest(const MailboxReport& mailbox) {
    size_t largest = None;
    for (size_t r = 0; r < mailbox.rows.size(); ++r)
        if (largest == None || mailbox.rows[r].record.size > mailbox.rows[largest].record.size) largest = r;
    return largest;
}

std::vector<Overview::TopRow> Overview::Top(const std::vector<MailboxReport>& mailboxes, size_t n,
                                            uint64_t minSize) {
    std::vector<TopRow> rows;
    for (size_t m = 0; m < mailboxes.size(); ++m)
        for (size_t r = 0; r < mailboxes[m].rows.size(); ++r)
            if (mailboxes[m].rows[r].record.size >= minSize) rows.push_back({m, r});
    auto larger = [&](const TopRow& a, const TopRow& b) {
        uint64_t x = mailboxes[a.mailbox].rows[a.row].record.size, y = mailboxes[b.mailbox].rows[b.row].record.size;
        if (x != y) return x > y;
        return a.mailbox != b.mailbox ? a.mailbox < b.mailbox : a.row < b.row;
    };
    if (rows.size() > n) {
        std::nth_element(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(n), rows.end(), larger);
        rows.resize(n);
    }
    std::sort(rows.begin(), rows.end(), larger);
    return rows;
}

unsigned Overview::Permille(uint64_t part, uint64_t whole) {
    if (whole == 0) return 0;
    part = std::min(part, whole);
    // Both halved alike until part * 2000 fits; the ratio moves by less than
    // one part in 2^52, far below a tenth of a percent.
    while (whole > UINT64_MAX / 2000) {
        part >>= 1;
        whole >>= 1;
    }
    return static_cast<unsigned>((part * 2000 + whole) / (2 * whole));
}

double Overview::Fraction(uint64_t part, uint64_t whole) {
    return whole == 0 ? 0.0 : static_cast<double>(std::min(part, whole)) / static_cast<double>(whole);
}
