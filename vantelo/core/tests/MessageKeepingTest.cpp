// The answering machine keeps only real messages: what the line library
// heard in the recording (its silence, the busy tone and where they begin)
// ends the message and cuts the file; a message shorter than the shortest
// kept is deleted and the call stays logged without it. The line library's
// own judgement is tested with real audio in lindev; here the controller's
// use of it, on a scripted line with real files and the real call log.

#include <fstream>

#include "PhoneFixture.h"
#include "lindev/Messages.h"
#include "testsupport/WavFixture.h"
#include "vantelo/core/PhoneIds.h"

namespace vantelo::test {
namespace {

namespace fs = std::filesystem;

class MessageKeeping : public Phone {
protected:
    // A caller chooses to leave a message; the machine records it.
    void MessageRecording(int silenceSeconds, int minSeconds, int compress) {
        StartPhone([&](PhoneSettings& s) {
            s.ModeAbsence = kAbsenceCallerChooses;
            s.IntAbsenceSilence = silenceSeconds;
            s.IntAbsenceMinMessage = minSeconds;
            s.ModeRecCompress = compress;
        });
        phone_->MutableSettings().StrAbsenceFile = MakeGreeting();
        MakeAllPrompts();
        phone_->ArsButton();
        Ring("0311112222");
        Advance(5000);
        ASSERT_TRUE(line_.OffHook());
        FarEndPresses("1");
        line_.FinishPlayback();
        Deliver();
        ASSERT_TRUE(phone_->State().recording);
        file_ = line_.recordingPath;
    }
    // The recording's sound as the line library wrote it.
    void Write(std::size_t audioBytes) {
        if (fs::path(file_).extension() == ".wav") {
            ASSERT_TRUE(
                vt::test::WriteMuLawWav(file_, std::vector<std::int16_t>(audioBytes, 1000)));
        } else {
            std::ofstream out(file_, std::ios::binary | std::ios::trunc);
            out << std::string(audioBytes, '\x80');
        }
    }
    std::string file_;
};

TEST_F(MessageKeeping, WhatWasHeardEndsTheMessageAndCutsTheFile) {
    struct Case {
        const char* name;
        int silence, min, compress;
        RecordedAudio heard;
        vt::LPARAM notice;    // what the line library posts; 0: the caller hangs up
        bool ended;           // the notice ended the call
        bool kept;            // the call keeps its recording
        std::uintmax_t size;  // of the kept file
    };
    // 8000 bytes a second of mu-law; a compressed file as its bytes come.
    const Case cases[] = {
        {"silence ends it; the silence is cut",
         7,
         2,
         0,
         {80000, 10000, 7000, 24000, 3000, false, 0, 0},
         kRecordWatchSilence,
         true,
         true,
         44 + 24000},
        {"the busy tone ends it; tone and pause are cut",
         7,
         2,
         0,
         {40000, 5000, 1500, 20000, 2500, true, 28000, 3500},
         kRecordWatchBusy,
         true,
         true,
         44 + 20000},
        {"silence off: only the tone is cut",
         0,
         2,
         0,
         {40000, 5000, 1500, 20000, 2500, true, 28000, 3500},
         kRecordWatchBusy,
         true,
         true,
         44 + 28000},
        {"silence off: a silence notice ends nothing",
         0,
         2,
         0,
         {80000, 10000, 7000, 24000, 3000, false, 0, 0},
         kRecordWatchSilence,
         false,
         true,
         44 + 80000},
        {"compressed: cut at the record boundary heard",
         7,
         2,
         3,
         {12000, 10000, 7000, 3617, 3000, false, 0, 0},
         kRecordWatchSilence,
         true,
         true,
         3617},
        {"shorter than the shortest kept: deleted",
         7,
         2,
         0,
         {80000, 10000, 8500, 12000, 1500, false, 0, 0},
         kRecordWatchSilence,
         true,
         false,
         0},
        {"nothing heard at all: deleted",
         7,
         2,
         3,
         {3000, 7000, 7000, 0, 0, false, 0, 0},
         kRecordWatchSilence,
         true,
         false,
         0},
        {"a minimum of 0 keeps a short one",
         7,
         0,
         0,
         {80000, 10000, 8500, 12000, 1500, false, 0, 0},
         0,
         false,
         true,
         44 + 12000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        line_ = ScriptLine{};
        view_ = RecordingView{};
        const std::size_t before = Rows().size();
        MessageRecording(c.silence, c.min, c.compress);
        EXPECT_TRUE(line_.Called("WatchRecord " + std::to_string(c.silence * 1000)));
        Write(c.heard.dataBytes);
        line_.heard = c.heard;
        if (c.notice)
            Post(WM_TY_RECORDWATCH, c.notice);
        Deliver();
        EXPECT_EQ(!line_.OffHook(), c.ended);
        if (line_.OffHook()) {
            phone_->HookButton();  // the caller hangs up; the machine lets go
            Deliver();
        }
        const std::vector<CallRecord> rows = Rows();
        ASSERT_EQ(rows.size(), before + 1);
        const CallRecord& row = rows.back();
        EXPECT_EQ(row.CallMode, kCallAnswered);
        EXPECT_EQ(row.CallRec, c.kept);
        EXPECT_EQ(fs::exists(file_), c.kept);
        if (c.kept) {
            EXPECT_EQ(row.CallRecDirectory + row.CallRecFileName, file_);
            EXPECT_EQ(fs::file_size(file_), c.size);
            if (c.compress == 0) {
                auto info = vt::test::ReadWavInfo(file_);
                ASSERT_TRUE(info);
                EXPECT_EQ(info->dataBytes, c.size - 44) << "the header tells the cut length";
            }
        } else {
            EXPECT_TRUE(row.CallRecFileName.empty());
        }
        phone_.reset();
        store_.reset();
        timers_ = vt::ManualTimerHost{};
        Advance(1000);  // the next message gets a file of its own
    }
}

TEST_F(MessageKeeping, OnlyTheCallersMessageIsJudged) {
    MessageRecording(7, 2, 0);
    Write(8000);
    line_.heard = RecordedAudio{8000, 1000, 1000, 0, 0, false, 0, 0};
    // The user takes the call over: the recording is the call's, kept whole.
    phone_->ArsButton();
    Deliver();
    Post(WM_TY_RECORDWATCH, kRecordWatchBusy);  // too late for a message
    Deliver();
    EXPECT_TRUE(line_.OffHook());
    phone_->HookButton();
    Deliver();
    const CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallReceived);
    EXPECT_TRUE(row.CallRec);
    EXPECT_EQ(fs::file_size(file_), 44u + 8000u);
}

}  // namespace
}  // namespace vantelo::test
