#include "DiagnosticLog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "testsupport/TestEnvironment.h"

using lindev::DiagnosticLog;
using vt::test::ReadText;

namespace {

class DiagnosticLogTest : public ::testing::Test {
protected:
    void SetUp() override { DiagnosticLog::SetClock(&clock); }
    void TearDown() override { DiagnosticLog::SetClock(nullptr); }

    vt::test::TestEnvironment env;
    vt::FixedClock clock = vt::FixedClock::At(2026, 12, 7, 9, 5, 3);
};

}  // namespace

TEST_F(DiagnosticLogTest, LineHasZeroPaddedFieldsAndCrLf) {
    ASSERT_TRUE(DiagnosticLog::Prepare());
    DiagnosticLog::Write(0, "TyClose().");
    const auto file = env.AppHome() / "Log" / "Vantelo_Log20261207.txt";
    EXPECT_EQ(DiagnosticLog::TodayFile(), file);
    EXPECT_EQ(ReadText(file), "[2026-12-07 09:05:03] DevID=0, TyClose(). \r\n");
}

TEST_F(DiagnosticLogTest, EveryNewlineIsStoredAsCrLf) {
    DiagnosticLog::Prepare();
    DiagnosticLog::Write(3, "\nTyOpen() x");
    EXPECT_EQ(ReadText(DiagnosticLog::TodayFile()),
              "[2026-12-07 09:05:03] DevID=3, \r\nTyOpen() x \r\n");
}

TEST_F(DiagnosticLogTest, LinesAreAppendedAndPrepareKeepsThem) {
    DiagnosticLog::Prepare();
    DiagnosticLog::Write(0, "one");
    clock.AdvanceSeconds(61);
    DiagnosticLog::Prepare();
    DiagnosticLog::Write(1, "two");
    EXPECT_EQ(ReadText(DiagnosticLog::TodayFile()),
              "[2026-12-07 09:05:03] DevID=0, one \r\n[2026-12-07 09:06:04] DevID=1, two \r\n");
}

TEST_F(DiagnosticLogTest, LongLineIsCutToTheBuffer) {
    const std::string line = DiagnosticLog::FormatLine(clock.NowLocal(), 0, std::string(400, 'x'));
    EXPECT_EQ(line.size(), DiagnosticLog::kLineBufferSize - 1);
    EXPECT_EQ(line.substr(0, 31), "[2026-12-07 09:05:03] DevID=0, ");
}

TEST_F(DiagnosticLogTest, NewDayWritesANewFile) {
    DiagnosticLog::Prepare();
    clock.AdvanceSeconds(24 * 3600);
    DiagnosticLog::Prepare();
    DiagnosticLog::Write(0, "next");
    EXPECT_TRUE(std::filesystem::exists(env.AppHome() / "Log" / "Vantelo_Log20261208.txt"));
}

TEST_F(DiagnosticLogTest, WriteWithoutLogFolderDropsTheLine) {
    DiagnosticLog::Write(0, "lost");
    EXPECT_FALSE(std::filesystem::exists(env.AppHome() / "Log"));
}

TEST_F(DiagnosticLogTest, SdkMarkerIsAnEmptyFile) {
    {
        std::ofstream old(env.AppHome() / "VtSdk.log");
        old << "stale";
    }
    DiagnosticLog::CreateSdkMarker();
    EXPECT_EQ(ReadText(env.AppHome() / "VtSdk.log"), "");
}

TEST_F(DiagnosticLogTest, LogFolderAndDayFilesArePrivateWhateverTheUmask) {
    const mode_t old = ::umask(0);
    const bool prepared = DiagnosticLog::Prepare();
    DiagnosticLog::Write(0, "private");
    DiagnosticLog::CreateSdkMarker();
    ::umask(old);
    ASSERT_TRUE(prepared);
    auto mode = [](const std::filesystem::path& p) {
        struct stat st {};
        return ::stat(p.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0u;
    };
    EXPECT_EQ(mode(env.AppHome() / "Log"), 0700u);
    EXPECT_EQ(mode(DiagnosticLog::TodayFile()), 0600u);
    EXPECT_EQ(mode(env.AppHome() / "VtSdk.log"), 0600u);
}
