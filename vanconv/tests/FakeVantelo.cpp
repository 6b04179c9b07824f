// A stand-in for a running vantelo, for the converter's tests: it holds
// the single-instance lock and serves the request socket with the real
// server. A close request ends it (with --stubborn it answers and stays).
// It logs "<pid> started", "<pid> request <kind>" and "<pid> closed" to
// fake-vantelo.log in the application folder and never outlives 60 s.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "platform/Folders.h"
#include "platform/RequestServer.h"
#include "platform/SingleInstanceLock.h"

namespace {

void Log(const std::string& line) {
    std::ofstream(vt::ApplicationFolder() / "fake-vantelo.log", std::ios::app)
        << ::getpid() << " " << line << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    const bool stubborn = argc > 1 && std::strcmp(argv[1], "--stubborn") == 0;
    vt::SingleInstanceLock lock("Korvane_TYC_Plus");
    if (!lock.Acquire())
        return 3;
    std::atomic<bool> closing{false};
    vt::RequestServer server([&](const vt::Request& request) {
        Log("request " + std::to_string(request.kind));
        if (request.kind == vt::kRequestClose && !stubborn)
            closing = true;
        return std::string();
    });
    if (!server.Start())
        return 4;
    Log("started");
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!closing && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    server.Stop();
    if (!closing)
        return 5;
    Log("closed");
    return 0;
}
