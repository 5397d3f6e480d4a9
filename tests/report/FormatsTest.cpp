// The machine formats read back: what JSON and CSV carry is what the scan
// found, byte for byte once converted, whatever the names hold.
#include "report/writers/DelimitedWriter.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"
#include "store/FolderList.h"
#include "tests/report/ReportFixture.h"
#include "tests/support/Cp1252.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <vector>

using namespace ReportFixture;

namespace {

// RFC 4180: fields separated by commas, lines by CR LF; a quoted field may
// hold commas, line breaks and doubled quotes.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false, any = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
            any = true;
        } else if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            fields.push_back(field);
            lines.push_back(fields);
            fields.clear();
            field.clear();
            ++i;
        } else {
            field += c;
            any = true;
        }
    }
    EXPECT_FALSE(quoted) << "an unterminated quote";
    EXPECT_TRUE(field.empty() && fields.empty()) << "a last line without CR LF";
    (void)any;
    return lines;
}

struct Scanned {
    std::string folder, key;
    uint64_t size;
};

// What the core itself reads of the sample, by file name, as UTF-8.
std::map<std::string, Scanned> Scan(const std::string& dir) {
    TraceCapture quiet;
    FolderList list;
    list.Scan({dir, true, false, dir, ""});
    std::map<std::string, Scanned> scanned;
    for (const FolderInfo& record : list)
        scanned[Utf8FromCp1252(record.fileName)] = {Utf8FromCp1252(record.folderPath + record.folderName),
                                                    Utf8FromCp1252(record.hierarchyKey), record.size};
    return scanned;
}

}  // namespace

TEST(ReportFormats, CsvReadsBackWithSeparatorsQuotesAndLineBreaksInNames) {
    TempDir mailbox;
    WriteSample(mailbox);
    WritePmm(mailbox, "Semi;Tab.PMM", "Eins,\"Zwei\"\nDrei\tVier,", "A", 77);
    Result result = RunReport({"--format", "csv", "--exact", mailbox.Path()});
    ASSERT_EQ(result.code, 0) << result.err;

    std::vector<std::vector<std::string>> lines = ReadCsv(result.out);
    // The heading lines come first, when it was made and an empty line.
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines[0].at(0).rfind("Erstellt: ", 0), 0u);
    EXPECT_EQ(lines[1], std::vector<std::string>{""});
    lines.erase(lines.begin(), lines.begin() + 2);
    const std::vector<std::string> head = lines.front();
    ASSERT_EQ(head, (std::vector<std::string>{"mailbox", "file_name", "size", "size_text", "folder", "folder_path",
                                              "folder_name", "hierarchy_key", "status", "kind", "share_percent"}));
    std::map<std::string, Scanned> scanned = Scan(mailbox.Path());
    ASSERT_EQ(lines.size(), scanned.size() + 1);
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string>& line = lines[i];
        ASSERT_EQ(line.size(), head.size()) << i;
        EXPECT_EQ(line[0], mailbox.Path());
        const Scanned& expected = scanned.at(line[1]);
        if (line[8] == "ok") {
            EXPECT_EQ(line[4], expected.folder) << line[1];
        }
        EXPECT_EQ(line[2], std::to_string(expected.size)) << line[1];
        EXPECT_EQ(line[7], expected.key) << line[1];
        EXPECT_EQ(line[4], line[5] + line[6]);
    }
    EXPECT_EQ(scanned.at("Semi;Tab.PMM").folder, "\\Eins,\"Zwei\"\nDrei\tVier,");
    EXPECT_EQ(scanned.at("Zitat,1.PMM").folder, "\\Zitat \"Q\"\r\nZeile 2");
}

TEST(ReportFormats, JsonParsesBackToTheRowsTheTreeAndTheFindings) {
    TempDir mailbox;
    WriteSample(mailbox);
    Result result = RunReport({"--format", "json", "--tree", "--check", "--newmail", "newmail", mailbox.Path()});
    ASSERT_EQ(result.code, 1) << result.err;
    nlohmann::json doc = nlohmann::json::parse(result.out);

    const nlohmann::json& box = doc.at("mailboxes").at(0);
    std::map<std::string, Scanned> scanned = Scan(mailbox.Path());
    uint64_t sum = 0;
    for (const nlohmann::json& row : box.at("rows")) {
        std::string file = row.at("fileName");
        sum += row.at("size").get<uint64_t>();
        if (row.at("kind") == "newmail") {
            EXPECT_EQ(file, "*.CNM");
            EXPECT_EQ(row.at("size"), 300u);
            continue;
        }
        const Scanned& expected = scanned.at(file);
        EXPECT_EQ(row.at("size").get<uint64_t>(), expected.size) << file;
        EXPECT_EQ(row.at("hierarchyKey").get<std::string>(), expected.key) << file;
        if (row.at("status") == "ok") {
            EXPECT_EQ(row.at("folder").get<std::string>(), expected.folder) << file;
        }
    }
    EXPECT_EQ(box.at("rows").size(), scanned.size() + 1);
    EXPECT_EQ(box.at("total").get<uint64_t>(), sum);
    EXPECT_EQ(box.at("count").get<uint64_t>(), scanned.size() + 1);
    EXPECT_EQ(doc.at("total").at("total"), box.at("total"));
    EXPECT_EQ(box.at("tree").at(0).at("cumulative"), box.at("total"));
    EXPECT_EQ(box.at("findings").size(), 6u);
}

TEST(ReportFormats, TsvKeepsOneLinePerRowAndTheHtmlPageFetchesNothing) {
    TempDir mailbox;
    WriteSample(mailbox);
    Result tsv = RunReport({"--format", "tsv", mailbox.Path()});
    ASSERT_EQ(tsv.code, 0);
    size_t lines = 0;
    for (size_t at = tsv.out.find('\n'); at != std::string::npos; at = tsv.out.find('\n', at + 1)) ++lines;
    EXPECT_EQ(lines, 10u);  // the heading and nine folders; the line break in a name is no line
    EXPECT_EQ(tsv.out.find('\r'), std::string::npos);

    // Links lead only to the page's own sections.
    TempDir other;
    WritePmm(other, "X.PMM", "X", "", 10);
    Result html = RunReport({"--format", "html", mailbox.Path(), other.Path()});
    ASSERT_EQ(html.code, 0);
    for (const char* fetch : {"src=", "url(", "@import", "http:", "https:"})
        EXPECT_EQ(html.out.find(fetch), std::string::npos) << fetch;
    for (size_t at = html.out.find("href="); at != std::string::npos; at = html.out.find("href=", at + 1))
        EXPECT_EQ(html.out.compare(at, 15, "href=\"#mailbox-"), 0) << html.out.substr(at, 40);
    EXPECT_NE(html.out.find("default-src 'none'"), std::string::npos);
    EXPECT_NE(html.out.find("<div class=\"treemap\">"), std::string::npos);
    EXPECT_NE(html.out.find("<script type=\"application/json\" id=\"data-1\">"), std::string::npos);
}

namespace {

// Three mailboxes: the second is the largest; the first and third tie, and
// hold folders as large as the second's largest.
struct ThreeMailboxes {
    ThreeMailboxes() {
        WritePmm(a, "A1.PMM", "Eins", "", 700);
        WritePmm(a, "A2.PMM", "Zwei", "", 300);
        WritePmm(b, "B1.PMM", "Eins", "", 700);
        WritePmm(b, "B2.PMM", "Zwei", "", 700);
        WritePmm(b, "B3.PMM", "Drei", "", 130);
        WritePmm(c, "C1.PMM", "Eins", "", 1000);
    }
    std::vector<std::string> Args(std::vector<std::string> options) const {
        options.insert(options.end(), {a.Path(), b.Path(), c.Path()});
        return options;
    }
    TempDir a, b, c;
};

}  // namespace

TEST(ReportFormats, TheOverviewRanksMailboxesAndTheTopListTheLargestFoldersOfAll) {
    ThreeMailboxes boxes;
    Result result = RunReport(boxes.Args({"--format", "json", "--top", "4"}));
    ASSERT_EQ(result.code, 0) << result.err;
    nlohmann::json doc = nlohmann::json::parse(result.out);

    // Totals summed here from the rows, against the overview's.
    std::map<std::string, uint64_t> sums;
    uint64_t all = 0;
    for (const nlohmann::json& box : doc.at("mailboxes"))
        for (const nlohmann::json& row : box.at("rows")) {
            sums[box.at("mailbox")] += row.at("size").get<uint64_t>();
            all += row.at("size").get<uint64_t>();
            EXPECT_NEAR(row.at("share").get<double>(), row.at("size").get<double>() / box.at("total").get<double>(),
                        1e-9);
        }
    std::vector<std::string> order;
    for (const nlohmann::json& line : doc.at("overview")) {
        order.push_back(line.at("mailbox"));
        EXPECT_EQ(line.at("total").get<uint64_t>(), sums[line.at("mailbox")]);
        EXPECT_NEAR(line.at("share").get<double>(), static_cast<double>(sums[line.at("mailbox")]) / all, 1e-9);
    }
    EXPECT_EQ(order, (std::vector<std::string>{boxes.b.Path(), boxes.a.Path(), boxes.c.Path()}));
    EXPECT_EQ(doc.at("overview").at(1).at("largest").at("fileName"), "A1.PMM");

    std::vector<std::string> top;
    for (const nlohmann::json& row : doc.at("top")) top.push_back(row.at("fileName"));
    EXPECT_EQ(top, (std::vector<std::string>{"C1.PMM", "A1.PMM", "B1.PMM", "B2.PMM"}));
    EXPECT_EQ(doc.at("mailboxes").at(1).at("rows").size(), 3u);  // JSON keeps every row

    // The formats for people: the overview first, then the list in place of
    // the listings, whose summary lines stay.
    Result table = RunReport(boxes.Args({"--top", "2", "--lang", "en"}));
    EXPECT_LT(table.out.find("Overview"), table.out.find("The 2 largest folders"));
    EXPECT_NE(table.out.find("C1.PMM     1000 Bytes  28.3%  Eins\n"), std::string::npos) << table.out;
    EXPECT_EQ(table.out.find("B2.PMM"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("3 files, 1.5 kB (1,530 bytes)"), std::string::npos) << table.out;
    Result csv = RunReport(boxes.Args({"--format", "csv", "--top", "1"}));
    const std::string listing = csv.out.substr(csv.out.rfind("\r\n\r\n") + 4);
    EXPECT_EQ(listing.find("mailbox,file_name,"), 0u) << csv.out;
    EXPECT_NE(listing.find(",C1.PMM,1000,"), std::string::npos) << listing;
    EXPECT_EQ(listing.find(",A1.PMM,"), std::string::npos) << listing;
}

TEST(ReportFormats, MinSizeLeavesSmallFoldersOutOfListingsButNotOutOfCounts) {
    TempDir mailbox;
    WritePmm(mailbox, "Gross.PMM", "Gross", "", 1024);
    WritePmm(mailbox, "Knapp.PMM", "Knapp", "", 1023);
    WritePmm(mailbox, "Klein.PMM", "Klein", "", 200);
    Result json = RunReport({"--format", "json", "--min-size", "1k", mailbox.Path()});
    ASSERT_EQ(json.code, 0) << json.err;
    const nlohmann::json box = nlohmann::json::parse(json.out).at("mailboxes").at(0);
    EXPECT_EQ(box.at("rows").size(), 1u);
    EXPECT_EQ(box.at("rows").at(0).at("fileName"), "Gross.PMM");
    EXPECT_EQ(box.at("hidden"), 2);
    EXPECT_EQ(box.at("count"), 3);
    EXPECT_EQ(box.at("total"), 2247);

    Result table = RunReport({"--min-size", "1024", mailbox.Path()});
    EXPECT_NE(table.out.find("2 kleinere Ordner ausgeblendet"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("3 Dateien, 2,2 kB (2.247 Bytes)"), std::string::npos) << table.out;
    EXPECT_EQ(table.out.find("Knapp.PMM"), std::string::npos);
    EXPECT_EQ(RunReport({"--format", "tsv", "--min-size", "1025", mailbox.Path()}).out.find(".PMM"), std::string::npos);
}

TEST(ReportFormats, ExcelCsvOpensInColumnsAndRunsNoFormula) {
    TempDir mailbox;
    WritePmm(mailbox, "Formel.PMM", "=HYPERLINK(\"x\";\"y\")", "", 1536);
    WritePmm(mailbox, "Minus.PMM", Cp1252("-Grüße; \"zwei\""), "", 512);
    WritePmm(mailbox, "At.PMM", "@Tab\tEnde", "", 512);
    TestClock clock("2026-11-30T09:00:00Z");
    Result result = RunReport({"--format", "csv", "--excel", "--sort", "name", mailbox.Path()});
    ASSERT_EQ(result.code, 0) << result.err;
    const std::string path = mailbox.Path();
    EXPECT_EQ(result.out,
              "\xEF\xBB\xBF" "Erstellt: " + RunTime::Local("2026-11-30T09:00:00Z") + "\r\n\r\n"
              "mailbox;file_name;size;size_text;folder;folder_path;folder_name;hierarchy_key;status;kind;share_percent\r\n" +
                  path + ";At.PMM;512;512 Bytes;'@Tab\tEnde;;'@Tab\tEnde;;ok;pmm;20,0\r\n" + path +
                  ";Formel.PMM;1536;1,5 kB;\"'=HYPERLINK(\"\"x\"\";\"\"y\"\")\";;\"'=HYPERLINK(\"\"x\"\";\"\"y\"\")\";;ok;pmm;60,0\r\n" +
                  path + ";Minus.PMM;512;512 Bytes;\"'-Gr\u00FC\u00DF" "e; \"\"zwei\"\"\";;\"'-Gr\u00FC\u00DF" "e; \"\"zwei\"\"\";;ok;pmm;20,0\r\n");
    EXPECT_FALSE(DelimitedWriter::RunsAsFormula("-1000"));
    EXPECT_FALSE(DelimitedWriter::RunsAsFormula("-12,5"));
    EXPECT_TRUE(DelimitedWriter::RunsAsFormula("-1-2"));
    EXPECT_TRUE(DelimitedWriter::RunsAsFormula("+"));
    EXPECT_TRUE(DelimitedWriter::RunsAsFormula("\r=1"));
    // Plain CSV keeps the texts exact.
    EXPECT_NE(RunReport({"--format", "csv", mailbox.Path()}).out.find(",@Tab\tEnde,"), std::string::npos);
}
