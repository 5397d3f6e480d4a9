#include "store/MailboxListing.h"

#include "platform/CaseFold.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace {

const char* const PmmPattern = "*.PMM";
const char* const MbxPattern = "*.MBX";
const char* const PmgPattern = "*.PMG";

bool FoldedLess(const MailboxListing::Entry& a, const MailboxListing::Entry& b) {
    return CompareFolded(a.name, b.name) < 0;
}

}  // namespace

void MailboxListing::List(const std::string& mailboxDir, bool withStamps) {
    pmm.clear();
    mbx.clear();
    others.clear();
    auto sort = [this](const std::string& name, const FileStamp& stamp) {
        if (FileSystem::MatchesPattern(PmmPattern, name))
            pmm.push_back({name, stamp});
        else if (FileSystem::MatchesPattern(MbxPattern, name))
            mbx.push_back({name, stamp});
        else
            others.push_back({name, stamp});
    };
    if (!withStamps) {
        // Only the folder files, without a look at each entry.
        FileSystem::ForEachMatchingName(mailboxDir + "*", [&](const std::string& name) {
            if (FileSystem::MatchesPattern(PmmPattern, name) || FileSystem::MatchesPattern(MbxPattern, name))
                sort(name, FileStamp());
        });
        return;
    }
    auto wanted = [](const std::string& name) {
        return FileSystem::MatchesPattern(PmmPattern, name) || FileSystem::MatchesPattern(MbxPattern, name) ||
               FileSystem::MatchesPattern(PmgPattern, name) || FileSystem::MatchesPattern(MailboxListing::HierarchyFile, name);
    };
    FileSystem::ForEachStamped(mailboxDir + "*", wanted, sort);
    std::stable_sort(others.begin(), others.end(), FoldedLess);
}

const MailboxListing::Entry* MailboxListing::FindUnique(const std::string& name) const {
    Entry probe{name, FileStamp()};
    auto range = std::equal_range(others.begin(), others.end(), probe, FoldedLess);
    return range.second - range.first == 1 ? &*range.first : nullptr;
}

std::string MailboxListing::CompanionName(const std::string& mbxName) {
    return mbxName.substr(0, mbxName.rfind('.')) + ".PMG";
}
