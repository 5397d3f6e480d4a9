#include "report/scan/HeldTrace.h"

#include "ui/Trace.h"

#include <atomic>
#include <mutex>

namespace {

thread_local std::vector<std::string>* held = nullptr;

std::mutex installing;
unsigned users = 0;
// Stands for the sink before while it is being put in front of it.
void Pending(const std::string&) {}

// The sink that was installed before; read by every thread that traces.
std::atomic<TraceSink> next{nullptr};

void Hold(const std::string& text) {
    if (held) {
        // Tracing must never be what fails: without memory, the line goes.
        try {
            held->push_back(text);
        } catch (...) {
        }
        return;
    }
    TraceSink sink = next.load();
    while (sink == Pending) sink = next.load();  // for as long as Begin takes to learn it
    if (sink) sink(text);
}

}  // namespace

void HeldTrace::Begin() {
    std::lock_guard<std::mutex> lock(installing);
    if (users++ > 0) return;
    const TraceSink last = next.exchange(Pending);
    const TraceSink before = SetTraceSink(Hold);
    // Hold itself, where a caller put back what it found while Hold stood in
    // front: what stood behind it then still does.
    next = before == Hold ? last : before;
}

void HeldTrace::End() {
    std::lock_guard<std::mutex> lock(installing);
    if (users == 0 || --users > 0) return;
    SetTraceSink(next.load());
}

void HeldTrace::HoldIn(std::vector<std::string>* lines) { held = lines; }

void HeldTrace::Write(std::vector<std::string>& lines) {
    for (const std::string& line : lines) Trace("%s", line.c_str());
    lines.clear();
}
