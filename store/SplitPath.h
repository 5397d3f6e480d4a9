#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

// Takes a path apart into drive, directory, name and extension, lets the
// extension be replaced and joins the parts again. Where the OS takes no
// longer paths (the ANSI API of Windows), each part is held within a fixed
// limit and cut to it; elsewhere the parts are whole and a path is limited
// only by what the OS takes. A path with a cut part, or a joined path that
// would exceed its limit, comes back empty rather than cut, so that it can
// never name some other file.
class SplitPath {
public:
    static constexpr size_t DriveLimit = 2;
    static constexpr size_t PartLimit = 255;
    static constexpr size_t ComposeLimit = 259;
    static constexpr size_t FullPathLimit = 258;

    enum class Limits {
        Platform,  // the fixed limits where the OS takes no longer paths
        Fixed,     // the fixed limits everywhere
    };

    explicit SplitPath(const std::string& path, Limits limits = Limits::Platform);
    SplitPath(const SplitPath&) = delete;
    SplitPath& operator=(const SplitPath&) = delete;

    std::string Drive() const { return path.substr(0, dirStart); }
    std::string Dir() const { return Part(dirStart, nameStart); }
    std::string Name() const { return Part(nameStart, nameEnd); }
    std::string Extension() const { return ext; }

    // The extension carries its own leading dot (".PMG").
    void SetExtension(const std::string& extension);

    // Empty when a part was cut or the result would not fit.
    std::string Compose() const;
    std::string FullPath() const;

private:
    std::string Part(size_t from, size_t to) const { return path.substr(from, std::min(to - from, partLimit)); }
    bool Fits(const std::string& joined, size_t fixedLimit) const;

    // The path as given, and where its directory and name start and its
    // name ends; the extension is kept apart, since it may be replaced.
    std::string path;
    size_t dirStart = 0;
    size_t nameStart = 0;
    size_t nameEnd = 0;
    std::string ext;
    bool fixed;         // the fixed limits hold
    size_t partLimit;   // PartLimit where they do
    bool pathCut = false;  // drive, directory or name
    bool extCut = false;   // the extension, which SetExtension replaces
};
