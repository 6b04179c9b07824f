// The real adapter's driver (libusb) through the transport, against the
// simulated adapter on an emulated USB bus.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "UsbFixture.h"
#include "testsupport/Eventually.h"
#include "usbline/CTyCtiInstance.h"
#include "usbline/UsbAdapters.h"
#include "platform/DeviceEnumeration.h"

using namespace std::chrono_literals;
using usbline::test::UsbFixture;
namespace status = usbline::protocol::status;

namespace {

class UsbDriverTest : public UsbFixture {
protected:
    void TearDown() override {
        cti_.Device_Close();
        UsbFixture::TearDown();
    }
    CTyCtiInstance cti_;
};

TEST_F(UsbDriverTest, OpensTheListedAdapterAndReadsItsVersions) {
    const std::string path = Plug();
    EXPECT_EQ(path, "usb:1-4");
    EXPECT_EQ(vt::EnumerateDeviceInterfaces().front(), path);
    model_->SetVersions(7, 9);
    cti_.SetDeviceName(path.c_str());
    ASSERT_EQ(cti_.Device_Open(), 1);
    std::uint8_t versions[2] = {};
    ASSERT_EQ(cti_.Vendor_Read(0x7E, 0, 0, 2, versions), 1);
    EXPECT_EQ(versions[0], 7);
    EXPECT_EQ(versions[1], 9);
    EXPECT_EQ(bridge_->CountersOf().claims, 1);
    ASSERT_EQ(cti_.Vendor_Read(0x60, 0, 0, 0, nullptr), 1);
    EXPECT_TRUE(vt::test::Eventually([&] { return (cti_.Interrupt_Read() & status::kOffHook) != 0; }));
    cti_.Device_Close();
    EXPECT_EQ(bridge_->CountersOf().releases, 1);
}

}  // namespace
