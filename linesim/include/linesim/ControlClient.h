#pragma once
// Client of a daemon's control socket (vt::ControlSocketPath(id)): sends one
// command line and returns the answer as the daemon gave it ("OK ..." or
// "ERR <reason>"; a "log" answer with its lines, joined by "\n").

#include <optional>
#include <string>

namespace linesim {

class ControlClient {
public:
    // Why no answer came.
    enum class Failure {
        None,
        NotRunning,    // no socket, or nothing listens on it
        NoPermission,  // the socket or its folder is not ours
        Flooded,       // the daemon's connection queue stayed full
        Frozen,        // connected, but no answer in time (stopped or wedged)
        Lost,          // the daemon closed the connection without an answer
        BadCommand,    // the line holds control characters; not sent
    };
    struct Reply {
        std::optional<std::string> answer;
        Failure failure = Failure::None;
    };

    // True when `text` holds a control character (a line break in it would
    // send a second command).
    static bool HasControlCharacters(const std::string& text);

    // Sends `line` (no control characters) and waits for the answer.
    static Reply Query(int id, const std::string& line);
    // One line saying why adapter `id` did not answer.
    static std::string FailureText(int id, Failure failure);

    // nullopt when no daemon answers for adapter `id`.
    static std::optional<std::string> TrySend(int id, const std::string& line);
    // As TrySend, with "ERR " and FailureText when none answers.
    std::string Send(int id, const std::string& line) const;
};

}  // namespace linesim
