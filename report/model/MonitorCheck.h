#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct ReportRun;

// The states of a monitoring check, numbered as its exit codes.
enum class MonitorState { Ok = 0, Warning = 1, Critical = 2, Unknown = 3 };

// Every mailbox of a run measured against the thresholds of --monitor.
class MonitorCheck {
public:
    // One mailbox: its state (Unknown when it could not be read), that of
    // its total and that of its worst folder, and which folders those are.
    struct Mailbox {
        MonitorState state = MonitorState::Ok;
        MonitorState totalState = MonitorState::Ok;
        MonitorState folderState = MonitorState::Ok;
        MonitorState growthState = MonitorState::Ok;  // Ok also without an earlier run to compare with
        size_t largestOver = None;  // the row of the largest folder over a folder threshold
        size_t foldersOver = 0;     // folders over the threshold of folderState
    };
    static constexpr size_t None = static_cast<size_t>(-1);

    // runFailed: the state file or the history could not be read or written.
    MonitorCheck(const ReportRun& run, bool runFailed);

    // Unknown when a mailbox could not be read or the run failed; else the
    // worst mailbox's state.
    MonitorState State() const { return state; }
    const std::vector<Mailbox>& Mailboxes() const { return mailboxes; }
    // The readable mailboxes over a threshold, worst first: critical before
    // warning, then by total, largest first, then in the order given.
    const std::vector<size_t>& Over() const { return over; }
    // The mailboxes that could not be read, or not whole, in the order given.
    const std::vector<size_t>& Unreadable() const { return unreadable; }

    // A value's state: Critical above crit, else Warning above warn.
    static MonitorState Level(uint64_t value, const std::optional<uint64_t>& warn, const std::optional<uint64_t>& crit);

private:
    MonitorState state = MonitorState::Ok;
    std::vector<Mailbox> mailboxes;
    std::vector<size_t> over;
    std::vector<size_t> unreadable;
};
