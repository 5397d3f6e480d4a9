#pragma once

#include <cstddef>
#include <string>

// The settings store: open a section, read and write typed values by key,
// close. Every access goes to the file at once; nothing is cached.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    // Closes an open section first; always 1.
    virtual int Open(const std::string& section) = 0;
    virtual void Close() = 0;
    virtual int IsOpen() const = 0;

    virtual std::string ReadString(const std::string& key, const std::string& defaultText) = 0;
    virtual int ReadBool(const std::string& key, int defaultValue) = 0;
    virtual int ReadInt(const std::string& key, int defaultValue) = 0;
    // defaults and output hold count values and may be the same array.
    virtual void ReadIntList(const std::string& key, size_t count, const int* defaults, int* output) = 0;
    // defaults and output hold length bytes and may be the same block.
    virtual void ReadBinary(const std::string& key, size_t length, const unsigned char* defaults,
                            unsigned char* output) = 0;

    // Writes give non-zero on success.
    virtual int WriteString(const std::string& key, const std::string& text) = 0;
    virtual int WriteBool(const std::string& key, int value) = 0;
    virtual int WriteInt(const std::string& key, int value) = 0;
    virtual int WriteIntList(const std::string& key, size_t count, const int* values) = 0;
    virtual int WriteBinary(const std::string& key, size_t length, const unsigned char* bytes) = 0;
    virtual int DeleteKey(const std::string& key) = 0;
    // Removes the named section, which need not be the open one.
    virtual int DeleteSection(const std::string& section) = 0;
};
