#include "app/HelpViewer.h"

#include <htmlhelp.h>

#include <atomic>

namespace {

HWND SystemViewer(HWND owner, const char* helpString) {
    return ::HtmlHelpA(owner, helpString, HH_DISPLAY_TOPIC, 0);
}

std::atomic<HelpViewer> currentViewer{SystemViewer};

}  // namespace

HelpViewer SetHelpViewer(HelpViewer viewer) { return currentViewer.exchange(viewer ? viewer : SystemViewer); }

HWND ShowHelp(HWND owner, const char* helpString) { return currentViewer.load()(owner, helpString); }
