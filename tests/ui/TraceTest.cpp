#include "ui/Trace.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

std::atomic<int> toFirst{0};
std::atomic<int> toSecond{0};

void First(const std::string&) { ++toFirst; }
void Second(const std::string&) { ++toSecond; }

}  // namespace

// Worker threads trace while the user-interface thread may install a sink;
// the thread sanitizer build reports any unsynchronised access.
TEST(Trace, TheSinkCanBeReplacedWhileAnotherThreadTraces) {
    constexpr int lines = 20000;
    TraceSink previous = SetTraceSink(First);
    std::thread tracer([] {
        for (int i = 0; i < lines; ++i) Trace("%d\n", i);
    });
    for (int i = 0; i < lines; ++i) SetTraceSink(i % 2 ? First : Second);
    tracer.join();
    SetTraceSink(previous);
    EXPECT_EQ(toFirst + toSecond, lines);
}
