#pragma once
// Client of a daemon's control socket (vt::ControlSocketPath(id)): sends one
// command line and returns the answer as the daemon gave it ("OK ..." or
// "ERR <reason>"; a "log" answer with its lines, joined by "\n").

#include <optional>
#include <string>

namespace linesim {

class ControlClient {
public:
    // nullopt when no daemon answers for adapter `id` (none running, or it
    // went away before answering).
    static std::optional<std::string> TrySend(int id, const std::string& line);
    // As TrySend, with "ERR no simulated adapter <id> is running" when none
    // answers.
    std::string Send(int id, const std::string& line) const;
};

}  // namespace linesim
