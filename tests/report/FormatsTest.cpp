// The machine formats read back: what JSON and CSV carry is what the scan
// found, byte for byte once converted, whatever the names hold.
#include "report/Utf8.h"
#include "store/FolderList.h"
#include "tests/report/ReportFixture.h"
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
    ASSERT_FALSE(lines.empty());
    const std::vector<std::string> head = lines.front();
    ASSERT_EQ(head, (std::vector<std::string>{"mailbox", "file_name", "size", "size_text", "folder", "folder_path",
                                              "folder_name", "hierarchy_key", "status", "kind"}));
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

    Result html = RunReport({"--format", "html", mailbox.Path()});
    ASSERT_EQ(html.code, 0);
    for (const char* fetch : {"src=", "href=", "url(", "@import", "http:", "https:"})
        EXPECT_EQ(html.out.find(fetch), std::string::npos) << fetch;
    EXPECT_NE(html.out.find("default-src 'none'"), std::string::npos);
    EXPECT_NE(html.out.find("<svg class=\"treemap\""), std::string::npos);
}
