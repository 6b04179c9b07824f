// Every line command against the simulated adapter's request log.
#include <gtest/gtest.h>

#include "AdapterFixture.h"
#include "usbline/CTyCtiInstance.h"

#include <chrono>
#include <thread>

using lindev::test::AdapterFixture;

namespace {

using LineCommandsTest = AdapterFixture;

std::string Bytes(BSTR text) {
    std::string s(text, SysStringByteLen(text));
    SysFreeString(text);
    return s;
}

}  // namespace

// --- Hook -----------------------------------------------------------------------

TEST_F(LineCommandsTest, HookOffSendsRequest60AndHookOn59) {
    ASSERT_EQ(TY_HookOff(0), 1);
    EXPECT_EQ(Requests("0x60"),
              std::vector<std::string>{"VENDOR_READ 0x60 value=0x0000 index=0x0000 length=0 data="});
    EXPECT_EQ(TY_IsLineBusy(0), 1);
    ASSERT_EQ(TY_HookOn(0), 1);
    EXPECT_EQ(Requests("0x59").size(), 1u);
    EXPECT_EQ(TY_IsLineBusy(0), 0);
    EXPECT_TRUE(Logged("OFF_HOOK()."));
    EXPECT_TRUE(Logged("ON_HOOK()."));
}

TEST_F(LineCommandsTest, HookCommandsSendNothingWhenAlreadyInThatState) {
    EXPECT_EQ(TY_HookOn(0), 1);
    EXPECT_TRUE(Requests("0x59").empty());
    ASSERT_EQ(TY_HookOff(0), 1);
    EXPECT_EQ(TY_HookOff(0), 1);
    EXPECT_EQ(Requests("0x60").size(), 1u);
}

TEST_F(LineCommandsTest, HookOffIsRefusedInHeadsetLocationTwo) {
    Sim("headset 2");
    EXPECT_EQ(TY_HookOff(0), 0);
    EXPECT_TRUE(Requests("0x60").empty());
    EXPECT_EQ(TY_GetHeadsetLoc(0), 2);
}

TEST_F(LineCommandsTest, HookCommandsAreRefusedWhileTheAdapterDials) {
    ASSERT_EQ(TY_HookOff(0), 1);
    // A second process dialling a long digit keeps status bit 10 set.
    CTyCtiInstance other;
    other.SetDeviceName(adapter_->DevicePath().c_str());
    ASSERT_EQ(other.Device_Open(), 1);
    std::uint8_t digit = 1;
    ASSERT_EQ(other.Vendor_Write(0x62, 400, 0, 1, &digit), 1);
    ASSERT_TRUE(TY_GetTYplusState(0) & 0x0400);
    Sim("log clear");
    EXPECT_EQ(TY_HookOn(0), 0);
    EXPECT_EQ(TY_HookOff(0), 0);
    EXPECT_TRUE(Requests("0x59").empty());
    EXPECT_TRUE(Requests("0x60").empty());
    other.Device_Close();
    while (TY_GetTYplusState(0) & 0x0400) std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

// --- DTMF and flash ---------------------------------------------------------------

TEST_F(LineCommandsTest, SendNumberSendsOneCodeForToneTimeLess40) {
    ASSERT_EQ(TY_HookOff(0), 1);
    Sim("log clear");
    ASSERT_EQ(TY_SendNumber('5', 160, 0, 0), 1);
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], "VENDOR_READ 0x67 value=0x0000 index=0x0000 length=1 data=FF");
    EXPECT_EQ(requests[1], "VENDOR_WRITE 0x62 value=0x0078 index=0x0000 length=1 data=05");
    EXPECT_TRUE(Logged("Generate_DTMF() DTMF=5"));
}

TEST_F(LineCommandsTest, SendNumberMapsTheKeysToTheirSendCodes) {
    ASSERT_EQ(TY_HookOff(0), 1);
    for (char key : std::string("0*#ABCD:")) ASSERT_EQ(TY_SendNumber(key, 40, 0, 0), 1) << key;
    std::string codes;
    for (const std::string& l : Requests("0x62")) codes += l.substr(l.size() - 2);
    EXPECT_EQ(codes, "000A0B0C0D0E0F0A");
}

TEST_F(LineCommandsTest, SendNumberOnHookOrWithABadKeySendsNothing) {
    EXPECT_EQ(TY_SendNumber('5', 160, 0, 0), 0);
    ASSERT_EQ(TY_HookOff(0), 1);
    Sim("log clear");
    EXPECT_EQ(TY_SendNumber('E', 160, 0, 0), 0);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(LineCommandsTest, FlashOfZeroOrOnlyHighBitsIs600Ms) {
    ASSERT_EQ(TY_SendFlash(0, 0), 1);
    ASSERT_EQ(TY_SendFlash(0x10000, 0), 1);
    ASSERT_EQ(TY_SendFlash(250, 0), 1);
    const auto flashes = Requests("0x7A");
    ASSERT_EQ(flashes.size(), 3u);
    EXPECT_EQ(flashes[0], "VENDOR_READ 0x7A value=0x0258 index=0x0000 length=0 data=");
    EXPECT_EQ(flashes[1], flashes[0]);
    EXPECT_EQ(flashes[2], "VENDOR_READ 0x7A value=0x00FA index=0x0000 length=0 data=");
    EXPECT_EQ(Requests("0x67").size(), 3u) << "each flash asks whether the dialler is ready";
    EXPECT_TRUE(Logged("Flash()."));
}

// --- Volume, mute, headset ----------------------------------------------------------

TEST_F(LineCommandsTest, VolumeStepIsTwoRequestsIndexThreeThenFour) {
    ASSERT_EQ(TY_VolumeControl(1, 0), 1);
    ASSERT_EQ(TY_VolumeControl(0, 0), 1);
    const auto steps = Requests("0x74");
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0], "VENDOR_READ 0x74 value=0x0001 index=0x0003 length=0 data=");
    EXPECT_EQ(steps[1], "VENDOR_READ 0x74 value=0x0001 index=0x0004 length=0 data=");
    EXPECT_EQ(steps[2], "VENDOR_READ 0x74 value=0x0002 index=0x0003 length=0 data=");
    EXPECT_EQ(steps[3], "VENDOR_READ 0x74 value=0x0002 index=0x0004 length=0 data=");
}

TEST_F(LineCommandsTest, MuteNeedsHardwareVersionTwo) {
    ASSERT_EQ(TY_ToggleMute(0), 1);
    EXPECT_EQ(Requests("0x7B").size(), 1u);
    ReopenWithVersions("1 3");
    EXPECT_EQ(TY_GetHW_Version(0), 1);
    EXPECT_EQ(TY_ToggleMute(0), 0);
    EXPECT_TRUE(Requests().empty());
    ReopenWithVersions(kUsualVersions);
}

TEST_F(LineCommandsTest, HeadsetModesAndTheirRefusals) {
    EXPECT_EQ(TY_SetHeadSet(3, 0), 0);
    EXPECT_TRUE(Requests().empty());
    ASSERT_EQ(TY_SetHeadSet(2, 0), 1);
    ASSERT_EQ(TY_SetHeadSet(1, 0), 1);
    const auto modes = Requests("0x7C");
    ASSERT_EQ(modes.size(), 2u);
    EXPECT_EQ(modes[0], "VENDOR_READ 0x7C value=0x0001 index=0x0000 length=0 data=");
    EXPECT_EQ(modes[1], "VENDOR_READ 0x7C value=0x0000 index=0x0000 length=0 data=");
    EXPECT_TRUE(Logged("HeadSet().DSP mode."));
    EXPECT_TRUE(Logged("HeadSet().TEL mode."));
    ASSERT_EQ(TY_HookOff(0), 1);
    Sim("log clear");
    EXPECT_EQ(TY_SetHeadSet(2, 0), 0) << "no DSP mode while off-hook";
    EXPECT_EQ(TY_SetHeadSet(1, 0), 1) << "TEL mode is allowed off-hook";
    EXPECT_EQ(Requests("0x7C").size(), 1u);
}

TEST_F(LineCommandsTest, HeadsetModeNeedsHardwareVersionThree) {
    ReopenWithVersions("2 3");
    EXPECT_EQ(TY_SetHeadSet(1, 0), 0);
    EXPECT_TRUE(Requests("0x7C").empty());
    ReopenWithVersions(kUsualVersions);
}

TEST_F(LineCommandsTest, HeadsetDisconnect) {
    EXPECT_EQ(TY_DisconHeadset(1, 0), 1);
    EXPECT_EQ(TY_DisconHeadset(0, 0), 1);
    const auto requests = Requests("0x87");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], "VENDOR_READ 0x87 value=0x0001 index=0x0000 length=0 data=");
    EXPECT_EQ(requests[1], "VENDOR_READ 0x87 value=0x0000 index=0x0000 length=0 data=");
    EXPECT_TRUE(Logged("HeadSet().Disconnecting"));
    EXPECT_TRUE(Logged("DisConnected HeadSet() Release.."));
    Sim("headset 2");
    EXPECT_EQ(TY_DisconHeadset(1, 0), 0);
    Sim("headset 1");
    ReopenWithVersions("5 2");
    EXPECT_EQ(TY_DisconHeadset(0, 0), 255);
    EXPECT_TRUE(Requests("0x87").empty());
    ReopenWithVersions(kUsualVersions);
}

// --- Other requests -------------------------------------------------------------------

TEST_F(LineCommandsTest, HoldAndArsLed) {
    ASSERT_EQ(TY_SetHold(1, 0), 1);
    ASSERT_EQ(TY_SetHold(0, 0), 1);
    ASSERT_EQ(TY_SetARSComm(5, 0), 1);
    ASSERT_EQ(TY_SetARSComm(0, 0), 1);
    EXPECT_EQ(Requests("0x82")[0], "VENDOR_READ 0x82 value=0x0001 index=0x0000 length=0 data=");
    EXPECT_EQ(Requests("0x82")[1], "VENDOR_READ 0x82 value=0x0000 index=0x0000 length=0 data=");
    EXPECT_EQ(Requests("0x81")[0], "VENDOR_READ 0x81 value=0x0001 index=0x0000 length=0 data=");
    EXPECT_EQ(Requests("0x81")[1], "VENDOR_READ 0x81 value=0x0000 index=0x0000 length=0 data=");
    EXPECT_TRUE(Logged("SetHold(). Set"));
    EXPECT_TRUE(Logged("ARSComm(). LED OFF"));
}

TEST_F(LineCommandsTest, ManualDtmfIsTheCountByteThenTheDigits) {
    Sim("dial 2*3");
    EXPECT_EQ(Bytes(TY_GetManualDTMF(0)), std::string("\x03" "2*3"));
    EXPECT_EQ(Requests("0x7F").size(), 1u);
    EXPECT_TRUE(Logged("GetManualDTMF() DTMF=2*3"));
}

TEST_F(LineCommandsTest, SerialNumberIsWrittenAndReadLittleEndian) {
    ASSERT_EQ(TY_SetSerial(0x12345678u, 0), 1);
    EXPECT_EQ(Requests("0x84")[0],
              "VENDOR_WRITE 0x84 value=0x0001 index=0x0000 length=4 data=78563412");
    EXPECT_EQ(TY_GetSerial(0), 0x12345678u);
    EXPECT_TRUE(Logged("SetSerial()."));
    EXPECT_TRUE(Logged("GetSerial()."));
}

TEST_F(LineCommandsTest, PlayVolumeLevelsAreCodes80DownTo52) {
    ASSERT_EQ(TY_SetCurrentPlayVolume(3, 0), 1);
    EXPECT_EQ(TY_GetCurrentPlayVolume(0), 3);
    ASSERT_EQ(TY_SetCurrentPlayVolume(29, 0), 1);
    const auto sets = Requests("0x86");
    const std::string set77 = "VENDOR_READ 0x86 value=0x0001 index=0x004D length=1 data=";
    const std::string set0 = "VENDOR_READ 0x86 value=0x0001 index=0x0000 length=1 data=";
    EXPECT_EQ(sets[0].substr(0, set77.size()), set77);
    EXPECT_EQ(sets.back().substr(0, set0.size()), set0);
    ASSERT_EQ(TY_SetCurrentPlayVolume(0, 0), 1);
    EXPECT_EQ(TY_GetCurrentPlayVolume(0), 0);
}

TEST_F(LineCommandsTest, HardwareTestIsAnOutRequestWithoutData) {
    ASSERT_EQ(TY_TestHW(0), 1);
    EXPECT_EQ(Requests(), std::vector<std::string>{
                              "VENDOR_WRITE 0x80 value=0x0000 index=0x0000 length=0 data="});
}

TEST_F(LineCommandsTest, StatusWordShowsTheHookState) {
    EXPECT_EQ(TY_GetTYplusState(0) & 0x10, 0u);
    ASSERT_EQ(TY_HookOff(0), 1);
    EXPECT_EQ(TY_GetTYplusState(0) & 0x10, 0x10u);
}

// --- Closed slot and slots outside the table --------------------------------------------

TEST_F(LineCommandsTest, ClosedSlotSendsNothing) {
    TY_CloseDeviceByIndex(0);
    Sim("log clear");
    EXPECT_EQ(TY_HookOff(0), 0);
    EXPECT_EQ(TY_HookOn(0), 0);
    EXPECT_EQ(TY_SendFlash(0, 0), 0);
    EXPECT_EQ(TY_ToggleMute(0), 0);
    EXPECT_EQ(TY_SetHeadSet(1, 0), 0);
    EXPECT_EQ(TY_SendNumber('1', 160, 0, 0), 0);
    EXPECT_EQ(TY_GetTYplusState(0), 0xFFFFFFFFu);
    EXPECT_EQ(TY_GetSerial(0), 0u);
    EXPECT_EQ(TY_GetCurrentPlayVolume(0), 255);
    EXPECT_EQ(Bytes(TY_GetManualDTMF(0)), "");
    EXPECT_TRUE(Requests().empty());
    ASSERT_EQ(TY_OpenDeviceByIndex(0, 1), 1);
}

TEST_F(LineCommandsTest, SlotsOutsideTheTableGiveTheFailureValue) {
    for (int slot : {-1, 8, 1000}) {
        EXPECT_EQ(TY_HookOff(slot), 0);
        EXPECT_EQ(TY_OpenDeviceByIndex(slot, 1), 0);
        EXPECT_EQ(TY_CloseDeviceByIndex(slot), 0);
        EXPECT_EQ(TY_StartService(nullptr, slot), -1);
        EXPECT_EQ(TY_StopService(slot), -1);
        EXPECT_EQ(TY_GetTYplusState(slot), 0xFFFFFFFFu);
        EXPECT_EQ(TY_GetToneState(slot), 0);
        EXPECT_EQ(TY_GetCurrentPlayVolume(slot), 255);
        EXPECT_EQ(TY_DisconHeadset(1, slot), 0);
        EXPECT_EQ(TY_SetRingEndTime(6000, slot), 0);
        EXPECT_EQ(TY_SetToneTime(5, 12, 2, 10, 19, 2, 36, 180, 21, 36, slot), 0);
        EXPECT_EQ(TY_GetHW_Version(slot), 0);
        EXPECT_EQ(Bytes(TY_GetCIDData(slot)), "");
    }
    EXPECT_TRUE(Requests().empty());
}

// --- Engine settings ----------------------------------------------------------------------

TEST_F(LineCommandsTest, RingEndTimeBelow5700IsRefused) {
    EXPECT_EQ(TY_SetRingEndTime(5699, 0), 0);
    EXPECT_EQ(TY_SetRingEndTime(5700, 0), 1);
    EXPECT_TRUE(Logged("SetRingEndTime() RingEndTime=5700ms"));
    EXPECT_FALSE(Logged("SetRingEndTime() RingEndTime=5699ms"));
}

TEST_F(LineCommandsTest, ToneTimesAreAcceptedOpenOrClosed) {
    EXPECT_EQ(TY_SetToneTime(5, 12, 2, 10, 19, 2, 36, 180, 21, 36, 0), 1);
    EXPECT_TRUE(Logged("SetToneTime()."));
    EXPECT_EQ(TY_SetToneTime(5, 12, 2, 10, 19, 2, 36, 180, 21, 36, 5), 1);
}
