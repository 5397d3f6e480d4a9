#pragma once

#include <string>
#include <vector>

// The command line of foldhost, the stand-in for the mail client.
struct HostOptions {
    struct Action {
        enum Kind { Command, ClickColumn } kind;
        int value;
    };

    std::string dll;      // empty: foldscan.dll beside foldhost.exe
    std::string mailbox;  // as the panel is to see it
    std::string newmail;
    int width = 640;      // client size of the host's window
    int height = 480;
    std::vector<Action> actions;
    bool dump = false;
    // How long a box or dialog the panel opens stays before it is closed;
    // -1: boxes wait for the user, unless the run dumps (then 0).
    int holdBoxesMs = -1;
    // Without --dump: how long the host runs before it closes; -1: until its
    // window is closed.
    int quitAfterMs = -1;

    bool WatchesBoxes() const { return dump || holdBoxesMs >= 0; }

    // Parses the arguments after the program name; on a mistake returns
    // false with a message in error.
    bool Parse(const std::vector<std::string>& args, std::string& error);

    // A directory starting with "/" is a Unix path; under Wine it lies on
    // drive Z:, with backslashes.
    static std::string WindowsPath(const std::string& path);

    static const char* Usage();
};
