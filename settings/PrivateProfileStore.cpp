#include "settings/PrivateProfileStore.h"

#include <cstring>

PrivateProfileStore::PrivateProfileStore(const std::string& path, ProfileBackend& backend)
    : file(path, backend) {}

// The writes of one open section reach the file together, at Close.
int PrivateProfileStore::Open(const std::string& name) {
    if (IsOpen()) Close();
    section = name;
    file.BeginChanges();
    return 1;
}

void PrivateProfileStore::Close() {
    file.EndChanges();
    section.clear();
}

int PrivateProfileStore::IsOpen() const { return !section.empty() && !file.Path().empty() ? 1 : 0; }

std::string PrivateProfileStore::ReadString(const std::string& key, const std::string& defaultText) {
    return IsOpen() ? file.ReadString(section, key, defaultText) : defaultText;
}

int PrivateProfileStore::ReadBool(const std::string& key, int defaultValue) {
    return IsOpen() ? file.ReadBool(section, key, defaultValue) : defaultValue;
}

int PrivateProfileStore::ReadInt(const std::string& key, int defaultValue) {
    return IsOpen() ? file.ReadInt(section, key, defaultValue) : defaultValue;
}

void PrivateProfileStore::ReadIntList(const std::string& key, size_t count, const int* defaults, int* output) {
    if (IsOpen())
        file.ReadIntList(section, key, count, defaults, output);
    else if (output != defaults && count > 0)
        std::memmove(output, defaults, count * sizeof(int));
}

void PrivateProfileStore::ReadBinary(const std::string& key, size_t length, const unsigned char* defaults,
                                     unsigned char* output) {
    if (IsOpen())
        file.ReadBinary(section, key, length, defaults, output);
    else if (output != defaults && length > 0)
        std::memmove(output, defaults, length);
}

int PrivateProfileStore::WriteString(const std::string& key, const std::string& text) {
    return IsOpen() ? file.WriteString(section, key, text) : 0;
}

int PrivateProfileStore::WriteBool(const std::string& key, int value) {
    return IsOpen() ? file.WriteBool(section, key, value) : 0;
}

int PrivateProfileStore::WriteInt(const std::string& key, int value) {
    return IsOpen() ? file.WriteInt(section, key, value) : 0;
}

int PrivateProfileStore::WriteIntList(const std::string& key, size_t count, const int* values) {
    return IsOpen() ? file.WriteIntList(section, key, count, values) : 0;
}

int PrivateProfileStore::WriteBinary(const std::string& key, size_t length, const unsigned char* bytes) {
    return IsOpen() ? file.WriteBinary(section, key, length, bytes) : 0;
}

int PrivateProfileStore::DeleteKey(const std::string& key) { return IsOpen() ? file.DeleteKey(section, key) : 0; }

int PrivateProfileStore::DeleteSection(const std::string& name) {
    return name.empty() ? 0 : file.DeleteSection(name);
}
