// The model with stepped time: cadences as the line library's 30 ms polls
// see them, call progress, caller ID, keys, requests and unplugging.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "linesim/ManualTimeSource.h"
#include "linesim/Model.h"
#include "usbline/AdapterProtocol.h"

namespace linesim {
namespace {

namespace status = usbline::protocol::status;

class ModelTest : public ::testing::Test {
protected:
    std::shared_ptr<ManualTimeSource> time_ = std::make_shared<ManualTimeSource>();
    Model model_{time_};

    std::uint16_t Status() { return model_.StatusWord().value(); }

    bool Read(std::uint8_t request, std::uint16_t value = 0, std::uint16_t index = 0,
              std::vector<std::uint8_t>* data = nullptr) {
        return model_.VendorRequest(true, request, value, index,
                                    data ? static_cast<std::uint16_t>(data->size()) : 0,
                                    data ? data->data() : nullptr);
    }
    bool Write(std::uint8_t request, std::uint16_t value, std::uint16_t index,
               std::vector<std::uint8_t> data) {
        return model_.VendorRequest(false, request, value, index,
                                    static_cast<std::uint16_t>(data.size()), data.data());
    }

    // Polls every 30 ms for `polls` polls and returns the lengths (in polls)
    // of the bursts of `mask` that ended in that time.
    std::vector<int> Bursts(std::uint16_t mask, int polls) {
        std::vector<int> bursts;
        int run = 0;
        for (int i = 0; i < polls; ++i) {
            if (Status() & mask) {
                ++run;
            } else if (run > 0) {
                bursts.push_back(run);
                run = 0;
            }
            time_->Advance(30);
        }
        return bursts;
    }

    // Longest run of consecutive polls with `mask` set.
    int LongestRun(std::uint16_t mask, int polls) {
        int run = 0, best = 0;
        for (int i = 0; i < polls; ++i) {
            run = (Status() & mask) ? run + 1 : 0;
            best = std::max(best, run);
            time_->Advance(30);
        }
        return best;
    }
};

TEST_F(ModelTest, StartsOnHookAndQuiet) {
    EXPECT_EQ(Status(), 0);
    EXPECT_EQ(model_.GetState().call, CallState::Idle);
}

TEST_F(ModelTest, OffHookGivesContinuousDialTone) {
    ASSERT_TRUE(Read(0x60));
    EXPECT_TRUE(Status() & status::kOffHook);
    EXPECT_GE(LongestRun(status::kTone, 60), 60);  // dial tone needs 36 continuous polls
    ASSERT_TRUE(Read(0x59));
    EXPECT_EQ(Status() & (status::kOffHook | status::kTone), 0);
}

TEST_F(ModelTest, DigitsSentRaiseBusyDiallingBitThenRingBack) {
    ASSERT_TRUE(Read(0x60));
    ASSERT_TRUE(Write(0x62, 120, 0, {1, 2, 3}));
    std::vector<std::uint8_t> ready(1);
    ASSERT_TRUE(Read(0x67, 0, 0, &ready));
    EXPECT_NE(ready[0], 0xFF);
    EXPECT_TRUE(Status() & status::kDialling);
    EXPECT_EQ(Status() & status::kTone, 0);  // dial tone stops with the first digit
    time_->Advance(360);                // 3 x (120 + 0) ms
    EXPECT_EQ(Status() & status::kDialling, 0);
    ASSERT_TRUE(Read(0x67, 0, 0, &ready));
    EXPECT_EQ(ready[0], 0xFF);
    const std::vector<int> bursts = Bursts(status::kTone, 400);
    ASSERT_GE(bursts.size(), 3u);
    for (int n : bursts) {
        EXPECT_GT(n, 21) << "ring-back burst";
        EXPECT_LT(n, 36) << "ring-back burst";
    }
    EXPECT_EQ(model_.GetState().call, CallState::RingBack);
    EXPECT_EQ(model_.GetState().sentDigits, "123");
}

TEST_F(ModelTest, FarAnswerSilencesAndHangUpGivesBusyTwo) {
    ASSERT_TRUE(Read(0x60));
    ASSERT_TRUE(Write(0x62, 100, 50, {5}));
    time_->Advance(3000);
    EXPECT_EQ(model_.FarAnswer(), "");
    EXPECT_EQ(LongestRun(status::kTone, 200), 0);
    EXPECT_EQ(model_.GetState().call, CallState::Connected);
    EXPECT_EQ(model_.FarHangUp(), "");
    const std::vector<int> bursts = Bursts(status::kTone, 200);
    ASSERT_GE(bursts.size(), 4u);
    for (int n : bursts) {
        EXPECT_GT(n, 11) << "not busy 1";  // the busy-1 range is tested first
        EXPECT_LT(n, 19) << "busy 2";
    }
}

TEST_F(ModelTest, BusyOneToneClassifiesAsBusyOne) {
    ASSERT_TRUE(Read(0x60));
    model_.SetTone(Tone::Busy1);
    const std::vector<int> bursts = Bursts(status::kTone, 200);
    ASSERT_GE(bursts.size(), 8u);
    for (int n : bursts) {
        EXPECT_GT(n, 5);
        EXPECT_LT(n, 12);
    }
}

TEST_F(ModelTest, ToneBitsOnlyWhileOffHook) {
    model_.SetTone(Tone::Dial);
    EXPECT_EQ(LongestRun(status::kTone, 50), 0);
}

TEST_F(ModelTest, AnswerWithoutOutgoingCallIsRefused) {
    EXPECT_NE(model_.FarAnswer(), "");
    EXPECT_NE(model_.FarHangUp(), "");
}

TEST_F(ModelTest, RingFollowsItsCadence) {
    ASSERT_EQ(model_.Ring(Cadence{1000, 1000, 3}), "");
    const std::vector<int> bursts = Bursts(status::kRing, 250);
    ASSERT_EQ(bursts.size(), 3u);
    for (int n : bursts) EXPECT_NEAR(n, 33, 1);
    EXPECT_EQ(model_.GetState().call, CallState::Idle);  // the caller gave up
}

TEST_F(ModelTest, GoingOffHookAnswersARingingCall) {
    ASSERT_EQ(model_.Ring(kDefaultRing), "");
    time_->Advance(100);
    EXPECT_TRUE(Status() & status::kRing);
    ASSERT_TRUE(Read(0x60));
    EXPECT_EQ(model_.GetState().call, CallState::Connected);
    EXPECT_EQ(LongestRun(status::kRing | status::kTone, 200), 0);
    EXPECT_NE(model_.Ring(kDefaultRing), "");  // off-hook: no second ring
}

TEST_F(ModelTest, HandsetUpTakesTheLineAndDialOnPhoneFillsManualBuffer) {
    model_.SetHandset(true);
    EXPECT_TRUE(Status() & status::kOffHook);
    EXPECT_TRUE(Status() & status::kTone);
    ASSERT_EQ(model_.DialOnPhone("1*0#"), "");
    std::vector<std::uint8_t> buffer(64);
    ASSERT_TRUE(Read(0x7F, 0, 0, &buffer));
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 5),
              (std::vector<std::uint8_t>{4, 1, 10, 11, 12}));
    time_->Advance(1100);
    EXPECT_EQ(model_.GetState().call, CallState::RingBack);
    EXPECT_NE(model_.DialOnPhone("12x"), "");
}

TEST_F(ModelTest, CallerIdWaitsUntilReadOnce) {
    ASSERT_EQ(model_.SetCallerId("01", "12071230"), "");
    EXPECT_EQ(Status() & status::kCallerIdBits, status::kCallerIdBits);
    std::vector<std::uint8_t> reply(26);
    ASSERT_TRUE(Read(0x61, 0, 0, &reply));
    const std::vector<std::uint8_t> expected = {0x80, 0x0E, 0x01, 0x08, '1',  '2',  '0', '7',
                                                '1',  '2',  '3',  '0',  0x02, 0x02, '0', '1'};
    EXPECT_EQ(std::vector<std::uint8_t>(reply.begin(), reply.begin() + 16), expected);
    EXPECT_EQ(Status() & status::kCallerIdBits, 0);
    ASSERT_TRUE(Read(0x61, 0, 0, &reply));
    EXPECT_EQ(reply[0], 0xFF);
}

TEST_F(ModelTest, CallerIdRejectsWhatDoesNotFitTheReply) {
    EXPECT_EQ(model_.SetCallerId("012345678901", "01010000"), "");
    EXPECT_NE(model_.SetCallerId("0123456789012", "01010000"), "");
    EXPECT_NE(model_.SetCallerId("02 1", "01010000"), "");
    EXPECT_NE(model_.SetCallerId("021", "0101000"), "");
}

TEST_F(ModelTest, FarEndKeysStrobeWithTheirCodes) {
    ASSERT_EQ(model_.PressKeys("1*0#A", 100, 100), "");
    std::vector<int> codes;
    bool was = false;
    for (int i = 0; i < 60; ++i) {
        const std::uint16_t s = Status();
        const bool strobe = s & status::kDtmfStrobe;
        if (strobe && !was)
            codes.push_back(s >> 12);
        was = strobe;
        time_->Advance(30);
    }
    EXPECT_EQ(codes, (std::vector<int>{1, 10, 11, 12, 13}));
    EXPECT_NE(model_.PressKeys("1E", 100, 100), "");
}

// Far-end keys and the echo of digits the adapter dials, as the line
// library's 30 ms polls see them. Times in ms from going off-hook.
struct KeysAndDigits {
    const char* what;
    std::uint64_t dialAt;
    std::uint16_t dialOnMs, dialOffMs;
    std::vector<std::uint8_t> sent;  // send codes of request 0x62
    std::uint64_t keysAt;
    const char* keys;  // far-end keys, 100 ms apart
    std::uint32_t keyOnMs;
    // Every rise of the strobe: its code, then "x" when bit 10 was up at
    // that poll (an extension digit).
    const char* rises;
};

std::string StrobeRises(const KeysAndDigits& c, std::uint64_t pollPhase) {
    auto time = std::make_shared<ManualTimeSource>();
    Model model(time);
    model.VendorRequest(true, 0x60, 0, 0, 0, nullptr);
    std::string rises;
    bool was = false;
    for (std::uint64_t t = 0; t < 2000; ++t, time->Advance(1)) {
        if (t == c.dialAt) {
            std::vector<std::uint8_t> codes = c.sent;
            EXPECT_TRUE(model.VendorRequest(false, 0x62, c.dialOnMs, c.dialOffMs,
                                            static_cast<std::uint16_t>(codes.size()),
                                            codes.data()));
        }
        if (t == c.keysAt && *c.keys) {
            EXPECT_EQ(model.PressKeys(c.keys, c.keyOnMs, 100), "");
        }
        if (t < pollPhase || (t - pollPhase) % 30 != 0)
            continue;
        const std::uint16_t s = model.StatusWord().value();
        const bool strobe = s & status::kDtmfStrobe;
        if (strobe && !was)
            rises += (rises.empty() ? "" : " ") + std::to_string(s >> 12) +
                     ((s & status::kDialling) ? "x" : "");
        was = strobe;
    }
    return rises;
}

// A far-end key while the adapter dials: the strobe is low for at least one
// poll, then rises with the key's code while bit 10 is up.
TEST(ModelKeysWhileDialling, FarEndKeyInterruptsTheEchoAndRisesUnderTheDiallingBit) {
    const std::vector<KeysAndDigits> cases = {
        {"the echo alone", 0, 100, 100, {1, 2}, 0, "", 0, "1x 2x"},
        // "5" dialled; the far end presses "#" (code 12) during its echo.
        {"during the echo", 0, 400, 0, {5}, 100, "#", 100, "5x 12x"},
        {"with the first digit", 0, 400, 0, {5}, 0, "#", 100, "12x"},
        {"as the echo ends", 0, 400, 100, {5}, 390, "#", 100, "5x 12x"},
        {"between two echoes", 0, 200, 300, {1, 2}, 250, "#", 100, "1x 12x 2x"},
        // The echo of "2" would begin under the key: it is not shown.
        {"across the next echo", 0, 100, 100, {1, 2, 3}, 150, "#", 100, "1x 12x 3x"},
        // The key outlasts the dialling: bit 10 stays up while it is shown.
        {"at the dialling's end", 0, 300, 0, {5}, 280, "#", 200, "5x 12x"},
        // The echo would start under the first key.
        {"keys from before the dialling", 50, 400, 0, {5}, 0, "1#*", 100, "1 12x 10x"},
        {"after the dialling", 0, 100, 0, {5}, 400, "#", 100, "5x 12"},
    };
    for (const KeysAndDigits& c : cases)
        for (std::uint64_t phase = 0; phase < 30; phase += 6)
            EXPECT_EQ(StrobeRises(c, phase), c.rises) << c.what << ", polls from " << phase;
}

TEST_F(ModelTest, VersionsSerialVolumeAndHeadsetAnswer) {
    std::vector<std::uint8_t> v(2);
    ASSERT_TRUE(Read(0x7E, 0, 0, &v));
    EXPECT_EQ(v, (std::vector<std::uint8_t>{5, 3}));
    model_.SetVersions(2, 1);
    ASSERT_TRUE(Read(0x7E, 0, 0, &v));
    EXPECT_EQ(v, (std::vector<std::uint8_t>{2, 1}));

    ASSERT_TRUE(Write(0x84, 1, 0, {0x78, 0x56, 0x34, 0x12}));
    std::vector<std::uint8_t> serial(4);
    ASSERT_TRUE(Read(0x84, 0, 0, &serial));
    EXPECT_EQ(serial, (std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12}));

    std::vector<std::uint8_t> one(1);
    ASSERT_TRUE(Read(0x86, 1, 60, &one));
    ASSERT_TRUE(Read(0x86, 0, 0, &one));
    EXPECT_EQ(one[0], 60);
    ASSERT_TRUE(Read(0x86, 1, 0, &one));  // code 0 is not a level: kept
    EXPECT_EQ(one[0], 60);

    ASSERT_TRUE(Read(0x85, 0, 0, &one));
    EXPECT_EQ(one[0], 1);
    EXPECT_EQ(model_.SetHeadsetLocation(2), "");
    ASSERT_TRUE(Read(0x85, 0, 0, &one));
    EXPECT_EQ(one[0], 2);
    EXPECT_NE(model_.SetHeadsetLocation(3), "");
}

TEST_F(ModelTest, SimpleCommandsChangeTheAdapterState) {
    ASSERT_TRUE(Read(0x7B));
    ASSERT_TRUE(Read(0x7C, 1));
    ASSERT_TRUE(Read(0x82, 1));
    ASSERT_TRUE(Read(0x81, 1));
    ASSERT_TRUE(Read(0x87, 1));
    ASSERT_TRUE(Write(0x80, 0, 0, {}));
    ASSERT_TRUE(Read(0x74, 1, 3));
    ASSERT_TRUE(Read(0x74, 1, 4));
    const Model::State s = model_.GetState();
    EXPECT_TRUE(s.muted);
    EXPECT_EQ(s.headsetMode, 1);
    EXPECT_TRUE(s.held);
    EXPECT_TRUE(s.arsLed);
    EXPECT_TRUE(s.headsetDisconnected);
    EXPECT_EQ(s.hardwareTests, 1u);
    EXPECT_EQ(s.lineVolume, 9);
    model_.SetArsKey(true);
    EXPECT_TRUE(Status() & status::kArs);
}

TEST_F(ModelTest, UnknownRequestsStallAndAreLogged) {
    std::vector<std::uint8_t> d(1);
    EXPECT_FALSE(Read(0x42, 0, 0, &d));
    EXPECT_FALSE(Write(0x60, 0, 0, {}));  // hook off is an "in" request
    const std::vector<std::string> log = model_.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "VENDOR_READ 0x42 value=0x0000 index=0x0000 length=1 data=00 STALL");
    EXPECT_EQ(log[1], "VENDOR_WRITE 0x60 value=0x0000 index=0x0000 length=0 data= STALL");
}

TEST_F(ModelTest, LogShowsRequestsWithTheirData) {
    ASSERT_TRUE(Write(0x62, 120, 0, {5}));
    std::vector<std::uint8_t> v(2);
    ASSERT_TRUE(Read(0x7E, 0, 0, &v));
    const std::vector<std::string> log = model_.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "VENDOR_WRITE 0x62 value=0x0078 index=0x0000 length=1 data=05");
    EXPECT_EQ(log[1], "VENDOR_READ 0x7E value=0x0000 index=0x0000 length=2 data=0503");
    model_.ClearLog();
    EXPECT_TRUE(model_.Log().empty());
}

TEST_F(ModelTest, UnplugFailsEverythingUntilPlugged) {
    const std::uint64_t generation = model_.PlugGeneration();
    model_.Unplug();
    EXPECT_FALSE(model_.StatusWord().has_value());
    EXPECT_FALSE(Read(0x60));
    EXPECT_EQ(model_.GetState().status, 0xFFFF);
    model_.Plug();
    EXPECT_TRUE(model_.StatusWord().has_value());
    EXPECT_NE(model_.PlugGeneration(), generation);
}

TEST_F(ModelTest, PlaybackDrainsAtTheRealRate) {
    ASSERT_TRUE(Write(0x58, 1000, 0, {0}));
    EXPECT_TRUE(Status() & status::kPlaying);
    std::vector<std::uint8_t> block(64, 0x55);
    std::uint32_t sent = 0;
    for (int i = 0; i < 20; ++i) sent += model_.BulkOut(block.data(), 64);
    EXPECT_LT(sent, 1000u);  // the adapter's buffer is full
    time_->Advance(125);     // 1000 bytes at 8000 bytes/s
    while (sent < 1000) {
        const std::uint32_t n = model_.BulkOut(block.data(), std::min(64u, 1000 - sent));
        if (n == 0)
            time_->Advance(10);
        sent += n;
    }
    time_->Advance(125);
    EXPECT_EQ(Status() & status::kPlaying, 0);
    EXPECT_EQ(model_.GetState().playedBytes, 1000u);
}

TEST_F(ModelTest, AbandonedPlaybackEnds) {
    ASSERT_TRUE(Write(0x58, 30, 0, {0}));  // too short: the host sends nothing
    EXPECT_TRUE(Status() & status::kPlaying);
    time_->Advance(600);
    EXPECT_EQ(Status() & status::kPlaying, 0);
}

TEST_F(ModelTest, RecordingStreamsNumberedRecordsInRealTime) {
    ASSERT_EQ(model_.SetMicrophone(""), "");
    ASSERT_TRUE(Read(0x56, 1, 0));
    EXPECT_TRUE(Status() & status::kRecording);
    std::vector<std::uint8_t> records;
    time_->Advance(500);  // 4000 bytes: 66 whole records, 40 bytes left over
    EXPECT_EQ(model_.TakeRecords(records), 66u);
    ASSERT_EQ(model_.SetSpeed(4), "");
    time_->Advance(250);  // 8000 more bytes at four times the rate
    EXPECT_EQ(model_.TakeRecords(records), 134u);
    ASSERT_EQ(records.size(), 200u * 64);
    for (std::size_t r = 0; r < 200; ++r) {
        const std::uint8_t* record = &records[r * 64];
        ASSERT_EQ(record[1], 60) << r;
        ASSERT_EQ(record[2] | record[3] << 8, static_cast<int>(r + 1)) << r;
        ASSERT_EQ(record[4], 0xFF) << r;  // mu-law silence
    }
    ASSERT_TRUE(Read(0x57));
    EXPECT_EQ(Status() & status::kRecording, 0);
    time_->Advance(500);
    EXPECT_EQ(model_.TakeRecords(records), 0u);
}

TEST_F(ModelTest, ArsKeysArriveDuringAPrompt) {
    ASSERT_TRUE(Write(0x76, 100, 0, {3, 12}));
    ASSERT_EQ(model_.PressKeys("1#", 100, 100), "");
    std::vector<std::uint8_t> poll(1);
    ASSERT_TRUE(Read(0x75, 0, 0, &poll));
    EXPECT_EQ(poll[0], 0x00);  // one key, neither the terminator nor the last
    time_->Advance(300);
    ASSERT_TRUE(Read(0x75, 0, 0, &poll));
    EXPECT_EQ(poll[0], 0xFF);  // the terminator came
    std::vector<std::uint8_t> keys(3);
    ASSERT_TRUE(Read(0x69, 0, 0, &keys));
    EXPECT_EQ(keys, (std::vector<std::uint8_t>{2, 1, 12}));
    ASSERT_TRUE(Read(0x77));
}

}  // namespace
}  // namespace linesim
