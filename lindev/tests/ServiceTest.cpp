// The service thread end to end: the simulated line's changes arrive as
// posted messages.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "AdapterFixture.h"
#include "platform/QueueMessageWindow.h"

using lindev::test::AdapterFixture;
using namespace std::chrono_literals;

namespace {

class ServiceTest : public AdapterFixture {
protected:
    void SetUp() override {
        AdapterFixture::SetUp();
        ASSERT_EQ(TY_StartService(&window, 0), 0);
        // The first polls report the line against the slot's last word (from
        // an earlier test): let them pass.
        std::this_thread::sleep_for(100ms);
        window.Drain();
    }
    vt::QueueMessageWindow window;
};

}  // namespace

TEST_F(ServiceTest, HookOffPostsLineNotifyThenDialTone) {
    ASSERT_EQ(TY_HookOff(0), 1);
    auto hook = window.WaitFor(WM_TY_LINENOTIFY, 10s);
    ASSERT_TRUE(hook);
    EXPECT_EQ(hook->wParam, 0u);
    EXPECT_EQ(hook->lParam, 1);
    EXPECT_EQ(TY_GetToneState(0), 1);
    ASSERT_TRUE(window.WaitFor(WM_TY_DIALTONE, 10s));
    EXPECT_EQ(TY_GetToneState(0), 2);
    ASSERT_EQ(TY_HookOn(0), 1);
    hook = window.WaitFor(WM_TY_LINENOTIFY, 10s);
    ASSERT_TRUE(hook);
    EXPECT_EQ(hook->lParam, 0);
    EXPECT_EQ(TY_GetToneState(0), 0);
}

TEST_F(ServiceTest, RingIsDetectedAndEnds) {
    Sim("ring 500 0 1");
    ASSERT_TRUE(window.WaitFor(WM_TY_RINGDETECTED, 10s));
    auto end = window.WaitFor(WM_TY_RINGEND, 10s);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->lParam, 5700);
    EXPECT_TRUE(Logged("Message. WM_TY_RINGDETECTED Count=a"));
}

TEST_F(ServiceTest, CallerIdIsReadAndReturnedAsTheRecord) {
    Sim("cid 0212345678 12071230");
    ASSERT_TRUE(window.WaitFor(WM_TY_CIDREDAY, 10s));
    BSTR record = TY_GetCIDData(0);
    EXPECT_EQ(std::string(record, SysStringByteLen(record)),
              std::string("12071230\x0A") + "0212345678");
    SysFreeString(record);
    EXPECT_EQ(Requests("0x61").size(), 1u);
}

TEST_F(ServiceTest, FarEndKeysArriveAsDigitCodes) {
    ASSERT_EQ(TY_HookOff(0), 1);
    ASSERT_TRUE(window.WaitFor(WM_TY_LINENOTIFY, 10s));
    Sim("dtmf 5# 100 100");
    auto first = window.WaitFor(WM_TY_GETDTMF, 10s);
    auto second = window.WaitFor(WM_TY_GETDTMF, 10s);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->lParam, 5);
    EXPECT_EQ(second->lParam, 12);
}

TEST_F(ServiceTest, UnplugPostsOneRemoval) {
    Sim("unplug");
    ASSERT_TRUE(window.WaitFor(WM_TY_DEVICEREMOVED, 10s));
    std::this_thread::sleep_for(200ms);  // several more polls of 0xFFFF
    EXPECT_EQ(window.Count(WM_TY_DEVICEREMOVED), 0u);
    TY_StopService(0);
    TY_CloseDeviceByIndex(0);
    Sim("plug");
    ASSERT_EQ(TY_InitializeAllDevice(), 1);
    ASSERT_EQ(TY_OpenDeviceByIndex(0, 1), 1);
}

// The phone program's handling of a removal: stop, close, open again, serve.
TEST_F(ServiceTest, RemovalRightAfterAReopenIsPostedAndAnIdleReopenPostsNothing) {
    auto reopenAfterRemoval = [&] {
        ASSERT_TRUE(window.WaitFor(WM_TY_DEVICEREMOVED, 10s));
        TY_StopService(0);
        TY_CloseDeviceByIndex(0);
        Sim("plug");
        ASSERT_EQ(TY_InitializeAllDevice(), 1);
        ASSERT_EQ(TY_OpenDeviceByIndex(0, 1), 1);
        window.Drain();
        ASSERT_EQ(TY_StartService(&window, 0), 0);
    };
    Sim("unplug");
    reopenAfterRemoval();
    std::this_thread::sleep_for(300ms);  // about ten polls of the idle line
    EXPECT_EQ(window.Drain().size(), 0u) << "nothing changed on the line";
    Sim("unplug");
    reopenAfterRemoval();  // the second removal must be posted too
}

TEST_F(ServiceTest, SecondStartReplacesTheFirstService) {
    vt::QueueMessageWindow second;
    ASSERT_EQ(TY_StartService(&second, 0), 0);
    window.Drain();
    ASSERT_EQ(TY_HookOff(0), 1);
    ASSERT_TRUE(second.WaitFor(WM_TY_LINENOTIFY, 10s));
    TY_StopService(0);
    EXPECT_EQ(window.Count(WM_TY_LINENOTIFY), 0u) << "only one thread polls the slot";
}

TEST_F(ServiceTest, StopServiceEndsThePosts) {
    EXPECT_EQ(TY_StopService(0), 0);
    window.Drain();
    ASSERT_EQ(TY_HookOff(0), 1);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(window.Count(WM_TY_LINENOTIFY), 0u);
}
