#pragma once

// The standard streams of a command-line program.
class Console {
public:
    // True when standard error goes to a terminal (a console on Windows),
    // where a progress line may be redrawn in place.
    static bool ErrorIsTerminal();

    // std::cout and std::cerr take UTF-8 and standard input gives bytes as
    // they are. On Windows the streams are in binary mode (no line ends
    // added or taken away), a file or pipe gets the UTF-8 bytes, and a
    // console shows the characters through the wide console API.
    static void UseUtf8();
};
