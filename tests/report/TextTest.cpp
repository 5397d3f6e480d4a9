// The code-page-1252 converter and the texts people read.
#include "bignum/BigInt.h"
#include "report/history/MailboxKey.h"
#include "report/model/MailboxReport.h"
#include "report/model/Overview.h"
#include "report/text/ReportTexts.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Decodes UTF-8 into code points; the test's own reading, not the report's.
std::u32string CodePoints(const std::string& utf8) {
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        int width = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = width == 1 ? c : c & (0x7F >> width);
        for (int k = 1; k < width; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += cp;
        i += static_cast<size_t>(width);
    }
    return out;
}

}  // namespace

TEST(Cp1252, EveryByteBecomesOneCharacterAndNoTwoTheSame) {
    std::u32string seen;
    for (int b = 0; b < 256; ++b) {
        std::string utf8 = Utf8FromCp1252(std::string(1, static_cast<char>(b)));
        ASSERT_TRUE(IsUtf8(utf8)) << b;
        std::u32string cps = CodePoints(utf8);
        ASSERT_EQ(cps.size(), 1u) << b;
        EXPECT_EQ(seen.find(cps[0]), std::u32string::npos) << b;
        seen += cps[0];
    }
    EXPECT_EQ(seen[0x80], U'\u20AC');  // euro sign
    EXPECT_EQ(seen[0x85], U'\u2026');  // the ellipsis that ends a cut path
    EXPECT_EQ(seen[0x9F], U'\u0178');
    // The way back, which the history's names take: every byte as it was.
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Cp1252FromUtf8(Utf8FromCp1252(all)), all);
    EXPECT_EQ(Cp1252FromUtf8("\u0141\xC3 \u20AC"), "?? \x80");  // not in the code page, malformed
    EXPECT_EQ(seen[0xE4], U'\u00E4');
    for (int hole : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(seen[static_cast<size_t>(hole)], static_cast<char32_t>(hole));
}

TEST(Cp1252, PrintableShowsControlsAndBrokenBytesAsReplacements) {
    EXPECT_EQ(Printable("a\tb\x1B[31m"), "a\uFFFD" "b\uFFFD[31m");
    EXPECT_EQ(Printable(Utf8FromCp1252("x\x9D\x90y")), "x\uFFFD\uFFFDy");  // the C1 holes
    EXPECT_EQ(Printable("\xC3"), "\uFFFD");                                // cut short
    EXPECT_EQ(Printable("\xC0\xAF"), "\uFFFD\uFFFD");                      // overlong
    EXPECT_EQ(Printable("\xED\xA0\x80"), "\uFFFD\uFFFD\uFFFD");            // a surrogate
    EXPECT_EQ(Printable("Gr\u00F6\u00DFe \u20AC"), "Gr\u00F6\u00DFe \u20AC");
    // Bidirectional formatting that would reorder what is shown around it.
    EXPECT_EQ(Printable("Post\u202Egnp.exe"), "Post\uFFFDgnp.exe");
    EXPECT_EQ(Printable("\u2066a\u2069\u202A\u2067"), "\uFFFDa\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Printable("\u2065\u202F"), "\u2065\u202F");  // their neighbours stay
    EXPECT_EQ(ValidUtf8("a\xC3(\u00E4"), "a\uFFFD(\u00E4");
    EXPECT_EQ(Utf8Length("Gr\u00F6\u00DFe \u20AC"), 7u);
#ifndef _WIN32
    EXPECT_EQ(Utf8FromOsText("/home/j\u00FCrgen"), "/home/j\u00FCrgen");  // UTF-8 paths stay
    EXPECT_EQ(Utf8FromOsText("/home/j\xFCrgen"), "/home/j\u00FCrgen");     // others read as 1252
#endif
}

TEST(ReportTexts, SizesAreThePanelsSizeTextsToTheByte) {
    // Against the panel's own big-integer texts: unit edges, halves, and
    // a spread of sizes up to 2^64 - 1.
    std::vector<uint64_t> sizes = {0, 1, 2, 1023, 1024, 1075, 1076, 1048575, UINT64_MAX, UINT64_MAX - 1};
    for (unsigned shift : {10u, 20u, 30u, 40u}) {
        const uint64_t unit = uint64_t{1} << shift;
        for (uint64_t k : {1, 2, 999, 1000, 1023, 1024, 1025})
            for (uint64_t delta : {uint64_t{0}, unit / 20, unit / 20 - 1, unit - 1}) sizes.push_back(k * unit + delta);
    }
    std::mt19937_64 random(3);
    for (int i = 0; i < 2000; ++i) sizes.push_back(random() >> (random() % 64));
    ReportTexts de(Language::German), en(Language::English);
    for (uint64_t size : sizes) {
        unsigned char le[8];
        for (size_t i = 0; i < 8; ++i) le[i] = static_cast<unsigned char>(size >> (8 * i));
        const BigInt big = BigInt::FromBytes(le, sizeof le, 1);
        ASSERT_EQ(de.Size(size, true), big.ToSizeText(',', true)) << size;
        ASSERT_EQ(de.Size(size, false), big.ToSizeText('.', false)) << size;
        ASSERT_EQ(en.Size(size, true), big.ToSizeText('.', true)) << size;
        ASSERT_EQ(en.Size(size, false), big.ToSizeText(',', false)) << size;
    }
}

TEST(ReportTexts, SizesFollowTheLanguageAndSummariesThePanel) {
    ReportTexts de(Language::German), en(Language::English);
    EXPECT_EQ(de.Size(1536, true), "1,5 kB");
    EXPECT_EQ(de.Size(1536, false), "1.536");
    EXPECT_EQ(en.Size(1536, true), "1.5 kB");
    EXPECT_EQ(en.Size(1536, false), "1,536");
    EXPECT_EQ(de.Summary(0, 0), "0 Dateien, 0 Bytes (0 Bytes)");
    EXPECT_EQ(de.Summary(1, 3456789), "1 Dateien, 3,3 MB (3.456.789 Bytes)");
    EXPECT_EQ(de.Summary(2, 5ull << 32), "2 Dateien, 20,0 GB (21.474.836.480 Bytes)");  // no wrap at 4 GiB
    EXPECT_EQ(de.Change(1000, 500, false), "-500");
    EXPECT_EQ(de.Share(Overview::Permille(1, 8)), "12,5 %");  // halves round up
    EXPECT_EQ(en.Share(Overview::Permille(1, 3), false), "33.3");
    EXPECT_EQ(en.Share(Overview::Permille(0, 0)), "0.0%");
    EXPECT_EQ(Overview::Permille(UINT64_MAX / 2, UINT64_MAX), 500u);  // no overflow near 2^64
    EXPECT_EQ(de.Change(500, 1000, true), "+500 Bytes");
    EXPECT_EQ(ReportTexts::Fill("%d von %s, %s", {"1", "2%s"}), "1 von 2%s, %s");
    EXPECT_EQ(LanguageOfLocale("de_AT.UTF-8"), Language::German);
    EXPECT_EQ(LanguageOfLocale("en_GB"), Language::English);
    EXPECT_EQ(LanguageOfLocale("fr_FR"), Language::English);
    EXPECT_EQ(LanguageOfLocale("C.UTF-8"), Language::German);
    EXPECT_EQ(LanguageOfLocale(""), Language::German);
}

TEST(ReportTexts, ChangesInPerCentTimesAndMailboxKeys) {
    const struct {
        uint64_t before, now;
        bool known;
        int64_t permille;
    } changes[] = {
        {1000, 1000, true, 0},    {1000, 1034, true, 34},   {2000, 2001, true, 1},  // 0.05 % rounds up
        {2000, 1999, true, -1},   {1000, 9000, true, 8000}, {1000, 0, true, -1000},
        {0, 500, false, 0},       {UINT64_MAX / 2, UINT64_MAX, true, 1000},
    };
    for (const auto& c : changes) {
        int64_t permille = 0;
        EXPECT_EQ(Overview::ChangePermille(c.before, c.now, permille), c.known) << c.before << " " << c.now;
        if (c.known) {
            EXPECT_EQ(permille, c.permille) << c.before << " " << c.now;
        }
    }
    ReportTexts de(Language::German), en(Language::English);
    EXPECT_EQ(MailboxReport::Change(0, UINT64_MAX), INT64_MAX);  // no wrap into a loss
    EXPECT_EQ(MailboxReport::Change(UINT64_MAX, 1), -INT64_MAX);
    EXPECT_EQ(de.SignedShare(-125), "-12,5 %");
    EXPECT_EQ(en.SignedShare(8000), "+800.0%");

    std::time_t when = 0;
    ASSERT_TRUE(RunTime::ParseUtc("2026-11-30T09:00:00Z", when));
    EXPECT_EQ(RunTime::Utc(when), "2026-11-30T09:00:00Z");
    for (const char* bad : {"2026-11-30 09:00:00Z", "2026-11-30T09:00:00", "26-11-30T09:00:00Z", ""})
        EXPECT_FALSE(RunTime::ParseUtc(bad, when)) << bad;
    EXPECT_EQ(RunTime::Local("nicht"), "nicht");

#ifdef _WIN32
    EXPECT_EQ(MailboxKey::FromPath("c:/Mail/J\u00FCrgen/"), "C:\\MAIL\\J\u00DCRGEN");
    EXPECT_EQ(MailboxKey::FromPath("c:\\"), "C:\\");
#else
    EXPECT_EQ(MailboxKey::FromPath("/mail/J\u00FCrgen//"), "/mail/J\u00FCrgen");
    EXPECT_EQ(MailboxKey::FromPath("/"), "/");
#endif
}
