// Finding, opening and closing adapters, and the diagnostic log they write.
#include <gtest/gtest.h>

#include <filesystem>

#include "DiagnosticLog.h"
#include "lindev/lindev.h"
#include "linesim/InProcessAdapter.h"
#include "platform/QueueMessageWindow.h"
#include "testsupport/TestEnvironment.h"

using vt::test::ReadText;

namespace {

class DeviceTableTest : public ::testing::Test {
protected:
    void TearDown() override {
        TY_StopServiceAllDevice();
        for (int slot = 0; slot < 8; ++slot) TY_CloseDeviceByIndex(slot);
        lindev::DiagnosticLog::SetClock(nullptr);
    }
    vt::test::TestEnvironment env;
    vt::FixedClock clock = vt::FixedClock::At(2026, 12, 7, 9, 5, 3);  // outlives TearDown's lines
};

}  // namespace

TEST_F(DeviceTableTest, NoAdapterIsFoundWhenNoneIsPresent) {
    EXPECT_EQ(TY_InitializeAllDevice(), 0);
    EXPECT_EQ(TY_OpenDeviceByIndex(0, 0), 0);
}

TEST_F(DeviceTableTest, PresentAdaptersAreFoundInOrder) {
    linesim::InProcessAdapter first(0), second(1);
    EXPECT_EQ(TY_InitializeAllDevice(), 2);
    second.Command("version 7 9");
    ASSERT_EQ(TY_OpenDeviceByIndex(1, 0), 1);
    EXPECT_EQ(TY_GetHW_Version(1), 7);
    EXPECT_EQ(TY_GetFW_Version(1), 9);
}

TEST_F(DeviceTableTest, UnpluggedAdapterIsNotFound) {
    linesim::InProcessAdapter adapter(0);
    adapter.Command("unplug");
    EXPECT_EQ(TY_InitializeAllDevice(), 0);
}

TEST_F(DeviceTableTest, OpeningTwiceAndClosingTwiceSucceed) {
    linesim::InProcessAdapter adapter(0);
    ASSERT_EQ(TY_InitializeAllDevice(), 1);
    EXPECT_EQ(TY_OpenDeviceByIndex(0, 1), 1);
    EXPECT_EQ(TY_OpenDeviceByIndex(0, 1), 1);
    EXPECT_EQ(TY_CloseDeviceByIndex(0), 1);
    EXPECT_EQ(TY_CloseDeviceByIndex(0), 1);
    const std::string log = ReadText(lindev::DiagnosticLog::TodayFile());
    EXPECT_NE(log.find("DevID=0, TyOpen().Device Already Open. \r\n"), std::string::npos);
    EXPECT_NE(log.find("DevID=0, TyOpen(). Success. \r\n"), std::string::npos);
    EXPECT_NE(log.find("DevID=0, \r\nTyOpen() ptr_DeviceInstance="), std::string::npos);
    EXPECT_NE(log.find(" m_HW_Version=5 m_FW_Version=3 \r\n"), std::string::npos);
}

TEST_F(DeviceTableTest, CloseLineForAFixedTimeIsExact) {
    linesim::InProcessAdapter adapter(0);
    lindev::DiagnosticLog::SetClock(&clock);
    ASSERT_EQ(TY_InitializeAllDevice(), 1);
    ASSERT_EQ(TY_OpenDeviceByIndex(0, 1), 1);
    ASSERT_EQ(TY_CloseDeviceByIndex(0), 1);
    const std::string log = ReadText(env.AppHome() / "Log" / "Vantelo_Log20261207.txt");
    const std::string last = "[2026-12-07 09:05:03] DevID=0, TyClose(). \r\n";
    ASSERT_GE(log.size(), last.size());
    EXPECT_EQ(log.substr(log.size() - last.size()), last);
}

TEST_F(DeviceTableTest, LoggingOffWritesNoFolderAndNoFile) {
    linesim::InProcessAdapter adapter(0);
    ASSERT_EQ(TY_InitializeAllDevice(), 1);
    ASSERT_EQ(TY_OpenDeviceByIndex(0, 0), 1);
    EXPECT_EQ(TY_HookOff(0), 1);
    ASSERT_EQ(TY_CloseDeviceByIndex(0), 1);
    EXPECT_FALSE(std::filesystem::exists(env.AppHome() / "Log"));
}

TEST_F(DeviceTableTest, FailedOpenIsLogged) {
    linesim::InProcessAdapter adapter(0);
    ASSERT_EQ(TY_InitializeAllDevice(), 1);
    adapter.Command("unplug");
    EXPECT_EQ(TY_OpenDeviceByIndex(0, 1), 0);
    EXPECT_NE(
        ReadText(lindev::DiagnosticLog::TodayFile()).find("TyOpen().Device_Open FAILED. \r\n"),
        std::string::npos);
}

TEST_F(DeviceTableTest, OpenAllAndCloseAllCountTheSlots) {
    linesim::InProcessAdapter first(0), second(1);
    ASSERT_EQ(TY_InitializeAllDevice(), 2);
    EXPECT_EQ(TY_OpenAllDevice(), 2);
    EXPECT_TRUE(std::filesystem::exists(env.AppHome() / "VtSdk.log"));
    EXPECT_EQ(std::filesystem::file_size(env.AppHome() / "VtSdk.log"), 0u);
    vt::QueueMessageWindow window;
    EXPECT_EQ(TY_StartServiceAllDevice(&window), 2);
    first.Command("unplug");
    second.Command("unplug");
    auto a = window.WaitFor(WM_TY_DEVICEREMOVED, std::chrono::seconds(2));
    auto b = window.WaitFor(WM_TY_DEVICEREMOVED, std::chrono::seconds(2));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->wParam + b->wParam, 1u) << "each slot posts with its own device id";
    EXPECT_EQ(TY_StopServiceAllDevice(), 2);
    EXPECT_EQ(TY_CloseAllDevice(), 2);
    EXPECT_EQ(TY_StopServiceAllDevice(), 0) << "close all forgets the adapters found";
}
