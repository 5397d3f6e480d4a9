#pragma once

#include "tests/panel/PanelHarness.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

// The tests of the loaded panel: a mailbox with a new-mail directory "neu"
// that the host reports, and no box unless a test expects one.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(harness.Loaded()) << "foldscan.dll or its FORMINIT is missing";
        harness.mailbox = mailbox.Path();
        harness.newmail = mailbox.MakeDir("neu");
    }
    void TearDown() override { EXPECT_TRUE(harness.boxes.Seen().empty()) << harness.boxes.Seen()[0].text; }

    // A settings file the panel finds when it starts.
    void Settings(const std::string& lines) { mailbox.Write("KVT-FSCN.PM", "[MainDlg]\r\n" + lines); }

    TempDir mailbox;
    PanelHarness harness;
};
