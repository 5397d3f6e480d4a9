#include "platform/Console.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

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

}  // namespace

bool Console::ErrorIsTerminal() { return IsConsole(STD_ERROR_HANDLE); }

void Console::UseUtf8() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (!IsConsole(STD_OUTPUT_HANDLE) && !IsConsole(STD_ERROR_HANDLE)) return;
    UINT current = GetConsoleOutputCP();
    if (current == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) return;
    previousCodePage = current;
    atexit(RestoreCodePage);
}
