// The call log's playback in the bound phone window, driven by clicks: the
// refusals and the speaker output on the real media graph over a scripted
// line, and the adapter output and decoding on the real line library
// against a `linesim serve` daemon, whose capture shows the bytes played.

#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QSlider>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "CallListPage.h"
#include "PhoneFixture.h"
#include "PhoneWindow.h"
#include "PostedMessages.h"
#include "lindev/lindev.h"
#include "linesim/ScopedDaemon.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "platform/ManualTimerHost.h"
#include "platform/QueueMessageWindow.h"
#include "testsupport/PostgresServer.h"
#include "testsupport/QtPump.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"
#include "vantelo/app/LindevLine.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/SharedRecordings.h"
#include "vantelo/core/VanteloDatabase.h"
#include "vantelo/pages/PhoneBinding.h"
#include "vantelo/pages/PhoneIds.h"

namespace vantelo::pages::test {
namespace {

namespace fs = std::filesystem;
using vt::test::PumpUntil;
using vt::test::ReadBytes;
using Bytes = std::vector<std::uint8_t>;

constexpr int kLongWaitMs = 30000;

// The bound window on a line of the test's choice, with the call log page
// shown and its position timer on a manual clock.
class PlaybackFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(PrepareDatabase(vt::SystemClock::Instance()).ok());
        recDir_ = (vt::ApplicationFolder() / "Record" / "2026-12-08").string() + "/";
        fs::create_directories(recDir_);
    }
    void TearDown() override { binding_.reset(); }

    // The call log page is shown unless `showLog` is false.
    void Open(PhoneLine& line, bool showLog = true) {
        PhoneWindow::Setup setup;
        setup.database = DefaultDatabasePath();
        setup.popupTimers = &popupTimers_;
        setup.tray = false;
        binding_ = std::make_unique<PhoneBinding>(PhoneBinding::Parts{
            line, vt::SystemClock::Instance(),
            PhoneController::Places{vt::ApplicationFolder(), vt::SettingsFilePath()}, setup,
            &timers_});
        timers_.SetSink(&binding_->Phone());
        ASSERT_NE(binding_->CallLog(), nullptr);
        Player().UseTimers(pageTimers_);
        pageTimers_.SetSink(&Player());
        Window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
        binding_->Start();
        if (!showLog)
            return;
        Click(Window().Control(IDC_PAGE_CALLLOG));
        ASSERT_EQ(Window().ShownPage(), IDD_CALLLOG);
    }

    PhoneWindow& Window() { return binding_->Window(); }
    CallListPage& Page() { return *binding_->CallLog(); }
    CallLogPlayer& Player() { return Page().Player(); }
    PhoneController& Phone() { return binding_->Phone(); }

    // A logged call with the named recording in the day folder (none when empty).
    void Append(const std::string& number, const std::string& recording = "") {
        CallRecord call;
        call.CallMode = 1;
        call.CallNum = number;
        call.CallDate = {2026, 12, 8, 9, 0, 0};
        if (!recording.empty()) {
            call.CallRec = true;
            call.CallRecDirectory = recDir_;
            call.CallRecFileName = recording;
        }
        CRSCallList log;
        ASSERT_TRUE(log.Open().ok());
        ASSERT_TRUE(log.AppendCall(call, vt::SystemClock::Instance()).ok());
    }
    fs::path Recording(const std::string& name) const { return recDir_ + name; }

    void Click(QWidget* w) {
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    void Click(int pageControl) { Click(Page().Control(pageControl)); }
    void SelectRow(int row) {
        QTest::mouseClick(Page().Grid().viewport(), Qt::LeftButton, {},
                          Page().Grid().CellRect(row, 0).center());
        ASSERT_EQ(Page().Grid().SelectedRow(), row);
    }
    QString Look(int pageControl) { return Page().ButtonLook(pageControl); }
    QString Tip(int pageControl) { return Page().Control(pageControl)->toolTip(); }
    QSlider& Slider() { return *qobject_cast<QSlider*>(Page().Control(IDC_CL_SLIDER)); }
    int Indicator() { return Window().Indicator(IDC_PIC_PLAYBACK); }
    bool Playing() { return Phone().State().playing; }

    // The page and the window show a running playback, or a stopped one.
    void ExpectRunning() {
        EXPECT_EQ(Player().State(), PlayState::Running);
        EXPECT_EQ(Look(IDC_CL_PLAY), "Pause");
        EXPECT_EQ(Tip(IDC_CL_PLAY), "녹취 재생");
        EXPECT_TRUE(Playing());
    }
    void ExpectAtRest(PlayState state) {
        EXPECT_EQ(Player().State(), state);
        EXPECT_EQ(Look(IDC_CL_PLAY), "Play");
        EXPECT_EQ(Tip(IDC_CL_PLAY), "일시 정지");
        EXPECT_FALSE(Playing());
        EXPECT_EQ(Indicator(), IDB_PLAYBACK_OFF);
    }

    vt::test::TestEnvironment env_;
    std::string recDir_;
    vt::ManualTimerHost timers_;
    vt::ManualTimerHost popupTimers_;
    vt::ManualTimerHost pageTimers_;
    std::unique_ptr<PhoneBinding> binding_;
};

// --- on the scripted line ------------------------------------------------------------

class CallLogPlaybackTest : public PlaybackFixture {
protected:
    void Deliver() { DeliverPosted(line_, Window().MessageWindow()); }
    std::string Status() { return Window().StatusText().toStdString(); }
    // Play is refused by the adapter: the page says so and stays as it was.
    void PlayWhileTheAdapterPlays(PlayState state) {
        line_.status = 0x20;
        Click(IDC_CL_PLAY);
        ExpectAtRest(state);
        EXPECT_EQ(Status(), CallLogPlayer::kDeviceBusyText);
        line_.status = 0;
    }

    vantelo::test::ScriptLine line_;
};

TEST_F(CallLogPlaybackTest, PlayRefusesWhileRecordingPlayingOrAbsentAndForAMissingFile) {
    Append("0211110000", "gone.wav");  // the file is not there
    Append("0222220000");              // no recording
    const fs::path greeting = Recording("hello.wav");
    ASSERT_TRUE(vt::test::WriteMuLawWav(greeting, vt::test::SpeechLikeSamples(400)));
    Append("0233330000", "hello.wav");
    Open(line_);
    Deliver();

    // A row without a recording: nothing at all.
    SelectRow(1);
    Window().SetStatusText("");
    Click(IDC_CL_PLAY);
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(Player().State(), PlayState::Stopped);
    EXPECT_FALSE(Playing());

    SelectRow(2);
    Click(IDC_CL_PLAY);
    EXPECT_EQ(Status(), "재생할 파일 정보가 올바르지 않습니다.");
    EXPECT_FALSE(Playing());

    // A greeting being recorded on the idle line.
    SelectRow(0);
    Phone().RecordButton();
    ASSERT_TRUE(Phone().State().recording);
    Click(IDC_CL_PLAY);
    EXPECT_EQ(Status(), "Recording중입니다.");
    EXPECT_EQ(Player().State(), PlayState::Stopped);
    // Its end logs the greeting, which shows on top at once; the selected
    // call stays selected.
    const int rows = Page().Grid().RowCount();
    Phone().RecordButton();
    Deliver();
    ASSERT_FALSE(Phone().State().recording);
    EXPECT_EQ(Page().Grid().RowCount(), rows + 1);
    EXPECT_EQ(Page().CellText(0, 4), "멘트녹음");
    EXPECT_EQ(Page().Grid().SelectedRow(), 1);
    EXPECT_EQ(Page().CellText(1, 5), "0233330000");

    // The window's own Play plays into the call.
    line_.HookOff();
    Deliver();
    Phone().PlayButton(&greeting.native());
    ASSERT_TRUE(Playing());
    SelectRow(1);
    Click(IDC_CL_PLAY);
    EXPECT_EQ(Status(), "이미 재생중입니다.");
    EXPECT_EQ(Player().State(), PlayState::Stopped);
    line_.FinishPlayback();
    line_.HookOn();
    Deliver();

    // Absence mode.
    Phone().MutableSettings().ModeAbsence = 1;
    Phone().MutableSettings().StrAbsenceFile = greeting.string();
    Phone().ArsButton();
    ASSERT_TRUE(Phone().State().absenceMode);
    Click(IDC_CL_PLAY);
    EXPECT_EQ(Status(), "부재중 설정시는 재생이 되지 않습니다.");
    EXPECT_EQ(Player().State(), PlayState::Stopped);
    EXPECT_FALSE(line_.Called("WaveOutSub"));
}

// The sound output is made for the first playback; a recording played from
// a page that was never shown finds it.
TEST_F(CallLogPlaybackTest, APlaybackBeforeThePageWasShownPlaysOnTheSpeakers) {
    ASSERT_TRUE(vt::test::WritePcmWav(Recording("talk.wav"), vt::test::SpeechLikeSamples(1500)));
    Append("0211110000", "talk.wav");
    Open(line_, false);
    ASSERT_EQ(Window().ShownPage(), IDD_ADDRESSBOOK);
    Player().Start(Page().CallAtRow(0));
    EXPECT_TRUE(Player().SpeakerOutput()) << "the media graph could not be made";
    EXPECT_TRUE(Player().Graph().IsRendered());
    ExpectRunning();
    EXPECT_EQ(Look(IDC_CL_HEADSET), "Speaker");
    EXPECT_FALSE(line_.Called("WaveOutSub")) << "not on the adapter";
    Click(IDC_CL_STOP);
    ExpectAtRest(PlayState::Stopped);
}

TEST_F(CallLogPlaybackTest, NewCallsAppearOnTopWithoutStoppingPlayback) {
    ASSERT_TRUE(vt::test::WriteMuLawWav(Recording("a.wav"), vt::test::SpeechLikeSamples(400)));
    Append("0211110000", "a.wav");
    Open(line_);
    Deliver();
    Click(IDC_CL_HEADSET);
    SelectRow(0);
    Click(IDC_CL_PLAY);
    ASSERT_EQ(Player().State(), PlayState::Running);

    // A ring nobody answers is logged as a missed call.
    line_.Post(WM_TY_RINGDETECTED, 0);
    Deliver();
    line_.Post(WM_TY_RINGEND, 0);
    Deliver();
    ASSERT_EQ(Page().Grid().RowCount(), 2);
    EXPECT_EQ(Page().CellText(0, 1), "부재");
    EXPECT_EQ(Page().CellText(1, 5), "0211110000");
    EXPECT_EQ(Page().Grid().SelectedRow(), 1);
    EXPECT_EQ(Player().State(), PlayState::Running);

    // A row change stops it.
    SelectRow(0);
    EXPECT_EQ(Player().State(), PlayState::Stopped);
    EXPECT_TRUE(line_.Called("StopWaveOut"));
}

TEST_F(CallLogPlaybackTest, SpeakerOutputRunsPausesResumesAndEndsOnTheMediaGraph) {
    ASSERT_TRUE(vt::test::WritePcmWav(Recording("talk.wav"), vt::test::SpeechLikeSamples(1500)));
    Append("0211110000", "talk.wav");
    Open(line_);
    ASSERT_TRUE(Player().SpeakerOutput()) << "the media graph could not be made";
    EXPECT_EQ(Look(IDC_CL_HEADSET), "Speaker");
    EXPECT_EQ(Look(IDC_CL_PLAY), "Play");
    // The page's own tool tips until playback begins.
    EXPECT_EQ(Tip(IDC_CL_PLAY), "선택된 녹취파일 재생");
    EXPECT_EQ(Tip(IDC_CL_HEADSET), "헤드셋으로 듣기");
    SelectRow(0);

    Click(IDC_CL_PLAY);
    ExpectRunning();
    EXPECT_EQ(Indicator(), IDB_PLAYBACK_ON);
    EXPECT_EQ(pageTimers_.PeriodOf(CallLogPlayer::kPositionTimer), 500u);
    EXPECT_TRUE(Slider().isEnabled());
    EXPECT_FALSE(line_.Called("WaveOutSub"));

    // The position timer moves the slider as the graph plays.
    std::int64_t duration = 0;
    ASSERT_EQ(Player().Graph().GetDuration(&duration), vt::media::S_OK);
    auto position = [&] {
        std::int64_t p = 0;
        Player().Graph().GetCurrentPosition(&p);
        return p;
    };
    ASSERT_TRUE(PumpUntil([&] { return position() > duration / 5; }, kLongWaitMs));
    pageTimers_.Advance(500);
    EXPECT_GE(Slider().value(), 20);

    // The output switch is ignored while it runs.
    Click(IDC_CL_HEADSET);
    EXPECT_TRUE(Player().SpeakerOutput());

    Click(IDC_CL_PLAY);
    ExpectAtRest(PlayState::Paused);
    EXPECT_FALSE(pageTimers_.IsRunning(CallLogPlayer::kPositionTimer));

    // Resumed from the slider's place.
    Slider().setValue(50);
    Click(IDC_CL_PLAY);
    ExpectRunning();
    EXPECT_GE(position(), duration / 2 - vt::media::kUnitsPerMs);
    EXPECT_TRUE(pageTimers_.IsRunning(CallLogPlayer::kPositionTimer));

    // The graph's completion event stops it.
    ASSERT_TRUE(PumpUntil([&] { return Player().State() == PlayState::Stopped; }, kLongWaitMs));
    ExpectAtRest(PlayState::Stopped);
    EXPECT_FALSE(pageTimers_.IsRunning(CallLogPlayer::kPositionTimer));

    // Stop ends a running playback; the output switch stops a paused one.
    Click(IDC_CL_PLAY);
    ExpectRunning();
    Click(IDC_CL_STOP);
    ExpectAtRest(PlayState::Stopped);
    Click(IDC_CL_PLAY);
    Click(IDC_CL_PLAY);
    ASSERT_EQ(Player().State(), PlayState::Paused);
    Click(IDC_CL_HEADSET);
    ExpectAtRest(PlayState::Stopped);
    EXPECT_FALSE(Player().SpeakerOutput());
    EXPECT_EQ(Look(IDC_CL_HEADSET), "Headset");
    EXPECT_EQ(Tip(IDC_CL_HEADSET), "스피커 설정");
    Click(IDC_CL_HEADSET);
    EXPECT_TRUE(Player().SpeakerOutput());
    EXPECT_EQ(Look(IDC_CL_HEADSET), "Speaker");
    EXPECT_EQ(Tip(IDC_CL_HEADSET), "헤드셋 설정");

    // A file the graph cannot play leaves the page stopped and says so.
    std::ofstream(Recording("talk.wav"), std::ios::trunc) << "not a sound file at all";
    Click(IDC_CL_PLAY);
    ExpectAtRest(PlayState::Stopped);
    EXPECT_EQ(Window().StatusText(), "녹음 파일을 재생할 수 없습니다.");
}

TEST_F(CallLogPlaybackTest, TheAdapterOutputRoutesResumesAndOutlastsARefusal) {
    ASSERT_TRUE(vt::test::WriteMuLawWav(Recording("a.wav"), vt::test::SpeechLikeSamples(500)));
    const auto size = static_cast<long>(fs::file_size(Recording("a.wav")));
    Append("0211110000", "a.wav");
    Open(line_);
    Deliver();
    Click(IDC_CL_HEADSET);
    SelectRow(0);

    // The adapter still plays something else: the page stays usable.
    PlayWhileTheAdapterPlays(PlayState::Stopped);

    Click(IDC_CL_PLAY);
    ExpectRunning();
    EXPECT_EQ(line_.Last("SetHeadSet"), "SetHeadSet 2");  // idle line: the handset
    EXPECT_EQ(line_.Last("WaveOutSub"), "WaveOutSub a.wav 0 raw=0");
    line_.Post(WM_TY_PLAYPROGRESS, size * 3 / 4);
    Deliver();
    EXPECT_EQ(Slider().value(), 75);

    Click(IDC_CL_PLAY);
    EXPECT_TRUE(line_.Called("PauseWaveOut"));
    Deliver();
    ExpectAtRest(PlayState::Paused);

    // A resume the adapter refuses leaves it paused, to be resumed again.
    Slider().setValue(50);
    PlayWhileTheAdapterPlays(PlayState::Paused);
    Click(IDC_CL_PLAY);
    ExpectRunning();
    EXPECT_EQ(line_.Last("WaveOutSub"), "WaveOutSub a.wav " + std::to_string(size / 2) + " raw=0");

    // Stopped on the handset side, the sound goes back to the telephone.
    Click(IDC_CL_STOP);
    ExpectAtRest(PlayState::Stopped);
    EXPECT_EQ(line_.Last("SetHeadSet"), "SetHeadSet 1");
    Deliver();

    // In a call the recording goes into the line.
    line_.HookOff();
    Deliver();
    const int routes = line_.Count("SetHeadSet");
    Click(IDC_CL_PLAY);
    ExpectRunning();
    EXPECT_EQ(line_.Count("SetHeadSet"), routes + 1);
    EXPECT_EQ(line_.Last("SetHeadSet"), "SetHeadSet 1");
    // Its end, reported by the line, stops the page.
    line_.FinishPlayback();
    Deliver();
    ExpectAtRest(PlayState::Stopped);
}

TEST_F(CallLogPlaybackTest, TheOutputSwitchIsIgnoredWhileTheAdapterPlaysOrRecords) {
    Open(line_);
    line_.status = 0x20;
    Click(IDC_CL_HEADSET);
    line_.status = 0x40;
    Click(IDC_CL_HEADSET);
    EXPECT_TRUE(Player().SpeakerOutput());
    line_.status = 0;
    Click(IDC_CL_HEADSET);
    EXPECT_FALSE(Player().SpeakerOutput());
}

// --- on the simulated adapter ----------------------------------------------------------

class CallLogDeviceTest : public PlaybackFixture {
protected:
    void SetUp() override {
        PlaybackFixture::SetUp();
        daemon_ = std::make_unique<linesim::test::ScopedDaemon>(0);
        capture_ = env_.Root() / "line.wav";
        Sim("capture " + capture_.string());
    }
    void TearDown() override {
        PlaybackFixture::TearDown();
        line_.StopService();
        line_.CloseDeviceByIndex();
        daemon_.reset();
    }
    void OpenOnAdapter() {
        Open(line_);
        ASSERT_TRUE(Phone().State().deviceOpen);
        Click(IDC_CL_HEADSET);
        ASSERT_FALSE(Player().SpeakerOutput());
        EXPECT_EQ(Look(IDC_CL_HEADSET), "Headset");
    }
    std::string Sim(const std::string& command) {
        const std::string answer = daemon_->Command(command);
        EXPECT_EQ(answer.rfind("OK", 0), 0u) << command << ": " << answer;
        return answer;
    }
    bool AdapterPlays() { return line_.GetTYplusState() & 0x20; }
    // The data of the capture file (what reached the line in the last stream).
    Bytes Captured() {
        const Bytes all = ReadBytes(capture_);
        return all.size() < 44 ? Bytes{} : Bytes(all.begin() + 44, all.end());
    }
    static Bytes From(const Bytes& file, std::size_t offset) {
        return Bytes(file.begin() + static_cast<long>(offset), file.end());
    }
    bool LogHas(const std::string& text) { return Sim("log").find(text) != std::string::npos; }

    vantelo::LindevLine line_;
    std::unique_ptr<linesim::test::ScopedDaemon> daemon_;
    fs::path capture_;
};

TEST_F(CallLogDeviceTest, AWavPlaysIntoTheAdapterByteForByte) {
    ASSERT_TRUE(vt::test::WriteMuLawWav(Recording("call.wav"), vt::test::SpeechLikeSamples(1000)));
    const Bytes file = ReadBytes(Recording("call.wav"));
    Append("0211110000", "call.wav");
    OpenOnAdapter();
    Sim("speed 10");
    Sim("headset 2");
    Sim("log clear");
    SelectRow(0);

    Click(IDC_CL_PLAY);
    ExpectRunning();
    EXPECT_EQ(Indicator(), IDB_PLAYBACK_ON);
    // The idle line routes the sound to the handset (DSP path).
    EXPECT_TRUE(LogHas("VENDOR_READ 0x7C value=0x0001"));

    // The adapter's progress moves the slider; its end stops the page.
    ASSERT_TRUE(PumpUntil([&] { return Player().State() == PlayState::Stopped; }, kLongWaitMs));
    ExpectAtRest(PlayState::Stopped);
    EXPECT_EQ(Slider().value(), 100);
    // The header's 70 bytes are the adapter's, the rest reached the line.
    EXPECT_EQ(Captured(), From(file, 70));
    // Back to the telephone path, as the headset sat on the DSP side.
    EXPECT_TRUE(LogHas("VENDOR_READ 0x7C value=0x0000"));
}

TEST_F(CallLogDeviceTest, AnotherDesksRecordingPlaysFromTheSharedDatabase) {
    // The office's shared database, where another desk logged a recorded call.
    PhoneSettings settings;
    settings.DatabaseUrl = vt::test::PostgresServer::Shared().NewDatabase();
    ASSERT_TRUE(SaveSettings(settings));
    ASSERT_TRUE(PrepareDatabase(vt::SystemClock::Instance()).ok());
    ASSERT_TRUE(vt::test::WriteMuLawWav(Recording("desk-a.wav"), vt::test::SpeechLikeSamples(800)));
    const Bytes file = ReadBytes(Recording("desk-a.wav"));
    Append("0211110000", "desk-a.wav");
    CRSCallList log;
    ASSERT_TRUE(log.Open().ok());
    ASSERT_TRUE(log.MoveFirst().ok());
    auto logged = log.CurrentCall();
    ASSERT_TRUE(logged.ok());
    auto c = storage::Connection::Open(DefaultDatabasePath());
    ASSERT_TRUE(c.ok());
    auto stored = StoreRecording(*c.value(), logged.value().CallUid, Recording("desk-a.wav"));
    ASSERT_TRUE(stored.ok() && stored.value());
    // This desk is another PC: the file is not here.
    fs::remove(Recording("desk-a.wav"));
    env_.Set("XDG_CACHE_HOME", (env_.Root() / "cache").string());
    OpenOnAdapter();
    Sim("speed 10");
    SelectRow(0);

    Click(IDC_CL_PLAY);
    ExpectRunning();
    EXPECT_EQ(fs::path(Player().Path()),
              env_.Root() / "cache" / "vantelo" / "recordings" / (logged.value().CallUid + ".wav"));
    ASSERT_TRUE(PumpUntil([&] { return Player().State() == PlayState::Stopped; }, kLongWaitMs));
    EXPECT_EQ(Captured(), From(file, 70));

    // Without the server and the copy, the status line says why.
    fs::remove_all(env_.Root() / "cache");
    settings.DatabaseUrl = vt::test::PostgresServer::Shared().Uri("no_such_database");
    ASSERT_TRUE(SaveSettings(settings));
    Click(IDC_CL_PLAY);
    ExpectAtRest(PlayState::Stopped);
    EXPECT_EQ(Window().StatusText().toStdString().rfind(
                  "공유 데이터베이스에서 녹음을 가져올 수 없습니다: ", 0),
              0u)
        << Window().StatusText().toStdString();
}

TEST_F(CallLogDeviceTest, PauseAndResumeFromTheSliderAndTheSwitchRules) {
    ASSERT_TRUE(vt::test::WriteMuLawWav(Recording("long.wav"), vt::test::SpeechLikeSamples(3000)));
    const Bytes file = ReadBytes(Recording("long.wav"));
    Append("0211110000", "long.wav");
    OpenOnAdapter();
    Sim("speed 1");
    SelectRow(0);

    Click(IDC_CL_PLAY);
    ExpectRunning();
    ASSERT_TRUE(PumpUntil([&] { return Slider().value() >= 5; }, kLongWaitMs));
    Click(IDC_CL_HEADSET);  // ignored while running
    EXPECT_FALSE(Player().SpeakerOutput());

    Click(IDC_CL_PLAY);
    ExpectAtRest(PlayState::Paused);
    ASSERT_TRUE(PumpUntil([&] { return !AdapterPlays(); }, kLongWaitMs));
    QCoreApplication::sendPostedEvents();

    // Resumed at half the file's bytes (the header counted in).
    Slider().setValue(50);
    Sim("speed 20");
    Click(IDC_CL_PLAY);
    ExpectRunning();
    ASSERT_TRUE(PumpUntil([&] { return Player().State() == PlayState::Stopped; }, kLongWaitMs));
    EXPECT_EQ(Captured(), From(file, file.size() / 2));

    // Paused again, the output switch stops the playback and switches.
    Sim("speed 1");
    Click(IDC_CL_PLAY);
    ASSERT_EQ(Player().State(), PlayState::Running);
    Click(IDC_CL_PLAY);
    ASSERT_EQ(Player().State(), PlayState::Paused);
    ASSERT_TRUE(PumpUntil([&] { return !AdapterPlays(); }, kLongWaitMs));
    Click(IDC_CL_HEADSET);
    ExpectAtRest(PlayState::Stopped);
    EXPECT_TRUE(Player().SpeakerOutput());
}

TEST_F(CallLogDeviceTest, ACompressedRecordingIsDecodedFirstAndAFailedDecodingStops) {
    // A compressed recording made by the real codec.
    const fs::path speech = env_.Root() / "speech.wav";
    ASSERT_TRUE(vt::test::WritePcmWav(speech, vt::test::SpeechLikeSamples(1200)));
    {
        vt::QueueMessageWindow codecWindow;
        TY_StartService(&codecWindow, 0);
        ASSERT_EQ(TY_Encoder(speech.c_str(), Recording("rec.vrc").c_str(), 1024, 0, 0, 100, 0), 1);
        auto done = codecWindow.WaitFor(WM_TY_CODECDONE, std::chrono::seconds(60));
        ASSERT_TRUE(done);
        ASSERT_EQ(done->lParam, 0);
        TY_StopService(0);
    }
    Append("0211110000", "rec.vrc");
    OpenOnAdapter();
    Sim("speed 20");
    SelectRow(0);

    Click(IDC_CL_PLAY);
    EXPECT_TRUE(Player().Decoding());
    EXPECT_EQ(Look(IDC_CL_PLAY), "Decoding");
    EXPECT_EQ(Tip(IDC_CL_PLAY), "변화중..");
    EXPECT_TRUE(Playing());
    // Neither Stop nor the output switch interrupt the decoding.
    Click(IDC_CL_STOP);
    Click(IDC_CL_HEADSET);
    EXPECT_TRUE(Player().Decoding());
    EXPECT_FALSE(Player().SpeakerOutput());

    const fs::path decoded = vt::ApplicationFolder() / "tmpPlay.wav";
    ASSERT_TRUE(PumpUntil([&] { return !Player().Decoding(); }, kLongWaitMs));
    EXPECT_EQ(Player().Path(), decoded.string());
    ASSERT_TRUE(PumpUntil([&] { return Player().State() == PlayState::Stopped; }, kLongWaitMs));
    const Bytes wav = ReadBytes(decoded);
    ASSERT_GT(wav.size(), 70u + 8000);
    EXPECT_EQ(Captured(), From(wav, 70));
    struct stat st {};
    ASSERT_EQ(::stat(decoded.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(vt::test::ReadText(vt::ApplicationFolder() / "logUserApp.txt"),
              "Current Directory... \n" + (vt::ApplicationFolder() / "").string() +
                  "\nTY_Decoder1... strTempName... \n" + Recording("rec.vrc").string() + "\n");

    // A decoded file that cannot take its place fails the decoding.
    fs::remove(decoded);
    fs::create_directory(decoded);
    Window().SetStatusText("");
    Click(IDC_CL_PLAY);
    ASSERT_TRUE(PumpUntil([&] { return !Player().Decoding(); }, kLongWaitMs));
    ExpectAtRest(PlayState::Stopped);
    EXPECT_EQ(Window().StatusText(), "녹음 파일을 변환하지 못했습니다.");
}

}  // namespace
}  // namespace vantelo::pages::test
