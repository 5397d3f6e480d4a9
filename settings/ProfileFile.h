#pragma once

#include "platform/ProfileBackend.h"

#include <cstddef>
#include <memory>
#include <string>

// Typed values in one settings file. Every read and write goes to the file
// through the profile back-end; the section is named on each call.
//
// The file on disk is always whole: between BeginChanges and EndChanges the
// writes go to a working copy beside it (made at the first write), reads read
// the copy, and EndChanges puts the copy in the file's place in one step. A
// write that fails abandons the copy, and every later write of the batch
// fails too, so the file keeps its old content. A write outside a batch is a
// batch of its own. A settings file that is a link is so replaced by a file
// of its own, and whatever it pointed to is never written.
//
// Encodings: a bool is "1" or "0"; an int is its decimal text; an int list is
// its decimal values joined by ", "; a byte block is two capital hex digits
// per byte. Missing (and, for numbers, empty) values read as the default; an
// int list or byte block of the wrong shape reads as the defaults.
class ProfileFile {
public:
    static constexpr int DefaultBufferSize = 1024;

    // The path is made absolute; an empty or overlong path leaves Path()
    // empty, and then reads give the defaults and writes fail.
    explicit ProfileFile(const std::string& path, ProfileBackend& backend = ProfileBackend::ForThisSystem());
    virtual ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    const std::string& Path() const { return path; }

    // The stored text, cut to DefaultBufferSize - 1 characters, or the default.
    std::string RawRead(const std::string& section, const std::string& key, const std::string& defaultText,
                        size_t* count = nullptr);
    // A key of none removes the section, a text of none the key.
    int RawWrite(const std::string& section, const char* key, const char* text);

    // Ends a batch that is still open first.
    void BeginChanges();
    // True when every write of the batch reached the file; false when the
    // file was left as it was (with a trace line when it could not be
    // replaced).
    bool EndChanges();

    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultText);
    int ReadBool(const std::string& section, const std::string& key, int defaultValue);
    int ReadInt(const std::string& section, const std::string& key, int defaultValue);
    void ReadIntList(const std::string& section, const std::string& key, size_t count, const int* defaults,
                     int* output);
    void ReadBinary(const std::string& section, const std::string& key, size_t length,
                    const unsigned char* defaults, unsigned char* output);

    int WriteString(const std::string& section, const std::string& key, const std::string& text);
    int WriteBool(const std::string& section, const std::string& key, int value);
    int WriteInt(const std::string& section, const std::string& key, int value);
    int WriteIntList(const std::string& section, const std::string& key, size_t count, const int* values);
    int WriteBinary(const std::string& section, const std::string& key, size_t length, const unsigned char* bytes);
    int DeleteKey(const std::string& section, const std::string& key);
    int DeleteSection(const std::string& section);

    // "1, 2, 3".
    static std::string FormatIntList(const int* values, size_t count);
    // Converts the tokens between runs of ',', '.' and ':' and stores at most
    // count of them; returns how many were stored.
    static size_t ParseIntList(const std::string& text, size_t count, int* output);
    static std::string EncodeHex(const unsigned char* bytes, size_t length);
    // Decodes pairs of hex digits (either case) into at most length bytes,
    // stopping at the first pair that is not hex; later bytes keep their
    // contents. Returns the number of bytes decoded.
    static size_t DecodeHex(const std::string& text, size_t length, unsigned char* output);
    // Leading white space, an optional sign, then digits up to the first
    // other character; no digits gives 0. Out-of-range numbers give the
    // nearest int instead of wrapping.
    static int ToInt(const std::string& text);

private:
    bool WriteToCopy(const std::string& section, const char* key, const char* text);

    std::string path;
    int bufferSize = DefaultBufferSize;
    std::unique_ptr<char[]> buffer;
    ProfileBackend& backend;
    bool changing = false;   // a batch is open
    bool failed = false;     // a write of the open batch failed
    std::string copyPath;    // the working copy, once made
};
