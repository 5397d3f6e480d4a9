#include "store/NewMailFolder.h"

#include "platform/FileSystem.h"

void NewMailFolder::Analyze(const std::string& newMailDir, const std::string& label) {
    Clear();
    folderName = label;
    fileName = "*.CNM";
    // A missing directory is new mail of none; one whose listing broke off
    // leaves the sum unknown.
    ioError = FileSystem::ForEachMatch(newMailDir + "*.CNM", [this](const std::string&, uint64_t length) {
                  size += length;
              }) == FileSystem::Listing::Broken;
}
