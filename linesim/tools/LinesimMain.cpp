// linesim: the simulated adapter's daemon (`linesim serve [--id N]`) and the
// client of its control socket (`linesim [--id N] COMMAND ...`).
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "linesim/ControlClient.h"
#include "linesim/Daemon.h"

namespace {

linesim::Daemon* g_daemon = nullptr;

void OnStopSignal(int) {
    if (g_daemon)
        g_daemon->RequestStop();
}

int Usage() {
    std::fprintf(stderr,
                 "usage: linesim [--id N] serve        run simulated adapter N (default 0)\n"
                 "       linesim [--id N] COMMAND ...  send one control command, e.g.\n"
                 "         ring [ON_MS OFF_MS [COUNT]] | ring stop | cid NUMBER [MMDDhhmm]\n"
                 "         dtmf DIGITS [ON_MS [OFF_MS]] | tone dial|ringback|busy1|busy2|off\n"
                 "         answer | hangup | handset up|down | dial DIGITS | arskey on|off\n"
                 "         headset 1|2 | reverse on|off | unplug | plug | status | log\n"
                 "         log clear | version HW FW | speed N | audio FILE|off\n"
                 "         mic FILE|tone|off | capture FILE|off\n");
    return 64;
}

int Serve(int id) {
    linesim::Daemon daemon(id);
    std::string error;
    if (!daemon.Start(&error)) {
        std::fprintf(stderr, "linesim: %s\n", error.c_str());
        return 1;
    }
    g_daemon = &daemon;
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
    std::fprintf(stderr, "linesim: serving simulated adapter %d\n", id);
    daemon.Run();
    g_daemon = nullptr;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    int id = 0;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--id" && rest.empty() | (rest.size() == 1 && rest[0] == "serve")) {
            if (i + 1 >= args.size())
                return Usage();
            const std::string& v = args[++i];
            if (v.empty() || v.size() > 6 || v.find_first_not_of("0123456789") != std::string::npos)
                return Usage();
            id = std::stoi(v);
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.empty() || rest[0] == "--help" || rest[0] == "-h")
        return Usage();
    if (rest[0] == "serve")
        return rest.size() == 1 ? Serve(id) : Usage();

    // The daemon runs elsewhere: file names are sent as absolute paths.
    const bool takesFile = rest[0] == "audio" || rest[0] == "mic" || rest[0] == "capture";
    if (takesFile && rest.size() == 2 && rest[1] != "off" && rest[1] != "tone")
        rest[1] = std::filesystem::absolute(rest[1]).lexically_normal().string();
    std::string line;
    for (const std::string& word : rest) line += (line.empty() ? "" : " ") + word;
    const std::optional<std::string> answer = linesim::ControlClient::TrySend(id, line);
    if (!answer) {
        std::fprintf(stderr,
                     "linesim: no simulated adapter %d is running (start `linesim serve%s`)\n", id,
                     id ? (" --id " + std::to_string(id)).c_str() : "");
        return 2;
    }
    if (answer->rfind("OK", 0) == 0) {
        std::printf("%s\n", answer->c_str());
        return 0;
    }
    std::fprintf(stderr, "linesim: %s\n", answer->c_str());
    return 1;
}
