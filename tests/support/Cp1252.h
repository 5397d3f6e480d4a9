#pragma once

#include <string>

// Turns a UTF-8 literal into code-page-1252 bytes, so that tests state the
// German texts readably and still compare them byte for byte.
std::string Cp1252(const std::string& utf8);
