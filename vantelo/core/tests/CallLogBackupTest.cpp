// The call log's text backup: the exact bytes of "Logo.txt", the recordings
// copied into date folders, no overwriting, and the failures it reports.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "platform/Folders.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CallLogBackup.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class CallLogBackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(PrepareDatabase(clock_).ok());
        ASSERT_TRUE(log_.Open().ok());
        dest_ = vt::ApplicationFolder() / "backup dest";
        recDir_ = (vt::ApplicationFolder() / "Record" / "2007-03-12").string() + "/";
        fs::create_directories(recDir_);
    }

    void Append(int mode, const std::string& name, const std::string& num, vt::LocalTime at,
                long seconds, const std::string& recFile = "", const std::string& memo = "") {
        CallRecord call;
        call.CallMode = mode;
        call.CallName = name;
        call.CallNum = num;
        call.CallDate = at;
        call.CallTime = seconds;
        call.CallMemo = memo;
        if (!recFile.empty()) {
            call.CallRec = true;
            call.CallRecDirectory = recDir_;
            call.CallRecFileName = recFile;
            std::ofstream(recDir_ + recFile, std::ios::binary) << "RIFF" << recFile;
        }
        ASSERT_TRUE(log_.AppendCall(call, clock_).ok());
    }

    vt::test::TestEnvironment env_;
    vt::FixedClock clock_ = vt::FixedClock::At(2007, 3, 14, 12, 0, 0);
    CRSCallList log_;
    fs::path dest_;
    std::string recDir_;
};

TEST_F(CallLogBackupTest, BackupAllWritesExactBlocksAndDateFolders) {
    Append(0, "김철수", "0212345678", {2007, 3, 12, 9, 5, 7}, 125, "", "다시 전화");
    Append(1, "Lee", "0311112222", {2007, 3, 12, 10, 0, 0}, 61, "100000.wav");
    Append(3, "", "5551234", {2007, 3, 12, 11, 0, 0}, 3, "110000.vrc");
    Append(9, "odd", "1", {2007, 3, 13, 0, 0, 1}, 0);

    CallLogBackup backup(dest_);
    ASSERT_TRUE(backup.Begin());
    EXPECT_EQ(backup.AddAll(log_), 4);
    ASSERT_TRUE(backup.Finish()) << backup.Failures().front();

    const std::string expected =
        "1 : 발신\r\n통화 시각 : 2007-03-12 09:05:07\r\n통화 시간 : 02:05\r\n이름 : 김철수\r\n"
        "전화번호 : 0212345678\r\n녹음파일 : \r\n통화 메모 : 다시 전화\r\n\r\n"
        "2 : 수신\r\n통화 시각 : 2007-03-12 10:00:00\r\n통화 시간 : 01:01\r\n이름 : Lee\r\n"
        "전화번호 : 0311112222\r\n녹음파일 :   /2007-03-12/100000.wav\r\n통화 메모 : \r\n\r\n"
        "3 : 응답\r\n통화 시각 : 2007-03-12 11:00:00\r\n통화 시간 : 00:03\r\n이름 : \r\n"
        "전화번호 : 5551234\r\n녹음파일 :   /2007-03-12/110000.vrc\r\n통화 메모 : \r\n\r\n"
        "4 : Unknowon\r\n통화 시각 : 2007-03-13 00:00:01\r\n통화 시간 : 00:00\r\n이름 : odd\r\n"
        "전화번호 : 1\r\n녹음파일 : \r\n통화 메모 : \r\n\r\n";
    EXPECT_EQ(ReadAll(dest_ / "Logo.txt"), expected);
    // Two recordings of one day share their date folder.
    EXPECT_EQ(ReadAll(dest_ / "2007-03-12" / "100000.wav"), "RIFF100000.wav");
    EXPECT_EQ(ReadAll(dest_ / "2007-03-12" / "110000.vrc"), "RIFF110000.vrc");
    EXPECT_FALSE(fs::exists(dest_ / "2007-03-13"));
    struct stat st {};
    ASSERT_EQ(::stat((dest_ / "Logo.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // Nothing is deleted by a backup.
    EXPECT_EQ(log_.GetRecordCount(), 4);
    EXPECT_TRUE(fs::exists(recDir_ + "100000.wav"));
}

TEST_F(CallLogBackupTest, NeverOverwritesAndReportsMissingRecordings) {
    Append(4, "멘트녹음", "", {2007, 3, 12, 8, 0, 0}, 10, "080000.wav");
    fs::remove(recDir_ + "080000.wav");
    fs::create_directories(dest_);
    std::ofstream(dest_ / "Logo.txt") << "older backup";

    CallLogBackup backup(dest_);
    ASSERT_TRUE(backup.Begin());
    EXPECT_EQ(backup.File(), dest_ / "Logo-2.txt");
    backup.AddAll(log_);
    EXPECT_FALSE(backup.Finish());
    ASSERT_EQ(backup.Failures().size(), 1u);
    EXPECT_EQ(
        backup.Failures()[0].rfind("녹음 " + recDir_ + "080000.wav을(를) 복사할 수 없습니다: ", 0),
        0u)
        << backup.Failures()[0];
    EXPECT_EQ(ReadAll(dest_ / "Logo.txt"), "older backup");
    EXPECT_EQ(ReadAll(dest_ / "Logo-2.txt").substr(0, 12), "1 : 녹음\r\n");
}

TEST_F(CallLogBackupTest, StopsWhenAskedAndFailsOnAnUnwritableFolder) {
    Append(0, "a", "1", {2007, 3, 12, 8, 0, 0}, 1);
    Append(0, "b", "2", {2007, 3, 12, 8, 0, 1}, 1);
    std::atomic<bool> stop{true};
    CallLogBackup stopped(dest_);
    ASSERT_TRUE(stopped.Begin());
    EXPECT_EQ(stopped.AddAll(log_, &stop), 0);
    EXPECT_TRUE(stopped.Finish());

    std::ofstream(vt::ApplicationFolder() / "plain file") << "x";
    CallLogBackup blocked(vt::ApplicationFolder() / "plain file");
    EXPECT_FALSE(blocked.Begin());
    EXPECT_FALSE(blocked.Finish());
    ASSERT_EQ(blocked.Failures().size(), 1u);
    EXPECT_EQ(blocked.Failures()[0],
              (vt::ApplicationFolder() / "plain file").string() + "은(는) 폴더가 아닙니다");
}

}  // namespace
}  // namespace vantelo
