// The history in a build without SQLite (the Windows program): every use
// fails as unavailable.
#include "report/HistoryStore.h"

HistoryStore::~HistoryStore() = default;

bool HistoryStore::Available() { return false; }

bool HistoryStore::Fail(Problem kind) {
    problem = kind;
    return false;
}

bool HistoryStore::Open(const std::string&) { return Fail(Problem::Unavailable); }

bool HistoryStore::Find(const std::string&, const std::string&, GrowthState::Mailbox&) {
    return Fail(Problem::Unavailable);
}

bool HistoryStore::Append(const std::string&, const std::vector<const MailboxReport*>&,
                          const std::vector<std::string>&) {
    return Fail(Problem::Unavailable);
}

bool HistoryStore::Identify(bool&) { return Fail(Problem::Unavailable); }

bool HistoryStore::Create() { return Fail(Problem::Unavailable); }

void HistoryStore::UseWal() {}
