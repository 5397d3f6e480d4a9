#pragma once

#include "settings/ProfileFile.h"
#include "settings/ProfileStore.h"

// The settings store over one file. While no section is open, reads give the
// defaults and writes fail, so nothing lands outside a section. The writes
// made while a section is open reach the file in one step when it closes
// (see ProfileFile), so that the file is never seen half saved.
class PrivateProfileStore : public ProfileStore {
public:
    explicit PrivateProfileStore(const std::string& path,
                                 ProfileBackend& backend = ProfileBackend::ForThisSystem());

    const std::string& Section() const { return section; }

    int Open(const std::string& section) override;
    void Close() override;
    int IsOpen() const override;

    std::string ReadString(const std::string& key, const std::string& defaultText) override;
    int ReadBool(const std::string& key, int defaultValue) override;
    int ReadInt(const std::string& key, int defaultValue) override;
    void ReadIntList(const std::string& key, size_t count, const int* defaults, int* output) override;
    void ReadBinary(const std::string& key, size_t length, const unsigned char* defaults,
                    unsigned char* output) override;

    int WriteString(const std::string& key, const std::string& text) override;
    int WriteBool(const std::string& key, int value) override;
    int WriteInt(const std::string& key, int value) override;
    int WriteIntList(const std::string& key, size_t count, const int* values) override;
    int WriteBinary(const std::string& key, size_t length, const unsigned char* bytes) override;
    int DeleteKey(const std::string& key) override;
    int DeleteSection(const std::string& section) override;

private:
    ProfileFile file;
    std::string section;
};
