#include "store/pmm.h"

#include "platform/ReadOnlyFile.h"
#include "store/HeaderText.h"
#include "store/SplitPath.h"
#include "ui/Trace.h"

namespace {

constexpr size_t NameOffset = 0;
constexpr size_t NameEnd = 63;  // this byte always ends the name
constexpr size_t KeyOffset = 86;
constexpr size_t KeyEnd = 127;  // this byte always ends the key

}  // namespace

void pmm::Clear() {
    FolderInfo::Clear();
    filePath.clear();
    stamp = FileStamp();
}

bool pmm::IsEmpty() const { return FolderInfo::IsEmpty() && filePath.empty(); }

void pmm::SetFile(const std::string& path, const DirectoryHandle* within) {
    SplitPath split(path);
    Clear();
    directory = within;
    filePath = split.FullPath();
    fileName = split.Name() + split.Extension();
}

bool pmm::Analyze() {
    size = 0;
    hierarchyKey.clear();
    status = FolderStatus::Ok;
    ioError = false;
    stamp = FileStamp();

    ReadOnlyFile file;
    if (!file.Open(filePath, directory)) {
        TraceInto(held, "[pmm.Analyze] WARNUNG: Kann Datei \"%s\" nicht zum Lesen \xF6" "ffnen\n", filePath.c_str());
        SetStatus(FolderStatus::CannotOpen);
        // A path longer than the OS takes was never formed: the file is
        // there, its size unknown.
        ioError = file.IoError() || filePath.empty();
        return false;
    }
    stamp = file.Stamp();
    unsigned char header[HeaderSize] = {};
    if (file.ReadHead(header, sizeof header) < sizeof header) {
        TraceInto(held, "[pmm.Analyze] WARNUNG: Datei \"%s\" ist keine g\xFC" "ltige PMM-Datei\n", filePath.c_str());
        SetStatus(FolderStatus::NotValid);
        ioError = file.IoError();
        return false;
    }
    size = file.Length();
    ioError = file.IoError();
    folderName = HeaderText(header, NameOffset, NameEnd);
    hierarchyKey = HeaderText(header, KeyOffset, KeyEnd);
    return true;
}
