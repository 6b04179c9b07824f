#pragma once
// The control language of the simulated line (docs/linesim-protocol.md):
// one command per line, answered "OK ..." or "ERR <reason>". The daemon's
// control socket and InProcessAdapter::Command both answer through it.

#include <functional>
#include <string>
#include <vector>

#include "linesim/Model.h"
#include "platform/Clock.h"

namespace linesim {

class CommandInterpreter {
public:
    // Makes the adapter disappear (false) or come back (true): the host
    // removes or recreates the device and fails the open handles. Returns
    // an error text, empty when done.
    using PlugHandler = std::function<std::string(bool plugged)>;

    // `clock` dates caller-ID messages sent without a date.
    CommandInterpreter(Model& model, PlugHandler plug,
                       const vt::Clock& clock = vt::SystemClock::Instance());

    // One command line (without its line end). The answer has no trailing
    // line end; a "log" answer is "OK <n> lines" followed by n lines.
    std::string Execute(const std::string& line);

    // Every command form, one per entry ("ring stop", "log clear", ...), in
    // the order the command-line client's help lists them.
    static std::vector<std::string> Forms();

private:
    Model& model_;
    PlugHandler plug_;
    const vt::Clock& clock_;
};

}  // namespace linesim
