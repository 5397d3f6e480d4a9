#pragma once

#include <cstdint>
#include <string>

// One folder as a run of the history recorded it; texts in UTF-8, kind and
// status by the names the machine formats give them ("pmm", "not-valid").
struct RecordedFolder {
    std::string fileName;
    uint64_t size = 0;
    std::string kind, status;
    std::string hierarchyKey, folderPath, folderName;  // the name empty where status is not "ok"

    bool operator==(const RecordedFolder& other) const {
        return size == other.size && fileName == other.fileName && kind == other.kind && status == other.status &&
               hierarchyKey == other.hierarchyKey && folderPath == other.folderPath &&
               folderName == other.folderName;
    }
    bool operator!=(const RecordedFolder& other) const { return !(*this == other); }
};
