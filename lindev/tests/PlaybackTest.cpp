// Playback end to end on the simulated line: the announce counts, the
// blocks, the bytes the line receives, pause and resume, and the stops.
#include <gtest/gtest.h>

#include "AudioFixture.h"

using lindev::test::AudioFixture;
using namespace std::chrono_literals;

namespace {

class PlaybackTest : public AudioFixture {
protected:
    void SetUp() override {
        AudioFixture::SetUp();
        Sim("capture " + File("line.wav").string());
    }
    std::vector<std::uint8_t> Captured() { return vt::test::ReadBytes(File("line.wav")); }
    long WaitForEnd() {
        auto end = window.WaitFor(WM_TY_THREADNOTIFY, 30s);
        return end ? static_cast<long>(end->lParam) : -1;
    }
};

TEST_F(PlaybackTest, HeaderFileIsAnnouncedWithoutItsSeventyBytesAndArrivesExactly) {
    const std::vector<std::uint8_t> file = Pattern(1070);
    WriteFile(File("greeting.wav"), file);
    ASSERT_EQ(TY_WaveOut(File("greeting.wav").c_str(), 0, 0, 0), 1);
    EXPECT_EQ(WaitForEnd(), 0);
    EXPECT_EQ(Requests("0x58"),
              std::vector<std::string>{"VENDOR_WRITE 0x58 value=0x03E8 index=0x0000 length=1 data=00"});
    std::vector<int> blocks(15, 64);
    blocks.push_back(40);
    EXPECT_EQ(BulkOutLengths(), blocks);
    const std::vector<std::uint8_t> line = Captured();
    ASSERT_EQ(line.size(), 44u + 1000);
    EXPECT_TRUE(std::equal(line.begin() + 44, line.end(), file.begin() + 70));
    EXPECT_TRUE(Logged("Play()."));
    EXPECT_TRUE(Logged("Message5. WM_TY_THREADNOTIFY 0L"));
}

TEST_F(PlaybackTest, RawFileIsSentWholeAndSynchronousPlaybackReturnsAtItsEnd) {
    // Eleven 18-byte frames and one silent frame: 240 ms of compressed sound.
    std::vector<std::uint8_t> file = Pattern(200, 99);
    for (std::size_t r = 0; r < 11; ++r) file[r * 18] = 0x40;
    file[198] = 0xE0;
    file[199] = 0x00;
    WriteFile(File("message.vrc"), file);
    ASSERT_EQ(TY_WaveOut(File("message.vrc").c_str(), 1, 1, 0), 1);
    EXPECT_EQ(Requests("0x58"),
              std::vector<std::string>{"VENDOR_WRITE 0x58 value=0x00C8 index=0x0000 length=1 data=01"});
    EXPECT_EQ(Captured(), file);
    auto end = window.WaitFor(WM_TY_THREADNOTIFY, 5s);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->lParam, 0);
    WaitUntilPlayedOut();
}

TEST_F(PlaybackTest, ShortOrMissingFilesEndWithTheirMessages) {
    WriteFile(File("short.wav"), Pattern(99));
    ASSERT_EQ(TY_WaveOut(File("short.wav").c_str(), 0, 0, 0), 1);
    EXPECT_EQ(WaitForEnd(), 0);
    EXPECT_TRUE(Logged("Message3. WM_TY_THREADNOTIFY 0L"));
    ASSERT_EQ(TY_WaveOut(File("none.wav").c_str(), 0, 0, 0), 1);
    EXPECT_EQ(WaitForEnd(), 0);
    EXPECT_TRUE(Logged("Message1. WM_TY_THREADNOTIFY 0L"));
    EXPECT_TRUE(Requests("0x58").empty());
    // The failed playbacks leave the slot free.
    EXPECT_EQ(TY_StartRecord(File("after.wav").c_str(), 1, 0, 0), 1);
    EXPECT_EQ(TY_StopRecord(0), 1);
    window.WaitFor(WM_TY_THREADNOTIFY, 5s);
}

TEST_F(PlaybackTest, PausedPositionedPlaybackResumesFromItsLastProgress) {
    const std::vector<std::uint8_t> file = Pattern(8070, 7);  // 1 s of sound
    WriteFile(File("long.wav"), file);
    ASSERT_EQ(TY_WaveOutSub(File("long.wav").c_str(), 10, 0, 0, 0), 1);
    EXPECT_EQ(Requests("0x58").at(0), "VENDOR_WRITE 0x58 value=0x1F40 index=0x0000 length=1 data=00");
    ASSERT_TRUE(window.WaitFor(WM_TY_PLAYPROGRESS, 5s));
    std::this_thread::sleep_for(200ms);
    ASSERT_EQ(TY_PauseWaveOut(0), 1);
    long last = 0;
    long notify = -1;
    for (const vt::PostedMessage& m : window.Drain()) {
        if (m.message == WM_TY_PLAYPROGRESS) last = static_cast<long>(m.lParam);
        if (m.message == WM_TY_THREADNOTIFY) notify = static_cast<long>(m.lParam);
    }
    EXPECT_EQ(notify, 5);
    ASSERT_GT(last, 70);
    ASSERT_LT(last, 8070);
    EXPECT_TRUE(Logged("Message10. WM_TY_THREADNOTIFY 5L"));

    WaitUntilPlayedOut();  // the adapter plays what it holds; the user resumes later
    Sim("log clear");
    ASSERT_EQ(TY_WaveOutSub(File("long.wav").c_str(), static_cast<int>(last), 0, 0, 0), 1);
    EXPECT_EQ(WaitForEnd(), 0);
    char announce[96];
    std::snprintf(announce, sizeof announce,
                  "VENDOR_WRITE 0x58 value=0x%04lX index=0x0000 length=1 data=00", 8070 - last);
    EXPECT_EQ(Requests("0x58"), std::vector<std::string>{announce});
    const std::vector<std::uint8_t> line = Captured();
    ASSERT_EQ(line.size(), 44u + 8070 - last);
    EXPECT_TRUE(std::equal(line.begin() + 44, line.end(), file.begin() + last));
    EXPECT_TRUE(Logged("Message11. WM_TY_THREADNOTIFY 0L"));
    EXPECT_EQ(TY_WaveOutSub(File("long.wav").c_str(), 70, 0, 1, 0), 0) << "raw cannot be positioned";
}

TEST_F(PlaybackTest, AStoppedPlaybackFreesTheLineForTheNextAtOnce) {
    // The answering machine plays its next prompt 100 ms after a stop.
    WriteFile(File("long.wav"), Pattern(16070));
    ASSERT_EQ(TY_WaveOut(File("long.wav").c_str(), 0, 0, 0), 1);
    ASSERT_EQ(TY_StopWaveOut(0), 1);
    EXPECT_EQ(WaitForEnd(), 0);
    EXPECT_NE(Sim("status").find("playing=no"), std::string::npos)
        << "the stop block ends the adapter's playback";
    EXPECT_EQ(BulkOutLengths().back(), 50);
    ASSERT_EQ(TY_WaveOut(File("long.wav").c_str(), 0, 0, 0), 1);
    ASSERT_EQ(TY_StopWaveOut(0), 1);
    EXPECT_EQ(WaitForEnd(), 0);
}

TEST_F(PlaybackTest, StopWhenNothingPlaysPostsEndAndReturnsZero) {
    EXPECT_EQ(TY_StopWaveOut(0), 0);
    auto end = window.WaitFor(WM_TY_THREADNOTIFY, 5s);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->lParam, 0);
    EXPECT_TRUE(Logged("Play(). WM_TY_THREADNOTIFY 0L"));
    EXPECT_EQ(TY_PauseWaveOut(0), 0);
}

TEST_F(PlaybackTest, HookChangeAndCloseEndThePlaybackThread) {
    WriteFile(File("long.wav"), Pattern(16070));
    ASSERT_EQ(TY_WaveOut(File("long.wav").c_str(), 0, 0, 0), 1);
    EXPECT_EQ(TY_HookOff(0), 0) << "refused while playing";
    Sim("handset up");
    EXPECT_EQ(WaitForEnd(), 0);
    EXPECT_TRUE(Logged("Stop Play. When LINE State change. "));
    Sim("handset down");
    WaitUntilPlayedOut();
    ASSERT_EQ(TY_WaveOut(File("long.wav").c_str(), 0, 0, 0), 1);
    TY_StopService(0);
    const int endsBefore = Count("Message5. WM_TY_THREADNOTIFY 0L");
    EXPECT_EQ(TY_CloseDeviceByIndex(0), 1);
    // The thread ended before the close returned.
    EXPECT_EQ(Count("Message5. WM_TY_THREADNOTIFY 0L") - endsBefore, 1);
    const std::size_t sent = BulkOutLengths().size();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(BulkOutLengths().size(), sent);
    Reopen();
}

}  // namespace
