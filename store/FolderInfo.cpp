#include "store/FolderInfo.h"

#include "bignum/BigInt.h"

#include <utility>

void FolderInfo::Clear() {
    fileName.clear();
    folderPath.clear();
    folderName.clear();
    size = 0;
    hierarchyKey.clear();
    status = FolderStatus::Ok;
    ioError = false;
}

bool FolderInfo::IsEmpty() const {
    return fileName.empty() && folderPath.empty() && folderName.empty() && size == 0 && hierarchyKey.empty() &&
           status == FolderStatus::Ok && !ioError;
}

void FolderInfo::SetStatus(FolderStatus failure) {
    status = failure;
    folderName = FolderStatusText(failure);
}

void FolderInfo::SetFolderPath(std::string path) { folderPath = std::move(path); }

void FolderInfo::TakeReading(FolderInfo& reading) {
    fileName.swap(reading.fileName);
    folderName.swap(reading.folderName);
    hierarchyKey.swap(reading.hierarchyKey);
    size = reading.size;
    status = reading.status;
    ioError = reading.ioError;
}

std::string FolderInfo::SizeText(bool compact) const { return FormatSize(size, compact); }

std::string FolderInfo::FormatSize(uint64_t bytes, bool compact) {
    unsigned char le[sizeof bytes];
    for (size_t i = 0; i < sizeof bytes; ++i) le[i] = static_cast<unsigned char>(bytes >> (8 * i));
    BigInt value = BigInt::FromBytes(le, sizeof le, 1);  // read as unsigned
    return compact ? value.ToSizeText(',', true) : value.ToSizeText('.', false);
}
