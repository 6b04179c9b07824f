#pragma once
// The commands of `tyctl`: one function per command, looked up by name.
// Other folders' developers add rows (for example encode / decode).

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

namespace tyctl {

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;     // refused by the adapter or failed
inline constexpr int kExitUsage = 2;      // unknown command or bad arguments
inline constexpr int kExitNoAdapter = 3;  // no adapter present or it cannot be opened

struct CommandContext {
    std::vector<std::string> args;  // after the command name
    std::ostream& out;
    std::ostream& err;
    const std::atomic<bool>& stop;  // set by SIGINT / SIGTERM
};

using CommandFunction = int (*)(CommandContext&);

struct Command {
    const char* name;
    const char* usage;  // arguments, for the help text
    const char* help;
    CommandFunction run;
};

class CommandTable {
public:
    static const std::vector<Command>& Commands();
    static const Command* Find(const std::string& name);
    static void PrintUsage(std::ostream& out);
    // Runs argv[1] with the rest as its arguments; the exit code.
    static int Dispatch(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                        const std::atomic<bool>& stop);
};

}  // namespace tyctl
