#pragma once

#include <cstdint>
#include <string>

// The history's file as a query sees it from outside SQLite: whether another
// program's writing lies beside it, whether it changed while it was read,
// and how SQLite is told to open it read as it stands.
namespace HistoryFile {

// The file's length; 0 when it cannot be looked at.
uint64_t LengthOf(const std::string& path);

// A digest of the file's bytes, to tell whether it changed while it was
// read as it stands: its times move in ticks of milliseconds, and SQLite's
// change counter stands still in WAL mode. Zero when it cannot be read.
uint64_t Digest(const std::string& path);

// Whether another program's writing lies beside the file: a log (WAL) or a
// journal (rollback) that holds anything.
bool LogWritten(const std::string& path);

// A "file:" URI of path, for the options only URIs take: '%', '?' and '#'
// escaped, on Windows with forward slashes and a drive's path behind one.
std::string FileUri(const std::string& path, const char* options);

}  // namespace HistoryFile
