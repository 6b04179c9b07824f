#include "tyctl/ProgressLine.h"

#include <unistd.h>

#include <iostream>

namespace tyctl {

ProgressLine::ProgressLine(std::ostream& out)
    : out_(out), terminal_(&out == &std::cout && ::isatty(STDOUT_FILENO) == 1) {}

void ProgressLine::Show(long value, const std::string& text) {
    if (value == last_) return;
    last_ = value;
    if (!terminal_) {
        out_ << "progress " << value << std::endl;
        return;
    }
    // Padded so a shorter text wipes out the end of a longer one.
    out_ << '\r' << text;
    if (text.size() < width_) out_ << std::string(width_ - text.size(), ' ');
    width_ = text.size();
    out_ << std::flush;
    shown_ = true;
}

void ProgressLine::End() {
    if (terminal_ && shown_) out_ << std::endl;
    shown_ = false;
}

}  // namespace tyctl
