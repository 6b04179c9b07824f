// tyctl: a command-line tool over liblindev (line monitor and one-shot line
// commands on adapter slot 0).

#include <csignal>
#include <iostream>

#include "i18n/Translations.h"
#include "tyctl/CommandTable.h"

namespace {

std::atomic<bool> g_stop{false};

extern "C" void OnSignal(int) {
    g_stop.store(true);
}

}  // namespace

int main(int argc, char** argv) {
    vt::i18n::LoadForUser({"tyctl", "vantelo_core"});
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    return tyctl::CommandTable::Dispatch(argc, argv, std::cout, std::cerr, g_stop);
}
