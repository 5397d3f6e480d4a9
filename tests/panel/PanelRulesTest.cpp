#include "panel/ColumnWidths.h"
#include "panel/KeyCommands.h"
#include "panel/PanelLayout.h"
#include "platform/CaseFold.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

using namespace PanelLayout;

TEST(PanelLayout, TheWorkedExample) {
    Metrics m = Metrics::FromUnits(6, 13);
    EXPECT_EQ(m.marginX, 10);
    EXPECT_EQ(m.marginY, 11);
    EXPECT_EQ(m.gapY, 8);
    PanelBoxes boxes = LayOutPanel(m, 21, 400, 300, 300, 200);
    EXPECT_EQ(boxes.list, (Box{10, 11, 390, 260}));
    EXPECT_EQ(boxes.summary, (Box{10, 268, 390, 289}));
}

TEST(PanelLayout, ASmallerAreaIsLaidOutAsTheInitialOne) {
    Metrics m = Metrics::FromUnits(6, 13);
    PanelBoxes initial = LayOutPanel(m, 21, 356, 274, 356, 274);
    PanelBoxes minimised = LayOutPanel(m, 21, 0, 0, 356, 274);
    PanelBoxes narrow = LayOutPanel(m, 21, 100, 1000, 356, 274);
    EXPECT_EQ(minimised.list, initial.list);
    EXPECT_EQ(minimised.summary, initial.summary);
    EXPECT_EQ(narrow.list.right, initial.list.right);
    // Only the list grows; the summary keeps its height at the bottom.
    EXPECT_EQ(narrow.summary.Height(), 21);
    EXPECT_EQ(narrow.summary.bottom, 1000 - 11);
}

TEST(PanelLayout, MarginsGrowWithTheDialogFont) {
    Metrics small = Metrics::FromUnits(6, 13);
    Metrics large = Metrics::FromUnits(9, 20);
    EXPECT_GT(large.marginX, small.marginX);
    EXPECT_EQ(large.marginY, 17);
    EXPECT_EQ(large.gapY, 12);
}

TEST(PanelLayout, SizingMovesTheDraggedEdgeOnly) {
    Box tooSmall{100, 100, 150, 130};  // 50 x 30 against a minimum of 200 x 120
    EXPECT_EQ(CorrectSizing(Left, tooSmall, 200, 120), (Box{-50, 100, 150, 130}));
    EXPECT_EQ(CorrectSizing(Right, tooSmall, 200, 120), (Box{100, 100, 300, 130}));
    EXPECT_EQ(CorrectSizing(Top, tooSmall, 200, 120), (Box{100, 10, 150, 130}));
    EXPECT_EQ(CorrectSizing(Bottom, tooSmall, 200, 120), (Box{100, 100, 150, 220}));
    EXPECT_EQ(CorrectSizing(TopRight, tooSmall, 200, 120), (Box{100, 10, 300, 130}));
    EXPECT_EQ(CorrectSizing(BottomLeft, tooSmall, 200, 120), (Box{-50, 100, 150, 220}));
    Box bigEnough{0, 0, 500, 500};
    for (int edge = Left; edge <= BottomRight; ++edge) EXPECT_EQ(CorrectSizing(edge, bigEnough, 200, 120), bigEnough);
}

TEST(KeyCommands, CtrlKeysAltPAndNothingElse) {
    EXPECT_EQ(KeyCommands::CommandForKey('K', true, false), ID_COMPACT_SIZES);
    EXPECT_EQ(KeyCommands::CommandForKey('A', true, false), ID_REFRESH);
    EXPECT_EQ(KeyCommands::CommandForKey('E', true, false), ID_SETTINGS);
    EXPECT_EQ(KeyCommands::CommandForKey('I', true, false), ID_HELP_CONTENTS);
    EXPECT_EQ(KeyCommands::CommandForKey('H', true, false), ID_HELP_PANEL);
    EXPECT_EQ(KeyCommands::CommandForKey('N', true, false), ID_ABOUT);
    EXPECT_EQ(KeyCommands::CommandForKey('P', false, true), ID_SHOW_NEWMAIL);
    // Ctrl is looked up first: Ctrl+Alt+P is a Ctrl key, and there is no Ctrl+P.
    EXPECT_EQ(KeyCommands::CommandForKey('P', true, true), 0);
    EXPECT_EQ(KeyCommands::CommandForKey('P', true, false), 0);
    EXPECT_EQ(KeyCommands::CommandForKey('K', false, true), 0);
    EXPECT_EQ(KeyCommands::CommandForKey('K', false, false), 0);
    EXPECT_EQ(KeyCommands::CommandForKey('P', false, false), 0);
}

// Type-ahead folds as Windows folds names in code page 1252, unlike the
// sort, which folds ASCII letters only.
TEST(TypeAhead, LettersOfCodePage1252FoldAsWindowsFoldsThem) {
    EXPECT_TRUE(MatchesFolded1252("\xC4pfel.pmm", "\xE4", true));            // Ä, ä
    EXPECT_TRUE(MatchesFolded1252("\x8Akoda \xDE", "\x9AKODA \xFE", false));  // Š š, Þ þ
    EXPECT_TRUE(MatchesFolded1252("\x9F\x8C\x8E", "\xFF\x9C\x9E", false));   // Ÿ ÿ, Œ œ, Ž ž
    EXPECT_FALSE(MatchesFolded1252("\xD7", "\xF7", false));                    // × is not ÷
    EXPECT_FALSE(MatchesFolded1252("\xDF", "SS", false));                      // ß has no capital here
    EXPECT_FALSE(MatchesFolded1252("Gleis", "gleis.pmm", true));
    EXPECT_FALSE(MatchesFolded1252("Gleis.pmm", "gleis", false));
    EXPECT_TRUE(MatchesFolded1252("Gleis.pmm", "", true));
}

TEST(ColumnWidths, AListThatWouldHideAColumnAsTheControlTakesItIsRefused) {
    EXPECT_EQ(ColumnWidths::AsTaken(65536), 0);
    EXPECT_EQ(ColumnWidths::AsTaken(65536 + 90), 90);
    EXPECT_EQ(ColumnWidths::AsTaken(32768), -32768);
    EXPECT_EQ(ColumnWidths::AsTaken(-1), -1);
    EXPECT_TRUE(ColumnWidths::ShowEveryColumn({110, 70, 240}));
    EXPECT_TRUE(ColumnWidths::ShowEveryColumn({110, 65536 + 1, 32767}));
    EXPECT_FALSE(ColumnWidths::ShowEveryColumn({110, 0, 240}));
    EXPECT_FALSE(ColumnWidths::ShowEveryColumn({110, 70, 65536}));
    EXPECT_FALSE(ColumnWidths::ShowEveryColumn({-2, 70, 240}));
    EXPECT_FALSE(ColumnWidths::ShowEveryColumn({110, 40000, 240}));
}

TEST(ColumnWidths, WidthsKeepTheirPhysicalSizeWithinTheControlsBounds) {
    using ColumnWidths::Rescale;
    EXPECT_EQ(Rescale(110, 96, 144), 165);
    EXPECT_EQ(Rescale(165, 144, 96), 110);
    EXPECT_EQ(Rescale(9, 96, 144), 14);   // 13.5: halves round up, as MulDiv's do
    EXPECT_EQ(Rescale(70, 96, 120), 88);  // 87.5
    // Equal or unusable resolutions leave the stored value exactly as it is.
    EXPECT_EQ(Rescale(65536 + 90, 96, 96), 65536 + 90);
    EXPECT_EQ(Rescale(110, 0, 144), 110);
    EXPECT_EQ(Rescale(110, 96, 5000), 110);
    // Otherwise the width the control would take is scaled, then bounded.
    EXPECT_EQ(Rescale(65536 + 90, 96, 192), 180);
    EXPECT_EQ(Rescale(1, 1000, 96), 1);
    EXPECT_EQ(Rescale(0, 96, 144), 1);
    EXPECT_EQ(Rescale(30000, 96, 144), ColumnWidths::MaxWidth);
    EXPECT_EQ(Rescale(32767, 1, 1000), ColumnWidths::MaxWidth);
}

TEST(ColumnWidths, OnlyAPlainNumberOfAPossibleResolutionIsAStoredDpi) {
    for (const char* text : {"144", " 120\t", "1", "1000", "00096"})
        EXPECT_TRUE(ColumnWidths::IsDpi(ColumnWidths::ParseDpi(text))) << text;
    EXPECT_EQ(ColumnWidths::ParseDpi("144"), 144);
    EXPECT_EQ(ColumnWidths::ParseDpi(std::to_string(1000)), 1000);
    for (const char* text : {"", " ", "0", "-96", "+96", "1001", "99999", "4294967440", "144dpi", "1 44", "14.4",
                             "abc", "0x90"})
        EXPECT_EQ(ColumnWidths::ParseDpi(text), 0) << text;
}
