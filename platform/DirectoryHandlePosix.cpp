#include "platform/DirectoryScope.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

thread_local DirectoryScope* innermost = nullptr;

}  // namespace

DirectoryScope::DirectoryScope(const std::string& path) : directory(path), outer(innermost) {
    if (directory.empty()) return;
    if (directory.back() != '/') directory += '/';
    handle = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    innermost = this;
}

DirectoryScope::~DirectoryScope() {
    if (innermost == this) innermost = outer;
    if (handle >= 0) ::close(handle);
}

bool DirectoryScope::Relative(const std::string& path, int& handle, const char*& name) {
    const DirectoryScope* scope = innermost;
    if (!scope || scope->handle < 0) return false;
    const std::string& directory = scope->directory;
    if (path.size() <= directory.size() || path.compare(0, directory.size(), directory) != 0) return false;
    if (path.find('/', directory.size()) != std::string::npos) return false;
    handle = scope->handle;
    name = path.c_str() + directory.size();
    return true;
}
