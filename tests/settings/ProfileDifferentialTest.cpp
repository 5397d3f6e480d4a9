// Runs one script of reads and writes through our own reader and writer and
// through the Windows functions, on copies of the same awkward files, and
// compares every read, every write result and the files.
//
// Known differences, each checked below:
// - The Windows functions under Wine rewrite the whole file on a write:
//   blank lines go, blanks around names and values go, every line ends in
//   CR LF. Ours keeps every line it does not change byte for byte. Files are
//   therefore compared in that normal form, and byte for byte where they
//   start out in it.
// - Writes that would break the layout (line breaks, '=' in a key, ']' in a
//   section) are refused by both back-ends; the Windows functions alone would
//   carry them out.
// - A quoted value of exactly 1023 characters within its quotes reads whole
//   from ours; Wine drops its last character.
#include "platform/IniFile.h"
#include "platform/WinProfile.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Step {
    bool write;
    const char* section;
    const char* key;
    const char* text;  // the default of a read; the value (or none) of a write
};

Step R(const char* section, const char* key, const char* defaultText = "<d>") {
    return {false, section, key, defaultText};
}
Step W(const char* section, const char* key, const char* text) { return {true, section, key, text}; }

std::string Run(ProfileBackend& backend, const Step& step, const std::string& path) {
    if (step.write) return backend.Write(step.section, step.key, step.text, path.c_str()) ? "1" : "0";
    char buffer[1024];
    size_t n = backend.Read(step.section, step.key, step.text, buffer, sizeof buffer, path.c_str());
    return std::to_string(n) + ":" + std::string(buffer, n);
}

std::string Trimmed(const std::string& text) {
    size_t b = 0, e = text.size();
    while (b < e && ProfileBackend::IsBlank(text[b])) ++b;
    while (e > b && ProfileBackend::IsBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

// The file as Wine writes it back: lines without blanks around names and
// values, blank lines dropped, every line ending in CR LF.
std::string NormalForm(const std::string& bytes) {
    std::string out;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = bytes.size();
        std::string line = Trimmed(bytes.substr(pos, end - pos));
        pos = bytes.find_first_not_of("\r\n", end);
        if (pos == std::string::npos) pos = bytes.size();
        if (line.empty()) continue;
        size_t close = line.rfind(']');
        size_t equals = line.find('=');
        if (line[0] == '[' && close != std::string::npos && close > 0)
            line = "[" + Trimmed(line.substr(1, close - 1)) + "]";
        else if (equals != std::string::npos)
            line = Trimmed(line.substr(0, equals)) + "=" + Trimmed(line.substr(equals + 1));
        out += line + "\r\n";
    }
    return out;
}

struct Script {
    const char* name;
    bool present;        // whether the file exists before the first step
    std::string bytes;
    bool normal;         // whether the file starts out in Wine's normal form
    std::vector<Step> steps;
};

std::string Contents(const std::string& path, bool& exists) {
    exists = std::filesystem::exists(path);
    if (!exists) return std::string();
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void RunScript(const Script& script) {
    SCOPED_TRACE(script.name);
    TempDir dir;
    const std::string ours = dir.Path() + "ours.ini";
    const std::string theirs = dir.Path() + "theirs.ini";
    if (script.present) {
        dir.Write("ours.ini", script.bytes);
        dir.Write("theirs.ini", script.bytes);
    }
    IniFile portable;
    WinProfile windows;
    for (size_t i = 0; i < script.steps.size(); ++i) {
        const Step& step = script.steps[i];
        SCOPED_TRACE("step " + std::to_string(i) + " [" + step.section + "] " + (step.key ? step.key : "(none)"));
        EXPECT_EQ(Run(portable, step, ours), Run(windows, step, theirs));
        bool oursExists = false, theirsExists = false;
        std::string a = Contents(ours, oursExists), b = Contents(theirs, theirsExists);
        EXPECT_EQ(oursExists, theirsExists);
        EXPECT_EQ(NormalForm(a), NormalForm(b));
        if (script.normal) {
            EXPECT_EQ(a, b);
        }
    }
}

const std::string Long(1500, 'L');
const std::string LongValue = "Long=" + Long + "\r\n";
const std::string QuotedLong = "q=\"" + Long + "\"\r\n";

}  // namespace

TEST(ProfileDifferential, AFileInNormalFormStaysByteForByteTheSame) {
    RunScript({"normal", true,
               "[MainDlg]\r\nSizeAndPos=25, 25, 460, 444\r\nColumns=80, 60, 200\r\nSort=0000000001000000\r\n"
               "[Other]\r\nx=1\r\n",
               true,
               {R("MainDlg", "sizeandpos"), R("MAINDLG", "Sort"), R("Other", "X"), R("Other", "Sort"),
                R("Nope", "x", "dflt  "), R("MainDlg", "Nope", "\"quoted default\""),
                W("MainDlg", "sizeandpos", "1, 2, 3, 4"), R("MainDlg", "SizeAndPos"),
                W("MainDlg", "AutoRefresh", "1"), W("Other", "y", "2"), W("Third", "z", "3"),
                W("MainDlg", "Columns", nullptr), W("MainDlg", "Columns", nullptr), W("Other", nullptr, nullptr),
                W("Other", nullptr, nullptr), W("MainDlg", "Sort", ""), R("MainDlg", "Sort"),
                W("MainDlg", "Path", "  C:\\Mail\\"), R("MainDlg", "Path"), W("", "top", "1"), R("", "top"),
                W("MainDlg", "Sort", "0000000001000000"), W("MainDlg", "", "empty key"), R("MainDlg", "")}});
}

TEST(ProfileDifferential, AwkwardFilesReadAndChangeAlike) {
    RunScript({"awkward", true,
               "; leading comment\r\n"
               "\r\n"
               "[MainDlg]\n"
               "  AutoRefresh = 1 \r\n"
               "autorefresh=0\r\n"
               "\tMailboxPath =  \" C:\\Mail\\ \"  \r\n"
               "NewmailPath='x'\r\n"
               "Quoted=\"unbalanced\r\n"
               "; comment = not a key\r\n"
               "\r\n"
               "\r\n"
               "[ other ]\r\n"
               "k=v\r\n"
               "[MAINDLG]\r\n"
               "AutoRefreshRate=99\r\n" +
                   LongValue + QuotedLong +
                   "NoEquals\r\n"
                   "Last=tail",
               false,
               {R("MainDlg", "AutoRefresh"), R("maindlg", "AUTOREFRESH"), R("MainDlg", "MailboxPath"),
                R("MainDlg", "NewmailPath"), R("MainDlg", "Quoted"), R("MainDlg", "; comment"), R("other", "k"),
                R(" other ", " k "), R("MainDlg", "AutoRefreshRate", "10"), R("MAINDLG", "Long"),
                R("MainDlg", "NoEquals"), R("MainDlg", "Last"), R("", "; leading comment"),
                R("MainDlg", "Missing", "trailing  "),
                W("MainDlg", "AutoRefresh", "0"), R("MainDlg", "AutoRefresh"), W("MainDlg", "NewKey", "n"),
                W("MainDlg", "AutoRefreshRate", "15"), R("MainDlg", "AutoRefreshRate"),
                W("MainDlg", "AutoRefresh", nullptr), R("MainDlg", "autorefresh"),
                W("MainDlg", "NoEquals", nullptr), W("MainDlg", "Last", "front"), R("MainDlg", "Last"),
                W("other", nullptr, nullptr), R("other", "k"), W("MainDlg", "Path", " C:\\Mail\\  "),
                R("MainDlg", "Path"), W("Neu", "k", "  leading blanks"), R("Neu", "k"),
                W("MainDlg", "MailboxPath", "a\r\n[Evil]\r\nAutoRefresh=1"), W("MainDlg", "Mailbox=Path", "x"),
                W("Bad]", "k", "v"), W("MainDlg", "[Evil]", "x"), R("Evil", "AutoRefresh")}});
}

TEST(ProfileDifferential, LongQuotedAndBlankValuesReadAlike) {
    std::string quoted1022 = "q1022=\"" + std::string(1022, 'Q') + "\"\r\n";
    RunScript({"values", true,
               "[Q]\r\na=\"\"\r\nb=\"\r\nc=\"x'\r\nd='y'\r\ne=\" in \" \r\nf=\t tab\t \r\nh=\x1Az\x1A\r\n"
               "i=\"\"\"\r\nj= \" q\r\nk=\xE4\xF6\xFC\xDF\r\n" +
                   LongValue + QuotedLong + quoted1022,
               false,
               {R("Q", "a"), R("Q", "b"), R("Q", "c"), R("Q", "d"), R("Q", "e"), R("Q", "f"), R("Q", "h"),
                R("Q", "i"), R("Q", "j"), R("Q", "k"), R("Q", "Long"), R("Q", "q"), R("Q", "q1022"),
                W("Q", "Long", "short"), R("Q", "Long")}});
}

TEST(ProfileDifferential, LineEndsAndMissingFilesAreHandledAlike) {
    RunScript({"lf", true, "[MainDlg]\nA=1\nB=2", false,
               {R("MainDlg", "B"), W("MainDlg", "B", "3"), W("MainDlg", "C", "4"), R("MainDlg", "C")}});
    RunScript({"cr", true, "[A]\rk=1\r\r[B]\rj=2\r", false,
               {R("A", "k"), R("B", "j"), W("A", "k", "5"), W("B", "n", "6"), R("B", "n")}});
    RunScript({"missing", false, "", true,
               {R("MainDlg", "A"), W("MainDlg", "A", nullptr), W("MainDlg", nullptr, nullptr),
                W("MainDlg", "A", "1"), W("MainDlg", "B", ""), R("MainDlg", "B")}});
    RunScript({"empty", true, "", true, {W("MainDlg", "A", "1"), R("mainDLG", "a")}});
}

TEST(ProfileDifferential, AQuotedValueThatJustFitsReadsWholeFromOurs) {
    TempDir dir;
    std::string path = dir.Write("q.ini", "[Q]\r\nq=\"" + std::string(1023, 'Q') + "\"\r\n");
    char buffer[1024];
    IniFile portable;
    EXPECT_EQ(portable.Read("Q", "q", "", buffer, sizeof buffer, path.c_str()), 1023u);
    WinProfile windows;
    size_t theirs = windows.Read("Q", "q", "", buffer, sizeof buffer, path.c_str());
    EXPECT_TRUE(theirs == 1023u || theirs == 1022u) << theirs;  // 1022 under Wine
}

TEST(ProfileDifferential, TheWindowsFunctionsWouldWriteWhatWeRefuse) {
    TempDir dir;
    const struct { const char* section; const char* key; const char* text; const char* smuggled; } refused[] = {
        {"MainDlg", "MailboxPath", "a\r\n[Evil]\r\nx=1", "[Evil]"},
        {"MainDlg", "Mailbox=Path", "x", "Mailbox=Path=x"},
    };
    int n = 0;
    for (const auto& r : refused) {
        std::string name = "r" + std::to_string(n++) + ".ini";
        std::string path = dir.Write(name, "[MainDlg]\r\nA=1\r\n");
        EXPECT_FALSE(WinProfile().Write(r.section, r.key, r.text, path.c_str()));
        EXPECT_FALSE(IniFile().Write(r.section, r.key, r.text, path.c_str()));
        EXPECT_EQ(dir.Read(name), "[MainDlg]\r\nA=1\r\n");
        EXPECT_TRUE(WritePrivateProfileStringA(r.section, r.key, r.text, path.c_str()));
        EXPECT_NE(dir.Read(name).find(r.smuggled), std::string::npos) << dir.Read(name);
    }
}
