// A share that fails on the way, as tests/tools' slowfs serves it (FUSE,
// which wants /dev/fuse and the right to mount; without them the test is
// skipped): a run records nothing of a mailbox it could not read whole.
#ifdef FOLDSCAN_SLOWFS
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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
#endif
