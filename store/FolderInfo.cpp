#include "store/FolderInfo.h"

void FolderInfo::Clear() {
    fileName.clear();
    folderPath.clear();
    folderName.clear();
    size = 0;
}

bool FolderInfo::IsEmpty() const {
    return fileName.empty() && folderPath.empty() && folderName.empty() && size == 0;
}

void FolderInfo::SetFolderPath(const std::string& path) { folderPath = path; }
