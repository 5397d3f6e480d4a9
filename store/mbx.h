#pragma once

#include "platform/FileStamp.h"
#include "store/FolderInfo.h"

#include <string>
#include <vector>

class DirectoryHandle;
class ReadOnlyFile;

// A folder kept as a pair of files: the ".MBX" file, whose length is the
// folder's size and whose content is never read, and its ".PMG" companion of
// the same name, whose 90-byte head holds the folder's name and hierarchy key.
class mbx : public FolderInfo {
public:
    static constexpr size_t HeadSize = 90;

    void Clear() override;
    bool IsEmpty() const override;

    // Binds the record to an ".MBX" file and clears everything else; files
    // directly inside within, where given, are opened relative to it.
    void SetFile(const std::string& path, const DirectoryHandle* within = nullptr);

    // Reads the length of the ".MBX" file and the head of its companion. On
    // false, status says why and folderName holds its text in angle brackets.
    bool Analyze();

    // Where a listing of the directory was taken, it names the companion to
    // open (after SetFile), or that there is none (null): under Wine, opening
    // a name that does not exist costs a search of the whole directory.
    void SetListedCompanion(const std::string* name);

    std::string filePath;  // absolute path of the ".MBX" file
    // Of the files opened, where opening them tells it: the ".MBX" file's
    // stamp, and the name and stamp of the companion that was opened.
    FileStamp stamp;
    std::string companionName;
    FileStamp companionStamp;

    // Where Analyze's trace lines go: into lines, for a record read ahead
    // (TraceInto); null, to the trace at once.
    void HoldTraceIn(std::vector<std::string>* lines) { held = lines; }

private:
    bool OpenCompanion(ReadOnlyFile& file, std::string& path);
    void ForgetStamps();

    std::string companionPath;  // formed from the ".MBX" path by SetFile
    const DirectoryHandle* directory = nullptr;
    enum class Listing { NotTaken, Names, NamesNone } listing = Listing::NotTaken;
    std::vector<std::string>* held = nullptr;
};
