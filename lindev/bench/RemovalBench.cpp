// Measures how long a wedged adapter takes to be reported: slot 0 is served
// on a real `linesim serve` daemon (socket back end); the daemon is stopped
// with SIGSTOP and the time to the posted WM_TY_DEVICEREMOVED is taken.
// Repeated ROUNDS times (the daemon is continued and the slot re-opened
// between rounds), at random phases of the 30 ms poll.
// Usage: lindev_removal_bench [ROUNDS]   (default 20)
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "lindev/lindev.h"
#include "linesim/ScopedDaemon.h"
#include "platform/QueueMessageWindow.h"
#include "testsupport/TestEnvironment.h"

int main(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;
    using namespace std::chrono_literals;
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    vt::test::TestEnvironment env;  // private sockets and files
    linesim::test::ScopedDaemon daemon(0);
    std::mt19937 random(7);
    std::vector<double> delays;
    int missed = 0;
    for (int i = 0; i < rounds; ++i) {
        vt::QueueMessageWindow window;
        if (TY_InitializeAllDevice() != 1 || TY_OpenDeviceByIndex(0, 0) != 1 ||
            TY_StartService(&window, 0) != 0) {
            std::fprintf(stderr, "cannot serve the simulated adapter\n");
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200 + random() % 30));
        window.Drain();
        const Clock::time_point stopped = Clock::now();
        ::kill(daemon.Pid(), SIGSTOP);
        const auto removed = window.WaitFor(WM_TY_DEVICEREMOVED, 10s);
        const Clock::time_point seen = Clock::now();
        ::kill(daemon.Pid(), SIGCONT);
        if (removed)
            delays.push_back(std::chrono::duration<double, std::milli>(seen - stopped).count());
        else
            ++missed;
        TY_StopService(0);
        TY_CloseDeviceByIndex(0);
    }
    std::sort(delays.begin(), delays.end());
    if (delays.empty()) {
        std::printf("no removal was posted in %d rounds\n", rounds);
        return 1;
    }
    double sum = 0;
    for (double d : delays) sum += d;
    std::printf(
        "SIGSTOP to WM_TY_DEVICEREMOVED over %zu rounds (%d missed): min %.1f ms, "
        "median %.1f ms, mean %.1f ms, max %.1f ms\n",
        delays.size(), missed, delays.front(), delays[delays.size() / 2],
        sum / static_cast<double>(delays.size()), delays.back());
    return missed == 0 ? 0 : 1;
}
