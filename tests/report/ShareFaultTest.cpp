// A share that fails on the way, as tests/tools' slowfs serves it (FUSE,
// which wants /dev/fuse and the right to mount; without them the test is
// skipped): a run records nothing of a mailbox it could not read whole.
#ifdef FOLDSCAN_SLOWFS
#include "platform/AtomicFile.h"
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(ReportShare, AMailboxNotReadWholeIsNotRecordedAndTheOthersAre) {
    TempDir source, local, files;
    for (int i = 0; i < 20; ++i) WritePmm(source, "F" + std::to_string(i) + ".PMM", "Ordner", "", 1000 + i);
    WritePmm(local, "A.PMM", "Archiv", "", 500);
    const std::string history = files.Path() + "history.db", state = files.Path() + "state.json";
    std::string stateAfterFirst;
    {
        FailingShare share(source.Path(), {});
        if (!share.Mounted()) GTEST_SKIP() << "slowfs could not mount a share (FUSE missing, or no right to mount)";
        Result first = RunReport({"--history", history, "--since", state, share.Path(), local.Path()});
        ASSERT_EQ(first.code, 0) << first.err;
        stateAfterFirst = files.Read("state.json");
    }
    const std::vector<std::pair<std::vector<std::string>, std::string>> faults = {
        {{"--fail", "F7.PMM"}, "(F7.PMM war wegen eines Ein-/Ausgabefehlers nicht lesbar)"},
        {{"--fail-listing"}, "(die Liste seiner Ordnerdateien brach ab)"},
    };
    for (const auto& [fault, why] : faults) {
        FailingShare share(source.Path(), fault);
        ASSERT_TRUE(share.Mounted());
        Result run = RunReport({"--history", history, "--since", state, share.Path(), local.Path()});
        EXPECT_EQ(run.code, 2) << why;
        EXPECT_EQ(run.err, "foldscan-report: Postfach " + share.Path() + " nicht vollst\u00E4ndig gelesen " + why +
                               ".\nfoldscan-report: Nicht festgehalten, ihr letzter festgehaltener Stand bleibt "
                               "g\u00FCltig: " + share.Path() + "\n");
        Result monitor = RunReport({"--monitor", share.Path(), local.Path()});
        EXPECT_EQ(monitor.code, 3);
        EXPECT_EQ(monitor.out.find("FOLDSCAN UNKNOWN - 1 von 2 Postf\u00E4chern nicht lesbar: " + share.Path()), 0u)
            << monitor.out;
    }
    // The local mailbox in every run, the share's only in the first; its
    // state is as the first run left it.
    EXPECT_EQ(Count(history, "SELECT count(*) FROM runs"), 3);
    EXPECT_EQ(Count(history, "SELECT count(*) FROM mailbox_run"), 4);
    EXPECT_EQ(files.Read("state.json").size(), stateAfterFirst.size());
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
