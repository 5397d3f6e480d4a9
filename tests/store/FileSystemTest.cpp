#include "platform/Directory.h"
#include "platform/DirectoryHandle.h"
#include "platform/FileLocation.h"
#include "platform/FileSystem.h"
#include "platform/LineReader.h"
#include "platform/ReadOnlyFile.h"
#include "platform/Utf16.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::vector<std::string> Matches(const TempDir& dir, const std::string& wildcard) {
    std::vector<std::string> names;
    FileSystem::ForEachMatch(dir.Path() + wildcard,
                             [&](const std::string& name, uint64_t) { names.push_back(name); });
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Lines(const std::string& path, size_t limit = LineReader::DefaultMaxLineLength) {
    ReadOnlyFile file;
    EXPECT_TRUE(file.Open(path));
    LineReader reader(file, limit);
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line)) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(FileSystem, PatternsMatchWithoutRegardToCase) {
    EXPECT_TRUE(FileSystem::MatchesPattern("*.PMM", "Inbox.pmm"));
    EXPECT_TRUE(FileSystem::MatchesPattern("*.pmm", "INBOX.PMM"));
    EXPECT_TRUE(FileSystem::MatchesPattern("*.PMM", ".PMM"));
    EXPECT_TRUE(FileSystem::MatchesPattern("hierarch.pm", "HIERARCH.PM"));
    EXPECT_TRUE(FileSystem::MatchesPattern("a?c*", "abcdef"));
    EXPECT_FALSE(FileSystem::MatchesPattern("*.PMM", "Inbox.PMMX"));
    EXPECT_FALSE(FileSystem::MatchesPattern("*.PMM", "Inbox.PM"));
    EXPECT_FALSE(FileSystem::MatchesPattern("*.PMM", "Inbox.pmg"));
    // Case folding is ASCII only: accented letters match themselves alone.
    EXPECT_FALSE(FileSystem::MatchesPattern("\xC4*", "\xE4x"));
}

TEST(FileSystem, ManyStarsDoNotBacktrackWithoutEnd) {
    std::string name(5000, 'a');
    EXPECT_FALSE(FileSystem::MatchesPattern("*a*a*a*a*a*a*a*a*a*a*b", name));
    EXPECT_TRUE(FileSystem::MatchesPattern("*a*a*a*a*a*a*a*a*a*a*", name));
}

TEST(FileSystem, EnumeratesMatchingEntriesWithTheirFullLength) {
    TempDir dir;
    dir.Write("Inbox.PMM", std::string(10, 'x'));
    dir.Write("sent.pmm", "");
    dir.Write("Draft.Pmm", std::string(3, 'y'));
    dir.Write("Other.MBX", "zz");
    dir.Write("big.pmm", "", 5ull << 30);

    EXPECT_EQ(Matches(dir, "*.PMM"),
              (std::vector<std::string>{"Draft.Pmm", "Inbox.PMM", "big.pmm", "sent.pmm"}));
    uint64_t big = 0;
    FileSystem::ForEachMatch(dir.Path() + "BIG.PMM", [&](const std::string&, uint64_t length) { big = length; });
    EXPECT_EQ(big, 5ull << 30);
}

TEST(FileSystem, NamesAloneComeAsTheFullListingHasThem) {
    TempDir dir;
    dir.Write("a.PMM", "x");
    dir.Write("b.pmm", "");
    dir.Write("c.MBX", "");
    dir.MakeDir("d.PMM");
    std::vector<std::string> full, names;
    FileSystem::ForEachMatch(dir.Path() + "*.PMM", [&](const std::string& name, uint64_t) { full.push_back(name); });
    FileSystem::ForEachMatchingName(dir.Path() + "*.PMM", [&](const std::string& name) { names.push_back(name); });
    EXPECT_EQ(names, full);
    EXPECT_EQ(names.size(), 3u);
}

#ifndef _WIN32
TEST(FileSystem, AbsolutePathsComeBackInNormalForm) {
    for (const char* normal : {"/", "/a", "/a/b.PMM", "/a/b/", "/a/.hidden", "/a/..b", "/a/b..c"})
        EXPECT_EQ(FileSystem::AbsolutePath(normal), normal);
    EXPECT_EQ(FileSystem::AbsolutePath("/a//b"), "/a/b");
    EXPECT_EQ(FileSystem::AbsolutePath("/a/./b"), "/a/b");
    EXPECT_EQ(FileSystem::AbsolutePath("/a/x/../b"), "/a/b");
    EXPECT_EQ(FileSystem::AbsolutePath("/a/b/."), "/a/b");
    EXPECT_EQ(FileSystem::AbsolutePath("/a/b/.."), "/a");
    EXPECT_EQ(FileSystem::AbsolutePath("/.."), "/");
}
#endif

// One file however a path spells it; a file not there yet by its directory
// and its name as the system compares names.
TEST(FileLocation, OneFileHoweverItsPathIsSpelt) {
#ifdef _WIN32
    const std::vector<std::pair<std::string, std::string>> parents = {
        {"C:\\", ""}, {"C:\\a", "C:\\"}, {"C:\\a\\b", "C:\\a"}, {"\\\\srv\\share", ""},
        {"\\\\srv\\share\\a", "\\\\srv\\share"}};
#else
    const std::vector<std::pair<std::string, std::string>> parents = {{"/", ""}, {"/a", "/"}, {"/a/b", "/a"}};
#endif
    for (const auto& [path, parent] : parents) EXPECT_EQ(Directory::Parent(path), parent) << path;

    TempDir dir;
    const std::string sub = dir.MakeDir("sub"), file = dir.Write("f", "x");
    auto same = [](const std::string& a, const std::string& b) { return FileLocation(a).SameFile(FileLocation(b)); };
    auto inside = [](const std::string& a, const std::string& b) { return FileLocation(a).Inside(FileLocation(b)); };
    EXPECT_TRUE(same(file, sub + ".." + FileSystem::Separator() + "f"));
    EXPECT_TRUE(same(dir.Path() + "new", sub + ".." + FileSystem::Separator() + "new"));
    EXPECT_FALSE(same(file, dir.Path() + "new"));
    EXPECT_FALSE(same(dir.Path() + "new", dir.Path() + "newer"));
    EXPECT_TRUE(inside(sub + "x" + FileSystem::Separator() + "y", dir.Path()));
    EXPECT_TRUE(inside(sub, sub));
    EXPECT_FALSE(inside(file, sub));
    EXPECT_FALSE(inside(sub + "x", sub + "x"));  // a directory not there holds nothing
#ifdef _WIN32
    EXPECT_TRUE(same(file, dir.Path() + "F"));
    EXPECT_TRUE(same(dir.Path() + "Neu-lang.json", dir.Path() + "NEU-LANG.JSON"));
    EXPECT_TRUE(inside(dir.Path() + "SUB\\x", sub));
#else
    // A link is the file it leads to, and a hard link is that file too.
    ASSERT_EQ(::symlink(sub.c_str(), (dir.Path() + "link").c_str()), 0);
    ASSERT_EQ(::link(file.c_str(), (dir.Path() + "hard").c_str()), 0);
    EXPECT_TRUE(inside(dir.Path() + "link/x", sub));
    EXPECT_TRUE(same(dir.Path() + "hard", file));
    EXPECT_FALSE(same(dir.Path() + "new", dir.Path() + "NEW"));
#endif
}

TEST(FileSystem, AMissingDirectoryYieldsNothing) {
    TempDir dir;
    EXPECT_TRUE(Matches(dir, std::string("absent") + FileSystem::Separator() + "*.PMM").empty());
    // And says so, unlike a listing read to its end that matched nothing.
    auto none = [](const std::string&, uint64_t) {};
    EXPECT_EQ(FileSystem::ForEachMatch(dir.Path() + "absent" + FileSystem::Separator() + "*", none),
              FileSystem::Listing::NoDirectory);
    EXPECT_EQ(FileSystem::ForEachMatch(dir.Path() + "*.PMM", none), FileSystem::Listing::Whole);
}

TEST(ReadOnlyFile, ReadsTheHeadOfAFileAndItsLength) {
    TempDir dir;
    std::string path = dir.Write("f.bin", "0123456789", 1000);
    ReadOnlyFile file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_EQ(file.Length(), 1000u);
    char head[4] = {};
    EXPECT_EQ(file.ReadHead(head, sizeof head), 4u);
    EXPECT_EQ(std::string(head, 4), "0123");
    char all[2000];
    EXPECT_EQ(file.ReadHead(all, sizeof all), 1000u);  // a short file is short
    file.Close();
    EXPECT_EQ(file.Length(), 0u);
}

TEST(ReadOnlyFile, RefusesMissingFilesAndDirectories) {
    TempDir dir;
    ReadOnlyFile file;
    EXPECT_FALSE(file.Open(dir.Path() + "absent.PMM"));
    dir.MakeDir("folder.PMM");
    EXPECT_FALSE(file.Open(dir.Path() + "folder.PMM"));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Length(), 0u);
    char byte;
    EXPECT_EQ(file.ReadHead(&byte, 1), 0u);
}

// Inspect stands in for opening a file to learn its length, so it must refuse
// what Open refuses and tell the length Open tells, by whole path and
// relative to a directory scope alike.
TEST(ReadOnlyFile, InspectAnswersAsOpenDoes) {
    TempDir dir;
    dir.Write("plain.MBX", "", 4096);
    dir.MakeDir("folder.MBX");
    std::vector<std::string> names = {"plain.MBX", "folder.MBX", "absent.MBX"};
#ifndef _WIN32
    // Which of the last two Open refuses depends on the user the tests run
    // as: both are readable to the superuser, neither to their owner.
    ASSERT_EQ(::mkfifo((dir.Path() + "pipe.MBX").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("plain.MBX", (dir.Path() + "link.MBX").c_str()), 0);
    ASSERT_EQ(::symlink("absent.MBX", (dir.Path() + "dangling.MBX").c_str()), 0);
    ::chmod(dir.Write("locked.MBX", "", 10).c_str(), 0);
    ::chmod(dir.Write("othersOnly.MBX", "", 20).c_str(), 0044);
    names.insert(names.end(), {"pipe.MBX", "link.MBX", "dangling.MBX", "locked.MBX", "othersOnly.MBX"});
#endif
    for (bool held : {false, true}) {
        DirectoryHandle directory;
        if (held) directory.Open(dir.Path());
        const DirectoryHandle* within = held ? &directory : nullptr;
        for (const std::string& name : names) {
            const std::string path = dir.Path() + name;
            ReadOnlyFile file;
            const bool opened = file.Open(path, within);
            uint64_t length = 7;
            FileStamp stamp;
            EXPECT_EQ(ReadOnlyFile::Inspect(path, length, stamp, within), opened) << name << (held ? " by handle" : "");
            if (!opened) continue;
            EXPECT_EQ(length, file.Length()) << name;
            EXPECT_EQ(stamp.known, file.Stamp().known) << name;
        }
    }
}

#ifdef _WIN32
TEST(ReadOnlyFile, RefusesDevicesWhateverTheirNameLooksLike) {
    TempDir dir;
    ReadOnlyFile file;
    for (const std::string name : {"NUL", "nul.pmm", "CON.PMM", "Com1.PMM", "aux.x.y"})
        EXPECT_FALSE(file.Open(dir.Path() + name)) << name;
    EXPECT_FALSE(file.Open("\\\\.\\NUL"));
    EXPECT_TRUE(file.Open(dir.Write("COM10.PMM", "x")));  // not a device name
}
#endif

TEST(LineReader, SplitsAtLineFeedsAndDropsCarriageReturns) {
    TempDir dir;
    std::string path = dir.Write("lines.txt", "one\r\ntwo\n\nthree\rx\nlast");
    EXPECT_EQ(Lines(path), (std::vector<std::string>{"one", "two", "", "three\rx", "last"}));
    EXPECT_TRUE(Lines(dir.Write("empty.txt", "")).empty());
    EXPECT_EQ(Lines(dir.Write("one.txt", "a\n")), (std::vector<std::string>{"a"}));
}

TEST(LineReader, LinesBeyondTheLimitAreCutAndTheirRestSkipped) {
    TempDir dir;
    std::string longLine(200000, 'L');
    std::string path = dir.Write("long.txt", longLine + "\nshort\n" + longLine);
    EXPECT_EQ(Lines(path, 1000), (std::vector<std::string>{std::string(1000, 'L'), "short", std::string(1000, 'L')}));
    EXPECT_EQ(Lines(path), (std::vector<std::string>{longLine, "short", longLine}));
}

TEST(LineReader, StopsAtItsByteLimitWithoutTheLineItFallsIn) {
    TempDir dir;
    ReadOnlyFile file;
    ASSERT_TRUE(file.Open(dir.Write("lines.txt", "one\r\ntwo\n" + std::string(200000, 'x') + "\nlast\n")));
    LineReader reader(file, 100, 70000);
    std::string line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(reader.Consumed(), 5u);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "two");
    EXPECT_FALSE(reader.Next(line));  // the long line runs past the limit
    EXPECT_EQ(line, "");
    EXPECT_TRUE(reader.StoppedAtLimit());

    // A file that ends at the limit was read whole.
    ASSERT_TRUE(file.Open(dir.Write("exact.txt", "ab\ncd\n")));
    LineReader exact(file, 100, 6);
    std::vector<std::string> lines;
    while (exact.Next(line)) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"ab", "cd"}));
    EXPECT_FALSE(exact.StoppedAtLimit());
}

// Names in UTF-16 and back, as the report's Windows program passes them.
TEST(Utf16, EveryNameComesBackAndMalformedBytesAreRefused) {
    const std::vector<std::pair<std::string, Utf16Text>> names = {
        {"\xC5\x81\xC3\xB3" "d\xC5\xBA", {0x0141, 0x00F3, 'd', 0x017A}},          // Łódź
        {"Dvo\xC5\x99\xC3\xA1k", {'D', 'v', 'o', 0x0159, 0x00E1, 'k'}},                  // Dvořák
        {"\xCE\x91\xCF\x81\xCF\x87", {0x0391, 0x03C1, 0x03C7}},                         // Greek
        {"\xE9\x82\xAE\xE4\xBB\xB6", {0x90AE, 0x4EF6}},                                  // CJK
        {"\xF0\x9F\x93\xAB", {0xD83D, 0xDCEB}},                                         // beyond the BMP: a pair
        {"a\xED\xA0\xBDz", {'a', 0xD83D, 'z'}},                                         // a lone high surrogate
        {"\xED\xB3\xAB", {0xDCEB}},                                                     // a lone low one
        {"", {}},
    };
    for (const auto& [utf8, wide] : names) {
        EXPECT_EQ(Utf16::ToUtf8(wide.data(), wide.size()), utf8);
        Utf16Text back;
        ASSERT_TRUE(Utf16::FromUtf8(utf8, back)) << utf8;
        EXPECT_EQ(back, wide) << utf8;
    }
    // Cut short, overlong, beyond Unicode, a stray continuation byte, and a
    // pair in two three-byte halves, which would name what "\xF0\x9F\x93\xAB" names.
    for (const std::string bad : {"\xC5", "a\xE9\x82", "\xC0\xAF", "\xE0\x80\xAF", "\xF4\x90\x80\x80", "\x80",
                                  "\xED\xA0\xBD\xED\xB3\xAB", "\xFF"}) {
        Utf16Text out;
        EXPECT_FALSE(Utf16::FromUtf8(bad, out)) << bad;
    }
    // Where a buffer may be cut: never inside a character.
    const std::string text = "a\xC3\xB6\xE9\x82\xAE\xF0\x9F\x93\xAB";
    const std::vector<size_t> whole = {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10};
    for (size_t length = 0; length <= text.size(); ++length)
        EXPECT_EQ(Utf16::WholePrefix(text.data(), length), whole[length]) << length;
}
