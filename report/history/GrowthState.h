#pragma once

#include "report/model/EarlierRun.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>

// What a run with --since saw, kept in a file of the user's choice for the
// next run: per mailbox the time, the total and each folder file's size.
// The file is JSON; texts in it are UTF-8, folder file names converted from
// code page 1252 without loss, so that they are found again byte for byte.
class GrowthState {
public:
    // A state file larger than this is not one of ours.
    static constexpr uint64_t MaxFileSize = 64u << 20;

    // Reads path. A missing file is an empty state; false, with the reason in
    // English, for a file that cannot be read or is not a state file.
    bool Load(const std::string& path, std::string& reason);

    // Writes every mailbox's state at once: the file holds either the old or
    // the new state, never a mix. Runs that overlap take turns on a lock file
    // beside it (path + ".lock"), and each reads the file again under the
    // lock: only the mailboxes it Put replace what is there, so that every
    // run's mailboxes are kept, and those of runs before.
    bool Save(const std::string& path) const;

    const EarlierRun* Find(const std::string& key) const;
    void Put(const std::string& key, EarlierRun mailbox) {
        put.insert(key);
        mailboxes[key] = std::move(mailbox);
    }

    // How long a run waits for another's turn on the file.
    static constexpr unsigned LockWaitMilliseconds = 15000;

    // The current time as EarlierRun::written has it.
    static std::string Now();

private:
    bool Write(const std::string& path) const;

    std::map<std::string, EarlierRun> mailboxes;
    std::set<std::string> put;
};
