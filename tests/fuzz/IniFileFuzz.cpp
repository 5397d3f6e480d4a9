// Feeds arbitrary bytes to our settings-file reader and writer: reads must
// stay within the buffer, and every accepted write must read back.
#include "platform/IniFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "inifile_fuzz: %s\n", what);
    std::abort();
}

std::string TempPath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("foldscan-inifuzz-" + std::to_string(std::rand()) + ".ini"))
            .string();
    return path;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

// A name from the input's first bytes, so that names in the input get hit.
std::string NameFrom(const uint8_t* data, size_t size, size_t skip) {
    std::string name;
    for (size_t i = skip; i < size && name.size() < 8; ++i) {
        char c = static_cast<char>(data[i]);
        if (c == '\0' || c == '\r' || c == '\n' || c == '=' || c == ']' || c == '[' || c == ' ') break;
        name += c;
    }
    return name;
}

void Check(IniFile& ini, const std::string& path, const char* section, const char* key) {
    char buffer[64];
    std::memset(buffer, 'X', sizeof buffer);
    size_t n = ini.Read(section, key, "d", buffer, 32, path.c_str());
    if (n > 31 || buffer[n] != '\0' || buffer[32] != 'X') Fail("read overran its buffer");

    if (!ini.Write(section, key, "v1", path.c_str())) return;
    n = ini.Read(section, key, "d", buffer, 32, path.c_str());
    if (std::string(buffer, n) != "v1") Fail("written value does not read back");
    if (!ini.Write(section, key, nullptr, path.c_str())) Fail("removing a key failed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    const std::string path = TempPath();
    WriteFile(path, data, size);

    IniFile ini;
    Check(ini, path, "MainDlg", "SizeAndPos");
    std::string section = NameFrom(data, size, 1);
    std::string key = NameFrom(data, size, section.size() + 3);
    Check(ini, path, section.c_str(), key.c_str());
    Check(ini, path, "", key.c_str());
    if (!ini.Write(section.c_str(), nullptr, nullptr, path.c_str())) Fail("removing a section failed");

    // Pure transformations on the bytes must agree with the file.
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (IniFile::Apply(bytes, "MainDlg", "Sort", "0100")) {
        std::string value;
        if (!IniFile::Find(bytes, "MainDlg", "Sort", value) || value != "0100") Fail("Apply did not set the key");
    }
    std::remove(path.c_str());
    return 0;
}
