// Recording end to end on the simulated line: the file holds exactly the
// line audio, the compressed mode hands chunks to the application, and
// every way a recording ends posts one WM_TY_THREADNOTIFY 1.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <algorithm>

#include "AudioFixture.h"

using lindev::test::AudioFixture;
using namespace std::chrono_literals;

namespace {

class RecordingTest : public AudioFixture {
protected:
    // Waits for the end of the recording; the lParam of its message.
    long WaitForEnd() {
        auto end = window.WaitFor(WM_TY_THREADNOTIFY, 20s);
        return end ? static_cast<long>(end->lParam) : -1;
    }
};

TEST_F(RecordingTest, ModeZeroAcrossTwoRingWrapsIsExactAndGapFree) {
    // 2.9 rings of far-end audio at fifty times the real rate (a ring every 0.6 s).
    const std::vector<std::uint8_t> pattern = Pattern(700000);
    Sim("audio " + MuLawWav("far.wav", pattern).string());
    Sim("speed 50");
    ASSERT_EQ(TY_HookOff(0), 1);
    Sim("tone off");  // the far end alone, without the exchange's dial tone
    const auto path = File("call.wav");
    ASSERT_EQ(TY_StartRecord(path.c_str(), 1, 0, 0), 1);
    // Two wraps are 8000 records of 60 bytes: 1.2 s at this speed.
    for (int i = 0; i < 100 && Model().GetState().recording; ++i) {
        std::this_thread::sleep_for(100ms);
        if (std::filesystem::file_size(path) > 44 + 8600 * 60) break;
    }
    ASSERT_EQ(TY_StopRecord(0), 1);
    EXPECT_EQ(WaitForEnd(), 1);

    const std::vector<std::uint8_t> file = vt::test::ReadBytes(path);
    ASSERT_GT(file.size(), 44u + 8000 * 60) << "the ring wrapped at least twice";
    const auto info = vt::test::ReadWavInfo(path);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->format, 7u);
    EXPECT_EQ(info->dataBytes, file.size() - 44);
    EXPECT_EQ(info->riffLength, file.size() - 44 + 36);
    const std::size_t n = file.size() - 44;
    ASSERT_LE(n, pattern.size());
    // The far end from its first byte on: no gap, no repeat.
    EXPECT_TRUE(std::equal(file.begin() + 44, file.end(), pattern.begin()))
        << (LogText().find("Record() ring lapped") != std::string::npos ? "the drain was overtaken (a loaded machine?)"
                                           : "not lapped");
    EXPECT_EQ(Requests("0x56"),
              std::vector<std::string>{"VENDOR_READ 0x56 value=0x0001 index=0x0000 length=0 data="});
    EXPECT_EQ(Requests("0x57").size(), 1u);
    EXPECT_TRUE(Logged("RecordStart() file=" + path.string()));
    EXPECT_TRUE(Logged("Record() End. WM_TY_THREADNOTIFY 1L FileSize=" + std::to_string(n) +
                       " RecMode=0"));
}

TEST_F(RecordingTest, HangingUpEndsTheRecordingExactlyOnce) {
    ASSERT_EQ(TY_HookOff(0), 1);
    ASSERT_TRUE(window.WaitFor(WM_TY_LINENOTIFY, 10s));
    const int endsBefore = Count("Record() End.");
    ASSERT_EQ(TY_StartRecord(File("hangup.wav").c_str(), 1, 0, 0), 1);
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(TY_HookOn(0), 1);
    EXPECT_EQ(WaitForEnd(), 1);
    auto hook = window.WaitFor(WM_TY_LINENOTIFY, 10s);
    ASSERT_TRUE(hook);
    EXPECT_EQ(hook->lParam, 0);
    // The application stops its recording on the hook message, as the phone does.
    EXPECT_EQ(TY_StopRecord(0), 1);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(window.Count(WM_TY_THREADNOTIFY), 0u);
    EXPECT_EQ(Count("Record() End.") - endsBefore, 1);
    EXPECT_FALSE(Model().GetState().recording);
    EXPECT_GT(std::filesystem::file_size(File("hangup.wav")), 44u);
}

TEST_F(RecordingTest, ModeOneHandsChunksThatStayValid) {
    const auto speech = File("speech.wav");
    ASSERT_TRUE(vt::test::WritePcmWav(speech, vt::test::SpeechLikeSamples(3000)));
    Sim("audio " + speech.string());
    ASSERT_EQ(TY_HookOff(0), 1);
    const auto path = File("call.vrc");
    ASSERT_EQ(TY_StartRecord(path.c_str(), 0, 3, 0), 1);  // type 3: mode 1
    std::vector<const std::uint8_t*> chunks;
    std::vector<std::vector<std::uint8_t>> copies;
    while (chunks.size() < 3) {
        auto m = window.WaitFor(WM_TY_RECORDDATA, 10s);
        ASSERT_TRUE(m);
        const auto* chunk = reinterpret_cast<const std::uint8_t*>(m->lParam);
        chunks.push_back(chunk);
        copies.emplace_back(chunk, chunk + 132);
    }
    ASSERT_EQ(TY_StopRecord(0), 1);
    EXPECT_EQ(WaitForEnd(), 1);
    EXPECT_NE(Requests("0x56").at(0).find("index=0x0001"), std::string::npos);
    const std::vector<std::uint8_t> file = vt::test::ReadBytes(path);
    std::size_t offset = 0;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        if (i > 0) {
            const std::size_t length = static_cast<std::size_t>(chunks[i] - chunks[i - 1]);
            EXPECT_GE(length, 132u);
            EXPECT_LE(length, 191u);
            offset += length;
        }
        ASSERT_GE(file.size(), offset + 132);
        EXPECT_TRUE(std::equal(copies[i].begin(), copies[i].end(), file.begin() + offset)) << i;
    }
}

TEST_F(RecordingTest, RefusalsAndAFileThatCannotBeMade) {
    EXPECT_EQ(TY_StartRecord("a.w", 1, 0, 0), 0);
    EXPECT_TRUE(Requests("0x56").empty());
    EXPECT_EQ(TY_StartRecord(std::string(300, 'x').c_str(), 1, 0, 0), 0);
    EXPECT_EQ(TY_StartRecord(nullptr, 1, 0, 0), 0);
    EXPECT_EQ(TY_StartRecord("x.wav", 1, 0, 9), 0);  // outside the table

    ASSERT_EQ(TY_HookOff(0), 1);
    ASSERT_EQ(TY_StartRecord(File("no/such/folder.wav").c_str(), 1, 0, 0), 1);
    EXPECT_EQ(WaitForEnd(), 1);
    EXPECT_TRUE(Logged("Record() FAILED 1. WM_TY_THREADNOTIFY 1L"));
    EXPECT_EQ(TY_StopRecord(0), 1);  // the transfer, still running, ends here
    EXPECT_FALSE(Model().GetState().recording) << "the adapter is told to stop recording";
}

TEST_F(RecordingTest, AFullDiskEndsTheRecordingWithWhatWasWritten) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    Sim("speed 100");
    ASSERT_EQ(TY_HookOff(0), 1);
    ASSERT_EQ(TY_StartRecord("/dev/full", 1, 0, 0), 1);
    EXPECT_EQ(WaitForEnd(), 1);  // without a stop: the engine ends it
    EXPECT_NE(LogText().find("Record() FAILED 3. cannot write /dev/full"), std::string::npos);
    EXPECT_EQ(Requests("0x57").size(), 1u);
    EXPECT_EQ(TY_StopRecord(0), 1);
}

TEST_F(RecordingTest, ADiskThatFillsLeavesAHeaderThatMatchesTheFile) {
    // The file may grow to 30000 bytes, as on a disk that fills mid-call.
    constexpr rlim_t kLimit = 30000;
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct sigaction ignore {}, previous {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &previous), 0);
    Sim("audio " + MuLawWav("far.wav", Pattern(200000)).string());
    Sim("speed 20");
    ASSERT_EQ(TY_HookOff(0), 1);
    const auto path = File("full.wav");
    struct rlimit limited = old;
    limited.rlim_cur = kLimit;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    ASSERT_EQ(TY_StartRecord(path.c_str(), 1, 0, 0), 1);
    const long end = WaitForEnd();
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_EQ(end, 1);
    EXPECT_EQ(TY_StopRecord(0), 1);

    ASSERT_EQ(std::filesystem::file_size(path), kLimit);
    const auto info = vt::test::ReadWavInfo(path);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dataBytes, kLimit - 44) << "only what reached the file is counted";
    EXPECT_EQ(info->riffLength, kLimit - 44 + 36);
    EXPECT_TRUE(Logged("Record() End. WM_TY_THREADNOTIFY 1L FileSize=" +
                       std::to_string(kLimit - 44) + " RecMode=0"));
    EXPECT_NE(LogText().find("Record() FAILED 3. cannot write " + path.string()), std::string::npos);
}

TEST_F(RecordingTest, EachPassReachesTheFileWhileTheRecordingRuns) {
    // Nothing waits in a buffer of the program: what a killed program had
    // drained is in the file already.
    Sim("audio " + MuLawWav("far.wav", Pattern(100000)).string());
    Sim("speed 4");
    ASSERT_EQ(TY_HookOff(0), 1);
    const auto path = File("live.vrc");
    ASSERT_EQ(TY_StartRecord(path.c_str(), 0, 1, 0), 1);  // compressed, mode 3
    std::uintmax_t size = 0;
    for (int i = 0; i < 100 && size == 0; ++i) {
        std::this_thread::sleep_for(50ms);
        std::error_code ec;
        size = std::filesystem::file_size(path, ec);
    }
    EXPECT_GT(size, 0u) << "the compressed records are in the file while it records";
    ASSERT_EQ(TY_StopRecord(0), 1);
    EXPECT_EQ(WaitForEnd(), 1);
}

TEST_F(RecordingTest, AStopEndsARecordingThatAnEarlierRunLeftOnTheAdapter) {
    ASSERT_EQ(TY_HookOff(0), 1);
    // Another program started this recording and died: the adapter streams on.
    ASSERT_TRUE(Model().VendorRequest(true, 0x56, 0, 0, 0, nullptr));
    ASSERT_TRUE(Model().GetState().recording);
    EXPECT_EQ(TY_StopRecord(0), 1);
    EXPECT_FALSE(Model().GetState().recording);
    EXPECT_EQ(Requests("0x57").size(), 1u);
    EXPECT_EQ(TY_StopRecord(0), 1);
    EXPECT_EQ(Requests("0x57").size(), 1u) << "nothing to stop the second time";
}

TEST_F(RecordingTest, LocalGreetingIsRecordedOnHookInLocationTwo) {
    Sim("headset 2");
    Sim("mic " + MuLawWav("mic.wav", std::vector<std::uint8_t>(4000, 0x3C)).string());
    const auto path = File("greeting.wav");
    ASSERT_EQ(TY_StartRecord(path.c_str(), 1, 0, 0), 1);
    std::this_thread::sleep_for(400ms);
    EXPECT_TRUE(Model().GetState().recording);  // on-hook in location 2 goes on
    ASSERT_EQ(TY_StopRecord(0), 1);
    EXPECT_EQ(WaitForEnd(), 1);
    const std::vector<std::uint8_t> file = vt::test::ReadBytes(path);
    ASSERT_GT(file.size(), 44u);
    EXPECT_TRUE(std::all_of(file.begin() + 44, file.end(), [](std::uint8_t b) { return b == 0x3C; }));
}

}  // namespace
