// A library holding a message poster, as the extension does, for the test of
// unloading it while the poster's thread runs.
#include "refresh/MessagePoster.h"

namespace {

MessagePoster poster;

}  // namespace

extern "C" __declspec(dllexport) int StartPosting(HWND window, UINT message) {
    poster.SetInterval(5, false);
    return poster.Start(window, message, true, 0);
}

extern "C" __declspec(dllexport) int StopPosting() { return poster.Stop(); }
