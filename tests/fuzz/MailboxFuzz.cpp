// Arbitrary bytes as a whole mailbox: the head of a ".PMM" folder, the head
// of a ".PMG" companion, the folder tree file, further file names and a
// settings text, separated by lines "--". The mailbox is written to a
// directory and scanned; the scan must neither crash nor hang, must list
// exactly the folder files there are, read each head as the format says and
// keep every path within its bound; scans that keep their readings must list
// the same rows. The settings text goes through the value
// codecs and a save and load of the settings store.
#include "settings/PrivateProfileStore.h"
#include "settings/ProfileFile.h"
#include "store/FolderCache.h"
#include "store/FolderList.h"
#include "store/HeaderText.h"
#include "store/pmHierarch.h"
#include "tests/support/FuzzInput.h"
#include "tests/support/TempDir.h"
#include "ui/Trace.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

enum Part { PmmHead, PmgHead, Hierarchy, Names, SettingsText, PartCount };

void Discard(const std::string&) {}

bool EndsWithFolded(const std::string& name, const char* suffix) {
    size_t n = std::strlen(suffix);
    if (name.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        char c = name[name.size() - n + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

// A name every file system here takes: printable ASCII without separators,
// wildcards or a trailing blank or dot.
std::string Sanitized(const std::string& line) {
    std::string name;
    for (char c : line) {
        if (c < 0x20 || c > 0x7E || std::strchr("/\\:*?\"<>|", c)) continue;
        if (name.size() < 64) name += c;
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    return name;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Empty(const fs::path& dir) {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(dir, ignored)) fs::remove_all(entry.path(), ignored);
}

// The fixed folders, then one file (or, for a line starting with '/', one
// directory) per line of the names part.
void Generate(const fs::path& mailbox, const std::vector<std::string>& parts) {
    Empty(mailbox);
    WriteFile(mailbox / "A.PMM", parts[PmmHead]);
    WriteFile(mailbox / "B.MBX", parts[PmmHead]);
    WriteFile(mailbox / "B.PMG", parts[PmgHead]);
    WriteFile(mailbox / "c.mbx", "");
    WriteFile(mailbox / "C.Pmg", parts[PmgHead]);
    WriteFile(mailbox / "hierarch.pm", parts[Hierarchy]);
    std::error_code ignored;
    fs::create_directory(mailbox / "neu", ignored);
    WriteFile(mailbox / "neu" / "1.CNM", parts[PmmHead]);

    size_t start = 0;
    const std::string& names = parts[Names];
    for (int count = 0; count < 12 && start < names.size(); ++count) {
        size_t end = names.find('\n', start);
        if (end == std::string::npos) end = names.size();
        std::string line = names.substr(start, end - start);
        start = end + 1;
        std::string name = Sanitized(line);
        if (name.empty() || name == "neu" || fs::exists(mailbox / name, ignored)) continue;
        if (line[0] == '/')
            fs::create_directory(mailbox / name, ignored);
        else
            WriteFile(mailbox / name, EndsWithFolded(name, ".pmg") ? parts[PmgHead] : parts[PmmHead]);
    }
}

const FolderInfo* Row(const FolderList& list, const std::string& fileName) {
    for (const FolderInfo& record : list)
        if (record.fileName == fileName) return &record;
    return nullptr;
}

void CheckScan(const fs::path& mailbox, const std::vector<std::string>& parts) {
    const std::string dir = (mailbox / "").string();
    FolderList list;
    int result = list.Scan({dir, true, true, dir + "neu" + static_cast<char>(fs::path::preferred_separator), "<P>"})
                         .hierarchyRead;
    FuzzCheck(result == (fs::is_regular_file(mailbox / "hierarch.pm") ? 1 : 0), "hierarchy result");

    size_t folders = 0;
    uint64_t total = parts[PmmHead].size();  // the new-mail row
    for (const auto& entry : fs::directory_iterator(mailbox)) {
        std::string name = entry.path().filename().string();
        bool isPmm = EndsWithFolded(name, ".pmm");
        if (!isPmm && !EndsWithFolded(name, ".mbx")) continue;
        ++folders;
        // A ".PMM" file too short for its head counts as empty.
        if (entry.is_regular_file() && (!isPmm || entry.file_size() >= 128)) total += entry.file_size();
    }
    FuzzCheck(list.GetCount() == static_cast<int32_t>(folders + 1), "one row per folder file");
    FuzzCheck(list.GetRecords().size() == folders + 1, "count and rows agree");
    FuzzCheck(list.GetTotal() == total, "total");
    for (const FolderInfo& record : list) {
        FuzzCheck(!record.fileName.empty(), "a row without a file name");
        FuzzCheck(record.folderPath.size() <= pmHierarch::MaxPathLength, "an overlong path");
    }

    const std::string& pmm = parts[PmmHead];
    const FolderInfo* a = Row(list, "A.PMM");
    FuzzCheck(a != nullptr, "A.PMM missing");
    if (pmm.size() >= 128) {
        const auto* head = reinterpret_cast<const unsigned char*>(pmm.data());
        FuzzCheck(a->folderName == HeaderText(head, 0, 63), "PMM name");
        FuzzCheck(a->size == pmm.size(), "PMM size");
    } else {
        FuzzCheck(a->folderName[0] == '<' && a->size == 0, "a short PMM file is listed with a status");
    }
    const std::string& pmg = parts[PmgHead];
    for (const char* name : {"B.MBX", "c.mbx"}) {
        const FolderInfo* b = Row(list, name);
        FuzzCheck(b != nullptr, "MBX missing");
        if (pmg.size() >= 90)
            FuzzCheck(b->folderName == HeaderText(reinterpret_cast<const unsigned char*>(pmg.data()), 0, 57),
                      "PMG name");
        else
            FuzzCheck(b->folderName[0] == '<', "a short PMG file gives a status");
    }

    // Scans that keep their readings list the same rows: the first reads
    // every file, the second takes back what the first kept.
    FolderCache cache;
    FolderList kept;
    kept.UseReader(&cache);
    for (int pass = 0; pass < 2; ++pass) {
        kept.Scan({dir, true, true, dir + "neu" + static_cast<char>(fs::path::preferred_separator), "<P>"});
        FuzzCheck(FolderList::ChooseRowUpdate(kept, list, false) == RowUpdate::Unchanged, "a scan that keeps its readings differs");
    }
}

void CheckCodecs(const std::string& text) {
    int values[5] = {0, 0, 0, 0, 0x5A5A};
    size_t stored = ProfileFile::ParseIntList(text, 4, values);
    FuzzCheck(stored <= 4 && values[4] == 0x5A5A, "ParseIntList stored beyond its count");
    std::string formatted = ProfileFile::FormatIntList(values, 4);
    int back[4] = {};
    FuzzCheck(ProfileFile::ParseIntList(formatted, 4, back) == 4 && std::memcmp(back, values, sizeof back) == 0,
          "an int list does not read back");

    unsigned char block[9] = {1, 2, 3, 4, 5, 6, 7, 8, 0xA5};
    const unsigned char before[9] = {1, 2, 3, 4, 5, 6, 7, 8, 0xA5};
    size_t decoded = ProfileFile::DecodeHex(text, 8, block);
    FuzzCheck(decoded <= 8 && decoded <= text.size() / 2 && block[8] == 0xA5, "DecodeHex wrote beyond its block");
    FuzzCheck(std::memcmp(block + decoded, before + decoded, 8 - decoded) == 0, "bytes after a bad pair changed");
    unsigned char round[8] = {};
    FuzzCheck(ProfileFile::DecodeHex(ProfileFile::EncodeHex(block, 8), 8, round) == 8 &&
              std::memcmp(round, block, 8) == 0,
          "a byte block does not read back");
    (void)ProfileFile::ToInt(text);
}

std::set<std::string> Listing(const fs::path& mailbox) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(mailbox)) names.insert(entry.path().filename().string());
    return names;
}

// A value that reads back as written: the reader removes blanks and one pair
// of quotes around a value, and a text ends at its first NUL.
bool IsPlain(const std::string& value) {
    if (value.empty()) return true;
    for (char c : value)
        if (c == '\0') return false;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A'; };
    return !blank(value.front()) && !blank(value.back()) && value.front() != '"' && value.front() != '\'';
}

// The text as a settings file: reads stay within their bounds, and a save
// of the values read loads back and keeps the file's other sections.
void CheckStore(const fs::path& mailbox, const std::string& text) {
    if (text.size() > (64u << 10)) return;
    const fs::path file = mailbox / "KVT-FSCN.PM";
    WriteFile(file, text);
    const std::set<std::string> before = Listing(mailbox);
    PrivateProfileStore store(file.string());
    store.Open("MainDlg");
    const int defaults[4] = {25, 25, 460, 444};
    int place[4];
    store.ReadIntList("SizeAndPos", 4, defaults, place);
    unsigned char sort[8] = {2, 0, 0, 0, 0, 0, 0, 0};
    store.ReadBinary("Sort", 8, sort, sort);
    std::string path = store.ReadString("MailboxPath", "");
    FuzzCheck(path.size() <= 1023, "a value beyond 1023 characters");
    std::string other = store.ReadString("Other", "-");
    store.WriteIntList("SizeAndPos", 4, place);
    store.WriteBinary("Sort", 8, sort);
    int wrote = store.WriteString("MailboxPath", path);
    store.Close();

    store.Open("MainDlg");
    int again[4];
    store.ReadIntList("SizeAndPos", 4, defaults, again);
    unsigned char sortAgain[8];
    store.ReadBinary("Sort", 8, sort, sortAgain);
    if (wrote) {
        FuzzCheck(std::memcmp(again, place, sizeof again) == 0, "SizeAndPos does not load back");
        FuzzCheck(std::memcmp(sortAgain, sort, sizeof sort) == 0, "Sort does not load back");
        if (IsPlain(path)) FuzzCheck(store.ReadString("MailboxPath", "") == path, "MailboxPath does not load back");
        FuzzCheck(store.ReadString("Other", "-") == other, "a key the save did not touch changed");
    }
    store.Close();
    FuzzCheck(Listing(mailbox) == before, "a working copy was left behind");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TempDir dir;
    static const fs::path mailbox = dir.Path();
    static TraceSink previous = SetTraceSink(Discard);
    (void)previous;
    if (size > (1u << 20)) return 0;
    std::vector<std::string> parts = SplitParts(data, size, PartCount);
    Generate(mailbox, parts);
    CheckScan(mailbox, parts);
    CheckCodecs(parts[SettingsText]);
    CheckStore(mailbox, parts[SettingsText]);
    return 0;
}
