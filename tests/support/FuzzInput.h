#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What the fuzz targets share, which run without a test framework.

// Ends the run on a broken property, naming it, so that the fuzzer keeps
// the input.
void FuzzCheck(bool condition, const char* what);

// The input as count parts separated by lines "--": the last part takes the
// rest, markers and all, and parts the input does not reach are empty.
std::vector<std::string> SplitParts(const uint8_t* data, size_t size, size_t count);
