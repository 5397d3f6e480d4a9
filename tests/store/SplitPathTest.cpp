#include "store/SplitPath.h"

#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const std::string S(1, FileSystem::Separator());

std::string CurrentDir() {
    std::string cwd = std::filesystem::current_path().string();
    if (cwd.back() != FileSystem::Separator()) cwd += FileSystem::Separator();
    return cwd;
}

#ifdef _WIN32
const std::string Root = "C:\\";
#else
const std::string Root = "/";
#endif

constexpr SplitPath::Limits Fixed = SplitPath::Limits::Fixed;

}  // namespace

TEST(SplitPath, TakesAPathApartAndJoinsItUnchanged) {
    std::string path = Root + "Mail" + S + "Sub" + S + "Inbox.PMM";
    SplitPath split(path);
    EXPECT_EQ(split.Dir(), (Root.substr(Root.size() - 1)) + "Mail" + S + "Sub" + S);
    EXPECT_EQ(split.Name(), "Inbox");
    EXPECT_EQ(split.Extension(), ".PMM");
    EXPECT_EQ(split.Name() + split.Extension(), "Inbox.PMM");
    EXPECT_EQ(split.Compose(), path);
    EXPECT_EQ(split.FullPath(), path);
#ifdef _WIN32
    EXPECT_EQ(split.Drive(), "C:");
#else
    EXPECT_EQ(split.Drive(), "");
#endif
}

TEST(SplitPath, ReplacingTheExtensionKeepsDriveDirectoryAndName) {
    SplitPath split(Root + "Mail" + S + "Archiv.MBX");
    split.SetExtension(".PMG");
    EXPECT_EQ(split.FullPath(), Root + "Mail" + S + "Archiv.PMG");

    SplitPath bare(Root + "Mail" + S + "README");
    EXPECT_EQ(bare.Extension(), "");
    bare.SetExtension(".PMG");
    EXPECT_EQ(bare.Compose(), Root + "Mail" + S + "README.PMG");

    bare.SetExtension("chm");  // a missing dot is supplied when joining
    EXPECT_EQ(bare.Compose(), Root + "Mail" + S + "README.chm");
}

TEST(SplitPath, OnlyTheLastDotStartsTheExtension) {
    SplitPath split(Root + "a.b" + S + "x.tar.gz");
    EXPECT_EQ(split.Name(), "x.tar");
    EXPECT_EQ(split.Extension(), ".gz");
    EXPECT_EQ(split.Dir().substr(split.Dir().size() - 4), "a.b" + S);
}

TEST(SplitPath, ARelativePathIsResolvedAgainstTheCurrentDirectory) {
    SplitPath split("Inbox.PMM");
    EXPECT_EQ(split.Drive(), "");
    EXPECT_EQ(split.Dir(), "");
    EXPECT_EQ(split.FullPath(), CurrentDir() + "Inbox.PMM");

    SplitPath dotted(std::string(".") + S + "x" + S + ".." + S + "Inbox.PMM");
    EXPECT_EQ(dotted.FullPath(), CurrentDir() + "Inbox.PMM");
}

TEST(SplitPath, PartsAreCutToTheirLimitsAndOverlongJoinsComeBackEmpty) {
    std::string longName(300, 'n');
    SplitPath split(Root + "d" + S + longName + ".PMM", Fixed);
    EXPECT_EQ(split.Name(), std::string(255, 'n'));
    EXPECT_EQ(split.Extension(), ".PMM");
    // 3 + 255 + 4 = 262 characters do not fit the 259 of a joined path.
    EXPECT_EQ(split.Compose(), "");
    EXPECT_EQ(split.FullPath(), "");

    SplitPath longExt(Root + "x." + std::string(400, 'e'), Fixed);
    EXPECT_EQ(longExt.Extension().size(), 255u);
    longExt.SetExtension("." + std::string(300, 'z'));
    EXPECT_EQ(longExt.Extension().size(), 255u);

    SplitPath longDir(Root + std::string(300, 'd') + S + "x.PMM", Fixed);
    EXPECT_EQ(longDir.Dir().size(), 255u);
}

TEST(SplitPath, APathWithACutPartComposesToNothing) {
    // Cut to 255 bytes, the directory joined with a short name would fit the
    // 259 of a joined path and name a file in some other directory.
    SplitPath longDir(Root + std::string(300, 'd') + S + "x.PMM", Fixed);
    EXPECT_EQ(longDir.Compose(), "");
    EXPECT_EQ(longDir.FullPath(), "");
    EXPECT_EQ(longDir.Name() + longDir.Extension(), "x.PMM");

    SplitPath longName(std::string(256, 'n') + ".PMM", Fixed);
    EXPECT_EQ(longName.Compose(), "");

    // A cut extension no longer matters once it is replaced.
    SplitPath longExt("Archiv." + std::string(300, 'e'), Fixed);
    EXPECT_EQ(longExt.Compose(), "");
    longExt.SetExtension(".PMG");
    EXPECT_EQ(longExt.Compose(), "Archiv.PMG");
    longExt.SetExtension("." + std::string(255, 'z'));
    EXPECT_EQ(longExt.Compose(), "");
}

// The report reads mailboxes whose paths run past the fixed limits, where
// the OS takes them; the DLL's ANSI API does not.
TEST(SplitPath, WhereTheOsTakesLongPathsTheyStayWhole) {
    const std::string path = Root + std::string(300, 'd') + S + std::string(250, 'n') + ".MBX";
    SplitPath split(path);
    if (!FileSystem::WithinPathLimit(path)) {
        EXPECT_EQ(split.FullPath(), "");
        return;
    }
    EXPECT_EQ(split.Drive() + split.Dir(), Root + std::string(300, 'd') + S);
    EXPECT_EQ(split.FullPath(), path);
    split.SetExtension(".PMG");
    EXPECT_EQ(split.Compose(), path.substr(0, path.size() - 4) + ".PMG");
}

TEST(SplitPath, AnEmptyPathGivesEmptyParts) {
    SplitPath split("");
    EXPECT_EQ(split.Drive() + split.Dir() + split.Name() + split.Extension(), "");
    EXPECT_EQ(split.Compose(), "");
}

#ifdef _WIN32
TEST(SplitPath, WindowsAcceptsTheSlashWhenSplitting) {
    SplitPath split("C:/Mail/Inbox.PMM");
    EXPECT_EQ(split.Drive(), "C:");
    EXPECT_EQ(split.Dir(), "/Mail/");
    EXPECT_EQ(split.Name(), "Inbox");
    EXPECT_EQ(split.FullPath(), "C:\\Mail\\Inbox.PMM");
}
#else
TEST(SplitPath, PosixTreatsBackslashAndColonAsNameCharacters) {
    SplitPath split("/mail/C:odd\\name.PMM");
    EXPECT_EQ(split.Drive(), "");
    EXPECT_EQ(split.Dir(), "/mail/");
    EXPECT_EQ(split.Name(), "C:odd\\name");
}
#endif
