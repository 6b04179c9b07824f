#pragma once
// Progress of a long command. On a terminal it is one line rewritten in
// place and ended when the work ends; elsewhere (a pipe, a log) each new
// value is its own line, "progress <value>", so scripts can follow it.

#include <ostream>
#include <string>

namespace tyctl {

class ProgressLine {
public:
    // Terminal output when `out` is the standard output and that is a terminal.
    explicit ProgressLine(std::ostream& out);
    ~ProgressLine() { End(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Shows `text` (terminal) or "progress <value>" (elsewhere) when it changed.
    void Show(long value, const std::string& text);
    // Ends the updating line (terminal only).
    void End();

private:
    std::ostream& out_;
    bool terminal_;
    bool shown_ = false;
    long last_ = -1;
    std::size_t width_ = 0;
};

}  // namespace tyctl
