#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

class ThreadBudget;

// --timeout: the run works on a thread of its own while the thread that
// started it watches the clock. A share that stops answering holds a thread
// inside the OS, beyond any way of stopping it; so when the time runs out,
// the watcher says which mailboxes were being read and the run ends without
// them. Once the report is being written the time no longer counts, so that
// what is written is whole; until then the run writes and records nothing
// after the time ran out.
class RunWatch {
public:
    RunWatch();
    ~RunWatch();  // waits for the work's thread
    RunWatch(const RunWatch&) = delete;
    RunWatch& operator=(const RunWatch&) = delete;

    // Runs work on its own thread and waits until it ends or seconds have
    // passed. The work writes its messages to the stream it is given, which
    // passes them on to err a line at a time, so that the watcher's and the
    // work's never mix; after the time ran out it passes nothing on. True
    // when the work ended in time; its result is then Result().
    bool Run(unsigned seconds, std::ostream& err, std::function<int(std::ostream& messages)> work);
    int Result() const { return result; }
    bool TimedOut() const;
    // Writes a line to err beside the work's messages.
    void Say(const std::string& line);
    // Waits for the work's thread, which ends once the OS lets it go.
    void Join();

    // From the work: mailbox i (by its path as given) is being read, or is read.
    void Reading(size_t i, const std::string& path);
    void Read(size_t i);
    // The run's threads, stopped when the time runs out, so that they start
    // no more requests; set while they exist.
    void Watch(ThreadBudget* threads);
    // Claims the run for its output. False once the time has run out: the
    // run then writes and records nothing.
    bool StartWriting();
    // The mailboxes being read, in the order given.
    std::vector<std::string> Waiting() const;

private:
    class Messages;
    enum class Phase { Working, Writing, Ended, TimedOut };

    mutable std::mutex lock;
    std::condition_variable changed;
    Phase phase = Phase::Working;
    std::map<size_t, std::string> reading;
    ThreadBudget* threads = nullptr;
    std::ostream* err = nullptr;
    std::unique_ptr<Messages> messages;
    std::thread worker;
    int result = 0;
};
