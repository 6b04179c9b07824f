#pragma once
// `vantelo --headless` as a child process with a pipe on each of its
// standard input and output, for the end-to-end tests: actions in, printed
// lines out, every wait with a deadline.

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

namespace vantelo::test {

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

    // The program serves its request socket.
    bool WaitUntilServing() {
        for (int i = 0; i < 250; ++i) {
            if (std::filesystem::exists(vt::RequestSocketPath()))
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
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] {
            for (std::size_t i = mark_; i < lines_.size(); ++i)
                if (lines_[i] == line) {
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

}  // namespace vantelo::test
