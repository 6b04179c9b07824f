// The in-process adapter behind usbline's CTyCtiInstance: enumeration,
// requests, the blocking starts and their stops, unplugging.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "linesim/InProcessAdapter.h"
#include "linesim/ManualTimeSource.h"
#include "platform/DeviceEnumeration.h"
#include "testsupport/TestEnvironment.h"
#include "usbline/AdapterProtocol.h"
#include "usbline/CTyCtiInstance.h"
#include "usbline/ControlCodes.h"
#include "usbline/DriverRegistry.h"

namespace linesim {
namespace {

namespace status = usbline::protocol::status;

class InProcessAdapterTest : public ::testing::Test {
protected:
    vt::test::TestEnvironment env_;
    InProcessAdapter adapter_{3};
    CTyCtiInstance device_;

    void SetUp() override {
        device_.SetDeviceName(adapter_.DevicePath().c_str());
        ASSERT_EQ(device_.Device_Open(), 1);
    }
    void TearDown() override { device_.Device_Close(); }
};

bool Listed(const std::string& path) {
    const std::vector<std::string> all = vt::EnumerateDeviceInterfaces();
    return std::find(all.begin(), all.end(), path) != all.end();
}

TEST_F(InProcessAdapterTest, IsEnumeratedWhileAlive) {
    EXPECT_EQ(adapter_.DevicePath(), "inproc:sim3");
    EXPECT_TRUE(Listed("inproc:sim3"));
    {
        InProcessAdapter other(4);
        EXPECT_TRUE(Listed("inproc:sim4"));
    }
    EXPECT_FALSE(Listed("inproc:sim4"));
}

TEST_F(InProcessAdapterTest, VendorRequestsAndStatusReachTheModel) {
    std::uint8_t versions[2] = {};
    ASSERT_EQ(device_.Vendor_Read(0x7E, 0, 0, 2, versions), 1);
    EXPECT_EQ(versions[0], 5);
    EXPECT_EQ(versions[1], 3);
    EXPECT_EQ(device_.Interrupt_Read(), 0u);
    ASSERT_EQ(device_.Vendor_Read(0x60, 0, 0, 0, nullptr), 1);
    EXPECT_EQ(device_.Interrupt_Read() & status::kOffHook, status::kOffHook);
    EXPECT_NE(adapter_.Command("status").find("hook=off"), std::string::npos);
    std::uint8_t digits[2] = {1, 2};
    ASSERT_EQ(device_.Vendor_Write(0x62, 100, 0, 2, digits), 1);
    EXPECT_EQ(adapter_.GetModel().GetState().sentDigits, "12");
}

TEST_F(InProcessAdapterTest, AStalledRequestClosesTheTransport) {
    std::uint8_t b = 0;
    EXPECT_EQ(device_.Vendor_Read(0x42, 0, 0, 1, &b), 0);
    EXPECT_FALSE(device_.IsOpen());
    EXPECT_EQ(device_.Interrupt_Read(), 0xFFFFFFFFu);
}

TEST_F(InProcessAdapterTest, InterruptStartBlocksUntilItsStop) {
    std::atomic<bool> returned{false};
    std::uint32_t result = 0;
    std::thread listener([&] {
        result = device_.Interrupt_Start();
        returned = true;
    });
    EXPECT_FALSE(returned.load());
    EXPECT_EQ(device_.Interrupt_Stop(), 1u);
    listener.join();
    EXPECT_EQ(result, 2u);
    EXPECT_TRUE(device_.IsOpen());
}

TEST_F(InProcessAdapterTest, AStopBeforeItsStartDoesNotLeaveTheStartBlocked) {
    EXPECT_EQ(device_.Interrupt_Stop(), 1u);
    EXPECT_EQ(device_.Interrupt_Start(), 2u);
}

TEST_F(InProcessAdapterTest, AnotherOpenDoesNotStopThisOpensStart) {
    CTyCtiInstance other;
    other.SetDeviceName(adapter_.DevicePath().c_str());
    ASSERT_EQ(other.Device_Open(), 1);
    std::atomic<bool> returned{false};
    std::thread listener([&] {
        device_.Interrupt_Start();
        returned = true;
    });
    // Let the start settle; the other open's stop must not end it.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    other.Interrupt_Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned.load());
    device_.Interrupt_Stop();
    listener.join();
    other.Device_Close();
}

TEST_F(InProcessAdapterTest, CloseWakesABlockedStart) {
    std::thread listener([&] { EXPECT_EQ(device_.Interrupt_Start(), 0u); });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    device_.Device_Close();
    listener.join();
}

TEST_F(InProcessAdapterTest, RecordingFillsTheCallersRing) {
    ASSERT_EQ(device_.Vendor_Read(0x56, 1, 0, 0, nullptr), 1);
    std::vector<std::uint8_t> ring(256000, 0xAA);
    std::uint32_t bytes = 0;
    std::thread data([&] { bytes = device_.IntRecord_Start(ring.data(), ring.size()); });
    std::uint32_t position = 0;
    while ((position = device_.IntRecord_Read()) < 3) std::this_thread::yield();
    EXPECT_EQ(ring[1], 60);    // payload length of record 0
    EXPECT_EQ(ring[4], 0xFF);  // mu-law silence
    EXPECT_EQ(device_.IntRecord_Stop(), 1);
    data.join();
    EXPECT_GE(bytes, 3u * 64u);
    ASSERT_EQ(device_.Vendor_Read(0x57, 0, 0, 0, nullptr), 1);
    EXPECT_EQ(adapter_.GetModel().GetState().recording, false);
}

TEST_F(InProcessAdapterTest, UnplugFailsOpenHandlesAndHidesTheAdapter) {
    std::thread listener([&] { EXPECT_EQ(device_.Interrupt_Start(), 0u); });
    EXPECT_EQ(adapter_.Command("unplug"), "OK");
    listener.join();
    EXPECT_FALSE(Listed(adapter_.DevicePath()));
    EXPECT_EQ(device_.Interrupt_Read(), 0xFFFFFFFFu);
    EXPECT_FALSE(device_.IsOpen());
    EXPECT_EQ(device_.Device_Open(), 0);
    EXPECT_EQ(adapter_.Command("unplug"), "ERR already unplugged");
    EXPECT_EQ(adapter_.Command("plug"), "OK");
    EXPECT_TRUE(Listed(adapter_.DevicePath()));
    EXPECT_EQ(device_.Device_Open(), 1);
    EXPECT_EQ(device_.Interrupt_Read(), 0u);
}

TEST(InProcessAdapterManualTime, StatusFollowsTheInjectedClock) {
    auto time = std::make_shared<ManualTimeSource>();
    InProcessAdapter adapter(5, time);
    CTyCtiInstance device;
    device.SetDeviceName(adapter.DevicePath().c_str());
    ASSERT_EQ(device.Device_Open(), 1);
    EXPECT_EQ(adapter.Command("ring 1000 1000 1"), "OK");
    EXPECT_EQ(device.Interrupt_Read() & status::kRing, status::kRing);
    time->Advance(1000);
    EXPECT_EQ(device.Interrupt_Read() & status::kRing, 0u);
    device.Device_Close();
}

TEST(InProcessAdapterPaths, PipeOfAnUnknownNameDoesNotOpen) {
    InProcessAdapter adapter(6);
    auto driver = usbline::DriverForPath(adapter.DevicePath());
    const usbline::DriverHandle control = driver->Open(adapter.DevicePath().c_str());
    ASSERT_NE(control, usbline::kInvalidHandle);
    EXPECT_EQ(driver->Open((adapter.DevicePath() + "/PIPE99").c_str()), usbline::kInvalidHandle);
    EXPECT_EQ(driver->Open((adapter.DevicePath() + "0").c_str()), usbline::kInvalidHandle);
    EXPECT_TRUE(driver->Close(control));
    EXPECT_FALSE(driver->Close(control));
    std::uint32_t n = 0;
    EXPECT_FALSE(driver->DeviceIoControl(control, usbline::IOCTL_INTERRUPT_READ, nullptr, 0,
                                         nullptr, 0, &n));
}

}  // namespace
}  // namespace linesim
