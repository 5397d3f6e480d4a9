#pragma once

// The standard streams of a command-line program.
class Console {
public:
    // True when standard error goes to a terminal (a console on Windows),
    // where a progress line may be redrawn in place.
    static bool ErrorIsTerminal();

    // Standard output and error pass UTF-8 bytes on unchanged: on Windows
    // in binary mode (no line ends added), and a console shows them as UTF-8.
    static void UseUtf8();
};
