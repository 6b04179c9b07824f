#include "linesim/ScopedDaemon.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>
#include <vector>

#include "linesim/ControlClient.h"
#include "testsupport/TestEnvironment.h"

extern char** environ;

namespace linesim::test {

namespace {

std::string LinesimBinary() {
    return (vt::test::BinaryFolder() / "linesim").string();
}

}  // namespace

ScopedDaemon::ScopedDaemon(int id, const std::vector<std::string>& options) : id_(id) {
    const std::string exe = LinesimBinary();
    const std::string idText = std::to_string(id);
    std::vector<char*> argv = {const_cast<char*>(exe.c_str()), const_cast<char*>("serve"),
                               const_cast<char*>("--id"), const_cast<char*>(idText.c_str())};
    for (const std::string& option : options) argv.push_back(const_cast<char*>(option.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, exe.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start " + exe);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        std::optional<std::string> answer = ControlClient::TrySend(id, "status");
        if (answer && answer->rfind("OK", 0) == 0)
            return;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("linesim serve --id " + idText + " exited at start");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Stop();
    throw std::runtime_error("linesim serve --id " + idText + " did not answer");
}

ScopedDaemon::~ScopedDaemon() {
    Stop();
}

std::string ScopedDaemon::Command(const std::string& line) const {
    return ControlClient().Send(id_, line);
}

int ScopedDaemon::Stop() {
    if (pid_ < 0)
        return -1;
    // A test may have left it stopped. SIGCONT goes first: sent after the
    // SIGTERM it could discard the SIGSTOP with which a sanitizer's leak check
    // at exit halts the ending daemon, leaving that check waiting forever.
    ::kill(pid_, SIGCONT);
    ::kill(pid_, SIGTERM);
    int status = 0;
    // A daemon that does not end is a fault to see, not a run that hangs.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "linesim serve --id %d did not end within 10 s of SIGTERM\n",
                         id_);
            ::kill(pid_, SIGKILL);
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
    return status;
}

int RunLinesim(const std::string& args, std::string* output) {
    const std::string command = "'" + LinesimBinary() + "' " + args + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    output->clear();
    char chunk[512];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        output->append(chunk, n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace linesim::test
