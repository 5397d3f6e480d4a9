#include "store/NewMailFolder.h"

#include "platform/FileSystem.h"

void NewMailFolder::Analyze(const std::string& newMailDir, const std::string& label) {
    Clear();
    folderName = label;
    fileName = "*.CNM";
    FileSystem::ForEachMatch(newMailDir + "*.CNM",
                             [this](const std::string&, uint64_t length) { size += length; });
}
