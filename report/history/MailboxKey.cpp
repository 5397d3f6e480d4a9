#include "report/history/MailboxKey.h"

#include "platform/Directory.h"
#include "report/text/Utf8.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace MailboxKey {

#ifdef _WIN32
namespace {

// Upper case as the file system folds names: the invariant mapping that
// CompareStringOrdinal ignores case by. A text it cannot take stays as it is.
std::string Folded(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return utf8;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
    std::wstring upper(wide.size(), L'\0');
    if (LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), n, &upper[0], n) != n) return utf8;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, upper.data(), n, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return utf8;
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, upper.data(), n, &out[0], bytes, nullptr, nullptr);
    return out;
}

}  // namespace

std::string FromPath(const std::string& utf8Path) {
    std::string path = utf8Path;
    for (char& c : path)
        if (c == '/') c = '\\';
    // "C:\" and "\" are roots and keep theirs.
    while (path.size() > 1 && path.back() == '\\' && !(path.size() == 3 && path[1] == ':')) path.pop_back();
    return Folded(path);
}

std::string TextOf(const std::string& osPath) { return Utf8FromOsText(osPath); }
#else
std::string TextOf(const std::string& osPath) {
    if (IsUtf8(osPath)) return osPath;
    static const char Hex[] = "0123456789ABCDEF";
    std::string quoted = "\"";
    for (size_t i = 0; i < osPath.size();) {
        const size_t width = Utf8Width(osPath, i);
        if (width == 0) {
            const unsigned char b = static_cast<unsigned char>(osPath[i++]);
            quoted += {'\\', 'x', Hex[b >> 4], Hex[b & 15]};
            continue;
        }
        if (osPath[i] == '"' || osPath[i] == '\\') quoted += '\\';
        quoted.append(osPath, i, width);
        i += width;
    }
    return quoted + '"';
}

std::string FromPath(const std::string& utf8Path) {
    std::string path = utf8Path;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}
#endif

std::string PathOf(const std::string& mailboxPath) {
    const std::string canonical = Directory::Canonical(mailboxPath);
    return Utf8FromOsText(canonical.empty() ? mailboxPath : canonical);
}

std::string Of(const std::string& mailboxPath) {
    const std::string canonical = Directory::Canonical(mailboxPath);
    return FromPath(TextOf(canonical.empty() ? mailboxPath : canonical));
}

}  // namespace MailboxKey
