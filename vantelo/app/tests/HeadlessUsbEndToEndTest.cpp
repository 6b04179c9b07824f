// `vantelo --headless` end to end on the real adapter's driver: the program
// finds the simulated adapter on an emulated USB bus (run under
// umockdev-wrapper) and takes one call through libusb.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "HeadlessProcess.h"
#include "linesim/Model.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/UsbAdapterBridge.h"
#include "vantelo/core/PhoneSettings.h"

namespace vantelo {
namespace {

using namespace std::chrono_literals;

TEST(HeadlessUsbEndToEnd, ACallOverTheUsbAdapter) {
    if (!vt::test::UsbAdapterBridge::Available())
        GTEST_SKIP() << vt::test::UsbAdapterBridge::SkipReason();
    vt::test::TestEnvironment env;
    std::filesystem::create_directories(env.ConfigHome() / "Korvane");
    std::ofstream(env.ConfigHome() / "Korvane" / "adapters.conf") << "1234:5678\n";
    ::chmod((env.ConfigHome() / "Korvane" / "adapters.conf").c_str(), 0600);
    PhoneSettings s;
    s.ModeRecAuto = 0;
    ASSERT_TRUE(SaveSettings(s));
    vt::test::UsbAdapterBridge bridge;
    linesim::Model model;
    bridge.Plug(model, 4);
    {
        HeadlessProcess phone;
        ASSERT_TRUE(phone.WaitUntilServing());
        ASSERT_EQ(model.SetCallerId("0212345678", ""), "");
        ASSERT_EQ(model.Ring(linesim::kDefaultRing), "");
        ASSERT_TRUE(phone.WaitFor("status: 전화가 왔습니다.")) << phone.Transcript();
        phone.Send("hook");
        ASSERT_TRUE(phone.WaitFor("status: 통화 상태입니다.")) << phone.Transcript();
        EXPECT_TRUE(model.GetState().adapterOffHook);
        phone.Send("hook");
        ASSERT_TRUE(phone.WaitFor("button 1058: HookOn")) << phone.Transcript();
        EXPECT_FALSE(model.GetState().adapterOffHook);
        EXPECT_EQ(phone.Terminate(), 0) << phone.Transcript();
    }
    EXPECT_GE(bridge.CountersOf().claims, 1);
    EXPECT_EQ(bridge.CountersOf().claims, bridge.CountersOf().releases) << "released at exit";
    bridge.Unplug(4);
}

}  // namespace
}  // namespace vantelo
