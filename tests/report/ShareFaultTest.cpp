// A share that fails on the way, as tests/tools' slowfs serves it (FUSE,
// which wants /dev/fuse and the right to mount; without them the test is
// skipped): a run records nothing of a mailbox it could not read whole.
#ifdef FOLDSCAN_SLOWFS
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

using namespace ReportFixture;

namespace {

constexpr long FuseMagic = 0x65735546;

// source mounted through slowfs with the faults given, while the object lives.
class FailingShare {
public:
    FailingShare(const std::string& source, const std::vector<std::string>& faults) {
        server = fork();
        if (server == 0) {
            std::vector<const char*> args{"slowfs", source.c_str(), mountPoint.Path().c_str(), "0"};
            for (const std::string& fault : faults) args.push_back(fault.c_str());
            args.push_back("-f");
            args.push_back(nullptr);
            execv(FOLDSCAN_SLOWFS, const_cast<char* const*>(args.data()));
            _exit(127);
        }
        for (int i = 0; i < 200 && server > 0 && !mounted; ++i) {
            struct statfs status;
            mounted = statfs(mountPoint.Path().c_str(), &status) == 0 && status.f_type == FuseMagic;
            if (!mounted) std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
    }
    ~FailingShare() {
        if (server <= 0) return;
        kill(server, SIGTERM);  // the server unmounts as it ends
        waitpid(server, nullptr, 0);
    }
    FailingShare(const FailingShare&) = delete;
    FailingShare& operator=(const FailingShare&) = delete;

    bool Mounted() const { return mounted; }
    const std::string& Path() const { return mountPoint.Path(); }

private:
    TempDir mountPoint;
    pid_t server = -1;
    bool mounted = false;
};

// A file system of a few hundred kilobytes (tmpfs, which wants the right to
// mount; without it the test is skipped), while the object lives.
class SmallVolume {
public:
    explicit SmallVolume(const char* size) {
        const std::string options = std::string("size=") + size;
        mounted = mount("tmpfs", dir.Path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallVolume() {
        if (mounted) umount(dir.Path().c_str());
    }
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    bool Mounted() const { return mounted; }
    TempDir& Dir() { return dir; }

private:
    TempDir dir;
    bool mounted = false;
};

std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

int Count(const std::string& database, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    int count = -1;
    if (sqlite3_open(database.c_str(), &db) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
        count = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return count;
}

}  // namespace

// Whatever the OS failed to read: a folder file, the folder tree, the
// length of a new-mail file, the listing.
TEST(ReportShare, AMailboxNotReadWholeIsNotRecordedAndTheOthersAre) {
    TempDir source, local, files;
    for (int i = 0; i < 20; ++i) WritePmm(source, "F" + std::to_string(i) + ".PMM", "Ordner", "K" + std::to_string(i), 1000 + i);
    source.Write("hierarch.pm", "2,0,ROOT,,Postfach\r\n1,1,K7,ROOT,Ordner\r\n");
    source.MakeDir("neu");
    for (const char* name : {"A.CNM", "B.CNM", "C.CNM"}) source.Write(std::string("neu/") + name, std::string(700, 'x'));
    WritePmm(local, "A.PMM", "Archiv", "", 500);
    const std::string history = files.Path() + "history.db", state = files.Path() + "state.json";
    std::string stateAfterFirst;
    {
        FailingShare share(source.Path(), {});
        if (!share.Mounted()) GTEST_SKIP() << "slowfs could not mount a share (FUSE missing, or no right to mount)";
        Result first = RunReport({"--history", history, "--since", state, "--newmail", "neu", share.Path(), local.Path()});
        ASSERT_EQ(first.code, 0) << first.err;
        stateAfterFirst = files.Read("state.json");
    }
    const std::vector<std::pair<std::vector<std::string>, std::string>> faults = {
        {{"--fail", "F7.PMM"}, "(F7.PMM war wegen eines Ein-/Ausgabefehlers nicht lesbar)"},
        {{"--fail-listing"}, "(die Liste seiner Ordnerdateien brach ab)"},
        {{"--fail-read", "hierarch.pm"}, "(hierarch.pm war wegen eines Ein-/Ausgabefehlers nicht lesbar)"},
        {{"--fail", "hierarch.pm"}, "(hierarch.pm war wegen eines Ein-/Ausgabefehlers nicht lesbar)"},
        {{"--fail", "B.CNM"}, "(*.CNM war wegen eines Ein-/Ausgabefehlers nicht lesbar)"},
    };
    for (const auto& [fault, why] : faults) {
        FailingShare share(source.Path(), fault);
        ASSERT_TRUE(share.Mounted());
        Result run = RunReport({"--history", history, "--since", state, "--newmail", "neu", share.Path(), local.Path()});
        EXPECT_EQ(run.code, 2) << why;
        EXPECT_EQ(run.err, "foldscan-report: Postfach " + share.Path() + " nicht vollst\u00E4ndig gelesen " + why +
                               ".\nfoldscan-report: Nicht festgehalten, ihr letzter festgehaltener Stand bleibt "
                               "g\u00FCltig: " + share.Path() + "\n");
        Result monitor = RunReport({"--monitor", "--newmail", "neu", share.Path(), local.Path()});
        EXPECT_EQ(monitor.code, 3);
        EXPECT_EQ(monitor.out.find("FOLDSCAN UNKNOWN - 1 von 2 Postf\u00E4chern nicht lesbar: " + share.Path()), 0u)
            << monitor.out;
    }
    // The local mailbox in every run, the share's only in the first; its
    // state is as the first run left it.
    EXPECT_EQ(Count(history, "SELECT count(*) FROM runs"), 1 + static_cast<int>(faults.size()));
    EXPECT_EQ(Count(history, "SELECT count(*) FROM mailbox_run"), 2 + static_cast<int>(faults.size()));
    EXPECT_EQ(files.Read("state.json").size(), stateAfterFirst.size());
}

// A directory below --all-under whose listing fails may hold mailboxes: the
// run names it, misses it in its exit code and its status, and records the
// others.
TEST(ReportShare, ADirectoryBelowARootThatFailsToListIsAPlaceTheRunMisses) {
    TempDir source, files;
    source.MakeDir("anna");
    source.MakeDir("bernd");
    WritePmm(source, "anna/A.PMM", "Archiv", "", 500);
    WritePmm(source, "bernd/B.PMM", "Briefe", "", 700);
    FailingShare share(source.Path(), {"--fail-listing-of", "bernd"});
    if (!share.Mounted()) GTEST_SKIP() << "slowfs could not mount a share (FUSE missing, or no right to mount)";
    const std::string history = files.Path() + "history.db", bernd = share.Path() + "bernd";
    Result run = RunReport({"--history", history, "--format", "tsv", "--all-under", share.Path()});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("Das Verzeichnis " + bernd + " war wegen eines Ein-/Ausgabefehlers nicht lesbar: "
                           "die Postf\u00E4cher darin fehlen in diesem Lauf."),
              std::string::npos)
        << run.err;
    EXPECT_EQ(Count(history, "SELECT count(*) FROM mailbox_run"), 1);
    Result monitor = RunReport({"--monitor", "--all-under", share.Path()});
    EXPECT_EQ(monitor.code, 3);
    EXPECT_EQ(monitor.out.find("FOLDSCAN UNKNOWN - 1 von 2 Postf\u00E4chern nicht lesbar: " + bernd), 0u) << monitor.out;
    EXPECT_NE(monitor.out.find("'" + bernd + "'=U;"), std::string::npos) << monitor.out;
}
// A history on a share the user may only read: a query answers and leaves
// nothing beside it; a run that records says the history is read-only, also
// one of the first schema, which it would have to bring to this one.
TEST(ReportShare, AHistoryThatMayOnlyBeReadAnswersQueriesAndRefusesRuns) {
    TempDir files, mailbox;
    WritePmm(mailbox, "A.PMM", "Archiv", "", 500);
    ASSERT_EQ(RunReport({"--history", files.Path() + "history.db", mailbox.Path()}).code, 0);
    std::filesystem::copy_file(std::string(FOLDSCAN_GOLDEN_DIR) + "history-v1.db", files.Path() + "old.db");
    FailingShare share(files.Path(), {});  // mounted read-only
    if (!share.Mounted()) GTEST_SKIP() << "slowfs could not mount a share (FUSE missing, or no right to mount)";
    Result query = RunReport({"--from-history", share.Path() + "history.db", "--format", "tsv"});
    EXPECT_EQ(query.code, 0) << query.err;
    EXPECT_NE(query.out.find("A.PMM"), std::string::npos);
    EXPECT_EQ(Names(files.Path()), (std::vector<std::string>{"history.db", "old.db"}));
    for (const char* history : {"history.db", "old.db"}) {
        Result run = RunReport({"--history", share.Path() + history, mailbox.Path()});
        EXPECT_EQ(run.code, 2) << history;
        EXPECT_NE(run.err.find("Sie ist schreibgesch\u00FCtzt"), std::string::npos) << run.err;
    }
}

// Bringing a history of the first schema to this one needs as much free
// space as it takes: without, the run says so before it writes anything.
TEST(ReportShare, AMigrationWithoutTheSpaceItNeedsSaysSoAndLeavesTheHistory) {
    SmallVolume volume("2m");
    if (!volume.Mounted()) GTEST_SKIP() << "no right to mount a small file system";
    TempDir mailbox;
    WritePmm(mailbox, "A.PMM", "Archiv", "", 500);
    // An old history of some 600 kB, and less free space than that beside
    // it, but room for the log's shared memory.
    const std::string old = volume.Dir().Path() + "old.db";
    std::filesystem::copy_file(std::string(FOLDSCAN_GOLDEN_DIR) + "history-v1.db", old);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(old.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 6000)"
                               " INSERT INTO folders SELECT 3, '/tmp/foldscan-v1/Postfach', 'F' || i || '.PMM', '',"
                               " '\\Ordner ' || i, i FROM n; PRAGMA wal_checkpoint(TRUNCATE)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const std::string bytes = volume.Dir().Read("old.db");
    ASSERT_GT(bytes.size(), 300000u);
    uint64_t free = 0;
    ASSERT_TRUE(FileSystem::FreeSpace(volume.Dir().Path(), free));
    ASSERT_GT(free, bytes.size());
    volume.Dir().Write("filler", std::string(free - bytes.size() / 2, 'x'));
    Result run = RunReport({"--history", old, mailbox.Path()});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("Der Lauf kann nicht in die Historie " + old + " geschrieben werden. Ihre Umstellung "
                           "auf das Format dieser Version braucht so viel freien Platz, wie sie gro\u00DF ist"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(volume.Dir().Read("old.db"), bytes);
}

// A share whose server refuses to rename or to flush to its disk: a file
// replaced there stays as it was, with no working copy beside it, and the
// run that was to write it fails. The tests above the file code inject
// such failures; these are the system's own.
TEST(ReportShare, AFileWhoseCopyCannotBeFlushedOrPutInPlaceStaysAsItWas) {
    TempDir source, mailbox;
    WritePmm(mailbox, "A.PMM", "Archiv", "", 500);
    for (const char* fault : {"--refuse-rename", "--fail-fsync"}) {
        source.Write("report.txt", "the last whole report");
        source.Write("state.json", "{\"foldscan-report-state\": 1, \"mailboxes\": {}}");
        FailingShare share(source.Path(), {fault});
        if (!share.Mounted()) GTEST_SKIP() << "slowfs could not mount a share (FUSE missing, or no right to mount)";
        const std::string report = share.Path() + "report.txt";
        EXPECT_FALSE(AtomicFile::Replace(report, "new")) << fault;
        std::string copy;
        ASSERT_TRUE(AtomicFile::MakeCopy(report, 1000, copy)) << fault;
        ASSERT_TRUE(AtomicFile::AppendToCopy(copy, " and more")) << fault;
        EXPECT_FALSE(AtomicFile::PutInPlace(copy, report)) << fault;
        AtomicFile::RemoveCopy(copy);

        Result output = RunReport({"--output", report, mailbox.Path()});
        EXPECT_EQ(output.code, 2) << fault;
        EXPECT_NE(output.err.find("Die Ausgabedatei " + report + " kann nicht geschrieben werden."), std::string::npos)
            << output.err;
        Result state = RunReport({"--since", share.Path() + "state.json", mailbox.Path()});
        EXPECT_EQ(state.code, 2) << fault;
        EXPECT_EQ(source.Read("report.txt"), "the last whole report") << fault;
        EXPECT_EQ(source.Read("state.json"), "{\"foldscan-report-state\": 1, \"mailboxes\": {}}") << fault;
        for (const auto& entry : std::filesystem::directory_iterator(source.Path()))
            EXPECT_NE(entry.path().filename().string().front(), '~') << fault << ": " << entry.path();
    }
}
#endif
