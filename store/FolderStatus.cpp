#include "store/FolderStatus.h"

const char* FolderStatusText(FolderStatus status) {
    switch (status) {
    case FolderStatus::Ok:
        return "";
    case FolderStatus::CannotOpen:
        return "<Datei konnte nicht zum Lesen ge\xF6" "ffnet werden.>";
    case FolderStatus::NotValid:
        return "<Datei ist keine g\xFC" "ltige PMM-Datei.>";
    case FolderStatus::MbxCannotOpen:
        return "<MBX-Datei konnte nicht zum Lesen ge\xF6" "ffnet werden.>";
    case FolderStatus::PmgCannotOpen:
        return "<PMG-Datei konnte nicht zum Lesen ge\xF6" "ffnet werden.>";
    case FolderStatus::PmgNotValid:
        return "<Ordner hat keine g\xFC" "ltige PMG-Datei.>";
    }
    return "";
}
