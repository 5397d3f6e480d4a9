#pragma once

#include <string>
#include <vector>

// Trace lines that a folder file's reading writes on a helper thread are
// held with that reading, and written when the scan takes the reading on its
// own thread: so they come in the order a scan on one thread writes them.
// While any scan holds lines, a sink of its own stands in front of the one
// installed, and passes on the lines of every thread that holds none.
class HeldTrace {
public:
    // The sink stands in front while at least one Begin is not yet ended.
    static void Begin();
    static void End();

    // This thread's lines go into lines from now on; null: to the sink again.
    static void HoldIn(std::vector<std::string>* lines);
    // Writes lines to the sink, in order, and empties them.
    static void Write(std::vector<std::string>& lines);
};
