// The model's audio side with stepped time: the recording stream carries the
// line audio in every mode, playback drains at the rate of its format and is
// captured exactly, ARS keys follow the terminator and maximum rules, the
// firmware image is kept, and the adapter's own digits show as strobes.
#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <vector>

#include "linesim/ManualTimeSource.h"
#include "linesim/Model.h"
#include "speechcodec/MuLaw.h"
#include "speechcodec/VrcWalker.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"
#include "usbline/AdapterProtocol.h"

namespace linesim {
namespace {

namespace status = usbline::protocol::status;

class AudioModelTest : public ::testing::Test {
protected:
    vt::test::TestEnvironment env_;
    std::shared_ptr<ManualTimeSource> time_ = std::make_shared<ManualTimeSource>();
    Model model_{time_};

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
    // A mu-law WAV holding exactly these codes.
    std::string MuLawFile(const std::string& name, const std::vector<std::uint8_t>& codes) {
        const auto path = env_.Root() / name;
        std::vector<std::uint8_t> bytes = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E',
                                           'f', 'm', 't', ' ', 16, 0, 0, 0, 7, 0, 1, 0,
                                           0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0,
                                           'd', 'a', 't', 'a', 0, 0, 0, 0};
        const std::uint32_t n = static_cast<std::uint32_t>(codes.size());
        for (int i = 0; i < 4; ++i) {
            bytes[4 + i] = static_cast<std::uint8_t>((n + 36) >> (8 * i));
            bytes[40 + i] = static_cast<std::uint8_t>(n >> (8 * i));
        }
        bytes.insert(bytes.end(), codes.begin(), codes.end());
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path.string();
    }
    // Payloads of the records, in order.
    static std::vector<std::uint8_t> Payloads(const std::vector<std::uint8_t>& records) {
        std::vector<std::uint8_t> out;
        for (std::size_t r = 0; r < records.size(); r += 64)
            out.insert(out.end(), records.begin() + r + 4, records.begin() + r + 4 + records[r + 1]);
        return out;
    }
};

TEST_F(AudioModelTest, HeldLineRecordsTheFarEndExactlyAndLoops) {
    std::vector<std::uint8_t> pattern(1000);
    std::iota(pattern.begin(), pattern.end(), 0);  // 0..255 repeating
    pattern[999] = 0x42;
    ASSERT_EQ(model_.SetFarAudio(MuLawFile("far.wav", pattern)), "");
    ASSERT_EQ(model_.SetHandset(true), "");
    ASSERT_EQ(model_.SetTone(Tone::Off), "");  // no dial tone over the far end
    ASSERT_TRUE(Read(0x56, 1, 0));
    time_->Advance(300);  // 2400 bytes: 40 records, past the end of the file
    std::vector<std::uint8_t> records;
    ASSERT_EQ(model_.TakeRecords(records), 40u);
    const std::vector<std::uint8_t> got = Payloads(records);
    ASSERT_EQ(got.size(), 2400u);
    for (std::size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], pattern[i % 1000]) << i;
}

// A caller who hangs up leaves the exchange's busy tone on the held line:
// the recording hears the far end until then, and after it only the tone,
// 500 ms on and 500 ms off in audio time at any stream speed.
TEST_F(AudioModelTest, AFarEndThatHangsUpLeavesTheBusyToneInTheRecording) {
    ASSERT_EQ(model_.SetFarAudio(MuLawFile("far.wav", std::vector<std::uint8_t>(100, 0x11))), "");
    for (std::uint32_t speed : {1u, 5u}) {
        SCOPED_TRACE(speed);
        ASSERT_EQ(model_.SetSpeed(speed), "");
        ASSERT_EQ(model_.Ring(kDefaultRing), "");
        ASSERT_EQ(model_.SetHandset(true), "");  // answers: no tone
        ASSERT_TRUE(Read(0x56, 1, 0));
        time_->Advance(1000 / speed);  // one second of the caller
        std::vector<std::uint8_t> records;
        model_.TakeRecords(records);
        ASSERT_EQ(model_.FarHangUp(), "");
        time_->Advance(2000 / speed);  // two seconds of busy tone
        model_.TakeRecords(records);
        const std::vector<std::uint8_t> audio = Payloads(records);
        ASSERT_GE(audio.size(), 23940u);
        for (std::size_t i = 0; i < 7980; ++i) ASSERT_EQ(audio[i], 0x11) << i;
        // Per 50 ms block after the hang-up: tone (loud) or silence (0xFF).
        for (std::size_t block = 0; block < 39; ++block) {
            const std::size_t from = 7980 + block * 400 + 20;  // clear of the edges
            double energy = 0;
            for (std::size_t i = from; i < from + 360; ++i) {
                const double v = speechcodec::MuLawDecode(audio[i]);
                energy += v * v;
            }
            const bool on = (block / 10) % 2 == 0;
            if (on)
                EXPECT_GT(energy / 360, 1e6) << block;
            else
                EXPECT_EQ(energy, 0.0) << block;
        }
        ASSERT_TRUE(Read(0x57));
        ASSERT_EQ(model_.SetHandset(false), "");
    }
}

TEST_F(AudioModelTest, OnHookRecordsTheMicrophone) {
    ASSERT_EQ(model_.SetFarAudio(MuLawFile("far.wav", std::vector<std::uint8_t>(100, 0x11))), "");
    ASSERT_EQ(model_.SetMicrophone(MuLawFile("mic.wav", std::vector<std::uint8_t>(100, 0x22))), "");
    ASSERT_TRUE(Read(0x56, 1, 0));
    time_->Advance(30);
    std::vector<std::uint8_t> records;
    ASSERT_EQ(model_.TakeRecords(records), 4u);
    EXPECT_EQ(Payloads(records), std::vector<std::uint8_t>(240, 0x22));
    EXPECT_NE(model_.SetMicrophone("/no/such.wav"), "");
    EXPECT_NE(model_.SetFarAudio(env_.Root().string()), "");
}

TEST_F(AudioModelTest, CompressedModesStreamWholeFramesAtFiftyAPerSecond) {
    const auto speech = env_.Root() / "speech.wav";
    ASSERT_TRUE(vt::test::WritePcmWav(speech, vt::test::SpeechLikeSamples(2000)));
    ASSERT_EQ(model_.SetFarAudio(speech.string()), "");
    ASSERT_EQ(model_.SetHandset(true), "");
    for (int mode : {1, 2, 3}) {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(Read(0x56, 1, static_cast<std::uint16_t>(mode)));
        time_->Advance(1000);  // 50 frames: 25 records of two
        std::vector<std::uint8_t> records;
        ASSERT_EQ(model_.TakeRecords(records), 25u);
        const std::vector<std::uint8_t> data = Payloads(records);
        speechcodec::VrcWalker walker(data);
        speechcodec::VrcRecord record;
        std::uint32_t frames = 0;
        std::size_t coded = 0;
        while (walker.Next(record)) {
            frames += record.frames;
            if (record.length == std::size_t{mode == 1 ? 11u : mode == 2 ? 18u : 24u}) ++coded;
        }
        EXPECT_FALSE(walker.Truncated());
        EXPECT_EQ(frames, 50u);
        EXPECT_GT(coded, 25u);  // speech, coded at the mode's rate
        ASSERT_TRUE(Read(0x57));
    }
}

TEST_F(AudioModelTest, PlaybackIsCapturedExactlyAndDrainsAtItsFormatRate) {
    const auto capture = env_.Root() / "capture.wav";
    ASSERT_EQ(model_.SetCapture(capture.string()), "");
    std::vector<std::uint8_t> sound(400);
    std::iota(sound.begin(), sound.end(), 7);
    ASSERT_TRUE(Write(0x58, 400, 0, {0}));
    std::uint32_t sent = model_.BulkOut(sound.data(), 400);
    EXPECT_EQ(sent, 400u);  // fits the 512-byte buffer
    time_->Advance(49);     // 392 bytes played at 8000 a second
    EXPECT_TRUE(model_.GetState().playing);
    time_->Advance(2);
    EXPECT_FALSE(model_.GetState().playing);
    const std::vector<std::uint8_t> file = vt::test::ReadBytes(capture);
    ASSERT_EQ(file.size(), 44u + 400);
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 44, file.end()), sound);
    const auto info = vt::test::ReadWavInfo(capture);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->format, 7u);
    EXPECT_EQ(info->dataBytes, 400u);

    // Compressed: one 24-byte frame and a run of 9 silent frames last 200 ms.
    std::vector<std::uint8_t> vrc(24, 0);
    vrc[0] = 0x80;
    vrc.push_back(0xE0);
    vrc.push_back(8);
    ASSERT_TRUE(Write(0x58, 26, 0, {1}));
    EXPECT_EQ(model_.BulkOut(vrc.data(), 26), 26u);
    time_->Advance(190);
    EXPECT_TRUE(model_.GetState().playing);
    time_->Advance(10);
    EXPECT_FALSE(model_.GetState().playing);
    EXPECT_EQ(vt::test::ReadBytes(capture), vrc);  // raw, without a header
    ASSERT_EQ(model_.SetCapture(""), "");
    EXPECT_NE(model_.SetCapture((env_.Root() / "no" / "such").string()), "");
}

TEST_F(AudioModelTest, ArsKeysFollowTheMaximumAndReachBulkIn) {
    // Maximum keys 3: two keys, no terminator among them.
    ASSERT_TRUE(Write(0x76, 1000, 0, {3, 12}));
    std::uint8_t status = 0;
    ASSERT_EQ(model_.PressKeys("45", 100, 100), "");
    time_->Advance(150);
    model_.BulkIn(&status, 1);
    EXPECT_EQ(status, 0);  // one key so far
    time_->Advance(200);
    model_.BulkIn(&status, 1);
    EXPECT_EQ(status, 1);
    std::vector<std::uint8_t> reply(3);
    ASSERT_TRUE(Read(0x69, 0, 0, &reply));
    EXPECT_EQ(reply, (std::vector<std::uint8_t>{2, 4, 5}));
    // Keys after the collection belong to no prompt.
    ASSERT_EQ(model_.PressKeys("7", 100, 100), "");
    time_->Advance(300);
    std::vector<std::uint8_t> poll(1);
    ASSERT_TRUE(Read(0x75, 0, 0, &poll));
    EXPECT_EQ(poll[0], 0x00);
    // The terminator "*" (code 10) ends the keys early.
    ASSERT_TRUE(Write(0x76, 1000, 0, {5, 10}));
    ASSERT_EQ(model_.PressKeys("9*3", 100, 100), "");
    time_->Advance(600);
    ASSERT_TRUE(Read(0x75, 0, 0, &poll));
    EXPECT_EQ(poll[0], 0xFF);
    reply.assign(5, 0xEE);
    ASSERT_TRUE(Read(0x69, 0, 0, &reply));
    EXPECT_EQ(reply, (std::vector<std::uint8_t>{2, 9, 10, 0, 0}));
}

TEST_F(AudioModelTest, FirmwareImageIsKeptForStatus) {
    ASSERT_TRUE(Read(0x79, 300, 0));
    std::vector<std::uint8_t> image(300, 0x5A);
    EXPECT_EQ(model_.BulkOut(image.data(), 300), 300u);
    EXPECT_EQ(model_.GetState().firmwareBytes, 300u);
    EXPECT_NE(model_.StatusLine().find(" firmware=300"), std::string::npos);
}

TEST_F(AudioModelTest, DigitsTheAdapterDialsShowAsStrobesWithBitTen) {
    ASSERT_EQ(model_.SetHandset(true), "");
    ASSERT_TRUE(Write(0x62, 100, 50, {0, 11}));  // "0", "#"
    std::uint16_t first = model_.StatusWord().value();
    EXPECT_EQ(first & (status::kDialling | status::kDtmfStrobe),
              status::kDialling | status::kDtmfStrobe);
    EXPECT_EQ(first >> 12, 11);  // "0" as the receiver reports it
    time_->Advance(120);
    EXPECT_EQ(model_.StatusWord().value() & status::kDtmfStrobe, 0);  // the gap
    time_->Advance(40);
    const std::uint16_t second = model_.StatusWord().value();
    EXPECT_TRUE(second & status::kDtmfStrobe);
    EXPECT_EQ(second >> 12, 12);  // "#"
    time_->Advance(200);
    EXPECT_EQ(model_.StatusWord().value() & (status::kDialling | status::kDtmfStrobe), 0);
}

}  // namespace
}  // namespace linesim
