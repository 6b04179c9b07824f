// The call log record set: kind tabs, searches, append, size warning,
// deletion; on the database file and on a shared PostgreSQL server alike.

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "SharedEngine.h"
#include "platform/Folders.h"
#include "storage/Transaction.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/RecordingFiles.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

namespace fs = std::filesystem;
using storage::ErrorCode;
using V = std::vector<std::string>;
using test::EngineName;
using test::UseEngine;

class CRSCallListTest : public ::testing::TestWithParam<storage::Dialect> {
protected:
    void SetUp() override {
        ASSERT_TRUE(PrepareDatabase(clock_).ok());
        ASSERT_TRUE(log_.Open().ok());
    }

    void Append(int mode, const std::string& name, const std::string& num, vt::LocalTime at,
                const std::string& dtmf = "", const std::string& memo = "") {
        CallRecord call;
        call.CallMode = mode;
        call.CallName = name;
        call.CallNum = num;
        call.CallDate = at;
        call.CallDtmf = dtmf;
        call.CallMemo = memo;
        call.CallTime = 65;
        storage::Status s = log_.AppendCall(call, clock_);
        ASSERT_TRUE(s.ok()) << s.ToString();
    }

    void AddSample() {
        Append(0, "Kim", "0212345678", {2007, 3, 12, 10, 0, 0}, "12#", "call back");
        Append(1, "Lee", "0311112222", {2007, 3, 11, 9, 0, 0});
        Append(2, "kimura", "5551234", {2007, 3, 12, 0, 0, 0});
        Append(3, "Park", "0101234", {2007, 3, 12, 23, 59, 59}, "1");
        Append(4, kGreetingCallName, "", {2007, 3, 13, 0, 0, 0});
        Append(1, "O'Brien", "0422", {2007, 3, 10, 8, 0, 0});
    }

    V Names() {
        V out;
        for (long i = 0; i < log_.GetRecordCount(); ++i) {
            EXPECT_TRUE(log_.SetAbsolutePosition(i).ok());
            out.push_back(log_.GetText("CallName"));
        }
        return out;
    }

    vt::test::TestEnvironment env_;
    bool shared_ = UseEngine(GetParam());
    vt::FixedClock clock_ = vt::FixedClock::At(2007, 3, 14, 12, 0, 0);
    CRSCallList log_;
};

TEST(CallListConditions, KindTabsVerbatim) {
    EXPECT_EQ(CRSCallList::KindConditionFor(0), "");
    EXPECT_EQ(CRSCallList::KindConditionFor(1), "[CallMode] = 0");
    EXPECT_EQ(CRSCallList::KindConditionFor(2),
              "[CallMode] = 1 OR [CallMode] = 2 OR [CallMode] = 3");
    EXPECT_EQ(CRSCallList::KindConditionFor(3), "[CallMode] = 1");
    EXPECT_EQ(CRSCallList::KindConditionFor(4), "[CallMode] = 2");
    EXPECT_EQ(CRSCallList::KindConditionFor(5), "[CallMode] = 3");
    EXPECT_EQ(CRSCallList::KindConditionFor(6), "[CallMode] = 4");
    EXPECT_EQ(CRSCallList::KindConditionFor(7), "");
}

TEST(CallListConditions, SearchKindsVerbatim) {
    EXPECT_EQ(CRSCallList::SearchConditionFor(1, "kim").value(),
              "[CallName] LIKE '*kim*' ORDER BY [CallDate]");
    EXPECT_EQ(CRSCallList::SearchConditionFor(2, "02").value(),
              "[CallNum] LIKE '*02*' ORDER BY [CallDate]");
    EXPECT_EQ(CRSCallList::SearchConditionFor(3, "070312").value(),
              "[CallDate] >= #2007/3/12 0:0:0# AND [CallDate] <= #2007/3/12 23:59:59#");
    EXPECT_EQ(CRSCallList::SearchConditionFor(4, "12").value(),
              "[CallDtmf] LIKE '*12*' ORDER BY [CallDate]");
    EXPECT_EQ(CRSCallList::SearchConditionFor(5, "back").value(),
              "[CallMemo] LIKE '*back*' ORDER BY [CallDate]");
    EXPECT_EQ(CRSCallList::SearchConditionFor(0, "").value(),
              "[CallMode] LIKE '**' ORDER BY [CallDate]");
    EXPECT_EQ(CRSCallList::SearchConditionFor(9, "1").value(),
              "[CallMode] LIKE '*1*' ORDER BY [CallDate]");
    EXPECT_EQ(CRSCallList::SearchConditionFor(1, "O'Brien").value(),
              "[CallName] LIKE '*O''Brien*' ORDER BY [CallDate]");
    EXPECT_EQ(CRSCallList::SearchConditionFor(2, "#1*").value(),
              "[CallNum] LIKE '*[#]1[*]*' ORDER BY [CallDate]");
}

TEST(CallListConditions, DateNeedsSixDigitsOfARealDay) {
    for (const char* bad : {"", "07031", "0703121", "07-03-12", "071301", "070230", "07a312"})
        EXPECT_EQ(CRSCallList::SearchConditionFor(3, bad).status().code(),
                  ErrorCode::InvalidArgument)
            << bad;
    EXPECT_TRUE(CRSCallList::SearchConditionFor(3, "080229").ok());
}

TEST_P(CRSCallListTest, KindTabsSelectTheirCalls) {
    AddSample();
    const std::pair<int, V> cases[] = {
        {0, {"Kim", "Lee", "kimura", "Park", kGreetingCallName, "O'Brien"}},
        {1, {"Kim"}},
        {2, {"Lee", "kimura", "Park", "O'Brien"}},
        {3, {"Lee", "O'Brien"}},
        {4, {"kimura"}},
        {5, {"Park"}},
        {6, {kGreetingCallName}},
    };
    for (const auto& [tab, names] : cases) {
        ASSERT_TRUE(log_.SetKindFilter(tab).ok());
        EXPECT_EQ(Names(), names) << tab;
    }
}

TEST_P(CRSCallListTest, DateSearchIsTheWholeDayInTableOrder) {
    AddSample();
    ASSERT_TRUE(log_.SetSearch(3, "070312").ok());
    EXPECT_EQ(Names(), (V{"Kim", "kimura", "Park"}));
}

TEST_P(CRSCallListTest, TextSearchesAreOrderedByDate) {
    AddSample();
    ASSERT_TRUE(log_.SetSearch(1, "KIM").ok());
    EXPECT_EQ(Names(), (V{"kimura", "Kim"}));
    ASSERT_TRUE(log_.SetSearch(2, "0").ok());
    EXPECT_EQ(Names(), (V{"O'Brien", "Lee", "Kim", "Park"}));
    ASSERT_TRUE(log_.SetSearch(4, "1").ok());
    EXPECT_EQ(Names(), (V{"Kim", "Park"}));
    ASSERT_TRUE(log_.SetSearch(5, "back").ok());
    EXPECT_EQ(Names(), V{"Kim"});
    ASSERT_TRUE(log_.SetSearch(0, "").ok());
    EXPECT_EQ(Names(), (V{"O'Brien", "Lee", "kimura", "Kim", "Park", kGreetingCallName}));
    ASSERT_TRUE(log_.SetSearch(1, "O'Brien").ok());
    EXPECT_EQ(Names(), V{"O'Brien"});
}

TEST_P(CRSCallListTest, KindAndSearchNeverCombine) {
    AddSample();
    ASSERT_TRUE(log_.SetKindFilter(3).ok());
    ASSERT_TRUE(log_.SetSearch(1, "kim").ok());
    EXPECT_EQ(log_.KindCondition(), "");
    EXPECT_EQ(log_.AppliedFilter(), "[CallName] LIKE '*kim*' ORDER BY [CallDate]");
    EXPECT_EQ(log_.GetRecordCount(), 2);
    ASSERT_TRUE(log_.SetKindFilter(1).ok());
    EXPECT_EQ(log_.SearchCondition(), "");
    EXPECT_EQ(log_.AppliedFilter(), "[CallMode] = 0");
}

TEST_P(CRSCallListTest, RefusedDateChangesNothing) {
    AddSample();
    ASSERT_TRUE(log_.SetKindFilter(1).ok());
    EXPECT_EQ(log_.SetSearch(3, "07031").code(), ErrorCode::InvalidArgument);
    EXPECT_EQ(log_.AppliedFilter(), "[CallMode] = 0");
    EXPECT_EQ(log_.GetRecordCount(), 1);
}

TEST_P(CRSCallListTest, AppendStoresEveryFieldAndResetsTheCall) {
    CallRecord call;
    call.CallMode = kCallReceived;
    call.CallName = "이름";
    call.CallNum = "0212345678";
    call.CallCompressMode = 3;
    call.CallDate = {2007, 3, 12, 9, 5, 7};
    call.CallTime = 125;
    call.CallRecDirectory = "/x/Record/2007-03-12/";
    call.CallRecFileName = "090507.vrc";
    call.CallRec = true;
    call.CallDtmf = "1#";
    call.CallbInner = true;
    call.CallMemo = "m";
    const CallRecord sent = call;
    ASSERT_TRUE(log_.AppendCall(call, clock_).ok());
    EXPECT_EQ(log_.GetRecordCount(), 1);
    EXPECT_TRUE(log_.IsEOF());
    ASSERT_TRUE(log_.MoveLast().ok());
    CallRecord stored = log_.CurrentCall().value();
    EXPECT_EQ(stored.CallMode, sent.CallMode);
    EXPECT_EQ(stored.CallName, sent.CallName);
    EXPECT_EQ(stored.CallNum, sent.CallNum);
    EXPECT_EQ(stored.CallCompressMode, 3);
    EXPECT_EQ(log_.GetText("CallDate"), "2007-03-12 09:05:07");
    EXPECT_EQ(stored.CallTime, 125);
    EXPECT_EQ(stored.CallRecDirectory, sent.CallRecDirectory);
    EXPECT_EQ(stored.CallRecFileName, sent.CallRecFileName);
    EXPECT_TRUE(stored.CallRec);
    EXPECT_EQ(stored.CallDtmf, "1#");
    EXPECT_TRUE(stored.CallbInner);
    EXPECT_EQ(stored.CallMemo, "m");
    // Reset: kind 0, everything empty, the start now.
    EXPECT_EQ(call.CallMode, 0);
    EXPECT_TRUE(call.CallName.empty() && call.CallRecFileName.empty());
    EXPECT_FALSE(call.CallRec);
    EXPECT_EQ(call.CallDate.year, 2007);
    EXPECT_EQ(call.CallDate.day, 14);
    EXPECT_EQ(call.CallDate.hour, 12);
}

TEST_P(CRSCallListTest, AppendedCallIsListedOnlyWhenItMatches) {
    AddSample();
    ASSERT_TRUE(log_.SetKindFilter(4).ok());
    EXPECT_EQ(log_.GetRecordCount(), 1);
    Append(0, "Out", "1", {2007, 3, 14, 1, 0, 0});
    EXPECT_EQ(log_.GetRecordCount(), 1);
    Append(2, "Missed", "2", {2007, 3, 14, 2, 0, 0});
    EXPECT_EQ(Names(), (V{"kimura", "Missed"}));
    ASSERT_TRUE(log_.SetSearch(1, "M").ok());
    Append(2, "Mid", "3", {2007, 3, 11, 12, 0, 0});
    EXPECT_EQ(Names(), (V{"Mid", "kimura", "Kim", "Missed"}));
}

TEST_P(CRSCallListTest, AppendOpensAMissingRecordSet) {
    CRSCallList closed;
    CallRecord call;
    call.CallName = "kept";
    call.CallDate = {2007, 3, 12, 1, 2, 3};
    ASSERT_TRUE(closed.AppendCall(call, clock_).ok());
    EXPECT_TRUE(closed.IsOpen());
    std::unique_ptr<CRSCallList> none;
    call.CallName = "also kept";
    ASSERT_TRUE(CRSCallList::AppendCallTo(none, call, clock_).ok());
    ASSERT_NE(none, nullptr);
    ASSERT_TRUE(log_.ReApply().ok());
    EXPECT_EQ(Names(), (V{"kept", "also kept"}));
}

TEST_P(CRSCallListTest, FailedAppendKeepsTheCall) {
    CallRecord call;
    call.CallName = std::string(300, 'x');
    call.CallDate = {2007, 3, 12, 1, 2, 3};
    EXPECT_EQ(log_.AppendCall(call, clock_).code(), ErrorCode::InvalidValue);
    EXPECT_EQ(call.CallName.size(), 300u);
    EXPECT_FALSE(log_.IsEditing());
    ASSERT_TRUE(log_.ReApply().ok());
    EXPECT_EQ(log_.GetRecordCount(), 0);
}

TEST_P(CRSCallListTest, GreetingIsListedUnderKindFour) {
    vt::FixedClock clock = vt::FixedClock::At(2007, 3, 12, 9, 5, 7);
    CallRecord call;
    BeginGreeting(call, clock);
    std::string folder = RecordingFolder(clock, vt::ApplicationFolder());
    NoteRecordingStarted(call, folder, RecordingFileName(clock, 3));
    clock.AdvanceSeconds(42);
    FinishGreeting(call, clock, 3);
    ASSERT_TRUE(log_.AppendCall(call, clock).ok());
    ASSERT_TRUE(log_.SetKindFilter(6).ok());
    ASSERT_EQ(log_.GetRecordCount(), 1);
    ASSERT_TRUE(log_.MoveFirst().ok());
    CallRecord stored = log_.CurrentCall().value();
    EXPECT_EQ(stored.CallName, "멘트녹음");
    EXPECT_TRUE(stored.CallRec);
    EXPECT_EQ(stored.CallTime, 42);
    EXPECT_EQ(stored.CallCompressMode, 3);
    EXPECT_EQ(stored.CallRecFileName, "090507.vrc");
}

TEST_P(CRSCallListTest, CallWithoutRecordingHasNoRecordingFields) {
    Append(0, "Plain", "1", {2007, 3, 12, 1, 0, 0});
    ASSERT_TRUE(log_.MoveFirst().ok());
    CallRecord stored = log_.CurrentCall().value();
    EXPECT_FALSE(stored.CallRec);
    EXPECT_EQ(log_.GetInteger("CallRec"), 0);
    EXPECT_TRUE(stored.CallRecDirectory.empty());
    EXPECT_TRUE(stored.CallRecFileName.empty());
}

TEST_P(CRSCallListTest, SizeWarningAboveNineHundredThousand) {
    EXPECT_FALSE(CRSCallList::IsOverSizeWarning(0));
    EXPECT_FALSE(CRSCallList::IsOverSizeWarning(900000));
    EXPECT_TRUE(CRSCallList::IsOverSizeWarning(900001));
    AddSample();
    EXPECT_FALSE(log_.NeedsSizeWarning());
    EXPECT_STREQ(CRSCallList::kSizeWarningText,
                 "통화내역 DB가 찼습니다. 데이터를 정리해 주시기 바랍니다.");
}

TEST_P(CRSCallListTest, SaveMemoChangesTheCurrentCall) {
    AddSample();
    ASSERT_TRUE(log_.SetAbsolutePosition(1).ok());
    ASSERT_TRUE(log_.SaveMemo("새 메모").ok());
    ASSERT_TRUE(log_.SetSearch(5, "메모").ok());
    EXPECT_EQ(Names(), V{"Lee"});
}

class CallDeletionTest : public CRSCallListTest {
protected:
    // A recorded call whose file exists.
    fs::path AppendRecorded(const std::string& name, vt::LocalTime at) {
        vt::FixedClock clock =
            vt::FixedClock::At(at.year, at.month, at.day, at.hour, at.minute, at.second);
        CallRecord call;
        call.Reset(clock);
        call.CallName = name;
        NoteRecordingStarted(call, RecordingFolder(clock, vt::ApplicationFolder()),
                             RecordingFileName(clock, 0));
        fs::path file = fs::path(call.CallRecDirectory) / call.CallRecFileName;
        std::ofstream(file) << "RIFF";
        EXPECT_TRUE(log_.AppendCall(call, clock).ok());
        return file;
    }
};

TEST_P(CallDeletionTest, DeletingACallRemovesItsRecording) {
    fs::path a = AppendRecorded("a", {2007, 3, 12, 9, 0, 0});
    fs::path b = AppendRecorded("b", {2007, 3, 12, 9, 0, 1});
    ASSERT_TRUE(log_.MoveFirst().ok());
    auto done = log_.DeleteCurrentCall();
    ASSERT_TRUE(done.ok()) << done.status().ToString();
    EXPECT_EQ(done.value().deleted, 1);
    EXPECT_TRUE(done.value().kept.empty());
    EXPECT_FALSE(fs::exists(a));
    EXPECT_TRUE(fs::exists(b));
    fs::remove(b);  // a recording already gone is no error
    ASSERT_TRUE(log_.MoveNext().ok());
    done = log_.DeleteCurrentCall();
    ASSERT_TRUE(done.ok());
    EXPECT_EQ(done.value().deleted, 1);
    EXPECT_EQ(log_.GetRecordCount(), 0);
    EXPECT_TRUE(fs::is_empty(a.parent_path()));  // nothing moved aside is left behind
}

TEST_P(CallDeletionTest, ACallWhoseRecordingCannotBeRemovedIsKeptAndNamed) {
    fs::path a = AppendRecorded("a", {2007, 3, 12, 9, 0, 0});
    // A folder full of things in the file's place: not even root can unlink it.
    fs::remove(a);
    fs::create_directories(a / "inside");
    ASSERT_TRUE(log_.MoveFirst().ok());
    auto done = log_.DeleteCurrentCall();
    ASSERT_TRUE(done.ok());
    EXPECT_EQ(done.value().deleted, 0);
    EXPECT_EQ(done.value().kept, V{a.string()});
    EXPECT_EQ(log_.GetRecordCount(), 1);
    EXPECT_TRUE(fs::exists(a / "inside"));
    CRSCallList other;
    ASSERT_TRUE(other.Open().ok());
    EXPECT_EQ(other.GetRecordCount(), 1);
}

TEST_P(CallDeletionTest, ARefusedDeletionPutsTheRecordingBack) {
    fs::path a = AppendRecorded("a", {2007, 3, 12, 9, 0, 0});
    // Another program holds the write lock for longer than the wait.
    CRSCallList locker;
    ASSERT_TRUE(locker.Open().ok());
    storage::Transaction hold(*locker.GetConnection());
    ASSERT_TRUE(hold.Begin().ok());
    ASSERT_TRUE(locker.MoveFirst().ok());
    ASSERT_TRUE(locker.SaveMemo("busy").ok());
    CRSCallList log;
    ASSERT_TRUE(
        log.storage::RecordSet::Open(DefaultDatabasePath(), storage::RecordSetType::Dynaset, 10)
            .ok());
    ASSERT_TRUE(log.MoveFirst().ok());
    auto one = log.DeleteCurrentCall();
    EXPECT_FALSE(one.ok());
    EXPECT_TRUE(fs::exists(a));
    auto all = log.DeleteAllCalls(vt::ApplicationFolder());
    EXPECT_FALSE(all.ok());
    EXPECT_TRUE(fs::exists(a));
    EXPECT_EQ(log.GetRecordCount(), 1);
}

TEST_P(CallDeletionTest, DeleteAllKeepsUndeletableCallsAndClearsEmptyFolders) {
    fs::path a = AppendRecorded("a", {2007, 3, 12, 9, 0, 0});
    fs::path b = AppendRecorded("b", {2007, 3, 13, 9, 0, 0});
    fs::path c = AppendRecorded("c", {2007, 3, 14, 9, 0, 0});
    Append(0, "plain", "1", {2007, 3, 13, 10, 0, 0});
    fs::path root = RecordingRoot(vt::ApplicationFolder());
    fs::create_directories(root / "2007-03-15");  // an empty day folder
    fs::create_directories(root / "mine");        // not a day folder: stays
    fs::remove(c);
    fs::create_directories(c / "inside");  // cannot be removed
    auto done = log_.DeleteAllCalls(vt::ApplicationFolder());
    ASSERT_TRUE(done.ok()) << done.status().ToString();
    EXPECT_EQ(done.value().deleted, 3);
    EXPECT_EQ(done.value().kept, V{c.string()});
    EXPECT_EQ(Names(), V{"c"});
    EXPECT_FALSE(fs::exists(a));
    EXPECT_FALSE(fs::exists(b));
    EXPECT_FALSE(fs::exists(root / "2007-03-12"));
    EXPECT_FALSE(fs::exists(root / "2007-03-13"));
    EXPECT_FALSE(fs::exists(root / "2007-03-15"));
    EXPECT_TRUE(fs::exists(c / "inside"));
    EXPECT_TRUE(fs::exists(root / "mine"));

    // Once the last recording can go, the day folders and "Record" go too.
    fs::remove_all(c);
    fs::remove(root / "mine");
    done = log_.DeleteAllCalls(vt::ApplicationFolder());
    ASSERT_TRUE(done.ok());
    EXPECT_EQ(done.value().deleted, 1);
    EXPECT_FALSE(fs::exists(root));
    CRSCallList other;
    ASSERT_TRUE(other.Open().ok());
    EXPECT_EQ(other.GetRecordCount(), 0);
}

TEST_P(CallDeletionTest, DeleteAllOfAFilterKeepsTheOthers) {
    AddSample();
    ASSERT_TRUE(log_.SetKindFilter(3).ok());
    auto done = log_.DeleteAllCalls(vt::ApplicationFolder());
    ASSERT_TRUE(done.ok());
    EXPECT_EQ(done.value().deleted, 2);
    ASSERT_TRUE(log_.SetKindFilter(0).ok());
    EXPECT_EQ(log_.GetRecordCount(), 4);
}

TEST_P(CallDeletionTest, DeleteAllTellsItsProgressBatchByBatch) {
    fs::path a = AppendRecorded("a", {2007, 3, 12, 9, 0, 0});
    Append(0, "plain", "1", {2007, 3, 13, 10, 0, 0});
    fs::path b = AppendRecorded("b", {2007, 3, 12, 9, 0, 1});
    Append(0, "plain", "2", {2007, 3, 13, 10, 0, 1});
    Append(0, "plain", "3", {2007, 3, 13, 10, 0, 2});
    std::vector<std::pair<long, long>> told;
    auto done = log_.DeleteAllCalls(
        vt::ApplicationFolder(),
        [&](long n, long total) {
            told.emplace_back(n, total);
            return true;
        },
        2);
    ASSERT_TRUE(done.ok()) << done.status().ToString();
    EXPECT_EQ(done.value().deleted, 5);
    EXPECT_EQ(told, (std::vector<std::pair<long, long>>{{0, 5}, {2, 5}, {4, 5}, {5, 5}}));
    EXPECT_FALSE(fs::exists(a));
    EXPECT_FALSE(fs::exists(b));
    EXPECT_FALSE(fs::exists(RecordingRoot(vt::ApplicationFolder())));
    EXPECT_EQ(log_.GetRecordCount(), 0);
}

TEST_P(CallDeletionTest, AStoppedDeleteAllLeavesEveryCallAndRecording) {
    std::vector<fs::path> files;
    for (int s = 0; s < 5; ++s) files.push_back(AppendRecorded("r", {2007, 3, 12, 9, 0, s}));
    ASSERT_TRUE(log_.SetKindFilter(0).ok());
    // Stopped before the fourth batch, and before the last one.
    for (long stopAt : {3L, 4L}) {
        auto done = log_.DeleteAllCalls(
            vt::ApplicationFolder(), [&](long n, long) { return n < stopAt; }, 1);
        EXPECT_EQ(done.status().code(), ErrorCode::Cancelled);
        EXPECT_EQ(log_.GetRecordCount(), 5);
        for (const fs::path& f : files) EXPECT_TRUE(fs::exists(f)) << f;
        EXPECT_EQ(
            std::distance(fs::directory_iterator(files[0].parent_path()), fs::directory_iterator()),
            5);  // nothing left moved aside
        CRSCallList other;
        ASSERT_TRUE(other.Open().ok());
        EXPECT_EQ(other.GetRecordCount(), 5);
    }
    // The record set still reads the calls it shows.
    ASSERT_TRUE(log_.SetAbsolutePosition(4).ok());
    EXPECT_EQ(log_.GetText("CallRecFileName"), "090004.wav");
}

INSTANTIATE_TEST_SUITE_P(Engines, CRSCallListTest, test::kBothEngines, EngineName);
INSTANTIATE_TEST_SUITE_P(Engines, CallDeletionTest, test::kBothEngines, EngineName);

}  // namespace
}  // namespace vantelo
