#include "host/HostOptions.h"

#include <cstdlib>

namespace {

bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < -1000000 || v > 1000000) return false;
    value = static_cast<int>(v);
    return true;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    return ParseInt(text.substr(0, x), width) && ParseInt(text.substr(x + 1), height) && width > 0 && height > 0;
}

}  // namespace

const char* HostOptions::Usage() {
    return "usage: foldhost.exe [--dll PATH] [--mailbox DIR] [--newmail DIR] [--size WxH]\n"
           "                    [--command ID]... [--click-column N]... [--hold-boxes MS]\n"
           "                    [--quit-after MS] [--dump]\n";
}

std::string HostOptions::WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string converted = "Z:" + path;
    for (char& c : converted)
        if (c == '/') c = '\\';
    return converted;
}

bool HostOptions::Parse(const std::vector<std::string>& args, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--dump") {
            dump = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "missing value after " + option;
            return false;
        }
        const std::string& value = args[++i];
        int number = 0;
        if (option == "--dll") {
            dll = WindowsPath(value);
        } else if (option == "--mailbox") {
            mailbox = WindowsPath(value);
        } else if (option == "--newmail") {
            newmail = WindowsPath(value);
        } else if (option == "--size") {
            if (!ParseSize(value, width, height)) {
                error = "--size wants WIDTHxHEIGHT, not " + value;
                return false;
            }
        } else if (option == "--hold-boxes") {
            if (!ParseInt(value, holdBoxesMs) || holdBoxesMs < 0) {
                error = "--hold-boxes wants milliseconds, not " + value;
                return false;
            }
        } else if (option == "--quit-after") {
            if (!ParseInt(value, quitAfterMs) || quitAfterMs < 0) {
                error = "--quit-after wants milliseconds, not " + value;
                return false;
            }
        } else if (option == "--command" || option == "--click-column") {
            if (!ParseInt(value, number)) {
                error = option + " wants a number, not " + value;
                return false;
            }
            actions.push_back({option == "--command" ? Action::Command : Action::ClickColumn, number});
        } else {
            error = "unknown option " + option;
            return false;
        }
    }
    return true;
}
