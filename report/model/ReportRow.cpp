#include "report/model/ReportRow.h"

#include "report/text/Utf8.h"

std::string ShownName(const ReportRow& row) {
    std::string name;
    AssignShownName(name, row);
    return name;
}

void AssignShownName(std::string& out, const ReportRow& row) {
    out.clear();
    AppendUtf8FromCp1252(out, row.record.folderPath);
    AppendUtf8FromCp1252(out, row.record.folderName);
}

const char* FolderKindName(FolderKind kind) {
    switch (kind) {
    case FolderKind::NewMail:
        return "newmail";
    case FolderKind::Pmm:
        return "pmm";
    case FolderKind::Mbx:
        return "mbx";
    }
    return "";
}

const char* FolderStatusName(FolderStatus status) {
    switch (status) {
    case FolderStatus::Ok:
        return "ok";
    case FolderStatus::CannotOpen:
        return "cannot-open";
    case FolderStatus::NotValid:
        return "not-valid";
    case FolderStatus::MbxCannotOpen:
        return "mbx-cannot-open";
    case FolderStatus::PmgCannotOpen:
        return "pmg-cannot-open";
    case FolderStatus::PmgNotValid:
        return "pmg-not-valid";
    }
    return "";
}
