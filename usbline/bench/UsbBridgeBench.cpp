// The real adapter's driver over the emulated USB bus (run under
// umockdev-wrapper): how long a status change takes to become a posted
// message, what an idle open adapter costs, and whether a long recording
// at a raised speed loses a record.
// Usage: usbline_usb_bench [CHANGES [IDLE_S [RECORD_S [SPEED]]]]   (default 40 10 600 20)
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "lindev/lindev.h"
#include "linesim/Model.h"
#include "platform/QueueMessageWindow.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/UsbAdapterBridge.h"
#include "testsupport/WavFixture.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// CPU seconds of the threads whose name starts with `prefix` ("" = all).
double ThreadCpuSeconds(const std::string& prefix) {
    const long ticks = ::sysconf(_SC_CLK_TCK);
    double total = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(entry.path() / "comm");
        std::string name;
        std::getline(comm, name);
        if (name.rfind(prefix, 0) != 0)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string text((std::istreambuf_iterator<char>(stat)), {});
        const auto close = text.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream rest(text.substr(close + 2));
        std::string field;
        unsigned long utime = 0, stime = 0;
        for (int i = 3; i <= 15 && rest >> field; ++i) {
            if (i == 14)
                utime = std::stoul(field);
            if (i == 15)
                stime = std::stoul(field);
        }
        total += static_cast<double>(utime + stime) / static_cast<double>(ticks);
    }
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    const int changes = argc > 1 ? std::atoi(argv[1]) : 40;
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 10;
    const int recordSeconds = argc > 3 ? std::atoi(argv[3]) : 600;
    const int speed = argc > 4 ? std::atoi(argv[4]) : 20;
    if (!vt::test::UsbAdapterBridge::Available()) {
        std::fprintf(stderr, "run under umockdev-wrapper\n");
        return 2;
    }
    vt::test::TestEnvironment env;
    std::filesystem::create_directories(env.ConfigHome() / "Korvane");
    std::ofstream(env.ConfigHome() / "Korvane" / "adapters.conf") << "1234:5678\n";
    vt::test::UsbAdapterBridge bridge;
    linesim::Model model;
    bridge.Plug(model, 4);
    vt::QueueMessageWindow window;
    if (TY_InitializeAllDevice() != 1 || TY_OpenDeviceByIndex(0, 0) != 1 ||
        TY_StartService(&window, 0) != 0) {
        std::fprintf(stderr, "the adapter did not open\n");
        return 1;
    }

    // 1. Status change -> WM_TY_LINENOTIFY: the local handset goes up and down.
    std::vector<double> ms;
    for (int i = 0; i < changes; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50 + (i * 7) % 30));
        window.Drain();
        const auto start = Clock::now();
        model.SetHandset(i % 2 == 0);
        if (!window.WaitFor(WM_TY_LINENOTIFY, 5s)) {
            std::fprintf(stderr, "no message for change %d\n", i);
            return 1;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    model.SetHandset(false);
    std::sort(ms.begin(), ms.end());
    std::printf(
        "status change -> posted message: median %.1f ms, worst %.1f ms (%d changes; "
        "the line library polls every 30 ms)\n",
        ms[ms.size() / 2], ms.back(), changes);

    // 2. Idle: the open adapter with its service running, nothing happening.
    std::this_thread::sleep_for(500ms);
    const double driverBefore = ThreadCpuSeconds("usbline-usb");
    const double allBefore = ThreadCpuSeconds("");
    const auto idleStart = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double wall = std::chrono::duration<double>(Clock::now() - idleStart).count();
    std::printf(
        "idle open adapter: driver event thread %.2f%% of a core, whole process "
        "(driver, line library, bridge, emulation) %.2f%%\n",
        100 * (ThreadCpuSeconds("usbline-usb") - driverBefore) / wall,
        100 * (ThreadCpuSeconds("") - allBefore) / wall);

    // 3. A long recording, sped up: every record the adapter sent is in the file.
    const auto far = env.Root() / "far.wav";
    vt::test::WritePcmWav(far, vt::test::SpeechLikeSamples(30000));
    model.SetFarAudio(far.string());
    model.SetSpeed(static_cast<std::uint32_t>(speed));
    TY_HookOff(0);
    std::this_thread::sleep_for(200ms);
    const auto file = env.Root() / "long.wav";
    const std::uint64_t before = bridge.CountersOf().recordsSent;
    const auto recordStart = Clock::now();
    TY_StartRecord(file.c_str(), 1, 0, 0);
    const std::uint64_t due = static_cast<std::uint64_t>(recordSeconds) * 8000 / 60;
    while (bridge.CountersOf().recordsSent - before < due &&
           Clock::now() - recordStart < std::chrono::seconds(recordSeconds))
        std::this_thread::sleep_for(100ms);
    const std::uint64_t sentBeforeStop = bridge.CountersOf().recordsSent - before;
    TY_StopRecord(0);
    window.WaitFor(WM_TY_THREADNOTIFY, 10s);
    const double recordWall = std::chrono::duration<double>(Clock::now() - recordStart).count();
    const auto info = vt::test::ReadWavInfo(file);
    const std::uint64_t inFile = info && info->fileBytes == 44 + info->dataBytes
                                     ? info->dataBytes / 60
                                     : 0;
    const auto counters = bridge.CountersOf();
    std::printf(
        "recording: %llu records (%.0f s of line audio) in %.1f s at speed %d; %llu in the "
        "file, %llu sent before the stop, %llu sent in all, %llu dropped by the adapter "
        "for want of a pending transfer -> %s\n",
        static_cast<unsigned long long>(inFile), inFile * 60 / 8000.0, recordWall, speed,
        static_cast<unsigned long long>(inFile), static_cast<unsigned long long>(sentBeforeStop),
        static_cast<unsigned long long>(counters.recordsSent - before),
        static_cast<unsigned long long>(counters.recordsDropped),
        inFile >= sentBeforeStop && counters.recordsDropped == 0 ? "no record lost"
                                                                 : "RECORDS LOST");
    TY_HookOn(0);
    TY_StopService(0);
    TY_CloseDeviceByIndex(0);
    bridge.Unplug(4);
    return 0;
}
