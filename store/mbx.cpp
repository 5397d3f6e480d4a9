#include "store/mbx.h"

#include "platform/FileSystem.h"
#include "platform/ReadOnlyFile.h"
#include "store/FileNameIndex.h"
#include "store/HeaderText.h"
#include "store/SplitPath.h"
#include "ui/Trace.h"

#include <algorithm>

namespace {

constexpr size_t NameOffset = 0;
constexpr size_t NameEnd = 57;  // this byte always ends the name
constexpr size_t KeyOffset = 58;
constexpr size_t KeyEnd = 89;  // this byte always ends the key

const char* const CompanionExtension = ".PMG";

void TraceCannotOpen(std::vector<std::string>* held, const std::string& path) {
    TraceInto(held, "[mbx.Analyze] WARNUNG: Kann Datei \"%s\" nicht zum Lesen \xF6" "ffnen\n", path.c_str());
}

}  // namespace

void mbx::Clear() {
    FolderInfo::Clear();
    filePath.clear();
    listing = Listing::NotTaken;
    ForgetStamps();
}

bool mbx::IsEmpty() const { return FolderInfo::IsEmpty() && filePath.empty(); }

// The companion is the same path with ".PMG" in place of the extension.
void mbx::SetFile(const std::string& path, const DirectoryHandle* within) {
    SplitPath split(path);
    Clear();
    directory = within;
    filePath = split.FullPath();
    fileName = split.Name() + split.Extension();
    split.SetExtension(CompanionExtension);
    companionPath = split.FullPath();
}

bool mbx::Analyze() {
    size = 0;
    hierarchyKey.clear();
    status = FolderStatus::Ok;
    ioError = false;
    ForgetStamps();

    // A path longer than the OS takes was never formed: the file is there,
    // its size unknown.
    if (!ReadOnlyFile::Inspect(filePath, size, stamp, directory, &ioError)) {
        TraceCannotOpen(held, filePath);
        SetStatus(FolderStatus::MbxCannotOpen);
        ioError = ioError || filePath.empty();
        return false;
    }

    ReadOnlyFile file;
    std::string pmgPath;
    if (!OpenCompanion(file, pmgPath)) {
        TraceCannotOpen(held, pmgPath);
        SetStatus(FolderStatus::PmgCannotOpen);
        ioError = ioError || file.IoError() || pmgPath.empty();
        return false;
    }
    companionStamp = file.Stamp();
    // The name opened is the path's last part; no need to split it again.
    auto nameStart = std::find_if(pmgPath.rbegin(), pmgPath.rend(), FileSystem::IsSeparator).base();
    companionName.assign(nameStart, pmgPath.end());
    unsigned char head[HeadSize] = {};
    if (file.ReadHead(head, sizeof head) < sizeof head) {
        TraceInto(held, "[mbx.Analyze] WARNUNG: Datei \"%s\" ist keine g\xFC" "ltige PMG-Datei\n", pmgPath.c_str());
        SetStatus(FolderStatus::PmgNotValid);
        ioError = ioError || file.IoError();
        return false;
    }
    folderName = HeaderText(head, NameOffset, NameEnd);
    hierarchyKey = HeaderText(head, KeyOffset, KeyEnd);
    return true;
}

void mbx::ForgetStamps() {
    stamp = FileStamp();
    companionName.clear();
    companionStamp = FileStamp();
}

void mbx::SetListedCompanion(const std::string* name) {
    listing = name ? Listing::Names : Listing::NamesNone;
    if (!name) return;
    auto nameStart = std::find_if(companionPath.rbegin(), companionPath.rend(), FileSystem::IsSeparator).base();
    if (!std::equal(nameStart, companionPath.end(), name->begin(), name->end()))  // nearly always the name formed
        companionPath.replace(nameStart, companionPath.end(), *name);
}

// The mail client's file system ignores case ("Archiv.MBX" beside
// "archiv.pmg"), so where the companion's exact name cannot be opened, it is
// looked up again without regard to case. path is the file opened, or the
// name formed.
bool mbx::OpenCompanion(ReadOnlyFile& file, std::string& path) {
    path = companionPath;
    if (listing != Listing::NotTaken) return listing == Listing::Names && file.Open(path, directory);
    if (file.Open(path, directory)) return true;

    SplitPath split(path);
    std::string name = split.Name() + split.Extension();
    std::string folder = split.Drive() + split.Dir();
    std::string actual = FileNameIndex(folder, "*" + std::string(CompanionExtension)).Find(name);
    if (actual.empty() || actual == name) return false;
    path = folder + actual;
    return file.Open(path, directory);
}
