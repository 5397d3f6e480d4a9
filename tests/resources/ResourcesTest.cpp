// The module's resources, read back through the same functions the panel uses.
#include "resources/resource.h"

#include "tests/support/Cp1252.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

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
    EXPECT_EQ(String(2001), "Dateiname");
    EXPECT_EQ(String(2002), Cp1252("Größe"));
    EXPECT_EQ(String(2003), "Ordnername");
    EXPECT_EQ(String(2004), "%d Dateien, %s (%s Bytes)");
    EXPECT_EQ(String(2005), "<Posteingang>");
    EXPECT_EQ(String(2101), "FEHLER 000: Unerwarteter Fehler.");
    EXPECT_EQ(String(2102), "FEHLER 001: Online-Hilfe-Datei nicht gefunden.");
    EXPECT_EQ(String(2103), "FEHLER 002: Auto-Refresh-Thread konnte nicht gestartet werden.");
    EXPECT_EQ(String(2104), "FEHLER 003: Auto-Refresh-Thread konnte nicht beendet werden.");
    EXPECT_EQ(String(2105), Cp1252("FEHLER 004: Der Wert für die Aktualisierungs-Rate muss größer als 0 sein."));
    EXPECT_EQ(String(2106), "FEHLER 005: Ticker-Thread konnte nicht gestartet werden.");
    EXPECT_EQ(String(2601), "WARNUNG 501: Der Mailbox-Pfad konnte nicht ermittelt werden.");
    EXPECT_EQ(String(2602),
              Cp1252("WARNUNG 502: Die Datei \"hierarch.pm\" konnte nicht zum Lesen geöffnet werden."));
    EXPECT_EQ(String(2603), "WARNUNG 503: Der Newmail-Pfad konnte nicht ermittelt werden.");
}

TEST(Resources, TheContextMenuInItsOrder) {
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_CONTEXT));
    ASSERT_NE(menu, nullptr);
    HMENU popup = ::GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    const std::vector<std::pair<UINT, std::string>> items = {
        {40006, Cp1252("Dateigrößen &kompakt\tStrg-K")},
        {40007, "&Posteingang anzeigen\tAlt-P"},
        {40001, "&Aktualisieren\tStrg-A"},
        {0, ""},
        {40002, "&Einstellungen...\tStrg-E"},
        {0, ""},
        {40003, "Hilfe-&Inhalt...\tStrg-I"},
        {40004, "&Hilfe...\tStrg-H"},
        {40005, "I&nfo...\tStrg-N"},
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
