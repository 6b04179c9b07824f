#pragma once
// Runs a helper program of a test to its end, for tests of how a program
// exits: a program still running at the deadline is killed, so a hang
// fails the test instead of stalling the run.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace vt::test {

struct ProbeExit {
    int spawnError = 0;  // posix_spawn's error; 0 when the program started
    bool hung = false;   // still running at the deadline: killed and reaped
    int status = 0;      // the waitpid status
};

// Starts `program` with `args` in this process's environment and waits up
// to `deadline` for it to exit.
ProbeExit RunProbe(const std::filesystem::path& program, const std::vector<std::string>& args,
                   std::chrono::seconds deadline);

// The two halves of RunProbe, for several programs running at once. With an
// `output` file, standard output and error go there. pid 0: not started
// (spawnError says why).
struct Probe {
    int pid = 0;
    int spawnError = 0;
};
Probe StartProbe(const std::filesystem::path& program, const std::vector<std::string>& args,
                 const std::filesystem::path& output = {});
ProbeExit WaitProbe(const Probe& probe, std::chrono::seconds deadline);

}  // namespace vt::test
