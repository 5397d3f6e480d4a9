#include "report/Finding.h"

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
