// tyctl's audio commands run in-process against a simulated adapter, with
// the keyboard played through a pipe.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <sstream>
#include <thread>

#include "linesim/InProcessAdapter.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"
#include "tyctl/AudioCommands.h"
#include "tyctl/CommandTable.h"

using namespace tyctl;
using namespace std::chrono_literals;

namespace {

struct ToolRun {
    int code;
    std::string out, err;
};

class AudioCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::pipe(keys_), 0);
        SetKeyboardInput(keys_[0]);
    }
    void TearDown() override {
        SetKeyboardInput(STDIN_FILENO);
        ::close(keys_[0]);
        if (keys_[1] >= 0)
            ::close(keys_[1]);
    }
    static ToolRun Run(std::vector<std::string> args, const std::atomic<bool>* stop = nullptr) {
        static const std::atomic<bool> never{false};
        std::vector<const char*> argv{"tyctl"};
        for (const std::string& a : args) argv.push_back(a.c_str());
        std::ostringstream out, err;
        const int code = CommandTable::Dispatch(static_cast<int>(argv.size()), argv.data(), out,
                                                err, stop ? *stop : never);
        return {code, out.str(), err.str()};
    }
    void Press() { ASSERT_EQ(::write(keys_[1], "\n", 1), 1); }
    std::string P(const std::string& name) { return (env.Root() / name).string(); }
    void Write(const std::string& name, std::size_t size) {
        std::vector<std::uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
        std::FILE* f = std::fopen(P(name).c_str(), "wb");
        std::fwrite(bytes.data(), 1, size, f);
        std::fclose(f);
    }

    vt::test::TestEnvironment env;
    linesim::InProcessAdapter adapter{0};
    int keys_[2] = {-1, -1};
};

TEST_F(AudioCommandsTest, RecordRunsUntilEnterAndFinishesTheFile) {
    adapter.Command("handset up");
    auto run = std::async(std::launch::async, [&] { return Run({"record", P("call.wav")}); });
    std::this_thread::sleep_for(600ms);
    Press();
    const ToolRun r = run.get();
    EXPECT_EQ(r.code, kExitOk) << r.err;
    const auto info = vt::test::ReadWavInfo(P("call.wav"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->format, 7u);
    EXPECT_GT(info->dataBytes, 0u);
    EXPECT_EQ(info->fileBytes, 44u + info->dataBytes);
    EXPECT_NE(r.out.find(P("call.wav") + "에 " + std::to_string(info->fileBytes) +
                         "바이트를 녹음했습니다\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("progress "), std::string::npos) << "not a terminal: one line per step";
}

TEST_F(AudioCommandsTest, RecordEndsOnTheStopSignalAndAtTheEndOfInput) {
    adapter.Command("handset up");
    std::atomic<bool> stop{false};
    auto run = std::async(std::launch::async, [&] {
        return Run({"record", P("a.vrc"), "3"}, &stop);
    });
    // Stopped once the recording runs (its start takes a while in sanitizer builds).
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (adapter.Command("status").find("recording=yes") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    std::this_thread::sleep_for(400ms);
    stop.store(true);
    EXPECT_EQ(run.get().code, kExitOk);
    EXPECT_GT(vt::test::ReadBytes(P("a.vrc")).size(), 0u);
    ::close(keys_[1]);
    keys_[1] = -1;
    EXPECT_EQ(Run({"record", P("b.wav")}).code, kExitOk);
    EXPECT_TRUE(vt::test::ReadWavInfo(P("b.wav")));
    EXPECT_EQ(Run({"record", P("c.wav"), "4"}).code, kExitUsage);
}

TEST_F(AudioCommandsTest, PlayAndPlaySubWithPauseAndResume) {
    adapter.Command("speed 4");
    Write("hello.wav", 4070);
    ToolRun r = Run({"play", P("hello.wav")});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_NE(r.out.find(P("hello.wav") + "을(를) 재생했습니다\n"), std::string::npos) << r.out;
    for (int i = 0; i < 200 && adapter.GetModel().GetState().playing; ++i)
        std::this_thread::sleep_for(10ms);

    Write("long.wav", 16070);
    adapter.Command("speed 1");
    auto run = std::async(std::launch::async, [&] { return Run({"playsub", P("long.wav"), "0"}); });
    std::this_thread::sleep_for(500ms);
    Press();  // pause
    std::this_thread::sleep_for(300ms);
    adapter.Command("speed 10");
    Press();  // resume
    r = run.get();
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_NE(r.err.find("에서 멈췄습니다; Enter"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find(P("long.wav") + "을(를) 16070까지 재생했습니다\n"), std::string::npos)
        << r.out;
}

TEST_F(AudioCommandsTest, AutodialThenRedial) {
    ToolRun r = Run({"autodial", "0212345678", "9"});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(adapter.GetModel().GetState().sentDigits, "90212345678");
    EXPECT_EQ(r.out, "9 다음에 0212345678에 전화를 걸었습니다; 회선을 계속 잡고 있습니다\n");
    adapter.Command("hangup");
    EXPECT_EQ(Run({"hookon"}).code, kExitOk);
    r = Run({"redial"});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(adapter.GetModel().GetState().sentDigits, "9021234567890212345678");
    EXPECT_EQ(Run({"autodial", std::string(49, '1')}).code, kExitFailed);
}

TEST_F(AudioCommandsTest, ArsFirmwareAndRepair) {
    Write("prompt.wav", 500);
    ToolRun r = Run({"ars", P("prompt.wav"), "2", "#", "0", "500"});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.out,
              "누른 키가 없습니다 (안내가 없거나, 키를 읽지 못했거나, 아무도 키를 누르지 "
              "않았습니다)\n");
    EXPECT_EQ(Run({"ars", P("prompt.wav"), "x", "#", "1", "500"}).code, kExitUsage);

    Write("fw.bin", 300);
    r = Run({"firmware", P("fw.bin")});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_NE(adapter.Command("status").find(" firmware=300"), std::string::npos);
    Write("big.bin", 7501);
    EXPECT_EQ(Run({"firmware", P("big.bin")}).code, kExitFailed);

    // A recording cut off by a crash: its header still says no data.
    std::vector<std::int16_t> samples(800, 100);
    ASSERT_TRUE(vt::test::WriteMuLawWav(P("crash.wav"), samples));
    {
        std::FILE* f = std::fopen(P("crash.wav").c_str(), "r+b");
        const std::uint8_t zero[4] = {};
        std::fseek(f, 40, SEEK_SET);
        std::fwrite(zero, 1, 4, f);
        std::fseek(f, 4, SEEK_SET);
        std::fwrite(zero, 1, 4, f);
        std::fclose(f);
    }
    r = Run({"repair", P("crash.wav")});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, "데이터 길이 0 -> 800\n");
    const auto info = vt::test::ReadWavInfo(P("crash.wav"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dataBytes, 800u);
    EXPECT_EQ(info->riffLength, 836u);
    Write("junk.wav", 100);
    r = Run({"repair", P("junk.wav")});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.err,
              "tyctl: " + P("junk.wav") +
                  ": 44바이트 머리말이 있는 WAV 파일이 아닙니다: RIFF WAVE 파일이 아닙니다\n");
}

}  // namespace
