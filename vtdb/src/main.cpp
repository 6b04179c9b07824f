// vtdb: reads and writes the call log and contact tables of the database in
// the application folder ($VANTELO_HOME), through the program's record sets.

#include <csignal>
#include <iostream>

#include "VtdbCommands.h"

namespace {
void OnStopSignal(int) { vtdb::StopRequested().store(true); }
}  // namespace

int main(int argc, char** argv) {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::vector<std::string> args(argv + 1, argv + argc);
    return vtdb::Run(args, std::cout, std::cerr);
}
