#include "platform/Console.h"

#include <unistd.h>

bool Console::ErrorIsTerminal() { return ::isatty(2) == 1; }

void Console::UseUtf8() {}
