#include "tests/support/TraceCapture.h"

#include "ui/Trace.h"

namespace {

std::vector<std::string> captured;
TraceSink previousSink = nullptr;

void Capture(const std::string& text) { captured.push_back(text); }

}  // namespace

TraceCapture::TraceCapture() {
    captured.clear();
    previousSink = SetTraceSink(Capture);
}

TraceCapture::~TraceCapture() { SetTraceSink(previousSink); }

const std::vector<std::string>& TraceCapture::Lines() const { return captured; }

void TraceCapture::Clear() { captured.clear(); }
