#include "store/MailboxListing.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <chrono>

namespace {

const char* const PmmPattern = "*.PMM";
const char* const MbxPattern = "*.MBX";
const char* const PmgPattern = "*.PMG";

}  // namespace

MailboxListing::MailboxListing()
    : hash{static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
           reinterpret_cast<uintptr_t>(this)} {}

MailboxListing::Kind MailboxListing::KindOf(const std::string& name) {
    if (FileSystem::MatchesPattern(PmmPattern, name)) return PmmFile;
    if (FileSystem::MatchesPattern(MbxPattern, name)) return MbxFile;
    if (FileSystem::MatchesPattern(PmgPattern, name) || FileSystem::MatchesPattern(HierarchyFile, name))
        return LookedUp;
    return Other;
}

void MailboxListing::List(const std::string& mailboxDir, Contents contents) {
    pmm.clear();
    mbx.clear();
    others.clear();
    index.clear();
    const std::string pattern = mailboxDir + "*";
    auto add = [this](Kind kind, const std::string& name, const FileStamp& stamp) {
        if (kind == PmmFile) pmm.push_back({name, stamp});
        if (kind == MbxFile) mbx.push_back({name, stamp});
        if (kind == LookedUp) others.push_back({name, stamp});
    };
    if (contents == WithStamps || (contents == WithLookUps && FileSystem::ListingCarriesStamps())) {
        // The filter sees each name just before the visitor does.
        Kind kind = Other;
        auto wanted = [&](const std::string& name) { return (kind = KindOf(name)) != Other; };
        FileSystem::ForEachStamped(pattern, wanted,
                                   [&](const std::string& name, const FileStamp& stamp) { add(kind, name, stamp); });
    } else {
        FileSystem::ForEachMatchingName(pattern, [&](const std::string& name) { add(KindOf(name), name, FileStamp()); });
    }
    index.reserve(others.size());
    for (size_t i = 0; i < others.size(); ++i) index.push_back({hash(others[i].name), i});
    std::sort(index.begin(), index.end());
}

// Names that fold alike hash alike; among the entries of the name's hash,
// those whose names fold alike are counted.
const MailboxListing::Entry* MailboxListing::FindUnique(const std::string& name, bool* ambiguous) const {
    const uint64_t key = hash(name);
    auto at = std::lower_bound(index.begin(), index.end(), std::make_pair(key, size_t(0)));
    const Entry* found = nullptr;
    if (ambiguous) *ambiguous = false;
    for (; at != index.end() && at->first == key; ++at) {
        if (!FoldedEqual()(others[at->second].name, name)) continue;
        if (found) {
            if (ambiguous) *ambiguous = true;
            return nullptr;
        }
        found = &others[at->second];
    }
    return found;
}

std::string MailboxListing::CompanionName(const std::string& mbxName) {
    return mbxName.substr(0, mbxName.rfind('.')) + ".PMG";
}
