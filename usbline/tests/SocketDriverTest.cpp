// The socket back end against a real `linesim serve` daemon.
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "linesim/ScopedDaemon.h"
#include "platform/DeviceEnumeration.h"
#include "testsupport/ChildProcess.h"
#include "testsupport/TestEnvironment.h"
#include "usbline/CTyCtiInstance.h"
#include "usbline/ControlCodes.h"
#include "usbline/DriverRegistry.h"

namespace {

using namespace std::chrono_literals;

class SocketDriverTest : public ::testing::Test {
protected:
    vt::test::TestEnvironment env_;
    linesim::test::ScopedDaemon daemon_{0};
    const std::string path_ = vt::DeviceSocketPath(0).string();

    void Open(CTyCtiInstance& device) {
        device.SetDeviceName(path_.c_str());
        ASSERT_EQ(device.Device_Open(), 1);
    }
};

TEST_F(SocketDriverTest, EnumerationListsTheDaemonsDevice) {
    const std::vector<std::string> devices = vt::EnumerateDeviceInterfaces();
    EXPECT_NE(std::find(devices.begin(), devices.end(), path_), devices.end());
}

TEST_F(SocketDriverTest, RequestsAndStatusGoThroughTheDaemon) {
    CTyCtiInstance device;
    Open(device);
    std::uint8_t versions[2] = {};
    ASSERT_EQ(device.Vendor_Read(0x7E, 0, 0, 2, versions), 1);
    EXPECT_EQ(versions[0], 5);
    EXPECT_EQ(versions[1], 3);
    EXPECT_EQ(device.Interrupt_Read(), 0u);
    ASSERT_EQ(device.Vendor_Read(0x60, 0, 0, 0, nullptr), 1);
    EXPECT_EQ(device.Interrupt_Read() & 0x0010u, 0x0010u);
    std::uint8_t serial[4] = {1, 2, 3, 4};
    ASSERT_EQ(device.Vendor_Write(0x84, 1, 0, 4, serial), 1);
    std::uint8_t back[4] = {};
    ASSERT_EQ(device.Vendor_Read(0x84, 0, 0, 4, back), 1);
    EXPECT_EQ(std::vector<std::uint8_t>(back, back + 4), std::vector<std::uint8_t>({1, 2, 3, 4}));
    const std::string log = daemon_.Command("log");
    EXPECT_NE(log.find("VENDOR_WRITE 0x84 value=0x0001 index=0x0000 length=4 data=01020304"),
              std::string::npos);
    EXPECT_NE(daemon_.Command("status").find("hook=off"), std::string::npos);
    device.Device_Close();
}

TEST_F(SocketDriverTest, SeveralClientsShareTheAdapter) {
    CTyCtiInstance a, b;
    Open(a);
    Open(b);
    ASSERT_EQ(a.Vendor_Read(0x60, 0, 0, 0, nullptr), 1);
    EXPECT_EQ(b.Interrupt_Read() & 0x0010u, 0x0010u);
    std::vector<std::thread> pollers;
    std::atomic<int> failures{0};
    for (CTyCtiInstance* d : {&a, &b, &a})
        pollers.emplace_back([d, &failures] {
            for (int i = 0; i < 50; ++i)
                if (d->Interrupt_Read() == 0xFFFFFFFFu)
                    ++failures;
        });
    for (auto& t : pollers) t.join();
    EXPECT_EQ(failures.load(), 0);
    a.Device_Close();
    EXPECT_EQ(b.Interrupt_Read() & 0x0010u, 0x0010u);
    b.Device_Close();
}

TEST_F(SocketDriverTest, InterruptStartBlocksUntilTheStopOfItsOwnOpen) {
    CTyCtiInstance device, other;
    Open(device);
    Open(other);
    std::atomic<bool> returned{false};
    std::uint32_t result = 0;
    std::thread listener([&] {
        result = device.Interrupt_Start();
        returned = true;
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(other.Interrupt_Stop(), 1u);
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(returned.load());
    EXPECT_EQ(device.Interrupt_Stop(), 1u);
    listener.join();
    EXPECT_EQ(result, 2u);
    EXPECT_TRUE(device.IsOpen());
    device.Device_Close();
    other.Device_Close();
}

TEST_F(SocketDriverTest, CloseWakesABlockedStart) {
    CTyCtiInstance device;
    Open(device);
    std::thread listener([&] { EXPECT_EQ(device.Interrupt_Start(), 0u); });
    std::this_thread::sleep_for(50ms);
    device.Device_Close();
    listener.join();
}

TEST_F(SocketDriverTest, ClosedHandlesStayDead) {
    auto driver = usbline::SocketDriverInstance();
    const usbline::DriverHandle h = driver->Open(path_.c_str());
    ASSERT_NE(h, usbline::kInvalidHandle);
    std::uint32_t n = 0;
    EXPECT_TRUE(
        driver->DeviceIoControl(h, usbline::IOCTL_INTERRUPT_READ, nullptr, 0, nullptr, 0, &n));
    EXPECT_TRUE(driver->Close(h));
    EXPECT_FALSE(driver->Close(h));
    EXPECT_FALSE(
        driver->DeviceIoControl(h, usbline::IOCTL_INTERRUPT_READ, nullptr, 0, nullptr, 0, &n));
    const usbline::DriverHandle again = driver->Open(path_.c_str());
    EXPECT_NE(again, h);
    driver->Close(again);
}

TEST_F(SocketDriverTest, RecordStartFillsTheRingUntilItsStop) {
    CTyCtiInstance device;
    Open(device);
    ASSERT_EQ(device.Vendor_Read(0x56, 1, 0, 0, nullptr), 1);
    std::vector<std::uint8_t> ring(256000, 0xAA);
    std::atomic<bool> returned{false};
    std::thread data([&] {
        device.IntRecord_Start(ring.data(), static_cast<std::uint32_t>(ring.size()));
        returned = true;
    });
    std::uint32_t position = 0;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while ((position = device.IntRecord_Read()) < 4 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    ASSERT_GE(position, 4u);
    EXPECT_EQ(ring[64 + 1], 60);           // payload length of record 1
    EXPECT_EQ(ring[64 + 4], 0xFF);         // mu-law silence
    EXPECT_EQ(ring[64 * 4000 - 1], 0xAA);  // not reached yet
    EXPECT_FALSE(returned.load());
    EXPECT_EQ(device.IntRecord_Stop(), 1);
    data.join();
    ASSERT_EQ(device.Vendor_Read(0x57, 0, 0, 0, nullptr), 1);
    device.Device_Close();
}

TEST_F(SocketDriverTest, UnplugFailsOpenHandlesAndPlugBringsTheDeviceBack) {
    CTyCtiInstance device;
    Open(device);
    std::thread listener([&] { EXPECT_EQ(device.Interrupt_Start(), 0u); });
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(daemon_.Command("unplug"), "OK");
    listener.join();
    EXPECT_EQ(device.Interrupt_Read(), 0xFFFFFFFFu);
    EXPECT_FALSE(device.IsOpen());
    const std::vector<std::string> devices = vt::EnumerateDeviceInterfaces();
    EXPECT_EQ(std::find(devices.begin(), devices.end(), path_), devices.end());
    EXPECT_EQ(device.Device_Open(), 0);
    EXPECT_EQ(daemon_.Command("plug"), "OK");
    EXPECT_EQ(device.Device_Open(), 1);
    EXPECT_EQ(device.Interrupt_Read(), 0u);
    device.Device_Close();
}

TEST_F(SocketDriverTest, DaemonExitFailsEveryCall) {
    CTyCtiInstance device;
    Open(device);
    std::thread listener([&] { EXPECT_EQ(device.Interrupt_Start(), 0u); });
    std::this_thread::sleep_for(50ms);
    const int status = daemon_.Stop();
    listener.join();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(device.Interrupt_Read(), 0xFFFFFFFFu);
    EXPECT_FALSE(device.IsOpen());
    EXPECT_FALSE(std::filesystem::exists(path_));
    EXPECT_FALSE(std::filesystem::exists(vt::ControlSocketPath(0)));
    EXPECT_EQ(device.Device_Open(), 0);
}

TEST_F(SocketDriverTest, BulkOutIsPacedByThePlayback) {
    CTyCtiInstance device;
    Open(device);
    ASSERT_EQ(daemon_.Command("speed 100"), "OK");
    std::uint8_t format = 1;
    ASSERT_EQ(device.Vendor_Write(0x58, 6400, 0, 1, &format), 1);
    std::vector<std::uint8_t> block(64, 0x11);
    std::uint32_t sent = 0;
    for (int i = 0; i < 100; ++i) sent += device.Bulk_OUT(block.data(), 64);
    EXPECT_EQ(sent, 6400u);
    EXPECT_NE(daemon_.Command("log").find("BULK_OUT length=64 data=1111"), std::string::npos);
    device.Device_Close();
}

TEST_F(SocketDriverTest, AStoppedDaemonFailsTheCallAndTheTransportClosesItself) {
    CTyCtiInstance device;
    Open(device);
    ASSERT_TRUE(vt::test::StopProcess(daemon_.Pid()));
    const std::uint32_t word = device.Interrupt_Read();  // times out
    std::uint8_t versions[2] = {};
    const int read = device.Vendor_Read(0x7E, 0, 0, 2, versions);  // closed: fails at once
    CTyCtiInstance other;
    other.SetDeviceName(path_.c_str());
    const int opened = other.Device_Open();  // the open times out too
    ::kill(daemon_.Pid(), SIGCONT);
    EXPECT_EQ(word, 0xFFFFFFFFu);
    EXPECT_EQ(read, 0);
    EXPECT_EQ(opened, 0);
    ASSERT_EQ(device.Device_Open(), 1) << "a fresh open works once the daemon runs again";
    EXPECT_EQ(device.Interrupt_Read(), 0u);
    device.Device_Close();
}

}  // namespace
