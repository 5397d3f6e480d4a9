// The About command of the DLL's panel: the About box, read from its window while
// it runs modally, then closed.
#include "tests/panel/PanelHarness.h"

#include "tests/support/Cp1252.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Label(HWND box, int id) {
    char text[512] = {};
    ::GetDlgItemTextA(box, id, text, sizeof text);
    return text;
}

}  // namespace

TEST(AboutCommand, ShowsTheDllsOwnVersionTextsAndThePanelsDirectories) {
    PanelHarness harness;
    ASSERT_TRUE(harness.Loaded());
    TempDir mailbox;
    mailbox.Write("hierarch.pm", "");
    harness.mailbox = mailbox.Path();
    std::string newmail = mailbox.MakeDir("neu");
    harness.newmail = newmail.substr(0, newmail.size() - 1);  // the panel adds the separator
    ASSERT_TRUE(harness.Open());

    std::vector<std::string> labels;
    harness.boxes.SetHandler([&](const BoxWatcher::Box& box) {
        for (int id : {IDC_ABOUT_DESCRIPTION, IDC_ABOUT_VERSION, IDC_ABOUT_COPYRIGHT, IDC_ABOUT_MAILBOX,
                       IDC_ABOUT_NEWMAIL})
            labels.push_back(Label(box.window, id));
        ::SendMessageA(box.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);  // "&Schließen"
        return true;
    });
    harness.Command(ID_ABOUT);

    ASSERT_EQ(harness.boxes.Seen().size(), 1u) << "no About box";
    EXPECT_EQ(harness.boxes.Seen()[0].caption, "Info");
    EXPECT_FALSE(::IsWindow(harness.boxes.Seen()[0].window));
    EXPECT_EQ(labels, (std::vector<std::string>{
                          Cp1252("Ordnerstatistik für das Mailprogramm"),
                          "v2.06 (foldscan)",
                          Cp1252("© 2026 Das foldscan-Team. Alle Rechte vorbehalten."),
                          mailbox.Path(),
                          newmail,
                      }));
    EXPECT_EQ(harness.boxes.Overdue(), 0);
}
