#pragma once

#include <cstdint>
#include <string>

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes. Files are written with chosen bytes
// and lengths; lengths beyond the bytes given are filled sparsely.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory with a trailing separator, as the scan expects it.
    const std::string& Path() const { return path; }

    // Creates a sub-directory and returns its path with a trailing separator.
    std::string MakeDir(const std::string& name);

    // Writes name with the given bytes; with length above bytes.size() the
    // file is extended to length without writing the rest.
    std::string Write(const std::string& name, const std::string& bytes, uint64_t length = 0);

    std::string Read(const std::string& name) const;

private:
    std::string path;
};
