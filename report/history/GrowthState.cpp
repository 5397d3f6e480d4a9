#include "report/history/GrowthState.h"

#include "platform/AtomicFile.h"
#include "platform/FileLock.h"
#include "platform/ReadOnlyFile.h"
#include "report/text/RunTime.h"

#include <nlohmann/json.hpp>


namespace {

const char* const Tag = "foldscan-report-state";
const int Version = 1;

bool ReadAll(ReadOnlyFile& file, std::string& bytes) {
    bytes.resize(static_cast<size_t>(file.Length()));
    size_t done = file.ReadHead(&bytes[0], bytes.size());
    bytes.resize(done);
    return done == file.Length();
}

bool Exists(const std::string& path) {
    return AtomicFile::Probe(path) != AtomicFile::State::Missing;
}

}  // namespace

bool GrowthState::Load(const std::string& path, std::string& reason) {
    mailboxes.clear();
    ReadOnlyFile file;
    if (!file.Open(path)) {
        if (!Exists(path)) return true;  // the first run
        reason = "cannot be opened";
        return false;
    }
    if (file.Length() > MaxFileSize) {
        reason = "too large";
        return false;
    }
    std::string bytes;
    if (!ReadAll(file, bytes)) {
        reason = "read error";
        return false;
    }
    try {
        nlohmann::json state = nlohmann::json::parse(bytes);
        if (!state.is_object() || state.value(Tag, 0) != Version) {
            reason = "not a foldscan-report state file";
            return false;
        }
        for (const auto& [key, value] : state.at("mailboxes").items()) {
            EarlierRun mailbox;
            mailbox.written = value.at("written").get<std::string>();
            mailbox.total = value.at("total").get<uint64_t>();
            for (const auto& [name, size] : value.at("folders").items())
                mailbox.folders[name].size = size.get<uint64_t>();
            mailboxes[key] = std::move(mailbox);
        }
    } catch (const nlohmann::json::exception& e) {
        mailboxes.clear();
        reason = e.what();
        return false;
    }
    return true;
}

bool GrowthState::Save(const std::string& path) const {
    FileLock lock;
    if (!lock.Take(path + ".lock", LockWaitMilliseconds)) return false;
    GrowthState current;
    std::string reason;
    if (!current.Load(path, reason)) return false;  // not ours any more: left as it is
    for (const std::string& key : put) current.mailboxes[key] = mailboxes.at(key);
    return current.Write(path);
}

bool GrowthState::Write(const std::string& path) const {
    nlohmann::ordered_json state;
    state[Tag] = Version;
    nlohmann::ordered_json& all = state["mailboxes"] = nlohmann::ordered_json::object();
    for (const auto& [key, mailbox] : mailboxes) {
        nlohmann::ordered_json& entry = all[key];
        entry["written"] = mailbox.written;
        entry["total"] = mailbox.total;
        nlohmann::ordered_json& folders = entry["folders"] = nlohmann::ordered_json::object();
        for (const auto& [name, folder] : mailbox.folders) folders[name] = folder.size;
    }
    std::string bytes = state.dump(1, '\t', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    return AtomicFile::Replace(path, bytes);
}

const EarlierRun* GrowthState::Find(const std::string& key) const {
    auto it = mailboxes.find(key);
    return it == mailboxes.end() ? nullptr : &it->second;
}

std::string GrowthState::Now() { return RunTime::Now(); }
