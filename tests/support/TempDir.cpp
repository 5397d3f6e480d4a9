#include "tests/support/TempDir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string WithSeparator(const fs::path& p) {
    std::string text = p.string();
    char sep = static_cast<char>(fs::path::preferred_separator);
    if (text.empty() || text.back() != sep) text += sep;
    return text;
}

}  // namespace

TempDir::TempDir() {
    static std::atomic<unsigned> serial{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() /
                             ("foldscan-test-" + std::to_string(stamp) + "-" + std::to_string(serial++));
        if (fs::create_directory(candidate)) {
            path = WithSeparator(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(fs::path(path), ignored);
}

std::string TempDir::MakeDir(const std::string& name) {
    fs::path dir = fs::path(path) / name;
    fs::create_directories(dir);
    return WithSeparator(dir);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes, uint64_t length) {
    fs::path file = fs::path(path) / name;
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + file.string());
    }
    if (length > bytes.size()) fs::resize_file(file, length);
    return file.string();
}

std::string TempDir::Read(const std::string& name) const {
    std::ifstream in(fs::path(path) / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
