// Recordings left moved aside by a deletion that never ended: back when their
// call is logged, removed when it is not, and nothing else touched.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/Folders.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/RecordingFiles.h"
#include "vantelo/core/RecordingRecovery.h"
#include "vantelo/core/RecordingRemoval.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

namespace fs = std::filesystem;
using V = std::vector<std::string>;

std::string Content(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

fs::path Aside(const fs::path& file) {
    fs::path p = file;
    return p += ".deleting";
}

class RecordingRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(PrepareDatabase(clock_).ok());
        ASSERT_TRUE(log_.Open().ok());
    }

    // A logged call of 2007-03-<day> 09:00:<second> with its recording.
    fs::path Recorded(int day, int second) {
        const vt::FixedClock at = vt::FixedClock::At(2007, 3, day, 9, 0, second);
        CallRecord call;
        call.Reset(at);
        NoteRecordingStarted(call, RecordingFolder(at, app_), RecordingFileName(at, 0));
        const fs::path file = RecordingRemoval::FileOf(call);
        std::ofstream(file) << "RIFF" << file.filename().string();
        EXPECT_TRUE(log_.AppendCall(call, at).ok());
        return file;
    }

    RecoveredRecordings Run() { return RecordingRecovery::Run(app_, DefaultDatabasePath()); }

    vt::test::TestEnvironment env_;
    fs::path app_ = vt::ApplicationFolder();
    vt::FixedClock clock_ = vt::FixedClock::At(2007, 3, 14, 12, 0, 0);
    CRSCallList log_;
};

TEST_F(RecordingRecoveryTest, LoggedCallGetsItsRecordingBackAndADeletedCallsGoes) {
    const fs::path kept = Recorded(12, 0);
    const fs::path other = Recorded(13, 0);
    fs::rename(kept, Aside(kept));  // its deletion never reached the log
    const fs::path gone = kept.parent_path() / "091500.wav";
    std::ofstream(Aside(gone)) << "RIFF";  // its call was deleted
    // Not left by a deletion: stays as it is.
    const fs::path mine = RecordingRoot(app_) / "mine" / "1.wav.deleting";
    fs::create_directories(mine.parent_path());
    std::ofstream(mine) << "x";
    std::ofstream(kept.parent_path() / ".deleting") << "x";

    const RecoveredRecordings done = Run();
    EXPECT_EQ(done.restored, V{Aside(kept).string()});
    EXPECT_EQ(done.removed, V{Aside(gone).string()});
    EXPECT_TRUE(done.left.empty());
    EXPECT_EQ(Content(kept), "RIFF090000.wav");
    EXPECT_FALSE(fs::exists(Aside(kept)));
    EXPECT_FALSE(fs::exists(Aside(gone)));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_TRUE(fs::exists(mine));
    EXPECT_TRUE(fs::exists(kept.parent_path() / ".deleting"));

    // Nothing left to mend: a second run changes nothing.
    const RecoveredRecordings again = Run();
    EXPECT_TRUE(again.restored.empty() && again.removed.empty() && again.left.empty());
}

TEST_F(RecordingRecoveryTest, AFileOfTheSameNameIsNeverOverwritten) {
    const fs::path file = Recorded(12, 0);
    fs::rename(file, Aside(file));
    std::ofstream(file) << "newer";
    const RecoveredRecordings done = Run();
    EXPECT_EQ(done.left, V{Aside(file).string()});
    EXPECT_TRUE(done.restored.empty());
    EXPECT_EQ(Content(file), "newer");
    EXPECT_EQ(Content(Aside(file)), "RIFF090000.wav");
}

TEST_F(RecordingRecoveryTest, SymbolicLinksAreNeitherFollowedNorChanged) {
    const fs::path file = Recorded(12, 0);
    const fs::path outside = env_.Root() / "outside";
    fs::create_directories(outside);
    std::ofstream(outside / "090000.wav.deleting") << "outside";
    // A moved-aside name that is a link, and a day folder that is a link.
    fs::remove(file);
    fs::create_symlink(outside / "090000.wav.deleting", Aside(file));
    fs::create_directory_symlink(outside, RecordingRoot(app_) / "2007-03-20");

    const RecoveredRecordings done = Run();
    EXPECT_TRUE(done.restored.empty() && done.removed.empty() && done.left.empty());
    EXPECT_TRUE(fs::is_symlink(Aside(file)));
    EXPECT_FALSE(fs::exists(fs::symlink_status(file)));
    EXPECT_EQ(Content(outside / "090000.wav.deleting"), "outside");

    // Nor is a recordings folder that is itself a link.
    fs::remove(Aside(file));
    const fs::path realRoot = env_.Root() / "realRecord";
    fs::rename(RecordingRoot(app_), realRoot);
    fs::create_directory_symlink(realRoot, RecordingRoot(app_));
    std::ofstream(Aside(realRoot / "2007-03-12" / "090000.wav")) << "RIFF";
    EXPECT_TRUE(Run().restored.empty());
    EXPECT_TRUE(fs::exists(Aside(realRoot / "2007-03-12" / "090000.wav")));
}

TEST_F(RecordingRecoveryTest, ADeleteAllCutShortByADeathLosesNoRecording) {
    std::vector<fs::path> files;
    for (int s = 0; s < 4; ++s) files.push_back(Recorded(12, s));
    log_.Close();
    // A program that dies in the middle of its delete-all, the first batch's
    // recordings moved aside and nothing committed.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        CRSCallList dying;
        if (dying.Open().ok())
            (void)dying.DeleteAllCalls(
                vt::ApplicationFolder(),
                [](long done, long) {
                    if (done >= 2)
                        _exit(0);
                    return true;
                },
                2);
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(fs::exists(Aside(files[0])));
    EXPECT_FALSE(fs::exists(files[0]));

    const RecoveredRecordings done = Run();
    EXPECT_EQ(done.restored.size(), 2u);
    for (const fs::path& f : files) {
        EXPECT_TRUE(fs::exists(f)) << f;
        EXPECT_FALSE(fs::exists(Aside(f))) << f;
    }
    ASSERT_TRUE(log_.Open().ok());
    EXPECT_EQ(log_.GetRecordCount(), 4);
}

}  // namespace
}  // namespace vantelo
