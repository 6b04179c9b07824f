#pragma once
// `tyctl monitor`: serves slot 0 and prints every message liblindev posts
// as "<ms since start> <MESSAGE_NAME> <wParam> <lParam>", one flushed line
// each, until asked to stop. Like the phone program, it closes the slot when
// the adapter is removed and opens it again when it comes back.

#include <atomic>
#include <ostream>

#include "platform/QueueMessageWindow.h"

namespace tyctl {

class LineMonitor {
public:
    LineMonitor(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    // Runs until `stop` becomes true; 0 when stopped in order.
    int Run(const std::atomic<bool>& stop);

    // How often a missing adapter is looked for again.
    static constexpr unsigned kRetryMs = 2000;

private:
    bool Start();
    void Stop();

    std::ostream& out_;
    std::ostream& err_;
    vt::QueueMessageWindow window_;
    bool serving_ = false;
};

}  // namespace tyctl
