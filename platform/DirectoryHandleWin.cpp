// Windows opens every file by its path: its lookups are not the cost there.
#include "platform/DirectoryScope.h"

DirectoryScope::DirectoryScope(const std::string& path) : directory(path), outer(nullptr) {}

DirectoryScope::~DirectoryScope() = default;

bool DirectoryScope::Relative(const std::string&, int&, const char*&) { return false; }
