#include "report/program/RunWatch.h"

#include "report/scan/ThreadBudget.h"

#include <chrono>
#include <streambuf>

// The work's side of err: a line, or whatever is flushed, at a time.
class RunWatch::Messages : public std::streambuf {
public:
    explicit Messages(RunWatch& watch) : watch(watch), stream(this) {}
    std::ostream& Stream() { return stream; }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        held += traits_type::to_char_type(c);
        if (c == '\n') Pass();
        return c;
    }
    int sync() override {
        Pass();
        return 0;
    }

private:
    void Pass() {
        std::lock_guard<std::mutex> hold(watch.lock);
        if (watch.phase != Phase::TimedOut) *watch.err << held << std::flush;
        held.clear();
    }

    RunWatch& watch;
    std::string held;
    std::ostream stream;
};

RunWatch::RunWatch() = default;

RunWatch::~RunWatch() { Join(); }

bool RunWatch::Run(unsigned seconds, std::ostream& errors, std::function<int(std::ostream& messages)> work) {
    err = &errors;
    messages = std::make_unique<Messages>(*this);
    worker = std::thread([this, work = std::move(work)] {
        const int code = work(messages->Stream());
        messages->Stream().flush();
        std::lock_guard<std::mutex> hold(lock);
        result = code;
        if (phase != Phase::TimedOut) phase = Phase::Ended;
        changed.notify_all();
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::unique_lock<std::mutex> hold(lock);
    if (!changed.wait_until(hold, deadline, [this] { return phase != Phase::Working; })) {
        phase = Phase::TimedOut;
        if (threads) threads->Stop();
    }
    // Once it writes, the work runs to its end.
    changed.wait(hold, [this] { return phase != Phase::Writing; });
    if (phase == Phase::TimedOut) return false;
    hold.unlock();
    Join();
    return true;
}

bool RunWatch::TimedOut() const {
    std::lock_guard<std::mutex> hold(lock);
    return phase == Phase::TimedOut;
}

void RunWatch::Say(const std::string& line) {
    std::lock_guard<std::mutex> hold(lock);
    *err << line << '\n' << std::flush;
}

void RunWatch::Join() {
    if (worker.joinable()) worker.join();
}

void RunWatch::Reading(size_t i, const std::string& path) {
    std::lock_guard<std::mutex> hold(lock);
    reading[i] = path;
}

void RunWatch::Watch(ThreadBudget* budget) {
    std::lock_guard<std::mutex> hold(lock);
    threads = budget;
    if (threads && phase == Phase::TimedOut) threads->Stop();
}

void RunWatch::Read(size_t i) {
    std::lock_guard<std::mutex> hold(lock);
    reading.erase(i);
}

bool RunWatch::StartWriting() {
    std::lock_guard<std::mutex> hold(lock);
    if (phase == Phase::TimedOut) return false;
    phase = Phase::Writing;
    return true;
}

std::vector<std::string> RunWatch::Waiting() const {
    std::lock_guard<std::mutex> hold(lock);
    std::vector<std::string> paths;
    for (const auto& [i, path] : reading) paths.push_back(path);
    return paths;
}
