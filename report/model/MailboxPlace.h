#pragma once

#include <string>

// Where a run looks for mailboxes beside the paths named as they stand: a
// pattern, a list file or an --all-under root, by a text that names it the
// same way from run to run. Not whole when a directory below a root could
// not be listed for an I/O error: mailboxes it did not yield may be there.
struct MailboxScope {
    std::string text;
    bool whole = true;
};

// One mailbox of a run, worked out once where it is found and handed on:
// its canonical path, its key, and the scope that found it.
struct MailboxPlace {
    std::string path;      // canonical, UTF-8: as the history shows it
    std::string stateKey;  // as the state file knows it: MailboxKey::TextOf, which keeps a name's bytes
    std::string key;       // as the history knows it (MailboxKey)
    std::string canonical;  // in the OS's own text, for comparing with other files; empty when it could not be made
    int scope = -1;    // index into the run's scopes; -1 for a path named as it stands
    // A directory below an --all-under root that failed to list for an I/O
    // error: not a mailbox, but a place whose mailboxes the run misses.
    bool unlisted = false;
};
