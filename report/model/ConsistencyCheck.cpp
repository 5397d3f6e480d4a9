#include "report/model/ConsistencyCheck.h"

#include "platform/CaseFold.h"
#include "platform/FileSystem.h"
#include "report/model/FolderTree.h"
#include "store/FolderCompare.h"
#include "store/HierarchEntry.h"
#include "store/pmHierarch.h"

#include <algorithm>
#include <deque>
#include <map>
#include <string_view>
#include <unordered_set>

namespace {

using FoldedSet = std::unordered_set<std::string_view, FoldedHash, FoldedEqual>;

// The name without its last extension, as the companion's name is formed.
std::string_view Stem(const std::string& name) {
    size_t dot = name.rfind('.');
    return std::string_view(name).substr(0, dot == std::string::npos ? name.size() : dot);
}

bool HasExtension(const std::string& name, const char* extension) {
    return FileSystem::MatchesPattern(std::string("*") + extension, name);
}

class Checker {
public:
    Checker(const std::string& mailboxDir, const std::vector<ReportRow>& rows, const pmHierarch& table,
            bool hierarchyRead)
        : mailboxDir(mailboxDir), table(table), hierarchyRead(hierarchyRead) {
        folders.reserve(rows.size());
        for (const ReportRow& row : rows)
            if (row.kind != FolderKind::NewMail) folders.push_back(&row.record);
    }

    std::deque<Finding> Run() {
        FolderFiles();
        CompanionsWithoutMbx();
        if (!hierarchyRead) {
            Add(Finding::Kind::NoHierarchy, {}, {}, std::string());
        } else {
            KeysAndEntries();
            Loops();
            SamePaths();
        }
        // No two findings agree in all three, so the order needs no stable
        // sort, whose buffer would double a million findings.
        std::sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
            if (a.kind != b.kind) return a.kind < b.kind;
            if (a.files != b.files) return a.files < b.files;
            return a.keys < b.keys;
        });
        return std::move(findings);
    }

private:
    void Add(Finding::Kind kind, std::vector<std::string> files, std::vector<std::string> keys, std::string text,
             FolderStatus status = FolderStatus::Ok) {
        findings.push_back(Finding{kind, std::move(files), std::move(keys), std::move(text), status});
    }

    // A ".MBX" whose companion cannot be opened: missing, or there but unreadable.
    void FolderFiles() {
        FileSystem::ForEachMatchingName(mailboxDir + "*.PMG", [&](const std::string& name) { pmgNames.push_back(name); });
        for (const std::string& name : pmgNames) pmgStems.insert(Stem(name));
        for (const FolderInfo* record : folders) {
            if (HasExtension(record->fileName, ".MBX")) mbxStems.insert(Stem(record->fileName));
            switch (record->status) {
            case FolderStatus::Ok:
                break;
            case FolderStatus::PmgCannotOpen:
                if (pmgStems.count(Stem(record->fileName)) == 0) {
                    Add(Finding::Kind::MbxWithoutPmg, {record->fileName}, {}, std::string());
                    break;
                }
                [[fallthrough]];  // the companion is there but cannot be read
            default:
                Add(Finding::Kind::Unreadable, {record->fileName}, {}, std::string(), record->status);
                break;
            }
        }
    }

    void CompanionsWithoutMbx() {
        for (const std::string& name : pmgNames)
            if (mbxStems.count(Stem(name)) == 0) Add(Finding::Kind::PmgWithoutMbx, {name}, {}, std::string());
    }

    // Only folders that were read carry a key; a root needs no folder file.
    // The keys are looked up in a sorted list, a fifth of a hashed set's
    // size for a million folders.
    void KeysAndEntries() {
        std::vector<std::string_view> keys;
        for (const FolderInfo* record : folders) {
            if (record->status != FolderStatus::Ok) continue;
            keys.push_back(record->hierarchyKey);
            if (table.Find(record->hierarchyKey) < 0)
                Add(Finding::Kind::KeyNotInHierarchy, {record->fileName}, {record->hierarchyKey}, std::string());
        }
        auto folded = [](std::string_view a, std::string_view b) {
            return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                return static_cast<unsigned char>(FoldCase(x)) < static_cast<unsigned char>(FoldCase(y));
            });
        };
        std::sort(keys.begin(), keys.end(), folded);
        const auto& entries = table.GetEntries();
        for (size_t i = 0; i < entries.size(); ++i) {
            const HierarchEntry& entry = entries[i];
            if (entry.type == HierarchEntry::RootType) continue;
            if (!std::binary_search(keys.begin(), keys.end(), std::string_view(entry.key), folded))
                Add(Finding::Kind::EntryWithoutFile, {}, {entry.key}, entry.name);
            if (table.GetParents()[i] < 0)
                Add(Finding::Kind::ParentMissing, {}, {entry.key, entry.parentKey}, entry.name);
        }
    }

    void Loops() {
        for (const std::vector<int>& loop : FolderTree::FindLoops(table)) {
            std::vector<std::string> keys;
            for (int entry : loop) keys.push_back(table.GetEntries()[static_cast<size_t>(entry)].key);
            Add(Finding::Kind::HierarchyLoop, {}, std::move(keys), std::string());
        }
    }

    // The text the panel shows with folder paths on, byte for byte.
    std::string Shown(const FolderInfo& record) const {
        return table.GetPath(record.hierarchyKey) + record.folderName;
    }

    static uint64_t Hash(const std::string& text) {
        uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        return hash;
    }

    // Folders are grouped by a hash of their shown text first, so that a
    // million of them need no map of their texts; only folders whose hashes
    // meet are compared by text.
    void SamePaths() {
        std::vector<std::pair<uint64_t, const FolderInfo*>> hashed;
        for (const FolderInfo* record : folders)
            if (record->status == FolderStatus::Ok) hashed.emplace_back(Hash(Shown(*record)), record);
        std::sort(hashed.begin(), hashed.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (size_t start = 0, end = 0; start < hashed.size(); start = end) {
            while (end < hashed.size() && hashed[end].first == hashed[start].first) ++end;
            if (end - start < 2) continue;
            std::map<std::string, std::vector<std::string>> shown;
            for (size_t k = start; k < end; ++k) shown[Shown(*hashed[k].second)].push_back(hashed[k].second->fileName);
            for (auto& [path, files] : shown) {
                if (files.size() < 2) continue;
                std::sort(files.begin(), files.end());
                Add(Finding::Kind::SamePath, std::move(files), {}, path);
            }
        }
    }

    const std::string& mailboxDir;
    const pmHierarch& table;
    const bool hierarchyRead;
    std::vector<const FolderInfo*> folders;
    std::vector<std::string> pmgNames;
    FoldedSet pmgStems, mbxStems;
    std::deque<Finding> findings;
};

}  // namespace

std::deque<Finding> ConsistencyCheck::Run(const std::string& mailboxDir, const std::vector<ReportRow>& rows,
                                           const pmHierarch& table, bool hierarchyRead) {
    return Checker(mailboxDir, rows, table, hierarchyRead).Run();
}
