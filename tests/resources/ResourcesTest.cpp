// The module's resources, read back through the same functions the panel uses.
#include "resources/HostMessages.h"
#include "resources/resource.h"

#include "tests/support/Cp1252.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

// The numbers behind the names are fixed: the host, the help file and stored
// settings rely on them, and every other test uses the names. So do the
// messages the host and the panel exchange.
static_assert(IDI_FOLDSCAN == 24001 && IDD_PANEL == 24002 && IDM_CONTEXT == 24004 && IDD_ABOUT == 24005 &&
              IDD_SETTINGS == 24006 && IDA_SETTINGS == 24008 && IDC_FOLDER_LIST == 24001 && IDC_SUMMARY == 24002 &&
              IDC_ABOUT_DESCRIPTION == 24003 && IDC_ABOUT_COPYRIGHT == 24004 && IDC_ABOUT_MAILBOX == 24005 &&
              IDC_ABOUT_VERSION == 24006 && IDC_ABOUT_ICON == 24007 && IDC_ABOUT_NEWMAIL == 24015 &&
              IDC_AUTO_REFRESH == 24008 && IDC_RATE_BEFORE == 24009 && IDC_RATE_AFTER == 24010 && IDC_RATE == 24011 &&
              IDC_WARN_FOLDER_PATH == 24012 && IDC_WARN_SECOND_LINE == 24013 && IDC_SHOW_FOLDER_PATH == 24014 &&
              IDC_HELP_BUTTON == 9 && ID_REFRESH == 40001 && ID_SETTINGS == 40002 && ID_HELP_CONTENTS == 40003 &&
              ID_HELP_PANEL == 40004 && ID_ABOUT == 40005 && ID_COMPACT_SIZES == 40006 && ID_SHOW_NEWMAIL == 40007 &&
              IDS_COLUMN_FILE == 2001 && IDS_COLUMN_SIZE == 2002 && IDS_COLUMN_FOLDER == 2003 && IDS_SUMMARY == 2004 &&
              IDS_NEWMAIL_LABEL == 2005 && IDS_ERROR_UNEXPECTED == 2101 && IDS_ERROR_NO_HELP == 2102 &&
              IDS_ERROR_START_AUTO == 2103 && IDS_ERROR_STOP_AUTO == 2104 && IDS_ERROR_RATE == 2105 &&
              IDS_ERROR_START_TICK == 2106 && IDS_WARN_NO_MAILBOX == 2601 && IDS_WARN_NO_HIERARCHY == 2602 &&
              IDS_WARN_NO_NEWMAIL == 2603);
static_assert(HostMessages::Start == 0x0B09 && HostMessages::Resize == 0x0B0A && HostMessages::SizeLimits == 0x0B0B &&
              HostMessages::PositionQuery == 0x0B0C && HostMessages::Activate == 0x0B0D && HostMessages::Focus == 0x0B0E &&
              HostMessages::AskMailboxPath == 3046 && HostMessages::AskNewmailPath == 3045 &&
              HostMessages::AutoRefresh == 1025 && HostMessages::Ticker == 1026);

namespace {

std::string String(UINT id) {
    char buffer[1024];
    int n = ::LoadStringA(::GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

std::string MenuText(HMENU menu, int position) {
    char text[128] = {};
    ::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

}  // namespace

TEST(Resources, StringTableTextsAreExactCodePage1252Bytes) {
    EXPECT_EQ(String(IDS_COLUMN_FILE), "Dateiname");
    EXPECT_EQ(String(IDS_COLUMN_SIZE), Cp1252("Größe"));
    EXPECT_EQ(String(IDS_COLUMN_FOLDER), "Ordnername");
    EXPECT_EQ(String(IDS_SUMMARY), "%d Dateien, %s (%s Bytes)");
    EXPECT_EQ(String(IDS_NEWMAIL_LABEL), "<Posteingang>");
    EXPECT_EQ(String(IDS_ERROR_UNEXPECTED), "FEHLER 000: Unerwarteter Fehler.");
    EXPECT_EQ(String(IDS_ERROR_NO_HELP), "FEHLER 001: Online-Hilfe-Datei nicht gefunden.");
    EXPECT_EQ(String(IDS_ERROR_START_AUTO), "FEHLER 002: Auto-Refresh-Thread konnte nicht gestartet werden.");
    EXPECT_EQ(String(IDS_ERROR_STOP_AUTO), "FEHLER 003: Auto-Refresh-Thread konnte nicht beendet werden.");
    EXPECT_EQ(String(IDS_ERROR_RATE),
              Cp1252("FEHLER 004: Der Wert für die Aktualisierungs-Rate muss größer als 0 sein."));
    EXPECT_EQ(String(IDS_ERROR_START_TICK), "FEHLER 005: Ticker-Thread konnte nicht gestartet werden.");
    EXPECT_EQ(String(IDS_WARN_NO_MAILBOX), "WARNUNG 501: Der Mailbox-Pfad konnte nicht ermittelt werden.");
    EXPECT_EQ(String(IDS_WARN_NO_HIERARCHY),
              Cp1252("WARNUNG 502: Die Datei \"hierarch.pm\" konnte nicht zum Lesen geöffnet werden."));
    EXPECT_EQ(String(IDS_WARN_NO_NEWMAIL), "WARNUNG 503: Der Newmail-Pfad konnte nicht ermittelt werden.");
}

TEST(Resources, TheContextMenuInItsOrder) {
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_CONTEXT));
    ASSERT_NE(menu, nullptr);
    HMENU popup = ::GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    const std::vector<std::pair<UINT, std::string>> items = {
        {ID_COMPACT_SIZES, Cp1252("Dateigrößen &kompakt\tStrg-K")},
        {ID_SHOW_NEWMAIL, "&Posteingang anzeigen\tAlt-P"},
        {ID_REFRESH, "&Aktualisieren\tStrg-A"},
        {0, ""},
        {ID_SETTINGS, "&Einstellungen...\tStrg-E"},
        {0, ""},
        {ID_HELP_CONTENTS, "Hilfe-&Inhalt...\tStrg-I"},
        {ID_HELP_PANEL, "&Hilfe...\tStrg-H"},
        {ID_ABOUT, "I&nfo...\tStrg-N"},
    };
    ASSERT_EQ(::GetMenuItemCount(popup), static_cast<int>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].first == 0) {
            EXPECT_TRUE(::GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) << i;
            continue;
        }
        EXPECT_EQ(::GetMenuItemID(popup, static_cast<int>(i)), items[i].first);
        EXPECT_EQ(MenuText(popup, static_cast<int>(i)), items[i].second);
    }
    ::DestroyMenu(menu);
}

TEST(Resources, TheAcceleratorTableMapsF1ToTheHelpButton) {
    HACCEL table = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_SETTINGS));
    ASSERT_NE(table, nullptr);
    ACCEL entries[4];
    ASSERT_EQ(::CopyAcceleratorTableA(table, entries, 4), 1);
    EXPECT_EQ(entries[0].key, VK_F1);
    EXPECT_EQ(entries[0].cmd, IDC_HELP_BUTTON);
    EXPECT_EQ(entries[0].fVirt & (FVIRTKEY | FSHIFT | FCONTROL | FALT), FVIRTKEY);
}

TEST(Resources, ThePanelTemplateIsAHiddenChildWithItsTwoControls) {
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_PANEL), MAKEINTRESOURCEA(5));  // RT_DIALOG
    ASSERT_NE(found, nullptr);
    auto dialog = static_cast<const DLGTEMPLATE*>(::LockResource(::LoadResource(nullptr, found)));
    EXPECT_EQ(dialog->style, 0x40000040u);
    EXPECT_EQ(dialog->cdit, 2);
    EXPECT_EQ(dialog->cx, 178);
    EXPECT_EQ(dialog->cy, 137);
    ASSERT_NE(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_FOLDSCAN)), nullptr);
}

TEST(Resources, TheVersionIs260WithOneGermanTranslation) {
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(::GetFileVersionInfoA(path, 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020006u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                                 &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0407);
    EXPECT_EQ(translation[1], 1200);
    for (const char* name : {"FileDescription", "ProductName", "LegalCopyright"}) {
        char* value = nullptr;
        std::string key = std::string("\\StringFileInfo\\040704B0\\") + name;
        EXPECT_TRUE(::VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) << name;
        EXPECT_GT(length, 1u) << name;
    }
}
