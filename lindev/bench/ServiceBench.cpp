// Measures one serviced slot on an in-process simulated adapter:
//  - CPU use of the process while the line is idle (getrusage over a window);
//  - delay from a status change in the simulator to the posted message.
// Usage: lindev_service_bench [IDLE_SECONDS [CHANGES]]   (defaults 10, 60)
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "lindev/lindev.h"
#include "linesim/InProcessAdapter.h"
#include "platform/QueueMessageWindow.h"
#include "testsupport/TestEnvironment.h"

namespace {

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec +
           u.ru_stime.tv_usec / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    const int idleSeconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int changes = argc > 2 ? std::max(2, std::atoi(argv[2])) : 60;
    using Clock = std::chrono::steady_clock;

    vt::test::TestEnvironment env;  // keeps the run away from the user's files
    linesim::InProcessAdapter adapter(0);
    vt::QueueMessageWindow window;
    if (TY_InitializeAllDevice() != 1 || TY_OpenDeviceByIndex(0, 0) != 1 ||
        TY_StartService(&window, 0) != 0) {
        std::fprintf(stderr, "cannot open the simulated adapter\n");
        return 1;
    }

    // Idle CPU: nothing changes on the line; the service polls every 30 ms.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    window.Drain();
    const double cpu0 = CpuSeconds();
    const auto wall0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double cpu = CpuSeconds() - cpu0;
    const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
    std::printf("idle serviced slot: %.3f s CPU in %.1f s = %.3f%% of one core\n", cpu, wall,
                100.0 * cpu / wall);

    // Latency: flip the polarity bit at a random phase of the poll period.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> phase(0, 29);
    std::vector<double> delays;
    for (int i = 0; i < changes; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(40 + phase(random)));
        window.Drain();
        const auto t0 = Clock::now();
        adapter.Command(i % 2 == 0 ? "reverse on" : "reverse off");
        if (!window.WaitFor(WM_TY_REVERSETONE, std::chrono::seconds(1))) {
            std::fprintf(stderr, "change %d was not posted\n", i);
            return 1;
        }
        delays.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(delays.begin(), delays.end());
    double sum = 0;
    for (double d : delays) sum += d;
    std::printf("status change to posted message over %d changes: min %.1f ms, median %.1f ms, "
                "mean %.1f ms, p95 %.1f ms, max %.1f ms (poll period 30 ms)\n",
                changes, delays.front(), delays[delays.size() / 2], sum / delays.size(),
                delays[delays.size() * 95 / 100], delays.back());

    TY_StopService(0);
    TY_CloseDeviceByIndex(0);
    return 0;
}
