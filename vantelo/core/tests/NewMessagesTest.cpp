// New messages: what the answering machine keeps is counted until it is
// heard, the view is told of each arrival and of the count, marks made by
// other programs are seen, the count survives a restart, and a deleted
// message takes its heard mark along. The real controller and database on a
// scripted line and a manual clock.

#include <algorithm>
#include <filesystem>
#include <functional>

#include "PhoneFixture.h"
#include "lindev/Messages.h"
#include "storage/RecordSet.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/MessageInbox.h"
#include "vantelo/core/PhoneIds.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo::test {
namespace {

namespace fs = std::filesystem;

class NewMessages : public Phone {
protected:
    void StartMachine() {
        StartPhone([](PhoneSettings& s) { s.ModeAbsence = kAbsenceCallerChooses; });
        phone_->MutableSettings().StrAbsenceFile = MakeGreeting();
        MakeAllPrompts();
        phone_->ArsButton();
        ASSERT_TRUE(phone_->State().absenceMode);
    }

    // The program ends and starts again on the same folder.
    void Restart() {
        phone_.reset();
        store_.reset();
        view_ = RecordingView{};
        StartMachine();
    }

    void MachineAnswers(const std::string& number) {
        Ring(number);
        Advance(kAnswerMs);
        ASSERT_TRUE(line_.OffHook());
    }

    // The caller presses 1 during the greeting, speaks for `seconds` and
    // hangs up.
    void LeaveMessage(const std::string& number, unsigned seconds) {
        MachineAnswers(number);
        FarEndPresses("1");
        line_.FinishPlayback();  // prompt 1 ends: the beep, then the recording
        Deliver();
        ASSERT_TRUE(phone_->State().recording);
        Advance(seconds * 1000);
        Post(WM_TY_BUSY2);
        ASSERT_FALSE(line_.OffHook());
    }

    // The machine answers; nobody presses a key, prompt 9 plays, it hangs up.
    void SilentCaller(const std::string& number) {
        MachineAnswers(number);
        line_.FinishPlayback();  // the greeting ends
        Deliver();
        Advance(5000);           // no key
        line_.FinishPlayback();  // prompt 9 ends
        Deliver();
        ASSERT_FALSE(line_.OffHook());
    }

    // The user takes the call over with the ARS button while the caller
    // speaks, then hangs up; absence mode goes on again.
    void UserTakesOver(const std::string& number) {
        MachineAnswers(number);
        FarEndPresses("1");
        line_.FinishPlayback();
        Deliver();
        Advance(4000);
        phone_->ArsButton();
        Deliver();
        phone_->HookButton();
        Deliver();
        phone_->ArsButton();
    }

    fs::path Database() const { return env_.AppHome() / kDatabaseFileName; }

    long HeardRows() {
        storage::RecordSet heard(HeardListSchema());
        EXPECT_TRUE(heard.Open(Database()).ok());
        return heard.GetRecordCount();
    }

    static constexpr unsigned kAnswerMs = 5000;
};

TEST_F(NewMessages, OnlyAKeptMessageOfTheMachineCounts) {
    StartMachine();
    EXPECT_EQ(view_.newMessages, 0);  // told at start
    struct Case {
        const char* what;
        std::function<void()> call;
        int count;
    };
    const Case cases[] = {
        {"a message of 6 s", [&] { LeaveMessage("0311112222", 6); }, 1},
        {"a caller who says nothing", [&] { SilentCaller("0322223333"); }, 1},
        {"a call the user took over", [&] { UserTakesOver("0344445555"); }, 1},
        {"a second message", [&] { LeaveMessage("0355556666", 3); }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const size_t rows = Rows().size();
        c.call();
        EXPECT_EQ(Rows().size(), rows + 1);
        EXPECT_EQ(view_.newMessages, c.count);
        EXPECT_EQ(view_.arrived.size(), static_cast<size_t>(c.count));
    }
}

TEST_F(NewMessages, AnArrivalNamesCallerStartLengthAndRecording) {
    StartMachine();
    AddContact("홍길동", "0311112222");
    view_.Clear();
    LeaveMessage("0311112222", 6);
    ASSERT_EQ(view_.arrived.size(), 1u);
    const NewMessage& m = view_.arrived[0];
    const CallRecord row = OnlyRow();
    EXPECT_EQ(m.callId, 1);
    EXPECT_EQ(m.number, "0311112222");
    EXPECT_EQ(m.name, "홍길동");
    EXPECT_EQ(m.start, "2026-12-08 09:00:05");  // answered after the ring time
    EXPECT_EQ(m.seconds, row.CallTime);
    EXPECT_GE(m.seconds, 6);
    EXPECT_TRUE(fs::path(m.recording).is_absolute());
    EXPECT_TRUE(fs::equivalent(m.recording, fs::path(row.CallRecDirectory) / row.CallRecFileName));
    // Told once, then the count; nothing more at the next looks.
    const auto at = std::find(view_.lines.begin(), view_.lines.end(), "message: 1 0311112222");
    ASSERT_NE(at, view_.lines.end());
    ASSERT_NE(at + 1, view_.lines.end());
    EXPECT_EQ(*(at + 1), "messages: 1");
    view_.Clear();
    Advance(3 * kMessagesLookMs);
    EXPECT_TRUE(view_.lines.empty());
}

TEST_F(NewMessages, PlayingOrMarkingLowersTheCount) {
    StartMachine();
    LeaveMessage("0311112222", 5);
    LeaveMessage("0322223333", 5);
    LeaveMessage("0333334444", 5);
    ASSERT_EQ(view_.newMessages, 3);
    MessageInbox inbox(Database());
    const auto& a = view_.arrived;
    ASSERT_EQ(a.size(), 3u);

    // Played in a player (any spelling of its path): the phone sees it at its
    // next look, as it sees marks of other programs.
    const fs::path file(a[0].recording);
    auto played =
        inbox.MarkRecordingHeard(file.parent_path() / "." / file.filename(), clock_.NowLocal());
    ASSERT_TRUE(played.ok()) << played.status().ToString();
    EXPECT_TRUE(played.value());
    Advance(kMessagesLookMs);
    EXPECT_EQ(view_.newMessages, 2);

    // Marked heard, then told at once (as the call log page does).
    ASSERT_TRUE(inbox.MarkHeard(a[1].callId, clock_.NowLocal()).ok());
    ASSERT_TRUE(inbox.MarkHeard(a[1].callId, clock_.NowLocal()).ok());  // twice is once
    phone_->RefreshMessages();
    EXPECT_EQ(view_.newMessages, 1);
    EXPECT_EQ(HeardRows(), 2);

    auto all = inbox.MarkAllHeard(clock_.NowLocal());
    ASSERT_TRUE(all.ok());
    EXPECT_EQ(all.value(), 1);
    phone_->RefreshMessages();
    EXPECT_EQ(view_.newMessages, 0);
    EXPECT_TRUE(view_.Saw("messages: 0"));

    // What is no message cannot be marked.
    SilentCaller("0399990000");
    const long long silentId = 4;
    EXPECT_EQ(inbox.MarkHeard(silentId, clock_.NowLocal()).code(),
              storage::ErrorCode::NoCurrentRecord);
    EXPECT_EQ(inbox.MarkHeard(99, clock_.NowLocal()).code(), storage::ErrorCode::NoCurrentRecord);
    auto other = inbox.MarkRecordingHeard(MakeGreeting(), clock_.NowLocal());
    ASSERT_TRUE(other.ok());
    EXPECT_FALSE(other.value());
}

TEST_F(NewMessages, TheCountSurvivesARestart) {
    StartMachine();
    LeaveMessage("0311112222", 5);
    LeaveMessage("0322223333", 5);
    LeaveMessage("0333334444", 5);
    ASSERT_EQ(view_.newMessages, 3);
    const std::vector<NewMessage> before = view_.arrived;
    ASSERT_TRUE(MessageInbox(Database()).MarkHeard(before[0].callId, clock_.NowLocal()).ok());

    Restart();
    EXPECT_EQ(view_.newMessages, 2);
    EXPECT_TRUE(view_.arrived.empty());  // nothing arrived during this run

    // A recording removed by hand is no message any more.
    fs::remove(before[2].recording);
    Restart();
    EXPECT_EQ(view_.newMessages, 1);
    auto listed = MessageInbox(Database()).NewMessages();
    ASSERT_TRUE(listed.ok());
    ASSERT_EQ(listed.value().size(), 1u);
    EXPECT_EQ(listed.value()[0].callId, before[1].callId);
    EXPECT_EQ(listed.value()[0].recording, before[1].recording);
}

TEST_F(NewMessages, ADeletedMessageTakesItsMarkAlong) {
    StartMachine();
    LeaveMessage("0311112222", 5);
    LeaveMessage("0322223333", 5);
    const long long newest = view_.arrived.back().callId;
    MessageInbox inbox(Database());
    ASSERT_TRUE(inbox.MarkAllHeard(clock_.NowLocal()).ok());
    EXPECT_EQ(HeardRows(), 2);

    {  // the newest call is deleted on the call log page
        CRSCallList log(Database());
        ASSERT_TRUE(log.Open().ok());
        ASSERT_TRUE(log.SetAbsolutePosition(log.GetRecordCount() - 1).ok());
        auto deleted = log.DeleteCurrentCall();
        ASSERT_TRUE(deleted.ok());
        EXPECT_EQ(deleted.value().deleted, 1);
    }
    EXPECT_EQ(HeardRows(), 1);
    // The next call is given the deleted call's record number: it is new.
    LeaveMessage("0333334444", 5);
    ASSERT_EQ(view_.arrived.size(), 3u);
    EXPECT_EQ(view_.arrived.back().callId, newest);
    EXPECT_EQ(view_.newMessages, 1);

    {  // every call deleted at once
        CRSCallList log(Database());
        ASSERT_TRUE(log.Open().ok());
        ASSERT_TRUE(log.DeleteAllCalls(env_.AppHome()).ok());
    }
    EXPECT_EQ(HeardRows(), 0);
    Advance(kMessagesLookMs);
    EXPECT_EQ(view_.newMessages, 0);
}

}  // namespace
}  // namespace vantelo::test
