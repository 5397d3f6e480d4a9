#include "store/MailboxListing.h"

#include "platform/FileSystem.h"

#include <string_view>

namespace {

// Whether the name ends with extension, case ignored: what a pattern such as
// "*.PMM" matches, without a matcher's walk over the whole name.
bool HasExtension(const std::string& name, std::string_view extension) {
    return name.size() >= extension.size() &&
           FoldedEqual()(std::string_view(name).substr(name.size() - extension.size()), extension);
}

}  // namespace

MailboxListing::MailboxListing() = default;

MailboxListing::Kind MailboxListing::KindOf(const std::string& name) {
    if (HasExtension(name, ".pmm")) return PmmFile;
    if (HasExtension(name, ".mbx")) return MbxFile;
    if (HasExtension(name, ".pmg") || FoldedEqual()(name, HierarchyFile)) return LookedUp;
    return Other;
}

void MailboxListing::Clear() {
    pmm.clear();
    mbx.clear();
    others.clear();
    broken = false;
}

void MailboxListing::Add(Kind kind, const std::string& name, const FileStamp& stamp) {
    if (kind == PmmFile) pmm.push_back({name, stamp});
    if (kind == MbxFile) mbx.push_back({name, stamp});
    if (kind == LookedUp) others.push_back({name, stamp});
}

void MailboxListing::Index() {
    index.Build(others, [](const Entry& entry) { return std::string_view(entry.name); });
}

void MailboxListing::List(const Entries& entries, bool whole) {
    Clear();
    for (const Entry& entry : entries) Add(KindOf(entry.name), entry.name, entry.stamp);
    broken = !whole;
    Index();
}

void MailboxListing::List(const std::string& mailboxDir, Contents contents) {
    Clear();
    const std::string pattern = mailboxDir + "*";
    FileSystem::Listing listed;
    if (contents == WithStamps || (contents == WithLookUps && FileSystem::ListingCarriesStamps())) {
        // The filter sees each name just before the visitor does.
        Kind kind = Other;
        auto wanted = [&](const std::string& name) { return (kind = KindOf(name)) != Other; };
        listed = FileSystem::ForEachStamped(
            pattern, wanted, [&](const std::string& name, const FileStamp& stamp) { Add(kind, name, stamp); });
    } else {
        listed = FileSystem::ForEachMatchingName(
            pattern, [&](const std::string& name) { Add(KindOf(name), name, FileStamp()); });
    }
    broken = listed != FileSystem::Listing::Whole;
    Index();
}

const MailboxListing::Entry* MailboxListing::FindUnique(const std::string& name, bool* ambiguous) const {
    bool several = false;
    const size_t found = index.Find(name, [this](size_t i) { return std::string_view(others[i].name); }, &several);
    if (ambiguous) *ambiguous = several;
    return found == FoldedIndex::None || several ? nullptr : &others[found];
}

std::string MailboxListing::CompanionName(const std::string& mbxName) {
    return mbxName.substr(0, mbxName.rfind('.')) + ".PMG";
}
