#pragma once

#include <string>
#include <vector>

// Collects every trace text while it lives, in place of the default sink.
class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    const std::vector<std::string>& Lines() const;
    void Clear();
};
