#include "platform/Console.h"

#include "platform/Utf16.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include <iostream>
#include <streambuf>
#include <vector>

namespace {

UINT previousCodePage = 0;

// The code page belongs to the console window, which outlives the program.
void RestoreCodePage() {
    if (previousCodePage != 0) SetConsoleOutputCP(previousCodePage);
}

bool IsConsole(DWORD stream) {
    DWORD mode;
    return GetConsoleMode(GetStdHandle(stream), &mode) != 0;
}

// Shows UTF-8 in a console window through the wide console API, which draws
// every character whatever code page the console is set to. A character cut
// at the end of the buffer waits there for its remaining bytes.
class ConsoleBuffer : public std::streambuf {
public:
    explicit ConsoleBuffer(DWORD stream) : console(GetStdHandle(stream)), bytes(4096) {
        setp(bytes.data(), bytes.data() + bytes.size());
    }

protected:
    int_type overflow(int_type c) override {
        if (!Write()) return traits_type::eof();
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
        return c;
    }
    int sync() override { return Write() ? 0 : -1; }

private:
    // Writes the whole characters held and keeps the rest.
    bool Write() {
        const size_t held = static_cast<size_t>(pptr() - pbase());
        const size_t whole = Utf16::WholePrefix(pbase(), held);
        bool ok = true;
        if (whole > 0) {
            int length = MultiByteToWideChar(CP_UTF8, 0, pbase(), static_cast<int>(whole), nullptr, 0);
            wide.resize(static_cast<size_t>(length > 0 ? length : 0));
            MultiByteToWideChar(CP_UTF8, 0, pbase(), static_cast<int>(whole), wide.data(), length);
            for (size_t done = 0; ok && done < wide.size();) {
                DWORD written = 0;
                ok = WriteConsoleW(console, wide.data() + done, static_cast<DWORD>(wide.size() - done), &written,
                                   nullptr) &&
                     written > 0;
                done += written;
            }
        }
        std::copy(pbase() + whole, pptr(), bytes.data());
        setp(bytes.data(), bytes.data() + bytes.size());
        pbump(static_cast<int>(held - whole));
        return ok;
    }

    HANDLE console;
    std::vector<char> bytes;
    std::vector<wchar_t> wide;
};

}  // namespace

bool Console::ErrorIsTerminal() { return IsConsole(STD_ERROR_HANDLE); }

// The buffers live as long as the process: the streams still flush into them
// while it ends.
void Console::UseUtf8() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    const bool toConsole = IsConsole(STD_OUTPUT_HANDLE), errorToConsole = IsConsole(STD_ERROR_HANDLE);
    if (toConsole) std::cout.rdbuf(new ConsoleBuffer(STD_OUTPUT_HANDLE));
    if (errorToConsole) std::cerr.rdbuf(new ConsoleBuffer(STD_ERROR_HANDLE));
    // Windows draws wide text whatever the code page; a console that passes
    // it on to a terminal (Wine's) encodes it in the output code page.
    if (!toConsole && !errorToConsole) return;
    UINT current = GetConsoleOutputCP();
    if (current == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) return;
    previousCodePage = current;
    atexit(RestoreCodePage);
}
