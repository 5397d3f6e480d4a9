#pragma once

#include <cstddef>
#include <string>

// Takes a path apart into drive, directory, name and extension, lets the
// extension be replaced and joins the parts again. Each part is held within a
// fixed limit and cut to it. A path with a cut part, or a joined path that
// would exceed its limit, comes back empty rather than cut, so that it can
// never name some other file.
class SplitPath {
public:
    static constexpr size_t DriveLimit = 2;
    static constexpr size_t PartLimit = 255;
    static constexpr size_t ComposeLimit = 259;
    static constexpr size_t FullPathLimit = 258;

    explicit SplitPath(const std::string& path);
    SplitPath(const SplitPath&) = delete;
    SplitPath& operator=(const SplitPath&) = delete;

    std::string Drive() const { return drive; }
    std::string Dir() const { return dir; }
    std::string Name() const { return fname; }
    std::string Extension() const { return ext; }

    // The extension carries its own leading dot (".PMG").
    void SetExtension(const std::string& extension);

    // Empty when a part was cut or the result would not fit.
    std::string Compose() const;
    std::string FullPath() const;

private:
    std::string drive;
    std::string dir;
    std::string fname;
    std::string ext;
    bool pathCut = false;  // drive, directory or name
    bool extCut = false;   // the extension, which SetExtension replaces
};
