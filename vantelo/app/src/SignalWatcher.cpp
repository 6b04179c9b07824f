#include "vantelo/app/SignalWatcher.h"

#include <signal.h>

#include <ctime>

namespace vantelo {

namespace {

constexpr long kPollMs = 200;

sigset_t EndSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

}  // namespace

void SignalWatcher::BlockSignals() {
    const sigset_t signals = EndSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
}

SignalWatcher::SignalWatcher(std::function<void()> onSignal) {
    thread_ = std::thread([this, onSignal = std::move(onSignal)] {
        const sigset_t signals = EndSignals();
        const timespec wait{0, kPollMs * 1000000L};
        while (!stop_) {
            if (::sigtimedwait(&signals, nullptr, &wait) > 0)
                onSignal();
        }
    });
}

SignalWatcher::~SignalWatcher() {
    stop_ = true;
    thread_.join();
}

}  // namespace vantelo
