#include "report/model/Finding.h"

#include "report/text/ReportTexts.h"
#include "report/text/Utf8.h"

const char* FindingKindName(Finding::Kind kind) {
    switch (kind) {
    case Finding::Kind::NoHierarchy:
        return "no-hierarchy";
    case Finding::Kind::KeyNotInHierarchy:
        return "key-not-in-hierarchy";
    case Finding::Kind::EntryWithoutFile:
        return "entry-without-file";
    case Finding::Kind::ParentMissing:
        return "parent-missing";
    case Finding::Kind::Unreadable:
        return "unreadable";
    case Finding::Kind::MbxWithoutPmg:
        return "mbx-without-pmg";
    case Finding::Kind::PmgWithoutMbx:
        return "pmg-without-mbx";
    case Finding::Kind::HierarchyLoop:
        return "hierarchy-loop";
    case Finding::Kind::SamePath:
        return "same-path";
    }
    return "";
}

std::string Finding::Describe(const ReportTexts& texts) const {
    std::string file = files.empty() ? std::string() : Utf8FromCp1252(files.front());
    std::string key = keys.empty() ? std::string() : Utf8FromCp1252(keys.front());
    std::string name = Utf8FromCp1252(text);
    switch (kind) {
    case Finding::Kind::NoHierarchy:
        return texts.noHierarchy;
    case Finding::Kind::KeyNotInHierarchy:
        return ReportTexts::Fill(texts.keyNotInHierarchy, {file, key});
    case Finding::Kind::EntryWithoutFile:
        return ReportTexts::Fill(texts.entryWithoutFile, {name, key});
    case Finding::Kind::ParentMissing:
        return ReportTexts::Fill(texts.parentMissing, {name, key, keys.size() > 1 ? Utf8FromCp1252(keys[1]) : ""});
    case Finding::Kind::Unreadable:
        return ReportTexts::Fill(texts.unreadable, {file, Utf8FromCp1252(texts.StatusText(status))});
    case Finding::Kind::MbxWithoutPmg:
        return ReportTexts::Fill(texts.mbxWithoutPmg, {file});
    case Finding::Kind::PmgWithoutMbx:
        return ReportTexts::Fill(texts.pmgWithoutMbx, {file});
    case Finding::Kind::HierarchyLoop:
        return ReportTexts::Fill(texts.hierarchyLoop, {Utf8Joined(keys, " \u2192 ") + " \u2192 " + key});
    case Finding::Kind::SamePath:
        return ReportTexts::Fill(texts.samePath, {name, Utf8Joined(files, ", ")});
    }
    return std::string();
}
