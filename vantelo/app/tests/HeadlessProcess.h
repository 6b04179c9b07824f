#pragma once
// `vantelo --headless` as a child process with a pipe on each of its
// standard input and output: actions in, the lines it prints out, every
// wait with a deadline.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/RequestClient.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSCallList.h"

namespace vantelo {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The program with a pipe on each of its standard input and output.
class HeadlessProcess {
public:
    HeadlessProcess() {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            const std::string program = (vt::test::BinaryFolder() / "vantelo").string();
            ::execl(program.c_str(), program.c_str(), "--headless", nullptr);
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        input_ = in[1];
        output_ = out[0];
        reader_ = std::thread([this] { Read(); });
    }

    ~HeadlessProcess() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (input_ >= 0)
            ::close(input_);
        if (reader_.joinable())
            reader_.join();
        if (output_ >= 0)
            ::close(output_);
    }

    // The program serves its request socket (a generous deadline: a first
    // start installs its prompts, slow on a machine busy with other tests).
    bool WaitUntilServing() {
        for (int i = 0; i < 750; ++i) {
            if (fs::exists(vt::RequestSocketPath()))
                return true;
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }

    // The end of the program's input.
    void CloseInput() {
        ::close(input_);
        input_ = -1;
    }

    // Waits for the program to end by itself; its exit status, -1 if not.
    int WaitForExit() {
        for (int i = 0; i < 500; ++i) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }

    void Send(const std::string& action) {
        const std::string line = action + "\n";
        ASSERT_EQ(::write(input_, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    }

    // Waits for a line printed from now on (or already printed after the mark).
    bool WaitFor(const std::string& line, std::chrono::milliseconds timeout = 10s) {
        return WaitForLine([&](const std::string& l) { return l == line; }, timeout);
    }
    // The same for a line that begins with `prefix`.
    bool WaitForStart(const std::string& prefix, std::chrono::milliseconds timeout = 10s) {
        return WaitForLine([&](const std::string& l) { return l.rfind(prefix, 0) == 0; }, timeout);
    }
    template <typename Match>
    bool WaitForLine(Match&& match, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] {
            for (std::size_t i = mark_; i < lines_.size(); ++i)
                if (match(lines_[i])) {
                    mark_ = i + 1;
                    return true;
                }
            return false;
        });
    }

    std::string Transcript() {
        std::lock_guard lock(mutex_);
        std::string all;
        for (const auto& l : lines_) all += l + "\n";
        return all;
    }

    // Dies at once, as a crash or `kill -9` ends it.
    void Kill() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        exited_ = true;
    }

    // SIGTERM, then the exit status within the deadline (-1 if it hung).
    int Terminate() {
        ::kill(pid_, SIGTERM);
        return WaitForExit();
    }

private:
    void Read() {
        std::string pending;
        char buffer[1024];
        ssize_t n;
        while ((n = ::read(output_, buffer, sizeof buffer)) > 0) {
            pending.append(buffer, static_cast<std::size_t>(n));
            std::lock_guard lock(mutex_);
            for (auto end = pending.find('\n'); end != std::string::npos;
                 end = pending.find('\n')) {
                lines_.push_back(pending.substr(0, end));
                pending.erase(0, end + 1);
            }
            changed_.notify_all();
        }
    }

    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    bool exited_ = false;
    std::thread reader_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    std::size_t mark_ = 0;
};

// The program's transcript and the line library's log, for a failure.
inline std::string Story(HeadlessProcess& phone, const fs::path& appHome) {
    std::string story = phone.Transcript();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(appHome / "Log", ec))
        story += vt::test::ReadText(entry.path());
    return story;
}

// The rows of the call log, waiting up to `timeout` for `count` of them.
inline std::vector<CallRecord> CallRows(const fs::path& database, std::size_t count,
                                        std::chrono::milliseconds timeout = 10s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    std::vector<CallRecord> rows;
    do {
        rows.clear();
        CRSCallList set(database);
        if (set.Open().ok())
            for (long i = 0; i < set.GetRecordCount(); ++i)
                if (set.SetAbsolutePosition(i).ok())
                    if (auto row = set.CurrentCall(); row.ok())
                        rows.push_back(row.value());
        if (rows.size() >= count)
            break;
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < end);
    return rows;
}

}  // namespace vantelo
