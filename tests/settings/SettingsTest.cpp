#include "settings/PrivateProfileStore.h"
#include "settings/Settings.h"

#include "tests/settings/Backends.h"
#include "tests/support/Cp1252.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class SettingsTest : public testing::TestWithParam<BackendCase> {
protected:
    ProfileBackend& Backend() { return *GetParam().backend; }
    TempDir dir;
};

const char* const DefaultFile =
    "[MainDlg]\r\n"
    "AutoRefresh=0\r\n"
    "AutoRefreshRate=10\r\n"
    "ShowFolderPath=1\r\n"
    "WarnFolderPath=1\r\n"
    "MailboxPathManual=0\r\n"
    "MailboxPath=\r\n"
    "NewmailPath=\r\n"
    "CompactFileSizes=1\r\n"
    "ShowNewMailFolder=1\r\n";

void ExpectSame(const Settings& a, const Settings& b) {
    EXPECT_EQ(a.AutoRefresh, b.AutoRefresh);
    EXPECT_EQ(a.AutoRefreshRate, b.AutoRefreshRate);
    EXPECT_EQ(a.ShowFolderPath, b.ShowFolderPath);
    EXPECT_EQ(a.WarnFolderPath, b.WarnFolderPath);
    EXPECT_EQ(a.MailboxPathManual, b.MailboxPathManual);
    EXPECT_EQ(a.MailboxPath, b.MailboxPath);
    EXPECT_EQ(a.NewmailPath, b.NewmailPath);
    EXPECT_EQ(a.CompactFileSizes, b.CompactFileSizes);
    EXPECT_EQ(a.ShowNewMailFolder, b.ShowNewMailFolder);
}

Settings Changed() {
    Settings s;
    s.AutoRefresh = 1;
    s.AutoRefreshRate = 999;
    s.ShowFolderPath = 0;
    s.WarnFolderPath = 0;
    s.MailboxPathManual = 1;
    s.MailboxPath = Cp1252("C:\\Post\\Müller");
    s.NewmailPath = Cp1252("D:\\Eingänge\\");
    s.CompactFileSizes = 0;
    s.ShowNewMailFolder = 0;
    return s;
}

}  // namespace

TEST_P(SettingsTest, TheDefaultsMakeTheSectionLineAndNineKeysInOrder) {
    for (const char* name : {"empty.ini", "missing.ini"}) {
        if (std::string(name) == "empty.ini") dir.Write(name, "");
        PrivateProfileStore store(dir.Path() + name, Backend());
        ASSERT_EQ(store.Open("MainDlg"), 1);
        Settings().Save(store);
        store.Close();
        EXPECT_EQ(dir.Read(name), DefaultFile) << name;
    }
}

TEST_P(SettingsTest, SavedSettingsLoadBackAndSavingAgainChangesNothing) {
    PrivateProfileStore store(dir.Write("s.ini", "[MainDlg]\r\nSizeAndPos=1, 2, 3, 4\r\n"), Backend());
    store.Open("MainDlg");
    Changed().Save(store);
    store.Close();  // the file changes when the section closes
    std::string once = dir.Read("s.ini");

    store.Open("MainDlg");
    Settings loaded;
    loaded.Load(store);
    ExpectSame(loaded, Changed());

    loaded.Save(store);
    store.Close();
    EXPECT_EQ(dir.Read("s.ini"), once);
    EXPECT_EQ(once.rfind("[MainDlg]\r\nSizeAndPos=1, 2, 3, 4\r\nAutoRefresh=1\r\n", 0), 0u);
}

TEST_P(SettingsTest, MissingKeysKeepTheirValuesAndEmptyStringsReadEmpty) {
    PrivateProfileStore store(
        dir.Write("p.ini", "[MainDlg]\r\nautorefresh=1\r\nMailboxPath=\r\nShowNewMailFolder=\r\n"), Backend());
    store.Open("MainDlg");
    Settings loaded = Changed();
    loaded.AutoRefresh = 0;
    loaded.Load(store);

    Settings expected = Changed();
    expected.MailboxPath = "";  // present but empty
    ExpectSame(loaded, expected);

    // Without an open section nothing is read.
    store.Close();
    Settings untouched = Changed();
    untouched.Load(store);
    ExpectSame(untouched, Changed());
}

INSTANTIATE_TEST_SUITE_P(Backends, SettingsTest, testing::ValuesIn(AllBackends()), BackendName);
