#pragma once

#include "platform/FileStamp.h"
#include "store/FolderInfo.h"

#include <string>
#include <vector>

class DirectoryHandle;

// A folder kept in one ".PMM" file: name and hierarchy key come from its
// 128-byte header, the size is the file's length. Only the header is read.
class pmm : public FolderInfo {
public:
    static constexpr size_t HeaderSize = 128;

    void Clear() override;
    bool IsEmpty() const override;

    // Binds the record to a file and clears everything else; a file
    // directly inside within, where given, is opened relative to it.
    void SetFile(const std::string& path, const DirectoryHandle* within = nullptr);

    // Reads the header. On false, status says why and folderName holds its
    // text in angle brackets; size is 0.
    bool Analyze();

    std::string filePath;  // absolute path of the ".PMM" file
    FileStamp stamp;       // of the file opened, where opening it tells it

    // Where Analyze's trace lines go: into lines, for a record read ahead
    // (TraceInto); null, to the trace at once.
    void HoldTraceIn(std::vector<std::string>* lines) { held = lines; }

private:
    const DirectoryHandle* directory = nullptr;
    std::vector<std::string>* held = nullptr;
};
