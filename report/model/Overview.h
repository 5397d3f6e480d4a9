#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class MailboxReport;

// What an administrator asks first: which mailbox is largest, which folders
// of all are largest, and how much of a whole each part is.
class Overview {
public:
    struct TopRow {
        size_t mailbox;  // index in the order given
        size_t row;      // index in that mailbox's rows
    };

    static constexpr size_t None = static_cast<size_t>(-1);

    // The readable mailboxes, largest total first; ties keep the order given.
    // By growth (--sort growth), those compared with an earlier run by the
    // change of their total in the direction asked, then the others by total.
    // Those gone come last, in the order given.
    static std::vector<size_t> Ranked(const std::vector<MailboxReport>& mailboxes, bool byGrowth = false,
                                      bool descending = true);

    // The mailbox's largest row, the first in its listing of those as large;
    // None when it has no rows.
    static size_t Largest(const MailboxReport& mailbox);

    // The n largest rows of at least minSize bytes of all counted mailboxes,
    // largest first; ties in the order the mailboxes were given, then in the
    // order of their listings.
    static std::vector<TopRow> Top(const std::vector<MailboxReport>& mailboxes, size_t n, uint64_t minSize);
    // The same by growth: the n rows that grew most (descending) or shrank
    // most, of the mailboxes compared with an earlier run.
    static std::vector<TopRow> TopGrowth(const std::vector<MailboxReport>& mailboxes, size_t n, uint64_t minSize,
                                         bool descending);

    // The change from before to now in tenths of a percent of before, halves
    // rounded away from zero; false when before is 0, where it has none.
    static bool ChangePermille(uint64_t before, uint64_t now, int64_t& permille);

    // part of whole in tenths of a percent, halves rounded up; 0 when whole
    // is 0. part is at most whole.
    static unsigned Permille(uint64_t part, uint64_t whole);

    // part of whole as a fraction from 0 to 1; 0 when whole is 0.
    static double Fraction(uint64_t part, uint64_t whole);
};
