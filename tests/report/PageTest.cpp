// The page's own data: the front-coded lists its script decodes, the names
// of mailboxes as its overview shows them, and a mailbox that is gone.
#include "report/model/ReportRun.h"
#include "report/page/FrontCoding.h"
#include "report/page/HtmlWriter.h"
#include "report/page/MailboxNames.h"
#include "store/pmHierarch.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// The script's decoding, in UTF-16 as its strings are.
std::vector<std::u16string> Decode(const std::string& coded, size_t count) {
    std::vector<std::u16string> out;
    std::u16string text, before;
    for (size_t i = 0; i < coded.size();) {
        unsigned c = static_cast<unsigned char>(coded[i]);
        size_t width = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        unsigned point = width == 1 ? c : c & (0xFF >> (width + 1));
        for (size_t k = 1; k < width; ++k) point = (point << 6) | (static_cast<unsigned char>(coded[i + k]) & 0x3F);
        i += width;
        if (point >= 0x10000) {
            text += static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            text += static_cast<char16_t>(point);
        }
    }
    if (count == 0) return out;
    const char16_t separator = text[0];
    size_t at = 1;
    for (size_t k = 0; k < count; ++k) {
        size_t end = text.find(separator, at);
        if (end == std::u16string::npos) end = text.size();
        const std::u16string part = text.substr(at, end - at);
        auto digit = [](char16_t d) { return static_cast<size_t>(d <= '9' ? d - '0' : d - 'a' + 10); };
        const size_t start = digit(part[0]), tail = digit(part[1]);
        before = before.substr(0, start) + part.substr(2) + before.substr(before.size() - tail);
        out.push_back(before);
        at = end + 1;
    }
    return out;
}

std::u16string Utf16(const std::string& utf8) { return Decode("|00" + utf8, 1)[0]; }

}  // namespace

TEST(PageData, FrontCodedListsComeBackWhole) {
    const std::vector<std::vector<std::string>> lists = {
        {},
        {""},
        {"F000122.PMM", "F000123.PMM", "F000130.PMM", "Gesendet.PMM", "Gesendet.PMM", "G.PMM"},
        // Longer shared parts than a digit says, written in part.
        {std::string(50, 'a') + "x" + std::string(50, 'b'), std::string(50, 'a') + "y" + std::string(50, 'b')},
        // Characters of two and three bytes, and one of two UTF-16 units,
        // shared in whole characters only.
        {"B\u00fcro \u20ac", "B\u00fcro \u20ac\u20ac", "B\u00fcr\u00f6", "\U0001F600a\U0001F600", "\U0001F600b\U0001F600",
         "\u00e4", "\u00e5"},
    };
    for (const std::vector<std::string>& list : lists) {
        const std::string coded = FrontCoding::Encode(list);
        ASSERT_FALSE(coded.empty());
        const std::vector<std::u16string> back = Decode(coded, list.size());
        ASSERT_EQ(back.size(), list.size());
        for (size_t k = 0; k < list.size(); ++k) EXPECT_EQ(back[k], Utf16(list[k])) << coded << " " << k;
    }
    EXPECT_EQ(FrontCoding::Encode({"F000122.PMM", "F000123.PMM"}), "|00F000122.PMM|643");
    // Texts that hold every separator go as they are.
    EXPECT_EQ(FrontCoding::Encode({"a|b*c?d", ":^~`"}), "");
    EXPECT_EQ(FrontCoding::Encode({"a|b*c?d", ":^~"}).substr(0, 1), "`");
}

TEST(PageData, MailboxNamesSayTheirCommonFolderOnceAndShortenLongOnes) {
    auto mailbox = [](const std::string& path) {
        MailboxReport report;
        report.path = path;
        return report;
    };
    MailboxNames names({mailbox("/srv/mail/berlin/anna"), mailbox("/srv/mail/bern/ben")});
    EXPECT_EQ(names.Common(), "/srv/mail/");
    EXPECT_EQ(names.Name(0), "berlin/anna");
    EXPECT_EQ(MailboxNames({mailbox("/srv/a"), mailbox("/srv/a/b")}).Common(), "/srv/");
    EXPECT_EQ(MailboxNames({mailbox("/a"), mailbox("/b")}).Common(), "");
    EXPECT_EQ(MailboxNames({mailbox("/srv/a")}).Common(), "");
    EXPECT_EQ(MailboxNames::Shortened("\u00e4bcdefghij", 5), "\u00e4b\u2026ij");
    EXPECT_EQ(MailboxNames::Shortened("abcde", 5), "abcde");
    EXPECT_EQ(MailboxNames::Html("<abcdefgh>", 5), "<span title=\"&lt;abcdefgh&gt;\">&lt;a\u2026h&gt;</span>");
}

// A mailbox the latest run no longer found comes after the others, marked,
// with its last size, and in no share.
TEST(PageData, AMailboxThatIsGoneIsListedLastAndInNoShare) {
    ReportOptions options;
    options.format = ReportFormat::Html;
    ReportTexts texts(Language::German);
    std::vector<MailboxReport> mailboxes(3);
    const char* paths[] = {"/mail/gone", "/mail/here", "/mail/small"};
    const uint64_t totals[] = {5000, 3000, 1000};
    for (size_t m = 0; m < 3; ++m) {
        MailboxReport& mailbox = mailboxes[m];
        mailbox.path = paths[m];
        mailbox.readable = true;
        ReportRow row;
        row.record.fileName = "A.PMM";
        row.record.folderPath = "\\";
        row.record.folderName = "Ablage";
        row.record.size = totals[m];
        mailbox.rows.push_back(row);
        mailbox.count = 1;
        mailbox.total = totals[m];
        mailbox.tree.Build(mailbox.rows, pmHierarch(), options.sortColumn, options.descending);
    }
    mailboxes[0].goneSince = "2026-11-25T02:30:00Z";
    ReportRun run(options, texts, mailboxes, "2026-11-30T02:30:00Z");
    std::ostringstream out;
    HtmlWriter().Write(run, out);
    const std::string page = out.str();
    const std::string overview = page.substr(page.find("<section id=\"overview\">"));
    const size_t here = overview.find("#mailbox-2\">here"), small = overview.find("#mailbox-3\">small"),
                 gone = overview.find("#mailbox-1\">gone");
    ASSERT_NE(gone, std::string::npos) << overview;
    EXPECT_LT(here, small);
    EXPECT_LT(small, gone);
    const std::string goneRow = overview.substr(gone, overview.find("</tr>", gone) - gone);
    EXPECT_NE(goneRow.find("nicht mehr gefunden seit 2026-11-2"), std::string::npos) << goneRow;
    EXPECT_NE(goneRow.find("4,9 kB"), std::string::npos) << goneRow;
    EXPECT_EQ(goneRow.find(" %"), std::string::npos) << goneRow;
    EXPECT_NE(overview.find("75,0 %"), std::string::npos) << "here's share of the two that are there";
}
