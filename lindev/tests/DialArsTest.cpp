// Automatic dialling, redial, ARS and the firmware download on the
// simulated line.
#include <gtest/gtest.h>

#include "AudioFixture.h"

using lindev::test::AudioFixture;
using namespace std::chrono_literals;

namespace {

using DialArsTest = AudioFixture;

std::string Keys(BSTR keys) {
    if (!keys) return "(null)";
    std::string s(keys, SysStringByteLen(keys));
    SysFreeString(keys);
    return s;
}

TEST_F(DialArsTest, ThreadedDialSendsTheExtensionDigitByDigitThenTheNumber) {
    ASSERT_EQ(TY_AutoDialThread("0212345678", 1, "9", 50, 60, 40, 3, 0), 1);
    auto done = window.WaitFor(WM_TY_AUTODIALDONE, 15s);
    ASSERT_TRUE(done);
    EXPECT_EQ(done->lParam, 1);
    const std::vector<std::string> sends = Requests("0x62");
    ASSERT_EQ(sends.size(), 2u);
    EXPECT_EQ(sends[0], "VENDOR_WRITE 0x62 value=0x003C index=0x0028 length=1 data=09");
    EXPECT_EQ(sends[1],
              "VENDOR_WRITE 0x62 value=0x003C index=0x0028 length=10 data=00020102030405060708");
    EXPECT_TRUE(Logged("AutoDial()."));
    // The adapter's own digits post nothing while it dials automatically.
    EXPECT_EQ(window.Count(WM_EX_EXT_DTMF) + window.Count(WM_TY_GETDTMF), 0u);
    // The same again by redial, in one blocking call.
    ASSERT_EQ(TY_HookOn(0), 1);
    Sim("log clear");
    EXPECT_EQ(TY_SendRedial(0), 1);
    const std::vector<std::string> again = Requests("0x62");
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[1], sends[1]);
}

TEST_F(DialArsTest, DialRefusals) {
    ASSERT_EQ(TY_HookOff(0), 1);
    EXPECT_EQ(TY_AutoDialThread("123", 0, "", 0, 60, 40, 0, 0), 0) << "off-hook";
    EXPECT_EQ(TY_SendRedial(0), 0) << "hook-off cleared the number";
    ASSERT_EQ(TY_HookOn(0), 1);
    Sim("log clear");
    EXPECT_EQ(TY_AutoDial("123", 1, "12345678901", 0, 60, 40, 0, 0), -1);
    EXPECT_EQ(TY_AutoDial(std::string(49, '1').c_str(), 0, "", 0, 60, 40, 0, 0), -1);
    EXPECT_EQ(TY_AutoDialThread(std::string(49, '1').c_str(), 0, "", 0, 60, 40, 0, 0), 0);
    EXPECT_TRUE(Requests("0x60").empty()) << "too long: nothing sent";
    EXPECT_EQ(TY_AutoDial("1", 0, "", 0, 60, 40, 0, 8), -1);
    EXPECT_EQ(TY_AutoDial("", 0, "", 0, 60, 40, 0, 0), -1);
    EXPECT_EQ(TY_IsLineBusy(0), 1) << "left off-hook";
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(window.Count(WM_TY_AUTODIALDONE), 0u);
}

TEST_F(DialArsTest, DigitsSentByHandShowAsExtensionDigits) {
    ASSERT_EQ(TY_HookOff(0), 1);
    ASSERT_EQ(TY_SendNumber('7', 160, 0, 0), 1);
    auto digit = window.WaitFor(WM_EX_EXT_DTMF, 5s);
    ASSERT_TRUE(digit);
    EXPECT_EQ(digit->lParam, 7);
}

TEST_F(DialArsTest, ArsCollectsKeysUpToTheTerminator) {
    WriteFile(File("prompt.wav"), Pattern(2000));
    Sim("speed 10");
    ASSERT_EQ(TY_SetARS(File("prompt.wav").c_str(), 2, '#', 1, 3000, 0), 1);
    for (int i = 0; i < 100 && Requests("0x76").empty(); ++i) std::this_thread::sleep_for(10ms);
    Sim("dtmf 1# 100 100");  // while the prompt plays
    auto done = window.WaitFor(WM_TY_THREADNOTIFY, 15s);
    ASSERT_TRUE(done);
    EXPECT_EQ(done->lParam, 2);
    EXPECT_EQ(Requests("0x76").at(0), "VENDOR_WRITE 0x76 value=0x07D0 index=0x0000 length=2 data=030C");
    EXPECT_EQ(Requests("0x69"), std::vector<std::string>{
                                    "VENDOR_READ 0x69 value=0x0000 index=0x0000 length=3 data=02010C"});
    EXPECT_EQ(Keys(TY_GetARS(0)), "21#");
    EXPECT_TRUE(Logged("ARS FUNC()."));
    EXPECT_TRUE(Logged("Message. WM_TY_THREADNOTIFY 2L GetARS=21#"));
}

TEST_F(DialArsTest, ArsOutcomesWithoutKeys) {
    WriteFile(File("prompt.wav"), Pattern(300));
    ASSERT_EQ(TY_SetARS(File("prompt.wav").c_str(), 2, '#', 0, 1000, 0), 1);
    ASSERT_TRUE(window.WaitFor(WM_TY_THREADNOTIFY, 5s));
    EXPECT_EQ(TY_GetARS(0), nullptr);  // "Y"
    ASSERT_EQ(TY_SetARS(File("none.wav").c_str(), 2, '#', 1, 1000, 0), 1);
    ASSERT_TRUE(window.WaitFor(WM_TY_THREADNOTIFY, 5s));
    EXPECT_EQ(TY_GetARS(0), nullptr);  // "Q"
    EXPECT_TRUE(Logged("Message. WM_TY_THREADNOTIFY 2L GetARS=Q"));
    EXPECT_EQ(TY_SetARS(File("prompt.wav").c_str(), 47, '#', 1, 1000, 0), 0) << "too many keys";
    // One repetition that times out: "Y" after the end request.
    Sim("log clear");
    ASSERT_EQ(TY_SetARS(File("prompt.wav").c_str(), 2, '#', 1, 300, 0), 1);
    ASSERT_TRUE(window.WaitFor(WM_TY_THREADNOTIFY, 5s));
    EXPECT_EQ(Requests("0x75").size(), 2u);
    EXPECT_EQ(Requests("0x77").size(), 1u);
    EXPECT_TRUE(Logged("Message. WM_TY_THREADNOTIFY 2L GetARS=Y"));
}

TEST_F(DialArsTest, FirmwareDownload) {
    WriteFile(File("big.bin"), Pattern(7501));
    EXPECT_EQ(TY_FirmwareUpdate(File("big.bin").c_str(), 0), 0);
    EXPECT_EQ(TY_FirmwareUpdate(File("none.bin").c_str(), 0), 0);
    EXPECT_TRUE(Requests("0x79").empty());
    WriteFile(File("fw.bin"), Pattern(7500));
    EXPECT_EQ(TY_FirmwareUpdate(File("fw.bin").c_str(), 0), 3);
    EXPECT_EQ(Requests("0x79"),
              std::vector<std::string>{"VENDOR_READ 0x79 value=0x1D4C index=0x0000 length=0 data="});
    EXPECT_NE(Sim("status").find(" firmware=7500"), std::string::npos);
}

}  // namespace
