#include "ui/Trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

void DefaultSink(const std::string& text) {
#ifdef _WIN32
    OutputDebugStringA(text.c_str());
#else
    std::fputs(text.c_str(), stderr);
#endif
}

// Read by the worker threads too, so swapped and read atomically.
std::atomic<TraceSink> currentSink{DefaultSink};

}  // namespace

TraceSink SetTraceSink(TraceSink sink) {
    return currentSink.exchange(sink ? sink : DefaultSink);
}

// Tracing must never be what fails: without memory for the text, the line
// is dropped.
static void TraceArguments(std::vector<std::string>* held, const char* format, va_list args) {
    try {
        va_list probe;
        va_copy(probe, args);
        int needed = std::vsnprintf(nullptr, 0, format, probe);
        va_end(probe);
        std::string text;
        if (needed > 0) {
            std::vector<char> buffer(static_cast<size_t>(needed) + 1);
            std::vsnprintf(buffer.data(), buffer.size(), format, args);
            text.assign(buffer.data(), static_cast<size_t>(needed));
        }
        if (held)
            held->push_back(std::move(text));
        else
            currentSink.load()(text);
    } catch (...) {
    }
}

void Trace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    TraceArguments(nullptr, format, args);
    va_end(args);
}

void TraceInto(std::vector<std::string>* held, const char* format, ...) {
    va_list args;
    va_start(args, format);
    TraceArguments(held, format, args);
    va_end(args);
}
