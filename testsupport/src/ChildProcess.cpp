#include "testsupport/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace vt::test {

ChildProcess::ChildProcess(const std::filesystem::path& program,
                           const std::vector<std::string>& args) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const std::string path = program.string();
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int rc = posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    out_ = pipeFds[0];
    if (rc != 0) {
        ::close(out_);
        throw std::runtime_error("cannot start " + path);
    }
}

ChildProcess::~ChildProcess() {
    if (!status_) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    ::close(out_);
}

void ChildProcess::Signal(int signal) const {
    if (!status_)
        ::kill(pid_, signal);
}

void ChildProcess::ReadAvailable(int waitMs) {
    pollfd p{out_, POLLIN, 0};
    if (::poll(&p, 1, waitMs) <= 0)
        return;
    char chunk[4096];
    const ssize_t n = ::read(out_, chunk, sizeof chunk);
    if (n > 0)
        output_.append(chunk, static_cast<std::size_t>(n));
}

bool ChildProcess::WaitForOutput(const std::string& text, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (output_.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        ReadAvailable(20);
        if (!status_) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_)
                status_ = status;
        } else {
            ReadAvailable(0);
            if (output_.find(text) == std::string::npos)
                return false;  // ended without it
        }
    }
    return true;
}

const std::string& ChildProcess::Output() {
    ReadAvailable(0);
    return output_;
}

std::optional<int> ChildProcess::WaitExit(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!status_) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = status;
            break;
        }
        if (std::chrono::steady_clock::now() >= end)
            return std::nullopt;
        ReadAvailable(20);
    }
    for (std::size_t before = output_.size() + 1; before != output_.size();) {
        before = output_.size();
        ReadAvailable(0);
    }
    return status_;
}

namespace {

// The state letter of a /proc/<pid>/task/<tid>/stat file ('T' stopped).
char StateOf(const std::filesystem::path& stat) {
    std::ifstream in(stat);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::size_t paren = text.rfind(')');
    return paren != std::string::npos && paren + 2 < text.size() ? text[paren + 2] : '?';
}

}  // namespace

bool StopProcess(pid_t pid) {
    if (::kill(pid, SIGSTOP) != 0)
        return false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    while (std::chrono::steady_clock::now() < end) {
        bool all = true;
        std::error_code ec;
        for (const auto& task : std::filesystem::directory_iterator(tasks, ec))
            if (StateOf(task.path() / "stat") != 'T')
                all = false;
        if (all && !ec)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

}  // namespace vt::test
