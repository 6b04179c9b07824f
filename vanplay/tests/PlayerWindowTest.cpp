#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <fstream>

#include "VrcFixture.h"
#include "i18n/Translations.h"
#include "platform/ManualTimerHost.h"
#include "testsupport/AccessibleTree.h"
#include "testsupport/QtPump.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"
#include "vanplay/PlayerIds.h"
#include "vanplay/PlayerSkin.h"
#include "vanplay/PlayerWindow.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/MessageInbox.h"
#include "vantelo/core/VanteloDatabase.h"
#include "widgets/FileDialogs.h"
#include "widgets/PictureButton.h"
#include "widgets/SkinSlider.h"

using namespace vanplay;
using vt::test::PumpUntil;
namespace fs = std::filesystem;
namespace media = vt::media;

namespace {

class PlayerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_.Set("TMPDIR", (env_.Root() / "tmp").string());
        fs::create_directories(env_.Root() / "tmp");
        window_ = std::make_unique<PlayerWindow>(&timers_);
        timers_.SetSink(&window_->Controller());
        window_->show();
    }

    void TearDown() override {
        if (window_)
            window_->close();
        window_.reset();
    }

    PlayerController& Player() { return window_->Controller(); }
    bool Shown(int id) const { return window_->ControlShown(id); }
    void Click(int id) { QTest::mouseClick(window_->Control(id), Qt::LeftButton); }

    std::string Wav(const char* name, unsigned ms) {
        const fs::path file = env_.Root() / name;
        EXPECT_TRUE(vt::test::WritePcmWav(file, vt::test::SpeechLikeSamples(ms)));
        return file.string();
    }

    std::string Vrc(const char* name, unsigned ms) {
        const fs::path file = env_.Root() / name;
        EXPECT_TRUE(test::WriteVrc(file, vt::test::SpeechLikeSamples(ms)));
        return file.string();
    }

    bool WaitForState(PlayState state, int timeoutMs = 4000) {
        return PumpUntil([&] { return Player().State() == state && !Player().Decoding(); },
                         timeoutMs);
    }

    media::PlayState GraphState() {
        media::PlayState s = media::PlayState::Stopped;
        Player().Graph().GetState(200, &s);
        return s;
    }

    std::int64_t GraphPosition() {
        std::int64_t p = -1;
        Player().Graph().GetCurrentPosition(&p);
        return p;
    }

    std::size_t TempFiles() const {
        std::size_t n = 0;
        for (const auto& e : fs::directory_iterator(env_.Root() / "tmp")) n += e.is_regular_file();
        return n;
    }

    vt::test::TestEnvironment env_;
    vt::ManualTimerHost timers_;
    std::unique_ptr<PlayerWindow> window_;
};

TEST_F(PlayerWindowTest, CommandLineRecordingDecodesPlaysAndOffersMp3) {
    const std::string vrc = Vrc("my call.vrc", 900);
    window_->Start(vrc);
    EXPECT_TRUE(Player().Decoding());
    for (int id : {IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_MP3}) EXPECT_FALSE(Shown(id)) << id;
    EXPECT_FALSE(window_->ControlEnabled(IDC_POSITION)) << "the slider is the progress bar";
    EXPECT_EQ(window_->LabelText(IDC_STATUS), "  my call.vrc");

    ASSERT_TRUE(WaitForState(PlayState::Running));
    EXPECT_EQ(Player().DecodedFile(), (env_.Root() / "my call.wav").string());
    EXPECT_TRUE(Shown(IDC_PAUSE));
    EXPECT_FALSE(Shown(IDC_PLAY));
    EXPECT_TRUE(Shown(IDC_STOP));
    EXPECT_TRUE(Shown(IDC_MP3));
    EXPECT_TRUE(window_->ControlEnabled(IDC_POSITION));
    EXPECT_EQ(timers_.PeriodOf(PositionTimer), 500u);
    EXPECT_NEAR(static_cast<double>(Player().Duration()), 900.0 * media::kUnitsPerMs,
                5.0 * media::kUnitsPerMs);

    window_->close();
    EXPECT_FALSE(fs::exists(env_.Root() / "my call.wav")) << "the decoded file was ours";
    EXPECT_TRUE(fs::exists(vrc));
}

TEST_F(PlayerWindowTest, PlayingAMessagesRecordingMakesItHeard) {
    const std::string wav = Wav("090000.wav", 800);
    const std::string vrc = Vrc("090100.vrc", 800);
    const std::string other = Wav("mine.wav", 800);
    // Opened before the phone ever ran: nothing is made in its folder.
    window_->Start(other);
    ASSERT_TRUE(WaitForState(PlayState::Running));
    const fs::path database = env_.AppHome() / vantelo::kDatabaseFileName;
    EXPECT_FALSE(fs::exists(database));

    ASSERT_TRUE(vantelo::PrepareDatabase(vt::SystemClock::Instance()).ok());
    vantelo::CRSCallList log;
    for (const std::string& file : {wav, vrc}) {
        vantelo::CallRecord call;
        call.CallMode = vantelo::kCallAnswered;
        call.CallNum = "0311112222";
        call.CallRec = true;
        call.CallRecDirectory = env_.Root().string() + "/";
        call.CallRecFileName = fs::path(file).filename().string();
        ASSERT_TRUE(log.AppendCall(call, vt::SystemClock::Instance()).ok());
    }
    vantelo::MessageInbox inbox(database);
    auto count = [&] {
        auto listed = inbox.NewMessages();
        return listed.ok() ? static_cast<int>(listed.value().size()) : -1;
    };
    ASSERT_EQ(count(), 2);
    window_->Controller().OpenFile(other);  // no message: nothing changes
    ASSERT_TRUE(WaitForState(PlayState::Running));
    EXPECT_EQ(count(), 2);
    window_->Controller().OpenFile(vrc);  // decoded first; the recording is heard
    ASSERT_TRUE(WaitForState(PlayState::Running));
    EXPECT_EQ(count(), 1);
    window_->Controller().OpenFile(wav);
    ASSERT_TRUE(WaitForState(PlayState::Running));
    EXPECT_EQ(count(), 0);
}

TEST_F(PlayerWindowTest, PlayPauseAndStopShowTheRightButtons) {
    window_->Start(Wav("call.wav", 1500));
    ASSERT_TRUE(WaitForState(PlayState::Running));
    EXPECT_TRUE(Shown(IDC_PAUSE));
    EXPECT_FALSE(Shown(IDC_PLAY));

    Click(IDC_PAUSE);
    EXPECT_EQ(Player().State(), PlayState::Paused);
    EXPECT_TRUE(Shown(IDC_PLAY));
    EXPECT_FALSE(Shown(IDC_PAUSE));
    EXPECT_FALSE(timers_.IsRunning(PositionTimer));

    Click(IDC_PLAY);
    EXPECT_EQ(Player().State(), PlayState::Running);
    EXPECT_FALSE(Shown(IDC_PLAY));
    EXPECT_TRUE(Shown(IDC_PAUSE));
    EXPECT_TRUE(timers_.IsRunning(PositionTimer));

    Click(IDC_STOP);
    EXPECT_EQ(Player().State(), PlayState::Stopped);
    EXPECT_TRUE(Shown(IDC_PLAY));
    EXPECT_FALSE(Shown(IDC_PAUSE));
    EXPECT_EQ(window_->SliderPosition(IDC_POSITION), 0);
    EXPECT_EQ(window_->LabelText(IDC_TIME), "    00m : 00s");
}

TEST_F(PlayerWindowTest, PositionTimerMovesSliderAndTime) {
    window_->Start(Wav("call.wav", 1500));
    ASSERT_TRUE(WaitForState(PlayState::Running));
    ASSERT_TRUE(PumpUntil([&] { return GraphPosition() > 0; }));
    Click(IDC_PAUSE);
    Player().Graph().SetPositions(1200 * media::kUnitsPerMs);
    Click(IDC_PLAY);
    Click(IDC_PAUSE);
    timers_.Start(PositionTimer, 500);  // as if it ran on while paused
    timers_.Advance(500);
    EXPECT_EQ(window_->SliderPosition(IDC_POSITION), 80);
    EXPECT_EQ(window_->LabelText(IDC_TIME), "    00m : 01s");
}

TEST_F(PlayerWindowTest, SeekWhilePausedStaysPaused) {
    window_->Start(Wav("call.wav", 2000));
    ASSERT_TRUE(WaitForState(PlayState::Running));
    Click(IDC_PAUSE);
    auto* slider = static_cast<vt::widgets::SkinSlider*>(window_->Control(IDC_POSITION));
    const QPoint grab = slider->HandleRect().center();
    QTest::mousePress(slider, Qt::LeftButton, {}, grab);
    QTest::mouseMove(slider, QPoint(slider->width() / 2, grab.y()));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(slider->width() / 2, grab.y()));
    const int p = window_->SliderPosition(IDC_POSITION);
    EXPECT_GT(p, 30);
    EXPECT_EQ(GraphState(), media::PlayState::Paused);
    EXPECT_EQ(Player().State(), PlayState::Paused);
    EXPECT_EQ(GraphPosition(), Player().Duration() * p / 100);
    EXPECT_EQ(window_->LabelText(IDC_TIME), PlayerController::TimeText(GraphPosition()));
    vt::test::PumpFor(60);
    EXPECT_EQ(GraphPosition(), Player().Duration() * p / 100) << "still paused";
}

TEST_F(PlayerWindowTest, SeekWhileRunningResumesOnRelease) {
    window_->Start(Wav("call.wav", 2000));
    ASSERT_TRUE(WaitForState(PlayState::Running));
    Player().OnPositionScroll(40, false);
    EXPECT_EQ(GraphState(), media::PlayState::Paused) << "paused during the drag";
    Player().OnPositionScroll(50, true);
    EXPECT_EQ(GraphState(), media::PlayState::Running);
    ASSERT_TRUE(PumpUntil([&] { return GraphPosition() > Player().Duration() / 2; }));
}

TEST_F(PlayerWindowTest, CompletionReturnsToStopped) {
    window_->Start(Wav("short.wav", 300));
    ASSERT_TRUE(WaitForState(PlayState::Running));
    ASSERT_TRUE(WaitForState(PlayState::Stopped));
    EXPECT_TRUE(Shown(IDC_PLAY));
    EXPECT_FALSE(Shown(IDC_PAUSE));
    EXPECT_EQ(window_->SliderPosition(IDC_POSITION), 0);
    Click(IDC_PLAY);
    EXPECT_EQ(Player().State(), PlayState::Running) << "plays again from the start";
}

TEST_F(PlayerWindowTest, ReopeningTheLoadedFileReplaysAndDeletesNothing) {
    const std::string vrc = Vrc("call.vrc", 1200);
    window_->Start(vrc);
    ASSERT_TRUE(WaitForState(PlayState::Running));
    const std::string decoded = Player().DecodedFile();
    Player().OpenFile(vrc);
    EXPECT_EQ(Player().DecodedFile(), decoded);
    EXPECT_TRUE(fs::exists(decoded));
    EXPECT_EQ(Player().State(), PlayState::Running);
    EXPECT_FALSE(Player().Decoding());
    EXPECT_LT(GraphPosition(), 400 * media::kUnitsPerMs) << "from the start";
}

TEST_F(PlayerWindowTest, UsersOwnWavBesideTheRecordingIsKept) {
    std::ofstream(env_.Root() / "call.wav") << "the user's own recording";
    const std::string vrc = Vrc("call.vrc", 400);
    window_->Start(vrc);
    ASSERT_TRUE(WaitForState(PlayState::Running));
    EXPECT_NE(Player().DecodedFile(), (env_.Root() / "call.wav").string());
    EXPECT_EQ(TempFiles(), 1u) << "decoded into a private temporary file";
    window_->close();
    EXPECT_EQ(fs::file_size(env_.Root() / "call.wav"), 24u) << "untouched";
    EXPECT_EQ(TempFiles(), 0u) << "the player's own file is gone";
}

TEST_F(PlayerWindowTest, OpeningAnotherFileDuringDecodingPlaysTheNewOne) {
    const std::string vrc = Vrc("long.vrc", 3000);
    const std::string wav = Wav("other.wav", 1500);
    window_->Start(vrc);
    ASSERT_TRUE(Player().Decoding());
    // In the same turn of the event loop: the first run's messages are queued.
    Player().OpenFile(wav);
    EXPECT_FALSE(Player().Decoding());
    EXPECT_EQ(Player().CurrentFile(), wav);
    EXPECT_EQ(Player().State(), PlayState::Running);
    ASSERT_TRUE(PumpUntil([&] { return !fs::exists(env_.Root() / "long.wav"); }))
        << "the given-up run's file is removed once it ended";
    vt::test::PumpFor(50);
    EXPECT_EQ(Player().CurrentFile(), wav);
    EXPECT_TRUE(Player().DecodedFile().empty());
    std::int64_t duration = 0;
    Player().Graph().GetDuration(&duration);
    EXPECT_NEAR(static_cast<double>(duration), 1500.0 * media::kUnitsPerMs,
                5.0 * media::kUnitsPerMs)
        << "the graph holds the new file";
    EXPECT_TRUE(fs::exists(vrc));
}

TEST_F(PlayerWindowTest, FailedDecodingIsShown) {
    fs::create_directory(env_.Root() / "broken.vrc");  // cannot be read as a file
    window_->Start((env_.Root() / "broken.vrc").string());
    ASSERT_TRUE(PumpUntil([&] { return !Player().Decoding(); }));
    EXPECT_EQ(window_->LabelText(IDC_STATUS), DecodeResultLabel(kDecodeCannotRead));
    EXPECT_TRUE(Player().DecodedFile().empty());
    EXPECT_FALSE(fs::exists(env_.Root() / "broken.wav")) << "nothing left at the decoded name";
    EXPECT_TRUE(Shown(IDC_PLAY));
    EXPECT_FALSE(Shown(IDC_STOP));
    EXPECT_FALSE(Shown(IDC_MP3));
    Click(IDC_PLAY);
    EXPECT_EQ(Player().State(), PlayState::Stopped);
}

TEST_F(PlayerWindowTest, EmptyRecordingEndsAtOnceWithPlayShown) {
    std::ofstream(env_.Root() / "empty.vrc").flush();
    window_->Start((env_.Root() / "empty.vrc").string());
    ASSERT_TRUE(PumpUntil([&] { return !Player().Decoding(); }));
    ASSERT_TRUE(WaitForState(PlayState::Stopped));
    EXPECT_TRUE(Shown(IDC_PLAY));
    EXPECT_FALSE(Shown(IDC_PAUSE));
}

TEST_F(PlayerWindowTest, ProgressBarStepsOncePerMessage) {
    window_->Start(Vrc("call.vrc", 400));
    ASSERT_EQ(window_->SliderPosition(IDC_POSITION), 1);
    const vt::WPARAM serial = Player().DecodingSerial();
    for (vt::LPARAM value : {50, 50, 90}) Player().OnMessage(WM_TY_CODECPROGRESS, serial, value);
    EXPECT_EQ(window_->SliderPosition(IDC_POSITION), 4);
    Player().OnMessage(WM_TY_CODECPROGRESS, serial + 100, 10);
    EXPECT_EQ(window_->SliderPosition(IDC_POSITION), 4) << "another run's message is ignored";
    ASSERT_TRUE(WaitForState(PlayState::Running));
}

TEST_F(PlayerWindowTest, Mp3ExportOfARecordingKeepsTheWindowAnswering) {
    const std::string vrc = Vrc("call.vrc", 1000);
    window_->Start(vrc);
    ASSERT_TRUE(WaitForState(PlayState::Running));
    Click(IDC_MP3);
    EXPECT_TRUE(Player().Exporting());
    EXPECT_FALSE(Shown(IDC_MP3)) << "hidden until the library returns";
    EXPECT_EQ(window_->LabelText(IDC_STATUS), "  call.vrc");
    Click(IDC_PAUSE);
    EXPECT_EQ(Player().State(), PlayState::Paused) << "the window answers meanwhile";
    ASSERT_TRUE(PumpUntil([&] { return !Player().Exporting(); }, 10000));
    EXPECT_TRUE(Shown(IDC_MP3));
    EXPECT_EQ(window_->LabelText(IDC_STATUS), "Convert Mp3 : 100.00%");
    auto info = vt::test::DecodeMp3WithLame(env_.Root() / "call.mp3", env_.Root() / "back.wav");
    ASSERT_TRUE(info) << "an independent decoder reads the export";
    EXPECT_NEAR(vt::test::DurationMs(*info), 1000.0, 30.0);
}

TEST_F(PlayerWindowTest, Mp3ExportOfAnOpenedWavConvertsThatWav) {
    const std::string wav = Wav("talk.wav", 700);
    window_->Start(wav);
    ASSERT_TRUE(WaitForState(PlayState::Running));
    ASSERT_TRUE(Shown(IDC_MP3));
    Click(IDC_MP3);
    ASSERT_TRUE(PumpUntil([&] { return !Player().Exporting(); }, 10000));
    auto info = vt::test::DecodeMp3WithLame(env_.Root() / "talk.mp3", env_.Root() / "back.wav");
    ASSERT_TRUE(info);
    EXPECT_NEAR(vt::test::DurationMs(*info), 700.0, 30.0);
    EXPECT_TRUE(fs::exists(wav)) << "the user's WAV stays";
}

TEST_F(PlayerWindowTest, Mp3ProgressText) {
    window_->Start("");
    auto& messages = window_->MessageWindow();
    messages.Post(Mp3Progress, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return window_->LabelText(IDC_STATUS) == "Convert Mp3 : 0.00%"; }));
    messages.Post(Mp3Progress, 1, 3);
    ASSERT_TRUE(
        PumpUntil([&] { return window_->LabelText(IDC_STATUS) == "Convert Mp3 : 33.33%"; }));
    messages.Post(Mp3Progress, 3, 3);
    ASSERT_TRUE(
        PumpUntil([&] { return window_->LabelText(IDC_STATUS) == "Convert Mp3 : 100.00%"; }));
}

TEST_F(PlayerWindowTest, VolumeSliderSetsTheGraphVolume) {
    window_->Start(Wav("call.wav", 600));
    ASSERT_TRUE(WaitForState(PlayState::Running));
    long volume = 1;
    Player().Graph().get_Volume(&volume);
    EXPECT_EQ(volume, -3000) << "the slider starts at 3000";
    window_->SetSliderPosition(IDC_VOLUME, 1200);
    Player().Graph().get_Volume(&volume);
    EXPECT_EQ(volume, -1200);
    window_->SetSliderPosition(IDC_VOLUME, 0);
    Player().Graph().get_Volume(&volume);
    EXPECT_EQ(volume, 0);
}

TEST_F(PlayerWindowTest, IdlePlayerIgnoresPlayAndTimeText) {
    window_->Start("");
    Click(IDC_PLAY);
    EXPECT_EQ(Player().State(), PlayState::Stopped);
    EXPECT_EQ(window_->LabelText(IDC_TIME), "    00m : 00s");
    EXPECT_EQ(PlayerController::TimeText(615'000'000), "    01m : 01s");
    EXPECT_EQ(PlayerController::TimeText(9'999'999), "    00m : 00s");
}

TEST_F(PlayerWindowTest, OpenDialogOffersTheThreeFiltersAndCancelEnds) {
    window_->Start(Wav("call.wav", 1500));
    ASSERT_TRUE(WaitForState(PlayState::Running));
    QStringList filters;
    QString title, selected, suffix;
    bool shared = false;
    QTimer poll;  // polled from the dialog's own event loop
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = window_->findChild<QFileDialog*>();
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        filters = dialog->nameFilters();
        title = dialog->windowTitle();
        selected = dialog->selectedNameFilter();
        suffix = dialog->defaultSuffix();
        // The programs' one kind of dialog, which never opens the files it shows.
        shared = dialog->iconProvider() == vt::widgets::FileDialogs::IconProvider() &&
                 dialog->testOption(QFileDialog::DontUseNativeDialog);
        QMetaObject::invokeMethod(dialog, "reject");
    });
    poll.start(20);
    Click(IDC_OPEN);
    EXPECT_EQ(title, "Open File");
    ASSERT_EQ(filters.size(), 3);
    EXPECT_TRUE(filters[0].startsWith("Compressed Files (*.vrc)"));
    EXPECT_TRUE(filters[1].startsWith("WAV Files (*.wav)"));
    EXPECT_TRUE(filters[2].startsWith("All Files"));
    EXPECT_EQ(selected, filters[0]);
    EXPECT_EQ(suffix, "vrc");
    EXPECT_TRUE(shared);
    EXPECT_EQ(Player().State(), PlayState::Stopped) << "the open button stops first";
    EXPECT_EQ(Player().CurrentFile(), (env_.Root() / "call.wav").string()) << "cancel ends it";
}

TEST_F(PlayerWindowTest, SkinnedWindowSizeTitleAndShape) {
    EXPECT_EQ(window_->size(), QSize(476, 150));
    EXPECT_EQ(window_->windowTitle(), "VRC Player");
    EXPECT_EQ(window_->Skin().Image(IDB_SKIN).size(), QSize(477, 150));
    EXPECT_EQ(window_->Skin().Image(IDB_PLAY).size(), QSize(33, 24));
    EXPECT_EQ(window_->Skin().Image(IDB_STOP).size(), QSize(34, 24));
    EXPECT_EQ(window_->Skin().Image(IDB_CLOSE).size(), QSize(16, 16));
    EXPECT_FALSE(window_->mask().contains(QPoint(0, 0))) << "rounded corner";
    EXPECT_TRUE(window_->mask().contains(QPoint(238, 75)));
    EXPECT_EQ(window_->Control(IDC_PLAY)->geometry(), QRect(276, 92, 34, 22));
    EXPECT_EQ(window_->Control(IDC_PAUSE)->geometry(), window_->Control(IDC_PLAY)->geometry());
    EXPECT_EQ(window_->LabelText(IDC_TIME), "    00m : 00s");
    EXPECT_TRUE(window_->Control(IDC_TIME)->font().bold());
}

TEST_F(PlayerWindowTest, EscapeMinimisesAndEnterIsSwallowed) {
    window_->Start(Wav("call.wav", 1500));
    ASSERT_TRUE(WaitForState(PlayState::Running));
    QTest::keyClick(window_.get(), Qt::Key_Return);
    EXPECT_EQ(Player().State(), PlayState::Running);
    EXPECT_TRUE(window_->isVisible());
    QTest::keyClick(window_.get(), Qt::Key_Escape);
    EXPECT_TRUE(window_->windowState() & Qt::WindowMinimized);
    EXPECT_FALSE(window_->isHidden()) << "still running, minimised";
    EXPECT_EQ(Player().State(), PlayState::Running);
}

TEST_F(PlayerWindowTest, EveryControlIsNamedAndTabReachesEveryButton) {
    EXPECT_EQ(vt::test::UnnamedFocusable(*window_), QStringList());
    struct Case {
        int id;
        const char* name;
    };
    const Case cases[] = {{IDC_PLAY, "재생"},          {IDC_STOP, "정지"},
                          {IDC_OPEN, "파일 열기"},     {IDC_MP3, "MP3로 내보내기"},
                          {IDC_POSITION, "재생 위치"}, {IDC_VOLUME, "음량"}};
    for (const Case& c : cases)
        EXPECT_EQ(
            QAccessible::queryAccessibleInterface(window_->Control(c.id))->text(QAccessible::Name),
            QString::fromUtf8(c.name));

    QApplication::setActiveWindow(window_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    // The keys start where they did before the buttons took Tab.
    QWidget* start = QApplication::focusWidget();
    EXPECT_EQ(start, window_->Control(IDC_POSITION));
    ASSERT_NE(start, nullptr);
    const auto visits = vt::test::TabVisits(*start);
    for (auto* b : window_->findChildren<vt::widgets::PictureButton*>())
        if (!b->isHidden()) {
            EXPECT_NE(std::find(visits.begin(), visits.end(), b), visits.end())
                << b->accessibleName().toStdString();
        }
}

TEST_F(PlayerWindowTest, SpaceAndEnterPressTheFocusedButtonOnly) {
    window_->Start(Wav("call.wav", 1500));
    ASSERT_TRUE(WaitForState(PlayState::Running));
    QApplication::setActiveWindow(window_.get());
    window_->Control(IDC_POSITION)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window_->Control(IDC_POSITION), Qt::Key_Return);
    EXPECT_EQ(Player().State(), PlayState::Running) << "Enter off the buttons does nothing";
    QWidget* pause = window_->Control(IDC_PAUSE);
    ASSERT_TRUE(Shown(IDC_PAUSE));
    pause->setFocus(Qt::TabFocusReason);
    QTest::keyClick(pause, Qt::Key_Space);
    EXPECT_EQ(Player().State(), PlayState::Paused);
    QWidget* stop = window_->Control(IDC_STOP);
    stop->setFocus(Qt::TabFocusReason);
    QTest::keyClick(stop, Qt::Key_Return);
    EXPECT_EQ(Player().State(), PlayState::Stopped);
}

TEST_F(PlayerWindowTest, DraggingMovesTheWindowOnlyFromTheUpperPart) {
    window_->move(100, 100);
    const QPoint start = window_->pos();
    QTest::mousePress(window_.get(), Qt::LeftButton, {}, QPoint(300, 100));
    QTest::mouseMove(window_.get(), QPoint(330, 110));
    QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, QPoint(330, 110));
    EXPECT_EQ(window_->pos(), start) << "y >= 70 does not move it";
    QTest::mousePress(window_.get(), Qt::LeftButton, {}, QPoint(300, 20));
    QMouseEvent move(QEvent::MouseMove, QPointF(330, 30), window_->mapToGlobal(QPointF(330, 30)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(window_.get(), &move);
    QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, QPoint(330, 30));
    EXPECT_EQ(window_->pos(), start + QPoint(30, 10));
}

// The player in each language: what assistive technology calls its buttons
// and labels follows the language loaded at start.
TEST(PlayerLanguageTest, NamesTheControlsInTheLoadedLanguage) {
    struct Case {
        vt::i18n::Language language;
        const char* open;
        const char* play;
        const char* status;
    };
    for (const Case& c : {Case{vt::i18n::Language::Korean, "파일 열기", "재생", "상태"},
                          Case{vt::i18n::Language::English, "Open file", "Play", "Status"}}) {
        vt::i18n::Load(c.language, {"vanplay"});
        vt::i18n::InstallIntoApplication();
        vt::test::TestEnvironment env;
        vt::ManualTimerHost timers;
        PlayerWindow window(&timers);
        EXPECT_EQ(window.Control(IDC_OPEN)->accessibleName().toStdString(), c.open);
        EXPECT_EQ(window.Control(IDC_PLAY)->accessibleName().toStdString(), c.play);
        EXPECT_EQ(window.Control(IDC_STATUS)->accessibleDescription().toStdString(), c.status);
    }
    vt::i18n::Load(vt::i18n::Language::Korean, {});
}

}  // namespace
