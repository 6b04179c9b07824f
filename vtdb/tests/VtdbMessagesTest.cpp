// vtdb's new messages: listed and marked heard from the command line, run as
// a program on a private application folder whose call log the phone's own
// record set wrote.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "VtdbRun.h"
#include "testsupport/DatabaseFixture.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/MessageInbox.h"
#include "vantelo/core/VanteloDatabase.h"

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

using Output = vt::test::VtdbOutput;

class VtdbMessagesTest : public ::testing::Test {
protected:
    Output Vtdb(const Args& args) { return vt::test::RunVtdb(args, env_.Root() / "stderr"); }

    fs::path Folder() const { return env_.AppHome() / "Record" / "2026-12-08"; }

    // A call as the phone logs it; `file` is its recording (made on disk
    // when `kept`).
    void Log(int mode, const std::string& number, const std::string& name, long seconds,
             const std::string& file, bool kept) {
        vantelo::CallRecord call;
        call.CallMode = mode;
        call.CallNum = number;
        call.CallName = name;
        call.CallDate = {2026, 12, 8, 9, 0, static_cast<int>(log_.GetRecordCount())};
        call.CallTime = seconds;
        if (!file.empty()) {
            call.CallRec = true;
            call.CallRecDirectory = Folder().string() + "/";
            call.CallRecFileName = file;
            if (kept)
                std::ofstream(Folder() / file) << "RIFF";
        }
        auto s = log_.AppendCall(call, clock_);
        ASSERT_TRUE(s.ok()) << s.ToString();
    }

    void SetUp() override {
        env_.SetLocale("en_US.UTF-8");  // the exact texts below are the English ones
        ASSERT_TRUE(vantelo::PrepareDatabase(clock_).ok());
        fs::create_directories(Folder());
        ASSERT_TRUE(log_.Open().ok());
    }

    vt::test::TestEnvironment env_;
    vt::FixedClock clock_ = vt::FixedClock::At(2026, 12, 8, 9, 30, 0);
    vantelo::CRSCallList log_;
};

struct Case {
    Args args;
    int code;
    std::string out;
    std::string err;
};

TEST_F(VtdbMessagesTest, ListsAndMarksTheNewMessages) {
    const Output help = Vtdb({"--help"});
    ASSERT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("vtdb messages [--heard ID|all]\n"), std::string::npos);

    Log(vantelo::kCallAnswered, "0311112222", "홍\t길동", 6, "090000.vrc", true);  // 1
    Log(vantelo::kCallReceived, "0322223333", "", 40, "090001.vrc", true);         // 2
    Log(vantelo::kCallAnswered, "0333334444", "", 12, "", false);                  // 3
    Log(vantelo::kCallAnswered, "", "", 75, "090003.wav", true);                   // 4
    Log(vantelo::kCallAnswered, "0355556666", "", 9, "090004.vrc", false);         // 5
    const std::string dir = Folder().string() + "/";
    const std::string first =
        "1\t2026-12-08 09:00:00\t0311112222\t홍\\t길동\t6\t" + dir + "090000.vrc\n";
    const std::string fourth = "4\t2026-12-08 09:00:03\t\t\t75\t" + dir + "090003.wav\n";
    const std::string badId =
        "vtdb: --heard needs a message number (the first column of 'vtdb messages') or all, not ";

    // In order, on one database: a refused mark changes nothing.
    const std::vector<Case> cases = {
        {{"messages"}, 0, first + fourth, ""},
        {{"messages", "--heard", "2"}, 1, "", "vtdb: no message 2\n"},
        {{"messages", "--heard", "3"}, 1, "", "vtdb: no message 3\n"},
        {{"messages", "--heard", "5"}, 1, "", "vtdb: no message 5: its recording is gone\n"},
        {{"messages", "--heard", "99"}, 1, "", "vtdb: no message 99\n"},
        {{"messages", "--heard", "abc"}, 1, "", badId + "'abc'\n"},
        {{"messages", "--heard", "0"}, 1, "", badId + "'0'\n"},
        {{"messages", "--heard", "-4"}, 1, "", badId + "'-4'\n"},
        {{"messages", "--heard", "4x"}, 1, "", badId + "'4x'\n"},
        {{"messages", "--heard", "ALL"}, 1, "", badId + "'ALL'\n"},
        {{"messages", "--heard"}, 1, "", "vtdb: --heard needs 1 value(s)\n"},
        {{"messages", "new"}, 1, "", "vtdb: unexpected argument 'new'\n"},
        {{"messages"}, 0, first + fourth, ""},
        {{"messages", "--heard", "1"}, 0, "", ""},
        {{"messages", "--heard", "1"}, 0, "", ""},  // heard already: stays heard
        {{"messages"}, 0, fourth, ""},
        {{"messages", "--heard", "all"}, 0, "", ""},
        {{"messages"}, 0, "", ""},
        {{"messages", "--heard", "all"}, 0, "", ""},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const auto& a : c.args) line += a + " ";
        SCOPED_TRACE(line);
        const Output o = Vtdb(c.args);
        EXPECT_EQ(o.code, c.code);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(o.err, c.err);
    }

    // The phone reads the same marks; a message that arrives later is new.
    Log(vantelo::kCallAnswered, "0366667777", "", 5, "090005.vrc", true);  // 6
    auto listed = vantelo::MessageInbox(env_.AppHome() / vantelo::kDatabaseFileName).NewMessages();
    ASSERT_TRUE(listed.ok());
    ASSERT_EQ(listed.value().size(), 1u);
    EXPECT_EQ(listed.value()[0].callId, 6);
    EXPECT_EQ(Vtdb({"messages"}).out,
              "6\t2026-12-08 09:00:05\t0366667777\t\t5\t" + dir + "090005.vrc\n");
}

}  // namespace
