// What a flood of idle connections costs `linesim serve`: CONNECTIONS
// connections (half to the control socket, half to the device socket) are
// attempted and held without a word for HOLD seconds, while the daemon's
// CPU time and open descriptors are sampled and a client asks for the
// status every second. The daemon runs with a descriptor limit of LIMIT
// (default 1024, a usual desktop's). Each connect waits up to WAIT_MS for room
// in the daemon's queue (0: a client that gives up at once).
// Usage: linesim_flood_bench [CONNECTIONS [HOLD [LIMIT [WAIT_MS]]]]   (default 2000 10 1024 200)
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "linesim/ControlClient.h"
#include "linesim/ScopedDaemon.h"
#include "platform/DeviceEnumeration.h"
#include "testsupport/TestEnvironment.h"

namespace {

using Clock = std::chrono::steady_clock;

// User + system CPU seconds of a process.
double CpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14)
            utime = std::stoull(field);
        if (i == 15) {
            stime = std::stoull(field);
            break;
        }
    }
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

std::size_t OpenDescriptors(pid_t pid) {
    std::error_code ec;
    std::size_t n = 0;
    for (auto it = std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        ++n;
    return n;
}

// A connect that waits up to `waitMs` for room in the daemon's queue: the
// descriptor, or -1 when the queue stayed full.
int Connect(const std::filesystem::path& path, int waitMs) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(waitMs);
    while (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        if (errno != EAGAIN || Clock::now() >= end) {
            ::close(fd);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return fd;
}

}  // namespace

int main(int argc, char** argv) {
    const int connections = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const int hold = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    const rlim_t limit = argc > 3 ? static_cast<rlim_t>(std::max(64, std::atoi(argv[3]))) : 1024;
    const int waitMs = argc > 4 ? std::max(0, std::atoi(argv[4])) : 200;

    vt::test::TestEnvironment env;
    rlimit own{};
    ::getrlimit(RLIMIT_NOFILE, &own);
    rlimit daemonLimit{std::min(limit, own.rlim_max), own.rlim_max};
    ::setrlimit(RLIMIT_NOFILE, &daemonLimit);  // inherited by the daemon
    linesim::test::ScopedDaemon daemon(0);
    rlimit mine{own.rlim_max, own.rlim_max};
    ::setrlimit(RLIMIT_NOFILE, &mine);  // room for our side of the flood

    const double cpuBefore = CpuSeconds(daemon.Pid());
    const Clock::time_point start = Clock::now();
    std::vector<int> fds;
    int refused = 0;
    for (int i = 0; i < connections; ++i) {
        const int fd =
            Connect(i % 2 ? vt::DeviceSocketPath(0) : vt::ControlSocketPath(0), waitMs);
        if (fd < 0)
            ++refused;
        else
            fds.push_back(fd);
    }
    const double connectSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::size_t maxFds = 0;
    int answered = 0, asked = 0;
    double worstAnswerMs = 0;
    for (int s = 0; s < hold; ++s) {
        const Clock::time_point ask = Clock::now();
        const auto reply = linesim::ControlClient::Query(0, "status");
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - ask).count();
        ++asked;
        if (reply.answer && reply.answer->rfind("OK", 0) == 0)
            ++answered;
        worstAnswerMs = std::max(worstAnswerMs, ms);
        maxFds = std::max(maxFds, OpenDescriptors(daemon.Pid()));
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::max<long>(0, 1000 - static_cast<long>(ms))));
        maxFds = std::max(maxFds, OpenDescriptors(daemon.Pid()));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = CpuSeconds(daemon.Pid()) - cpuBefore;
    int closedByDaemon = 0;
    for (int fd : fds) {
        char ch;
        if (::recv(fd, &ch, 1, MSG_DONTWAIT) == 0)
            ++closedByDaemon;
        ::close(fd);
    }
    std::printf(
        "daemon descriptor limit %llu; %d connections attempted in %.2f s: %zu connected, "
        "%d refused (queue full for %d ms), %d of them closed by the daemon by the end\n",
        static_cast<unsigned long long>(daemonLimit.rlim_cur), connections, connectSeconds,
        fds.size(), refused, waitMs, closedByDaemon);
    std::printf(
        "over %.1f s: daemon CPU %.2f s (%.1f %% of one core), at most %zu open "
        "descriptors; status answered %d of %d times, slowest %.1f ms\n",
        seconds, cpu, 100.0 * cpu / seconds, maxFds, answered, asked, worstAnswerMs);
    return answered == asked ? 0 : 1;
}
