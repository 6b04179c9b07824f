#include "testsupport/ProbeProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

extern char** environ;

namespace vt::test {

ProbeExit RunProbe(const std::filesystem::path& program, const std::vector<std::string>& args,
                   std::chrono::seconds deadline) {
    const std::string path = program.string();
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ProbeExit result;
    pid_t pid = 0;
    result.spawnError = posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ);
    if (result.spawnError != 0)
        return result;
    pid_t done = 0;
    const auto end = std::chrono::steady_clock::now() + deadline;
    while ((done = waitpid(pid, &result.status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (done == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &result.status, 0);
        result.hung = true;
    }
    return result;
}

}  // namespace vt::test
