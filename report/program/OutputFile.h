#pragma once

#include <ostream>
#include <streambuf>
#include <string>

// --output FILE: the report goes to a working copy beside FILE, which takes
// FILE's place once the whole report is written. FILE then holds the last
// whole report and never a part of one, whatever stops a run on the way.
class OutputFile : private std::streambuf {
public:
    explicit OutputFile(std::string path);
    ~OutputFile() override;  // a copy not put in place goes
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // False when no working copy can be made beside the file (its directory
    // is missing or read-only, the file is a directory or read-only).
    bool Open();
    // Whether Open would succeed now: a copy is made and removed again, so
    // that a run that is stopped on its way leaves none.
    static bool CanOpen(const std::string& path);
    std::ostream& Stream() { return stream; }
    // Writes what is held and puts the copy in place; false when either fails.
    bool Commit();

private:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;
    int sync() override;

    std::string path;
    std::string copyPath;
    std::string held;  // written in pieces of about a megabyte
    std::ostream stream;
};
