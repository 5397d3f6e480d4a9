#include "platform/DirectoryHandle.h"

// Windows opens every file by its path: its lookups are not the cost there.
void DirectoryHandle::Open(const std::string&) {}

void DirectoryHandle::Close() {}

bool DirectoryHandle::Relative(const std::string&, int&, const char*&) const { return false; }
