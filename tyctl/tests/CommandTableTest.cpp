// tyctl's commands run in-process against a simulated adapter.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <sstream>
#include <streambuf>
#include <thread>

#include "linesim/InProcessAdapter.h"
#include "testsupport/TestEnvironment.h"
#include "tyctl/CommandTable.h"
#include "tyctl/MessageNames.h"

using namespace tyctl;

namespace {

struct ToolRun {
    int code;
    std::string out, err;
};

ToolRun Tyctl(std::vector<std::string> args, const std::atomic<bool>* stop = nullptr) {
    static const std::atomic<bool> never{false};
    std::vector<const char*> argv{"tyctl"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    const int code = CommandTable::Dispatch(static_cast<int>(argv.size()), argv.data(), out, err,
                                            stop ? *stop : never);
    return {code, out.str(), err.str()};
}

// A string buffer that one thread writes and another reads.
class LockedStringBuf : public std::streambuf {
public:
    std::string Text() {
        std::lock_guard lock(mutex_);
        return text_;
    }

protected:
    int_type overflow(int_type c) override {
        if (c == traits_type::eof())
            return traits_type::not_eof(c);
        std::lock_guard lock(mutex_);
        text_.push_back(static_cast<char>(c));
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        std::lock_guard lock(mutex_);
        text_.append(s, static_cast<std::size_t>(n));
        return n;
    }

private:
    std::mutex mutex_;
    std::string text_;
};

class TyctlTest : public ::testing::Test {
protected:
    vt::test::TestEnvironment env;
    linesim::InProcessAdapter adapter{0};

    bool StatusHas(const std::string& text) {
        return adapter.Command("status").find(text) != std::string::npos;
    }
};

}  // namespace

TEST(TyctlUsage, UnknownCommandAndBadArgumentsAreUsageErrors) {
    ToolRun r = Tyctl({"dance"});
    EXPECT_EQ(r.code, kExitUsage);
    // In this process no catalog is loaded: the source text (the program's
    // English is checked by i18n_command_line_tests).
    EXPECT_NE(r.err.find("알 수 없는 명령 'dance'"), std::string::npos);
    EXPECT_EQ(Tyctl({}).code, kExitUsage);
    EXPECT_EQ(Tyctl({"volume", "sideways"}).code, kExitUsage);
    EXPECT_EQ(Tyctl({"headset", "3"}).code, kExitUsage);
    EXPECT_EQ(Tyctl({"flash", "abc"}).code, kExitUsage);
    EXPECT_EQ(Tyctl({"serial", "-1"}).code, kExitUsage);
    EXPECT_EQ(Tyctl({"send", "12E"}).code, kExitUsage);
    r = Tyctl({"help"});
    EXPECT_EQ(r.code, kExitOk);
    for (const Command& c : CommandTable::Commands())
        EXPECT_NE(r.out.find(std::string("  ") + c.name), std::string::npos) << c.name;
}

TEST(TyctlUsage, NoAdapterIsReported) {
    vt::test::TestEnvironment env;
    ToolRun r = Tyctl({"hookoff"});
    EXPECT_EQ(r.code, kExitNoAdapter);
    EXPECT_EQ(r.err, "tyctl: 어댑터가 없습니다\n");
}

TEST(TyctlUsage, MessageNamesAreTheSystemsOwn) {
    EXPECT_EQ(MessageName(0x40A), "WM_TY_RINGDETECTED");
    EXPECT_EQ(MessageName(0x41F), "WM_EX_EXT_DTMF");
    EXPECT_EQ(MessageName(0x415), "WM_USER+21");
}

TEST_F(TyctlTest, HookOffSendHookOn) {
    EXPECT_EQ(Tyctl({"hookoff"}).code, kExitOk);
    EXPECT_TRUE(StatusHas("adapter=off"));
    EXPECT_EQ(Tyctl({"send", "12#"}).code, kExitOk);
    EXPECT_EQ(adapter.GetModel().GetState().sentDigits, "12#");
    EXPECT_EQ(Tyctl({"hookon"}).code, kExitOk);
    EXPECT_TRUE(StatusHas("adapter=on"));
}

TEST_F(TyctlTest, SendOnHookIsRefused) {
    ToolRun r = Tyctl({"send", "1"});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_NE(r.err.find("거부되었거나 실패했습니다"), std::string::npos);
    EXPECT_EQ(adapter.GetModel().GetState().sentDigits, "");
}

TEST_F(TyctlTest, StateVersionAndSerial) {
    ToolRun r = Tyctl({"state"});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out, "status=0x0000 hook=on headset=1\n");
    r = Tyctl({"version"});
    EXPECT_EQ(r.out, "hardware=5 firmware=3\n");
    EXPECT_EQ(Tyctl({"serial", "4000000000"}).code, kExitOk);
    EXPECT_EQ(Tyctl({"serial"}).out, "4000000000\n");
}

TEST_F(TyctlTest, FlashMuteVolumeHeadset) {
    EXPECT_EQ(Tyctl({"flash"}).code, kExitOk);
    EXPECT_EQ(Tyctl({"mute"}).code, kExitOk);
    EXPECT_EQ(Tyctl({"volume", "up"}).code, kExitOk);
    EXPECT_EQ(Tyctl({"headset", "2"}).code, kExitOk);
    const auto state = adapter.GetModel().GetState();
    EXPECT_EQ(state.flashes, 1u);
    EXPECT_TRUE(state.muted);
    EXPECT_EQ(state.lineVolume, 9);
    EXPECT_EQ(state.headsetMode, 1);
    adapter.Command("version 2 3");
    EXPECT_EQ(Tyctl({"headset", "1"}).code, kExitFailed) << "refused by an old adapter";
}

TEST_F(TyctlTest, CallerIdIsRead) {
    ToolRun r = Tyctl({"cid"});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.err, "tyctl: 기다리는 발신자 번호 메시지가 없습니다\n");
    adapter.Command("cid 0212345678 12071230");
    r = Tyctl({"cid"});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out, "date=1207 time=1230 number=0212345678\n");
}

TEST_F(TyctlTest, MonitorPrintsEachMessageUntilStopped) {
    // The monitor's output is read while it runs, so the test waits for what
    // it needs instead of guessing how long opening takes.
    LockedStringBuf outBuf, errBuf;
    std::ostream out(&outBuf), err(&errBuf);
    std::atomic<bool> stop{false};
    int code = -1;
    std::thread monitor([&] {
        const char* argv[] = {"tyctl", "monitor"};
        code = CommandTable::Dispatch(2, argv, out, err, stop);
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    bool reversed = false;
    while (outBuf.Text().find("WM_TY_REVERSETONE 0 1") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        adapter.Command(reversed ? "reverse off" : "reverse on");
        reversed = !reversed;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    stop = true;
    monitor.join();
    ToolRun result{code, outBuf.Text(), errBuf.Text()};
    EXPECT_EQ(result.code, kExitOk);
    std::istringstream lines(result.out);
    std::string line;
    bool seen = false;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        long ms = -1;
        std::string name, wParam, lParam, extra;
        fields >> ms >> name >> wParam >> lParam;
        EXPECT_GE(ms, 0) << line;
        EXPECT_FALSE(fields >> extra) << line;
        if (name == "WM_TY_REVERSETONE" && wParam == "0" && lParam == "1")
            seen = true;
    }
    EXPECT_TRUE(seen) << result.out;
    EXPECT_TRUE(StatusHas("adapter=on"));
}
