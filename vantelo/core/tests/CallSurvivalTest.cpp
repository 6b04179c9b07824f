// Calls that the program cannot finish the ordinary way: the adapter pulled
// out mid-call, the program killed mid-call (its journal then becomes the
// row, or the held line is taken up again), the store refusing a row, and
// numbers longer than the dialler takes.

#include <sqlite3.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <fstream>

#include "PhoneFixture.h"
#include "lindev/Messages.h"
#include "testsupport/WavFixture.h"
#include "vantelo/core/AnsweringMachine.h"
#include "vantelo/core/CallJournal.h"
#include "vantelo/core/PhoneIds.h"
#include "vantelo/core/UserLog.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo::test {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Survival : public Phone {
protected:
    fs::path JournalFile() const { return env_.AppHome() / CallJournal::kFileName; }

    // Absence mode on, callers choose by key, prompts in place.
    void StartMachine() {
        StartPhone([](PhoneSettings& s) {
            s.ModeAbsence = kAbsenceCallerChooses;
            s.ModeRecCompress = 3;
        });
        phone_->MutableSettings().StrAbsenceFile = MakeGreeting();
        MakeAllPrompts();
        phone_->ArsButton();
        ASSERT_TRUE(phone_->State().absenceMode);
    }

    // The machine answers, the caller presses 1, prompt 1 ends: a message
    // is being recorded.
    void MachineTakesAMessage() {
        Ring("0212345678");
        Advance(5000);
        ASSERT_TRUE(phone_->State().engaged);
        FarEndPresses("1");
        line_.FinishPlayback();
        Deliver();
        ASSERT_EQ(phone_->State().absenceLevel, kLevelPrompt1);
        ASSERT_TRUE(phone_->State().recording);
    }

    // An answered call from a contact, recorded automatically.
    void AnsweredRecordedCall(int compress) {
        StartPhone([&](PhoneSettings& s) {
            s.ModeRecAuto = kRecAutoReceived;
            s.ModeRecCompress = compress;
        });
        AddContact("홍길동", "0212345678");
        Ring("0212345678");
        phone_->HookButton();
        Deliver();
        ASSERT_TRUE(phone_->State().recording);
    }

    // The adapter goes: the slot reads 0xFFFF and the line library reports it.
    void PullTheCable() {
        line_.plugged = false;
        Post(WM_TY_DEVICEREMOVED);
    }
    // A new adapter (or the same one again) with its line dropped.
    void PlugBackIn() {
        line_.status = 0;
        line_.plugged = true;
        Advance(kRetryFirstMs);
        ASSERT_TRUE(phone_->State().deviceOpen);
    }

    // The program dies where it stands: nothing of it runs any more.
    void KillTheProgram() {
        for (int timer : {kTimerDeviceRetry, kTimerAutoAnswer, kTimerMessageLimit, kTimerDialRecord,
                          kTimerCallerTimeOut, kTimerJournal})
            timers_.Stop(timer);
        timers_.SetSink(nullptr);
        phone_.reset();
        line_.posted.clear();
        view_ = RecordingView{};
    }

    // The recording's last write, `seconds` after the test clock's now.
    void TouchAt(const fs::path& file, long seconds) {
        const auto at = std::chrono::system_clock::to_time_t(clock_.Now()) + seconds;
        struct utimbuf times {
            at, at
        };
        ASSERT_EQ(::utime(file.c_str(), &times), 0);
    }

    // The cable is pulled 7 s into the call the fixture set up; the call
    // must end as a hang-up would, and nothing of it may reach later calls.
    void PullTheCableMidCall(bool machine, int kind) {
        const std::string recording = line_.recordingPath;
        Advance(7000);
        PullTheCable();

        auto rows = Rows();
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].CallMode, kind);
        EXPECT_EQ(rows[0].CallNum, "0212345678");
        EXPECT_EQ(rows[0].CallTime, 7) << "the duration so far";
        EXPECT_TRUE(rows[0].CallRec);
        EXPECT_EQ(rows[0].CallRecDirectory + rows[0].CallRecFileName, recording);
        EXPECT_TRUE(line_.Called("StopRecord"));
        // The screen and the machine are idle again.
        EXPECT_FALSE(phone_->State().recording);
        EXPECT_FALSE(phone_->State().engaged);
        EXPECT_EQ(phone_->Phase(), CallPhase::Idle);
        EXPECT_EQ(phone_->State().absenceLevel, kLevelIdle);
        EXPECT_EQ(view_.pictures[kHookPicture], kBitmapOnHook);
        EXPECT_EQ(view_.looks[kHookButton], "HookOn");
        EXPECT_EQ(view_.pictures[kRecordPicture], kBitmapRecordStopped);
        if (machine) {
            EXPECT_EQ(view_.pictures[kMachinePicture], kBitmapMachineIdle);
        }
        for (int timer : {kTimerMessageLimit, kTimerCallerTimeOut, kTimerAutoAnswer})
            EXPECT_FALSE(timers_.IsRunning(timer)) << timer;
        EXPECT_EQ(view_.status, "Vantelo Removed!!");
        EXPECT_FALSE(fs::exists(JournalFile()));

        PlugBackIn();
        if (machine)
            phone_->ArsButton();  // the user is back: absence mode off
        // A missed call carries nothing of the cut call.
        Advance(60000);
        Ring("0311112222");
        RingEnd();
        rows = Rows();
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1].CallMode, kCallMissed);
        EXPECT_EQ(rows[1].CallNum, "0311112222");
        EXPECT_FALSE(rows[1].CallRec);
        EXPECT_EQ(rows[1].CallRecFileName, "");
        // The user's next answered call stays the user's.
        Ring("0311112222");
        phone_->HookButton();
        Deliver();
        Advance(20000);
        EXPECT_TRUE(line_.OffHook()) << "nobody hangs up the user's call";
        EXPECT_FALSE(phone_->State().engaged);
        phone_->HookButton();
        Deliver();
        rows = Rows();
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[2].CallMode, kCallReceived);
    }

    std::string UserLogText() { return ReadAll(env_.AppHome() / UserLog::kFileName); }
};

TEST_F(Survival, RemovalDuringARecordedCallEndsItAndTheReOpenInheritsNothing) {
    AnsweredRecordedCall(3);
    PullTheCableMidCall(false, kCallReceived);
}

TEST_F(Survival, RemovalDuringAMessageEndsItAndTheMachineIsIdle) {
    StartMachine();
    MachineTakesAMessage();
    PullTheCableMidCall(true, kCallAnswered);
}

TEST_F(Survival, RemovalWhileRingingLogsTheMissedCall) {
    StartPhone();
    Ring("0212345678");
    PullTheCable();
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallMissed);
    EXPECT_EQ(row.CallNum, "0212345678");
    EXPECT_FALSE(phone_->State().ringing);
    EXPECT_FALSE(view_.popupShown);
}

TEST_F(Survival, TheJournalFollowsTheCallAndGoesWithItsRow) {
    AnsweredRecordedCall(3);
    ASSERT_TRUE(fs::exists(JournalFile()));
    struct stat st {};
    ASSERT_EQ(::stat(JournalFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    auto entry = CallJournal(env_.AppHome()).Read();
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->call.CallMode, kCallReceived);
    EXPECT_EQ(entry->call.CallName, "홍길동");
    EXPECT_EQ(entry->callerNumber, "0212345678");
    EXPECT_TRUE(entry->recording);
    EXPECT_EQ(entry->call.CallRecDirectory + entry->call.CallRecFileName, line_.recordingPath);
    // A sign of life every few seconds, though nothing else changes.
    Advance(kJournalAliveMs);
    entry = CallJournal(env_.AppHome()).Read();
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->lastAlive.second, 5);
    phone_->HookButton();
    Deliver();
    EXPECT_EQ(Rows().size(), 1u);
    EXPECT_FALSE(fs::exists(JournalFile()));
    EXPECT_FALSE(timers_.IsRunning(kTimerJournal));
}

TEST_F(Survival, ACallLeftByAKilledProgramBecomesItsRow) {
    AnsweredRecordedCall(0);  // a mu-law WAV recording
    const fs::path recording = line_.recordingPath;
    Advance(7000);
    KillTheProgram();
    // What the adapter had streamed: a header still saying 0 bytes.
    ASSERT_TRUE(vt::test::WritePcmWav(recording, std::vector<std::int16_t>(100)));
    {
        std::string bytes = ReadAll(recording);
        bytes.replace(20, 2, std::string("\x07\x00", 2));  // mu-law
        for (int at : {4, 40}) bytes.replace(static_cast<std::size_t>(at), 4, std::string(4, '\0'));
        bytes.append(8000, '\x7f');
        std::ofstream(recording, std::ios::binary | std::ios::trunc) << bytes;
    }
    TouchAt(recording, 2);  // written up to 9 s into the call
    // A recording of the same day that no call names.
    const fs::path stray = recording.parent_path() / "235959.vrc";
    std::ofstream(stray) << "stray";

    line_.status = 0;            // the line was released meanwhile
    clock_.AdvanceSeconds(600);  // the program comes back ten minutes later
    StartPhone([](PhoneSettings& s) { s.ModeRecAuto = kRecAutoReceived; });
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallReceived);
    EXPECT_EQ(row.CallNum, "0212345678");
    EXPECT_EQ(row.CallName, "홍길동");
    EXPECT_EQ(row.CallDate.minute, 0);
    EXPECT_EQ(row.CallTime, 9) << "up to the last sign of life";
    EXPECT_TRUE(row.CallRec);
    EXPECT_EQ(fs::path(row.CallRecDirectory + row.CallRecFileName), recording);
    auto info = vt::test::ReadWavInfo(recording);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dataBytes, fs::file_size(recording) - 44) << "the header tells the truth";
    EXPECT_FALSE(fs::exists(JournalFile()));
    EXPECT_EQ(view_.status, text::kRecordingsUnnamed);
    const std::string log = UserLogText();
    EXPECT_NE(log.find(text::kCallRecovered), std::string::npos) << log;
    EXPECT_NE(log.find(stray.string()), std::string::npos) << log;
    EXPECT_EQ(log.find(recording.string()), std::string::npos) << "its call names it";
}

TEST_F(Survival, AHeldLineAtStartIsTakenUpAsTheCallItWas) {
    AnsweredRecordedCall(3);
    const fs::path first = line_.recordingPath;
    Advance(7000);
    KillTheProgram();
    std::ofstream(first, std::ios::app) << "-first";
    clock_.AdvanceSeconds(3);

    // The adapter still holds the line and records into a ring nobody reads.
    line_.status = 0x50;
    StartPhone([](PhoneSettings& s) { s.ModeRecCompress = 0; });  // not the call's format
    EXPECT_TRUE(line_.Called("StopRecord")) << "the orphaned recording is stopped";
    EXPECT_TRUE(Rows().empty()) << "a held call is not over";
    line_.status = 0x10;
    Post(WM_TY_LINENOTIFY, 1);  // the first poll of the line reports the held hook
    EXPECT_EQ(view_.number, "홍길동\n0212345678");
    EXPECT_EQ(view_.status, "녹음중입니다.");
    const fs::path rest = line_.recordingPath;
    ASSERT_NE(rest, first);
    EXPECT_EQ(rest.extension(), ".vrc") << "the rest in the first part's format";
    Advance(5000);
    phone_->HookButton();
    Deliver();

    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallReceived);
    EXPECT_EQ(row.CallNum, "0212345678");
    EXPECT_EQ(row.CallName, "홍길동");
    EXPECT_EQ(row.CallDate.second, 0) << "the call's own start";
    EXPECT_EQ(row.CallTime, 15);
    EXPECT_EQ(fs::path(row.CallRecDirectory + row.CallRecFileName), first);
    EXPECT_EQ(ReadAll(first), "recording-firstrecording") << "both parts, in order";
    EXPECT_FALSE(fs::exists(rest));
    EXPECT_FALSE(fs::exists(JournalFile()));
}

TEST_F(Survival, AMachineCallFoundHeldIsEndedByTheMachinesTimeOuts) {
    StartMachine();
    Ring("0212345678");
    Advance(5000);  // answered; the greeting plays
    ASSERT_TRUE(phone_->State().engaged);
    KillTheProgram();

    line_.status = 0x30;  // held, and the greeting still streams
    StartPhone([](PhoneSettings& s) { s.IntAbsenceTimeOut = 4000; });
    MakeAllPrompts();
    EXPECT_TRUE(line_.Called("StopWaveOut"));
    line_.status = 0x10;
    Post(WM_TY_LINENOTIFY, 1);
    EXPECT_TRUE(phone_->State().engaged);
    EXPECT_EQ(view_.pictures[kMachinePicture], kBitmapEngaged);
    Advance(4000);  // no key: prompt 9, then the machine hangs up
    EXPECT_EQ(fs::path(line_.playingPath).filename(), kPrompt9File);
    line_.FinishPlayback();
    Deliver();
    EXPECT_FALSE(line_.OffHook());
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallAnswered);
    EXPECT_EQ(row.CallNum, "0212345678");
    EXPECT_FALSE(phone_->State().engaged);
}

TEST_F(Survival, ARowTheStoreRefusedIsLoggedAtTheNextStart) {
    StartPhone();
    Ring("0212345678");
    phone_->HookButton();
    Deliver();
    Advance(4000);
    {
        // Another program breaks the call log under the running phone.
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((env_.AppHome() / kDatabaseFileName).c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "DROP TABLE CallList", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    phone_->HookButton();
    Deliver();
    EXPECT_TRUE(std::any_of(view_.lines.begin(), view_.lines.end(), [](const std::string& l) {
        return l.rfind("messagebox: 통화 기록을 저장하지 못했습니다.", 0) == 0;
    }));
    EXPECT_EQ(CallJournal(env_.AppHome()).SetAsideFiles().size(), 1u);
    KillTheProgram();

    StartPhone();  // the table is made again, and the kept call goes in
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallNum, "0212345678");
    EXPECT_EQ(row.CallTime, 4);
    EXPECT_TRUE(CallJournal(env_.AppHome()).SetAsideFiles().empty());
}

TEST_F(Survival, OneNumberLimitAndAFailedDialLeavesThePhoneUsable) {
    StartPhone();
    const std::string longest(kMaxDialledNumber, '1');
    EXPECT_EQ(phone_->OnCopyData(16, longest + "2"), "number too long");
    EXPECT_FALSE(line_.Called("AutoDialThread"));
    phone_->SetDialNumber(longest + "2");  // typed
    phone_->HookButton();
    EXPECT_FALSE(line_.Called("AutoDialThread"));
    EXPECT_EQ(view_.number, "");
    EXPECT_EQ(phone_->OnCopyData(16, longest), "");
    EXPECT_EQ(line_.Last("AutoDialThread").substr(0, 15 + kMaxDialledNumber),
              "AutoDialThread " + longest);
    Deliver();
    phone_->HookButton();
    Deliver();
    ASSERT_FALSE(line_.OffHook());

    line_.autoDialResult = 0;  // the dialler refuses
    phone_->SetDialNumber("0212345678");
    phone_->HookButton();
    EXPECT_EQ(view_.status, "전화 걸기에 실패했습니다.");
    EXPECT_EQ(phone_->State().dialledNumber, "");
    phone_->HookButton();  // the next press lifts the line
    Deliver();
    EXPECT_TRUE(line_.OffHook());
}

}  // namespace
}  // namespace vantelo::test
