#pragma once
// For tests of programs as users run them: starts a program with its
// standard output and error on one pipe that the test reads while it runs,
// sends it signals and waits for its end with a deadline. The destructor
// kills and reaps a program still running, so a hang fails the test
// instead of stalling the run.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vt::test {

class ChildProcess {
public:
    // Throws std::runtime_error when the program cannot be started.
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    void Signal(int signal) const;

    // Reads output until `text` has appeared or `limit` has passed; true
    // when it appeared.
    bool WaitForOutput(const std::string& text, std::chrono::milliseconds limit);
    // Everything read so far (after reading what is waiting now).
    const std::string& Output();

    // Waits up to `limit` for the end (reading output meanwhile); the
    // waitpid status, nullopt if it is still running.
    std::optional<int> WaitExit(std::chrono::milliseconds limit);

private:
    void ReadAvailable(int waitMs);

    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;
    std::optional<int> status_;
};

// Sends SIGSTOP to process `pid` and waits (up to 5 s) until every thread
// of it has stopped: kill() returns before a busy thread has, and a test of
// a wedged process must not race its last answers. True when stopped.
bool StopProcess(pid_t pid);

}  // namespace vt::test
