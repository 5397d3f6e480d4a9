// --timeout with a mailbox whose share stopped answering: a source that
// blocks until the test lets it go, which the run's end does (as the
// program's own end would leave it). Also run under ThreadSanitizer.
#include "report/program/ReportProgram.h"
#include "store/FolderReader.h"
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

using namespace ReportFixture;

namespace {

class Gate {
public:
    void Wait() {
        std::unique_lock<std::mutex> hold(lock);
        opened.wait(hold, [this] { return open; });
    }
    void Open() {
        std::lock_guard<std::mutex> hold(lock);
        open = true;
        opened.notify_all();
    }

private:
    std::mutex lock;
    std::condition_variable opened;
    bool open = false;
};

// Reads as the store's reader does, but a mailbox whose path names "held"
// is not listed until the gate opens.
class HeldSource : public FolderReader {
public:
    explicit HeldSource(Gate& gate) : gate(gate) {}
    void BeginScan(const std::string& dir, MailboxListing::Contents contents, MailboxListing& listing) override {
        if (dir.find("held") != std::string::npos) gate.Wait();
        FolderReader::BeginScan(dir, contents, listing);
    }

private:
    Gate& gate;
};

}  // namespace

TEST(ReportTimeout, AHeldShareEndsTheRunWithNothingWrittenOrRecorded) {
    TempDir root, elsewhere;
    const std::string fast = root.MakeDir("fast"), held = root.MakeDir("held");
    WritePmm(root, "fast/A.PMM", "Archiv", "", 1000);
    WritePmm(root, "held/B.PMM", "Briefe", "", 2000);
    const std::string state = elsewhere.Path() + "state.json", output = elsewhere.Path() + "report.txt";
    const std::string heldAgain = held.substr(0, held.size() - 1);  // without its separator
    const std::string stopped = "Nach 1 s abgebrochen beim Lesen von " + held +
                                "; nichts wurde geschrieben oder festgehalten.";
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string out, err;
    };
    const std::vector<Case> cases = {
        {{"--since", state, "--output", output}, 2, "", "foldscan-report: " + stopped + "\n"},
        {{"--monitor", "--warn", "1k"}, 3, "FOLDSCAN UNKNOWN - " + stopped + "\n", ""},
        // The time run out is the status, before what the run said on its way.
        {{"--monitor", heldAgain}, 3,
         "FOLDSCAN UNKNOWN - " + stopped + "\n" + heldAgain + " ist dasselbe Postfach wie " + held +
             " und wird einmal gezeigt.\n",
         ""},
    };
    for (const Case& c : cases) {
        Gate gate;
        int abandoned = -1;
        ReportEnvironment environment;
        environment.makeSource = [&] { return std::make_unique<HeldSource>(gate); };
        environment.abandon = [&](int code) {
            abandoned = code;
            gate.Open();
        };
        std::vector<std::string> args{"--timeout", "1", "--jobs", "2", fast, held};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::ostringstream out, err;
        EXPECT_EQ(ReportProgram(environment).Run(args, out, err), c.code);
        EXPECT_EQ(abandoned, c.code);
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(err.str(), c.err);
    }
    EXPECT_FALSE(std::filesystem::exists(state));
    // Neither the report nor a working copy beside its place.
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.Path()));

    // In time, the run is as without a limit, and nothing is abandoned.
    ReportEnvironment environment;
    environment.abandon = [](int) { ADD_FAILURE() << "abandoned a run in time"; };
    std::ostringstream out, err;
    EXPECT_EQ(ReportProgram(environment).Run({"--timeout", "60", "--since", state, fast, held}, out, err), 0);
    EXPECT_NE(out.str().find("Gesamt: 2 Dateien"), std::string::npos) << out.str();
    EXPECT_TRUE(std::filesystem::exists(state));
}
