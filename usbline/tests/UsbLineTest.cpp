// The line library over the real adapter's driver: slot 0 opened on the
// simulated adapter plugged into an emulated USB bus, every command, event
// and stream going through libusb.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <thread>

#include "UsbFixture.h"
#include "lindev/lindev.h"
#include "linesim/ManualTimeSource.h"
#include "platform/QueueMessageWindow.h"
#include "platform/SysString.h"
#include "testsupport/Eventually.h"
#include "testsupport/WavFixture.h"

using namespace std::chrono_literals;
using usbline::test::UsbFixture;
namespace status = usbline::protocol::status;

namespace {

std::string Bytes(BSTR text) {
    std::string s(text ? text : "", SysStringByteLen(text));
    SysFreeString(text);
    return s;
}

// The payload bytes of the first `count` records the model streams in
// `mode` for `farAudio` (what a gap-free recording of them holds), and how
// many bytes the first `count - margin` of them carry.
struct Reference {
    std::vector<std::uint8_t> stream;
    std::size_t leastBytes = 0;
};
Reference ReferenceStream(const std::string& farAudio, int mode, std::size_t count,
                          std::size_t margin) {
    auto time = std::make_shared<linesim::ManualTimeSource>();
    linesim::Model model(time);
    EXPECT_EQ(model.SetFarAudio(farAudio), "");
    EXPECT_EQ(model.SetHandset(true), "");
    EXPECT_EQ(model.SetTone(linesim::Tone::Off), "");  // the far end alone, no dial tone
    std::uint8_t none = 0;
    EXPECT_TRUE(model.VendorRequest(true, 0x56, 1, static_cast<std::uint16_t>(mode), 0, &none));
    Reference ref;
    std::vector<std::uint8_t> records;
    std::size_t taken = 0;
    for (int step = 0; step < 1000000 && taken < count; ++step) {
        time->Advance(10);
        records.clear();
        const std::size_t n = model.TakeRecords(records);
        for (std::size_t r = 0; r < n; ++r, ++taken) {
            const std::uint8_t* record = records.data() + r * 64;
            ref.stream.insert(ref.stream.end(), record + 4,
                              record + 4 + std::min<int>(record[1], 60));
            if (taken + 1 == count - margin)
                ref.leastBytes = ref.stream.size();
        }
    }
    return ref;
}

class UsbLineTest : public UsbFixture {
protected:
    void SetUp() override {
        UsbFixture::SetUp();
        if (IsSkipped())
            return;
        path_ = Plug();
        ASSERT_EQ(TY_InitializeAllDevice(), 1);
        ASSERT_EQ(TY_OpenDeviceByIndex(0, 0), 1);
        model_->ClearLog();
        opened_ = true;
    }
    void TearDown() override {
        if (opened_) {
            TY_StopRecord(0);
            TY_StopWaveOut(0);
            TY_StopService(0);
            TY_CloseDeviceByIndex(0);
        }
        UsbFixture::TearDown();
    }
    std::vector<std::string> Requests() {
        std::vector<std::string> lines;
        for (const std::string& l : model_->Log())
            if (l.rfind("VENDOR_", 0) == 0)
                lines.push_back(l);
        return lines;
    }
    // The word the library reads has caught up with the adapter's hook.
    void SettleHook() {
        ASSERT_TRUE(vt::test::Eventually([&] {
            return ((TY_GetTYplusState(0) & status::kOffHook) != 0) ==
                   model_->GetState().adapterOffHook;
        }));
    }
    std::filesystem::path File(const std::string& name) { return env_->Root() / name; }

    std::string path_;
    bool opened_ = false;
    vt::QueueMessageWindow window_;
};

TEST_F(UsbLineTest, EveryLineCommandReachesTheAdapterWithItsFields) {
    struct Case {
        const char* name;
        std::function<int()> command;
        int result;
        std::vector<std::string> requests;  // each a prefix of the logged line
    };
    const std::vector<Case> cases = {
        {"hook off",
         [] { return TY_HookOff(0); },
         1,
         {"VENDOR_READ 0x85 value=0x0000 index=0x0000 length=1 data=01",
          "VENDOR_READ 0x60 value=0x0000 index=0x0000 length=0 data="}},
        {"digit",
         [] { return TY_SendNumber('5', 160, 0, 0); },
         1,
         {"VENDOR_READ 0x67 value=0x0000 index=0x0000 length=1 data=",
          "VENDOR_WRITE 0x62 value=0x0078 index=0x0000 length=1 data=05"}},
        {"flash",
         [] { return TY_SendFlash(0, 0); },
         1,
         {"VENDOR_READ 0x67 value=0x0000 index=0x0000 length=1 data=",
          "VENDOR_READ 0x7A value=0x0258 index=0x0000 length=0 data="}},
        {"hook on",
         [] { return TY_HookOn(0); },
         1,
         {"VENDOR_READ 0x59 value=0x0000 index=0x0000 length=0 data="}},
        {"volume up",
         [] { return TY_VolumeControl(1, 0); },
         1,
         {"VENDOR_READ 0x74 value=0x0001 index=0x0003 length=0 data=",
          "VENDOR_READ 0x74 value=0x0001 index=0x0004 length=0 data="}},
        {"mute",
         [] { return TY_ToggleMute(0); },
         1,
         {"VENDOR_READ 0x7B value=0x0000 index=0x0000 length=0 data="}},
        {"headset DSP",
         [] { return TY_SetHeadSet(2, 0); },
         1,
         {"VENDOR_READ 0x7C value=0x0001 index=0x0000 length=0 data="}},
        {"headset disconnect",
         [] { return TY_DisconHeadset(1, 0); },
         1,
         {"VENDOR_READ 0x85 value=0x0000 index=0x0000 length=1 data=01",
          "VENDOR_READ 0x87 value=0x0001 index=0x0000 length=0 data="}},
        {"headset location",
         [] { return TY_GetHeadsetLoc(0); },
         1,
         {"VENDOR_READ 0x85 value=0x0000 index=0x0000 length=1 data=01"}},
        {"hold",
         [] { return TY_SetHold(1, 0); },
         1,
         {"VENDOR_READ 0x82 value=0x0001 index=0x0000 length=0 data="}},
        {"ARS lamp",
         [] { return TY_SetARSComm(1, 0); },
         1,
         {"VENDOR_READ 0x81 value=0x0001 index=0x0000 length=0 data="}},
        {"manual digits",
         [this] {
             model_->DialOnPhone("2*3");
             return static_cast<int>(Bytes(TY_GetManualDTMF(0)) ==
                                     "\x03"
                                     "2*3");
         },
         1,
         {"VENDOR_READ 0x7F value=0x0000 index=0x0000 length=64 data=03020A03"}},
        {"serial write",
         [] { return TY_SetSerial(0x12345678, 0); },
         1,
         {"VENDOR_WRITE 0x84 value=0x0001 index=0x0000 length=4 data=78563412"}},
        {"serial read",
         [] { return static_cast<int>(TY_GetSerial(0) == 0x12345678); },
         1,
         {"VENDOR_READ 0x84 value=0x0000 index=0x0000 length=4 data=78563412"}},
        {"play volume",
         [] { return TY_GetCurrentPlayVolume(0); },
         14,
         {"VENDOR_READ 0x86 value=0x0000 index=0x0000 length=1 data=42"}},
        {"set play volume",
         [] { return TY_SetCurrentPlayVolume(10, 0); },
         1,
         {"VENDOR_READ 0x86 value=0x0001 index=0x0046 length=1 data="}},
        {"hardware test",
         [] { return TY_TestHW(0); },
         1,
         {"VENDOR_WRITE 0x80 value=0x0000 index=0x0000 length=0 data="}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model_->ClearLog();
        EXPECT_EQ(c.command(), c.result);
        const std::vector<std::string> got = Requests();
        ASSERT_EQ(got.size(), c.requests.size()) << ::testing::PrintToString(got);
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(got[i].rfind(c.requests[i], 0), 0u) << got[i];
        SettleHook();
    }
}

TEST_F(UsbLineTest, RingCallerIdAndFarEndKeysArriveAsMessages) {
    ASSERT_EQ(TY_StartService(&window_, 0), 0);
    ASSERT_EQ(model_->SetCallerId("0212345678", "12091530"), "");
    ASSERT_EQ(model_->Ring(linesim::kDefaultRing), "");
    ASSERT_TRUE(window_.WaitFor(WM_TY_RINGDETECTED, 10s));
    ASSERT_TRUE(window_.WaitFor(WM_TY_CIDREDAY, 10s));
    EXPECT_NE(Bytes(TY_GetCIDData(0)).find("0212345678"), std::string::npos);
    ASSERT_EQ(TY_HookOff(0), 1);
    ASSERT_EQ(model_->PressKeys("5#", 100, 100), "");
    const auto first = window_.WaitFor(WM_TY_GETDTMF, 10s);
    const auto second = window_.WaitFor(WM_TY_GETDTMF, 10s);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->lParam, 5);
    EXPECT_EQ(second->lParam, 12);
    EXPECT_EQ(window_.Count(WM_TY_DEVICEREMOVED), 0u);
}

TEST_F(UsbLineTest, RecordingsHoldTheFarEndWithoutAGap) {
    const auto far = File("far.wav");
    ASSERT_TRUE(vt::test::WritePcmWav(far, vt::test::SpeechLikeSamples(20000)));
    struct Case {
        int recordType, mode;
        std::size_t header;
        std::uint64_t records;
    };
    // Mode 0 laps the 4000-record ring; mode 1 (compressed) is slower.
    for (const Case c : {Case{0, 0, 44, 6000}, Case{3, 1, 0, 1500}}) {
        SCOPED_TRACE(c.mode);
        // The far end as the model streams it in this mode, with room for
        // the records that come while the recording stops.
        const Reference ref = ReferenceStream(far.string(), c.mode, c.records + 2000, 2000);
        const std::vector<std::uint8_t>& expected = ref.stream;
        ASSERT_EQ(model_->SetFarAudio(far.string()), "");
        ASSERT_EQ(model_->SetSpeed(20), "");
        ASSERT_EQ(TY_StartService(&window_, 0), 0);
        ASSERT_EQ(TY_HookOff(0), 1);
        SettleHook();
        ASSERT_EQ(model_->SetTone(linesim::Tone::Off), "");  // the far end alone, no dial tone
        const auto file = File("call" + std::to_string(c.mode));
        const std::uint64_t before = bridge_->CountersOf().recordsSent;
        ASSERT_EQ(TY_StartRecord(file.c_str(), 1, c.recordType, 0), 1);
        ASSERT_TRUE(vt::test::Eventually(
            [&] { return bridge_->CountersOf().recordsSent - before >= c.records; }, 60s));
        ASSERT_EQ(TY_StopRecord(0), 1);
        const auto end = window_.WaitFor(WM_TY_THREADNOTIFY, 10s);
        ASSERT_TRUE(end);
        EXPECT_EQ(end->lParam, 1);
        const std::vector<std::uint8_t> bytes = vt::test::ReadBytes(file);
        ASSERT_GT(bytes.size(), c.header);
        const std::size_t got = bytes.size() - c.header;
        EXPECT_GE(got, ref.leastBytes) << "every record sent before the stop is in the file";
        ASSERT_LE(got, expected.size());
        const auto mismatch = std::mismatch(bytes.begin() + static_cast<long>(c.header),
                                            bytes.end(), expected.begin());
        EXPECT_TRUE(mismatch.first == bytes.end())
            << "differs at byte " << (mismatch.first - bytes.begin()) << " of " << bytes.size();
        if (c.header) {
            EXPECT_EQ(vt::test::ReadWavInfo(file)->dataBytes, got);
        }
        EXPECT_EQ(bridge_->CountersOf().recordsDropped, 0u);
        ASSERT_EQ(TY_HookOn(0), 1);
        SettleHook();
        TY_StopService(0);
        window_.Drain();
    }
}

TEST_F(UsbLineTest, PlaybackReachesTheLineByteForByte) {
    const auto wav = File("prompt.wav");
    ASSERT_TRUE(vt::test::WriteMuLawWav(wav, vt::test::SpeechLikeSamples(3000)));
    ASSERT_EQ(model_->SetCapture(File("line.wav").string()), "");
    ASSERT_EQ(model_->SetSpeed(20), "");
    ASSERT_EQ(TY_StartService(&window_, 0), 0);
    ASSERT_EQ(TY_HookOff(0), 1);
    SettleHook();
    ASSERT_EQ(TY_WaveOut(wav.c_str(), 0, 0, 0), 1);
    const auto end = window_.WaitFor(WM_TY_THREADNOTIFY, 30s);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->lParam, 0);
    ASSERT_EQ(model_->SetCapture(""), "");
    const std::vector<std::uint8_t> file = vt::test::ReadBytes(wav);
    const std::vector<std::uint8_t> line = vt::test::ReadBytes(File("line.wav"));
    // The first 70 bytes are never sent; a last block of 64 or fewer neither.
    const std::size_t sent = (file.size() - 70) - (file.size() - 70) % 64;
    ASSERT_GE(line.size(), 44u);
    EXPECT_GE(line.size() - 44, sent - 64);
    ASSERT_LE(line.size() - 44, file.size() - 70);
    EXPECT_TRUE(std::equal(line.begin() + 44, line.end(), file.begin() + 70));
}

TEST_F(UsbLineTest, UnplugMidRecordingPostsOneRemovalLeavesAFinishedFileAndRetryFindsItAgain) {
    const auto far = File("far.wav");
    ASSERT_TRUE(vt::test::WritePcmWav(far, vt::test::SpeechLikeSamples(5000)));
    ASSERT_EQ(model_->SetFarAudio(far.string()), "");
    ASSERT_EQ(TY_StartService(&window_, 0), 0);
    ASSERT_EQ(TY_HookOff(0), 1);
    SettleHook();
    const auto file = File("cut.wav");
    ASSERT_EQ(TY_StartRecord(file.c_str(), 1, 0, 0), 1);
    ASSERT_TRUE(vt::test::Eventually([&] { return bridge_->CountersOf().recordsSent > 20; }));
    bridge_->Unplug();
    ASSERT_TRUE(window_.WaitFor(WM_TY_DEVICEREMOVED, 10s));
    // What the phone does on the removal: stop, close, and look again later.
    ASSERT_EQ(TY_StopRecord(0), 1);
    const auto end = window_.WaitFor(WM_TY_THREADNOTIFY, 10s);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->lParam, 1);
    TY_StopService(0);
    TY_CloseDeviceByIndex(0);
    EXPECT_EQ(window_.Count(WM_TY_DEVICEREMOVED), 0u) << "exactly one removal";
    const auto info = vt::test::ReadWavInfo(file);
    ASSERT_TRUE(info);
    EXPECT_GT(info->dataBytes, 0u);
    EXPECT_EQ(info->fileBytes, 44u + info->dataBytes) << "the header says what the file holds";
    EXPECT_EQ(TY_InitializeAllDevice(), 0) << "unplugged";

    linesim::Model replugged;
    ASSERT_EQ(bridge_->Plug(replugged, 4), path_);
    ASSERT_EQ(TY_InitializeAllDevice(), 1);
    ASSERT_EQ(TY_OpenDeviceByIndex(0, 0), 1);
    ASSERT_EQ(TY_StartService(&window_, 0), 0);
    ASSERT_EQ(TY_HookOff(0), 1);
    EXPECT_TRUE(replugged.GetState().adapterOffHook);
    TY_StopService(0);
    TY_CloseDeviceByIndex(0);
    bridge_->Unplug();  // before the model that answers goes
}

}  // namespace
