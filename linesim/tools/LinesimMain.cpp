// linesim: the simulated adapter's daemon (`linesim serve [--id N]`) and the
// client of its control socket (`linesim [--id N] COMMAND ...`).
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "linesim/CommandInterpreter.h"
#include "linesim/ControlClient.h"
#include "linesim/Daemon.h"
#include "platform/Folders.h"

namespace {

// The control commands come from the interpreter's table, wrapped so that
// no line is wider than 76 columns.
std::string UsageText() {
    constexpr std::size_t kWidth = 76;
    const std::string indent(9, ' ');
    std::string text =
        "usage: linesim [--id N] serve [--max-connections N] [--idle-timeout MS]\n"
        "                                     run simulated adapter N (default 0)\n"
        "       linesim [--id N] COMMAND ...  send one control command:\n";
    std::string line;
    for (const std::string& form : linesim::CommandInterpreter::Forms()) {
        if (!line.empty() && indent.size() + line.size() + 3 + form.size() > kWidth) {
            text += indent + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " | ") + form;
    }
    return text + indent + line + "\n";
}

int Usage() {
    std::fputs(UsageText().c_str(), stderr);
    return 64;
}

// A whole decimal number in [low, high].
bool ParseNumber(const std::string& text, long low, long high, long* value) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *value = std::stol(text);
    return *value >= low && *value <= high;
}

int Serve(int id, const std::vector<std::string>& options) {
    linesim::Daemon::Limits limits;
    for (std::size_t i = 0; i < options.size(); i += 2) {
        long value = 0;
        if (i + 1 >= options.size())
            return Usage();
        if (options[i] == "--max-connections" && ParseNumber(options[i + 1], 1, 100000, &value))
            limits.maxConnections = static_cast<std::size_t>(value);
        else if (options[i] == "--idle-timeout" &&
                 ParseNumber(options[i + 1], 10, 86400000, &value))
            limits.idleTimeout = std::chrono::milliseconds(value);
        else
            return Usage();
    }
    // The stop signals are never delivered as signals: blocked in every
    // thread (the workers inherit the mask) and read from a signalfd in the
    // daemon's loop, so no thread and no sanitizer runtime can swallow one.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    // An ignored signal is dropped even while blocked: a daemon started in
    // the background of a shell (SIGINT ignored) must still take it.
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    const int stopFd = ::signalfd(-1, &stopSignals, SFD_CLOEXEC | SFD_NONBLOCK);
    if (stopFd < 0) {
        std::fprintf(stderr, "linesim: signalfd: %s\n", std::strerror(errno));
        return 1;
    }
    linesim::Daemon daemon(id, limits);
    daemon.StopWhenReadable(stopFd);
    std::string error;
    if (!daemon.Start(&error)) {
        std::fprintf(stderr, "linesim: %s\n", error.c_str());
        return 1;
    }
    signal(SIGPIPE, SIG_IGN);
    std::fprintf(stderr, "linesim: serving simulated adapter %d\n", id);
    std::string reason;
    daemon.Run(&reason);
    ::close(stopFd);
    if (!reason.empty()) {
        std::fprintf(stderr, "linesim: ending: %s\n", reason.c_str());
        return 1;
    }
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
    if (!rest.empty() && (rest[0] == "--help" || rest[0] == "-h")) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (rest.empty())
        return Usage();
    if (rest[0] == "serve")
        return Serve(id, std::vector<std::string>(rest.begin() + 1, rest.end()));

    // The daemon runs elsewhere: file names are sent as absolute paths.
    const bool takesFile = rest[0] == "audio" || rest[0] == "mic" || rest[0] == "capture";
    if (takesFile && rest.size() == 2 && rest[1] != "off" && rest[1] != "tone")
        rest[1] = std::filesystem::absolute(rest[1]).lexically_normal().string();
    std::string line;
    for (const std::string& word : rest) {
        // A line break inside an argument would send a second command.
        if (linesim::ControlClient::HasControlCharacters(word)) {
            std::fprintf(stderr, "linesim: arguments must not contain control characters\n");
            return 64;
        }
        line += (line.empty() ? "" : " ") + word;
    }
    std::string folderError;
    if (vt::RuntimeFolder(&folderError).empty()) {
        std::fprintf(stderr, "linesim: %s\n", folderError.c_str());
        return 2;
    }
    using linesim::ControlClient;
    const ControlClient::Reply reply = ControlClient::Query(id, line);
    const std::optional<std::string>& answer = reply.answer;
    if (!answer) {
        const std::string hint =
            reply.failure == ControlClient::Failure::NotRunning
                ? " (start `linesim serve" + (id ? " --id " + std::to_string(id) : "") + "`)"
                : "";
        std::fprintf(stderr, "linesim: %s%s\n",
                     ControlClient::FailureText(id, reply.failure).c_str(), hint.c_str());
        return 2;
    }
    if (answer->rfind("OK", 0) == 0) {
        std::printf("%s\n", answer->c_str());
        return 0;
    }
    std::fprintf(stderr, "linesim: %s\n", answer->c_str());
    return 1;
}
