#include "host/HostOptions.h"

#include <gtest/gtest.h>

TEST(HostOptions, ReadsEveryOptionAndKeepsActionsInOrder) {
    HostOptions o;
    std::string error;
    ASSERT_TRUE(o.Parse({"--dll", "x.dll", "--mailbox", "/tmp/m", "--newmail", "C:\\New\\", "--size", "800x600",
                         "--command", "40006", "--click-column", "1", "--command", "40001", "--dump"},
                        error))
        << error;
    EXPECT_EQ(o.dll, "x.dll");
    EXPECT_EQ(o.mailbox, "Z:\\tmp\\m");
    EXPECT_EQ(o.newmail, "C:\\New\\");
    EXPECT_EQ(o.width, 800);
    EXPECT_EQ(o.height, 600);
    ASSERT_EQ(o.actions.size(), 3u);
    EXPECT_EQ(o.actions[0].kind, HostOptions::Action::Command);
    EXPECT_EQ(o.actions[0].value, 40006);
    EXPECT_EQ(o.actions[1].kind, HostOptions::Action::ClickColumn);
    EXPECT_EQ(o.actions[1].value, 1);
    EXPECT_EQ(o.actions[2].value, 40001);
    EXPECT_TRUE(o.dump);
}

TEST(HostOptions, RefusesMistakes) {
    std::string error;
    for (auto args : std::vector<std::vector<std::string>>{
             {"--size", "800"}, {"--size", "0x5"}, {"--command", "x"}, {"--mailbox"}, {"--frobnicate", "1"},
             {"--hold-boxes", "-5"}, {"--quit-after", "soon"}}) {
        HostOptions o;
        EXPECT_FALSE(o.Parse(args, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(HostOptions, OnlyUnixPathsMoveToDriveZ) {
    EXPECT_EQ(HostOptions::WindowsPath("/home/u/mail/"), "Z:\\home\\u\\mail\\");
    EXPECT_EQ(HostOptions::WindowsPath("C:\\Mail"), "C:\\Mail");
    EXPECT_EQ(HostOptions::WindowsPath(""), "");
}
