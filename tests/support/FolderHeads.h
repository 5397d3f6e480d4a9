#pragma once

#include <string>

// The heads of the host's folder files as tests write them: the folder's name
// from the first byte, its hierarchy key at the key's offset, all else 0. A
// name runs at most to the key and a key to the end of the head.

// A ".PMM" folder file's head: 128 bytes, the key at 86.
std::string PmmHead(const std::string& name, const std::string& key = "");

// A ".PMG" companion's head: 90 bytes, the key at 58.
std::string PmgHead(const std::string& name, const std::string& key = "");
