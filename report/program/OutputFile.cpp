#include "report/program/OutputFile.h"

#include "platform/AtomicFile.h"

namespace {

constexpr size_t Piece = 1u << 20;

}  // namespace

OutputFile::OutputFile(std::string path) : path(std::move(path)), stream(this) {}

OutputFile::~OutputFile() {
    if (!copyPath.empty()) AtomicFile::RemoveCopy(copyPath);
}

bool OutputFile::Open() {
    if (!AtomicFile::MakeEmptyCopy(path, copyPath)) {
        copyPath.clear();
        stream.setstate(std::ios::badbit);
        return false;
    }
    return true;
}

bool OutputFile::CanOpen(const std::string& path) {
    std::string copy;
    if (!AtomicFile::MakeEmptyCopy(path, copy)) return false;
    AtomicFile::RemoveCopy(copy);
    return true;
}

OutputFile::int_type OutputFile::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    held += traits_type::to_char_type(c);
    return held.size() < Piece || sync() == 0 ? c : traits_type::eof();
}

std::streamsize OutputFile::xsputn(const char* bytes, std::streamsize count) {
    held.append(bytes, static_cast<size_t>(count));
    return held.size() < Piece || sync() == 0 ? count : 0;
}

int OutputFile::sync() {
    if (held.empty()) return 0;
    const bool ok = !copyPath.empty() && AtomicFile::AppendToCopy(copyPath, held);
    held.clear();
    return ok ? 0 : -1;
}

bool OutputFile::Commit() {
    stream.flush();
    if (!stream || copyPath.empty() || !AtomicFile::PutInPlace(copyPath, path)) return false;
    copyPath.clear();
    return true;
}
