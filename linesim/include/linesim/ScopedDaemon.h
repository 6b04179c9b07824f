#pragma once
// For tests: runs the real `linesim serve --id N` (the binary beside the
// test program) for the life of the object. The constructor returns once
// the daemon's control socket answers; the destructor sends SIGTERM and
// waits for the process. Use inside a vt::test::TestEnvironment, so the
// sockets land in the test's private runtime folder.

#include <sys/types.h>

#include <string>
#include <vector>

namespace linesim::test {

class ScopedDaemon {
public:
    // Throws std::runtime_error when the daemon does not start or answer.
    explicit ScopedDaemon(int id = 0) : ScopedDaemon(id, {}) {}
    // With more options after `serve --id N` (--max-connections ...).
    ScopedDaemon(int id, const std::vector<std::string>& options);
    ~ScopedDaemon();
    ScopedDaemon(const ScopedDaemon&) = delete;
    ScopedDaemon& operator=(const ScopedDaemon&) = delete;

    int Id() const { return id_; }
    pid_t Pid() const { return pid_; }
    // One control command, answered as by the control socket.
    std::string Command(const std::string& line) const;
    // SIGTERM and wait; the exit status (as waitpid gives it), -1 if it was
    // stopped already. Idempotent.
    int Stop();

private:
    int id_;
    pid_t pid_ = -1;
};

// Runs `linesim ARGS...` (beside the test program) to its end; its exit
// code, and its standard output and error joined in `output`.
int RunLinesim(const std::string& args, std::string* output);

}  // namespace linesim::test
