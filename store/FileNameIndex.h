#pragma once

#include <string>
#include <vector>

// Finds a file of one directory by name without regard to case, as the mail
// client's own file system does, also where names are case-sensitive. The
// directory is listed at most once, on the first look-up, so a whole scan
// costs one listing however many names it looks up.
class FileNameIndex {
public:
    // directory ends with a separator; wildcard limits what is listed ("*.PMG").
    FileNameIndex(const std::string& directory, const std::string& wildcard);

    // The name, as the directory lists it, of the entry whose name equals
    // name without regard to case, or empty. Where several differ only in
    // case, the first one listed wins.
    std::string Find(const std::string& name);

private:
    void List();

    std::string directory;
    std::string wildcard;
    bool listed = false;
    std::vector<std::string> names;  // in folded order, ties in listing order
};
