// Recording folders and names, with a fixed clock.

#include <gtest/gtest.h>

#include <fstream>

#include "testsupport/TestEnvironment.h"
#include "vantelo/core/RecordingFiles.h"
#include "vantelo/core/RecordingRemoval.h"

namespace vantelo {
namespace {

namespace fs = std::filesystem;

class RecordingFilesTest : public ::testing::Test {
protected:
    vt::test::TestEnvironment env_;
    fs::path app_ = env_.AppHome();
};

TEST_F(RecordingFilesTest, FileNameIsTheStartTimeWithTheExtensionOfTheSetting) {
    vt::FixedClock clock = vt::FixedClock::At(2007, 3, 12, 9, 5, 7);
    EXPECT_EQ(RecordingFileName(clock, 0), "090507.wav");
    EXPECT_EQ(RecordingFileName(clock, 1), "090507.vrc");
    EXPECT_EQ(RecordingFileName(clock, 3), "090507.vrc");
    clock.AdvanceSeconds(14 * 3600 + 54 * 60 + 52);
    EXPECT_EQ(RecordingFileName(clock, 0), "235959.wav");
}

TEST_F(RecordingFilesTest, DayFolderIsCreatedAndEndsWithSlash) {
    vt::FixedClock clock = vt::FixedClock::At(2007, 3, 12, 9, 5, 7);
    std::string folder = RecordingFolder(clock, app_);
    EXPECT_EQ(folder, (app_ / "Record" / "2007-03-12").string() + "/");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(RecordingFolder(clock, app_), folder);
}

TEST_F(RecordingFilesTest, SameTimeOnAnotherDayIsAnotherFolder) {
    vt::FixedClock one = vt::FixedClock::At(2007, 3, 12, 9, 5, 7);
    vt::FixedClock two = vt::FixedClock::At(2007, 3, 13, 9, 5, 7);
    EXPECT_NE(RecordingFolder(one, app_) + RecordingFileName(one, 0),
              RecordingFolder(two, app_) + RecordingFileName(two, 0));
    EXPECT_TRUE(fs::is_directory(app_ / "Record" / "2007-03-13"));
}

TEST_F(RecordingFilesTest, AFileInTheWayIsNotReportedAndNotTouched) {
    std::ofstream(app_ / "Record") << "not a folder";
    vt::FixedClock clock = vt::FixedClock::At(2007, 3, 12, 9, 5, 7);
    std::string folder = RecordingFolder(clock, app_);
    EXPECT_EQ(folder, (app_ / "Record" / "2007-03-12").string() + "/");
    EXPECT_TRUE(fs::is_regular_file(app_ / "Record"));
    EXPECT_FALSE(RemoveRecordingRootIfEmpty(app_));
}

TEST_F(RecordingFilesTest, StartingARecordingIsNotedInTheCall) {
    CallRecord call;
    NoteRecordingStarted(call, "/a/Record/2007-03-12/", "090507.wav");
    EXPECT_TRUE(call.CallRec);
    EXPECT_EQ(call.CallRecDirectory + call.CallRecFileName, "/a/Record/2007-03-12/090507.wav");
}

TEST_F(RecordingFilesTest, GreetingTakesItsDurationNameAndCompression) {
    vt::FixedClock clock = vt::FixedClock::At(2007, 3, 12, 23, 59, 30);
    CallRecord call;
    call.CallName = "old";
    call.CallbInner = true;
    BeginGreeting(call, clock);
    EXPECT_EQ(call.CallMode, kCallGreeting);
    EXPECT_TRUE(call.CallName.empty());
    EXPECT_FALSE(call.CallbInner);
    clock.AdvanceSeconds(3725);  // over midnight
    FinishGreeting(call, clock, 2);
    EXPECT_EQ(call.CallTime, 3725);
    EXPECT_EQ(call.CallName, "멘트녹음");
    EXPECT_EQ(call.CallCompressMode, 2);
}

TEST_F(RecordingFilesTest, RecordRootIsRemovedOnlyWhenEmpty) {
    vt::FixedClock clock = vt::FixedClock::At(2007, 3, 12, 9, 5, 7);
    std::string folder = RecordingFolder(clock, app_);
    EXPECT_FALSE(RemoveRecordingRootIfEmpty(app_));
    fs::remove(folder);
    EXPECT_TRUE(RemoveRecordingRootIfEmpty(app_));
    EXPECT_FALSE(fs::exists(app_ / "Record"));
    EXPECT_TRUE(RemoveRecordingRootIfEmpty(app_));
    RecordingFolder(clock, app_);
    EXPECT_TRUE(fs::is_directory(app_ / "Record" / "2007-03-12"));
}

TEST_F(RecordingFilesTest, RemovalSetsAsideOnlyRecordedCallsAndRestoresOrFinishes) {
    vt::FixedClock clock = vt::FixedClock::At(2007, 3, 12, 9, 5, 7);
    CallRecord call;
    NoteRecordingStarted(call, RecordingFolder(clock, app_), RecordingFileName(clock, 0));
    fs::path file = fs::path(call.CallRecDirectory) / call.CallRecFileName;
    std::ofstream(file) << "x";
    call.CallRec = false;
    {
        RecordingRemoval removal;
        EXPECT_TRUE(removal.SetAside(call));
        EXPECT_TRUE(removal.Finish().empty());
        EXPECT_TRUE(fs::exists(file));
    }
    call.CallRec = true;
    {
        RecordingRemoval removal;  // abandoned: the file comes back
        EXPECT_TRUE(removal.SetAside(call));
        EXPECT_FALSE(fs::exists(file));
    }
    EXPECT_TRUE(fs::exists(file));
    RecordingRemoval removal;
    EXPECT_TRUE(removal.SetAside(call));
    EXPECT_TRUE(removal.Finish().empty());
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(fs::is_empty(file.parent_path()));
    EXPECT_TRUE(removal.SetAside(call));  // already gone: nothing to do
}

}  // namespace
}  // namespace vantelo
