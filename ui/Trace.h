#pragma once

#include <string>
#include <vector>

// Diagnostic output for developers; it never reaches the user. The text is
// formatted printf-style without a length limit and handed to the sink as it
// stands: callers end their formats with "\n" themselves.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
void Trace(const char* format, ...);

// The same line kept in held, where given, for a caller that writes it later
// in the order its trace would have had: a record read ahead on another
// thread than the scan's. Without held, traced at once.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
void TraceInto(std::vector<std::string>* held, const char* format, ...);

// Where trace text goes. On Windows the default sink is the debugger output
// (OutputDebugStringA); elsewhere it is the standard error stream.
using TraceSink = void (*)(const std::string& text);

// Installs a sink (none restores the default) and returns the previous one.
// Safe while other threads trace; a sink that is replaced may still be running
// on another thread, so a sink stays callable for the life of the program.
TraceSink SetTraceSink(TraceSink sink);
