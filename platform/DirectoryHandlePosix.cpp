#include "platform/DirectoryHandle.h"

#include <fcntl.h>
#include <unistd.h>

void DirectoryHandle::Open(const std::string& path) {
    Close();
    if (path.empty()) return;
    directory = path;
    if (directory.back() != '/') directory += '/';
    handle = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

void DirectoryHandle::Close() {
    if (handle >= 0) ::close(handle);
    handle = -1;
    std::string().swap(directory);  // gives its memory back: also closed when memory ran out
}

bool DirectoryHandle::Relative(const std::string& path, int& at, const char*& name) const {
    if (handle < 0) return false;
    if (path.size() <= directory.size() || path.compare(0, directory.size(), directory) != 0) return false;
    if (path.find('/', directory.size()) != std::string::npos) return false;
    at = handle;
    name = path.c_str() + directory.size();
    return true;
}
