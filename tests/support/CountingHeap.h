#pragma once

#include <cstddef>

// The counters of the global operator new and delete that CountingHeap.cpp
// replaces in the programs linking it: the blocks and bytes in use, the most
// bytes in use at once, and a countdown that fails an allocation on purpose.
// The counters are plain values: for programs that allocate on one thread.
class CountingHeap {
public:
    // n > 0: the n-th allocation from now fails (operator new throws
    // std::bad_alloc, the nothrow forms return null) and the countdown rests
    // at 0, so that a caller sees whether it was reached; 0: none fails.
    static long allocationsLeft;
    static long liveBlocks;
    static size_t liveBytes;
    // The highest liveBytes since it was last set.
    static size_t peakBytes;
};
