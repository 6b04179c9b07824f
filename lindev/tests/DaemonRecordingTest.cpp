// Recording and playback through the real socket driver, against a
// `linesim serve` daemon in its own process, scripted with the `linesim`
// client as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "lindev/lindev.h"
#include "linesim/ScopedDaemon.h"
#include "platform/QueueMessageWindow.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"

using namespace std::chrono_literals;

namespace {

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

TEST(DaemonRecording, TheFarEndArrivesExactlyAndPlaybackIsCapturedExactly) {
    vt::test::TestEnvironment env;
    linesim::test::ScopedDaemon daemon(0);
    // A mu-law far end of known bytes, named relative to the client's folder.
    std::vector<std::uint8_t> wav = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm',
                                     't', ' ', 16, 0, 0, 0, 7, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40,
                                     0x1F, 0, 0, 1, 0, 8, 0, 'd', 'a', 't', 'a', 0, 0, 0, 0};
    std::vector<std::uint8_t> pattern(200000);
    std::uint32_t seed = 5;
    for (auto& b : pattern) b = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    const std::uint32_t n = static_cast<std::uint32_t>(pattern.size());
    for (int i = 0; i < 4; ++i) {
        wav[4 + i] = static_cast<std::uint8_t>((n + 36) >> (8 * i));
        wav[40 + i] = static_cast<std::uint8_t>(n >> (8 * i));
    }
    wav.insert(wav.end(), pattern.begin(), pattern.end());
    std::filesystem::current_path(env.Root());
    WriteBytes(env.Root() / "far.wav", wav);
    std::string out;
    ASSERT_EQ(linesim::test::RunLinesim("audio far.wav", &out), 0) << out;
    ASSERT_EQ(linesim::test::RunLinesim("capture line.wav", &out), 0) << out;
    EXPECT_NE(linesim::test::RunLinesim("audio missing.wav", &out), 0);
    EXPECT_NE(out.find((env.Root() / "missing.wav").string()), std::string::npos) << out;
    daemon.Command("speed 20");

    vt::QueueMessageWindow window;
    ASSERT_EQ(TY_InitializeAllDevice(), 1);
    ASSERT_EQ(TY_OpenDeviceByIndex(0, 0), 1);
    ASSERT_EQ(TY_StartService(&window, 0), 0);
    ASSERT_EQ(TY_HookOff(0), 1);
    daemon.Command("tone off");  // the far end alone, without the exchange's dial tone
    const auto path = env.Root() / "call.wav";
    ASSERT_EQ(TY_StartRecord(path.c_str(), 1, 0, 0), 1);
    std::this_thread::sleep_for(800ms);
    ASSERT_EQ(TY_StopRecord(0), 1);
    ASSERT_TRUE(window.WaitFor(WM_TY_THREADNOTIFY, 10s));
    const std::vector<std::uint8_t> file = vt::test::ReadBytes(path);
    ASSERT_GT(file.size(), 44u + 60000) << "a fifth of the pattern at least";
    ASSERT_LE(file.size() - 44, pattern.size());
    EXPECT_TRUE(std::equal(file.begin() + 44, file.end(), pattern.begin()));
    const auto info = vt::test::ReadWavInfo(path);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dataBytes, file.size() - 44);

    // The recording played back into the line arrives byte for byte.
    ASSERT_EQ(TY_WaveOut(path.c_str(), 0, 0, 0), 1);
    auto end = window.WaitFor(WM_TY_THREADNOTIFY, 20s);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->lParam, 0);
    const std::vector<std::uint8_t> line = vt::test::ReadBytes(env.Root() / "line.wav");
    ASSERT_EQ(line.size(), file.size() - 70 + 44);
    EXPECT_TRUE(std::equal(line.begin() + 44, line.end(), file.begin() + 70));
    TY_HookOn(0);
    TY_StopService(0);
    TY_CloseDeviceByIndex(0);
}

}  // namespace
