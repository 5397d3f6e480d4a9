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

void Trace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    // Tracing must never be what fails: without memory for the text, the
    // line is dropped.
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
        currentSink.load()(text);
    } catch (...) {
    }
    va_end(args);
}
