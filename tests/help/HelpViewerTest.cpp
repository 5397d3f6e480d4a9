// The help viewer opens the built help file at every topic the extension
// asks for, and opens nothing for a missing file.
#include "app/CFoldscanApp.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <htmlhelp.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Topics() {
    std::vector<std::string> topics = {"", "::/pages/ref_dlg_main.htm", "::/pages/ref_dlg_einst.htm"};
    for (int id = IDS_ERROR_UNEXPECTED; id <= IDS_ERROR_START_TICK; ++id)
        topics.push_back(CFoldscanApp::HelpTopicFor(id));
    for (int id = IDS_WARN_NO_MAILBOX; id <= IDS_WARN_NO_NEWMAIL; ++id)
        topics.push_back(CFoldscanApp::HelpTopicFor(id));
    return topics;
}

}  // namespace

TEST(HelpViewer, OpensTheHelpFileAtEveryTopicAndNothingWithoutIt) {
    for (const std::string& topic : Topics()) {
        std::string help = std::string(FOLDSCAN_CHM) + topic;
        EXPECT_NE(::HtmlHelpA(nullptr, help.c_str(), HH_DISPLAY_TOPIC, 0), nullptr) << help;
    }
    ::HtmlHelpA(nullptr, nullptr, HH_CLOSE_ALL, 0);

    std::string missing = std::string(FOLDSCAN_CHM) + ".missing::/pages/ref_dlg_main.htm";
    EXPECT_EQ(::HtmlHelpA(nullptr, missing.c_str(), HH_DISPLAY_TOPIC, 0), nullptr);
}
