#include "report/model/Overview.h"

#include "report/model/MailboxReport.h"

#include <algorithm>

std::vector<size_t> Overview::Ranked(const std::vector<MailboxReport>& mailboxes, bool byGrowth, bool descending) {
    std::vector<size_t> ranked, gone;
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        if (mailboxes[i].Counted())
            ranked.push_back(i);
        else if (mailboxes[i].readable)
            gone.push_back(i);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [&](size_t a, size_t b) { return mailboxes[a].total > mailboxes[b].total; });
    if (byGrowth)
        std::stable_sort(ranked.begin(), ranked.end(), [&](size_t a, size_t b) {
            const MailboxReport &x = mailboxes[a], &y = mailboxes[b];
            if (x.hasEarlierState != y.hasEarlierState) return x.hasEarlierState;
            if (!x.hasEarlierState) return false;
            return descending ? x.TotalChange() > y.TotalChange() : x.TotalChange() < y.TotalChange();
        });
    ranked.insert(ranked.end(), gone.begin(), gone.end());
    return ranked;
}

size_t Overview::Largest(const MailboxReport& mailbox) {
    size_t largest = None;
    for (size_t r = 0; r < mailbox.rows.size(); ++r)
        if (largest == None || mailbox.rows[r].record.size > mailbox.rows[largest].record.size) largest = r;
    return largest;
}

namespace {

// The n first rows by before, which orders rows by a value and breaks ties
// by the order of the mailboxes, then of their listings.
template <typename Value>
std::vector<Overview::TopRow> First(std::vector<Overview::TopRow> rows, size_t n, Value value, bool descending) {
    auto before = [&](const Overview::TopRow& a, const Overview::TopRow& b) {
        auto x = value(a), y = value(b);
        if (x != y) return descending ? x > y : x < y;
        return a.mailbox != b.mailbox ? a.mailbox < b.mailbox : a.row < b.row;
    };
    if (rows.size() > n) {
        std::nth_element(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(n), rows.end(), before);
        rows.resize(n);
    }
    std::sort(rows.begin(), rows.end(), before);
    return rows;
}

}  // namespace

std::vector<Overview::TopRow> Overview::Top(const std::vector<MailboxReport>& mailboxes, size_t n,
                                            uint64_t minSize) {
    std::vector<TopRow> rows;
    for (size_t m = 0; m < mailboxes.size(); ++m)
        if (mailboxes[m].Counted())
            for (size_t r = 0; r < mailboxes[m].rows.size(); ++r)
                if (mailboxes[m].rows[r].record.size >= minSize) rows.push_back({m, r});
    return First(std::move(rows), n, [&](const TopRow& t) { return mailboxes[t.mailbox].rows[t.row].record.size; },
                 true);
}

std::vector<Overview::TopRow> Overview::TopGrowth(const std::vector<MailboxReport>& mailboxes, size_t n,
                                                  uint64_t minSize, bool descending) {
    std::vector<TopRow> rows;
    for (size_t m = 0; m < mailboxes.size(); ++m)
        if (mailboxes[m].hasEarlierState && mailboxes[m].Counted())
            for (size_t r = 0; r < mailboxes[m].rows.size(); ++r)
                if (mailboxes[m].rows[r].record.size >= minSize) rows.push_back({m, r});
    return First(std::move(rows), n,
                 [&](const TopRow& t) { return MailboxReport::Change(mailboxes[t.mailbox].rows[t.row]); },
                 descending);
}

bool Overview::ChangePermille(uint64_t before, uint64_t now, int64_t& permille) {
    if (before == 0) return false;
    const uint64_t magnitude = now >= before ? now - before : before - now;
    // Tenths of a percent in long double, which holds every 64-bit count
    // closely enough; a change beyond a trillion percent says as much.
    long double tenths = static_cast<long double>(magnitude) * 1000 / static_cast<long double>(before) + 0.5L;
    const int64_t rounded = tenths >= 1e15L ? INT64_C(1000000000000000) : static_cast<int64_t>(tenths);
    permille = now < before ? -rounded : rounded;
    return true;
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
