#include "testsupport/ProbeProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

extern char** environ;

namespace vt::test {

Probe StartProbe(const std::filesystem::path& program, const std::vector<std::string>& args,
                 const std::filesystem::path& output) {
    const std::string path = program.string();
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!output.empty()) {
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    }
    Probe probe;
    pid_t pid = 0;
    probe.spawnError = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (probe.spawnError == 0)
        probe.pid = pid;
    return probe;
}

ProbeExit WaitProbe(const Probe& probe, std::chrono::seconds deadline) {
    ProbeExit result;
    result.spawnError = probe.spawnError;
    if (probe.pid == 0)
        return result;
    pid_t done = 0;
    const auto end = std::chrono::steady_clock::now() + deadline;
    while ((done = waitpid(probe.pid, &result.status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (done == 0) {
        kill(probe.pid, SIGKILL);
        waitpid(probe.pid, &result.status, 0);
        result.hung = true;
    }
    return result;
}

ProbeExit RunProbe(const std::filesystem::path& program, const std::vector<std::string>& args,
                   std::chrono::seconds deadline) {
    return WaitProbe(StartProbe(program, args), deadline);
}

}  // namespace vt::test
