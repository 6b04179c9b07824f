// Measures the recording engine:
//  - the ring drain's throughput: records drained per second, from a full
//    ring into a recording file, as a multiple of the adapter's real-time
//    record rate (mode 0: 8000 bytes/s in 60-byte records = 133.3 records/s);
//  - the CPU of a slot that records in real time from a simulated adapter
//    served by a separate `linesim serve` process (so the adapter's own work
//    is not counted), against the same slot served but idle.
// Usage: lindev_record_bench [SECONDS]   (default 10 per CPU window)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "RingDrain.h"
#include "lindev/lindev.h"
#include "linesim/ScopedDaemon.h"
#include "platform/QueueMessageWindow.h"
#include "testsupport/TestEnvironment.h"

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec +
           u.ru_stime.tv_usec / 1e6;
}

constexpr double kRealTimeRecords = 8000.0 / 60.0;

void DrainThroughput(const std::filesystem::path& folder) {
    std::vector<std::uint8_t> ring(lindev::RingDrain::kRingBytes, 0);
    for (std::uint32_t i = 0; i < lindev::RingDrain::kRecords; ++i) {
        ring[i * 64 + 1] = 60;
        ring[i * 64 + 2] = static_cast<std::uint8_t>((i + 1) & 0xFF);
        ring[i * 64 + 3] = static_cast<std::uint8_t>((i + 1) >> 8);
    }
    const auto path = folder / "drain.wav";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::setvbuf(file, nullptr, _IOFBF, 64 * 1024);
    lindev::RingDrain drain;
    // Passes of 400 records (what 30 ms hold at a hundred times real time),
    // numbers continuing so the lap check runs as in a recording.
    const std::uint32_t perPass = 400;
    std::uint64_t records = 0;
    std::uint16_t next = 1;
    std::uint32_t written = 0;  // the driver's position
    const auto start = Clock::now();
    while (Clock::now() - start < std::chrono::seconds(2)) {
        for (int k = 0; k < 100; ++k) {
            for (std::uint32_t i = 0; i < perPass; ++i) {
                std::uint8_t* r = &ring[written * 64];
                r[2] = static_cast<std::uint8_t>(next & 0xFF);
                r[3] = static_cast<std::uint8_t>(next >> 8);
                if (++next == 0) next = 1;
                written = (written + 1) % lindev::RingDrain::kRecords;
            }
            const auto pass = drain.Drain(ring.data(), written,
                                          [&](const std::uint8_t* p, std::size_t n) {
                                              std::fwrite(p, 1, n, file);
                                          });
            if (pass.lapped) std::fprintf(stderr, "lapped?\n");
            records += pass.records;
        }
        // Keep the file small: the cost measured is the drain and the write.
        std::fflush(file);
        std::rewind(file);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::fclose(file);
    const double rate = records / seconds;
    std::printf("ring drain into a file: %.0f records/s = %.0fx the adapter's real-time rate "
                "(%.1f records/s)\n",
                rate, rate / kRealTimeRecords, kRealTimeRecords);
}

double CpuWindow(int seconds) {
    const double cpu0 = CpuSeconds();
    const auto wall0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double cpu = CpuSeconds() - cpu0;
    const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
    return 100.0 * cpu / wall;
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    vt::test::TestEnvironment env;
    DrainThroughput(env.Root());

    linesim::test::ScopedDaemon daemon(0);
    vt::QueueMessageWindow window;
    if (TY_InitializeAllDevice() < 1 || TY_OpenDeviceByIndex(0, 0) != 1 ||
        TY_StartService(&window, 0) != 0 || TY_HookOff(0) != 1) {
        std::fprintf(stderr, "cannot open the simulated adapter\n");
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double idle = CpuWindow(seconds);
    const auto path = env.Root() / "call.wav";
    if (TY_StartRecord(path.c_str(), 1, 0, 0) != 1) {
        std::fprintf(stderr, "the recording did not start\n");
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double recording = CpuWindow(seconds);
    TY_StopRecord(0);
    std::printf("served slot, line held: %.3f%% of one core idle, %.3f%% while recording mode 0 "
                "in real time (recording alone: %.3f%%)\n",
                idle, recording, recording - idle);
    std::printf("recorded %ju bytes\n", static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
    TY_HookOn(0);
    TY_StopService(0);
    TY_CloseDeviceByIndex(0);
    return 0;
}
