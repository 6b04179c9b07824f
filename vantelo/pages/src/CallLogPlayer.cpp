#include "CallLogPlayer.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "vantelo/core/PlayableRecording.h"
#include "widgets/QtTimerHost.h"
#include "widgets/WindowMessageEvent.h"

namespace vantelo::pages {

namespace fs = std::filesystem;
using namespace vt::media;

namespace {

// Tool tips of button 1036 and the output switch 1141, as the system words them.
constexpr const char* kTipRunning = QT_TRANSLATE_NOOP("vantelo::pages::CallLogPlayer", "녹취 재생");
constexpr const char* kTipDecoding = QT_TRANSLATE_NOOP("vantelo::pages::CallLogPlayer", "변화중..");
constexpr const char* kTipStopped = QT_TRANSLATE_NOOP("vantelo::pages::CallLogPlayer", "일시 정지");
constexpr const char* kTipDeviceOutput =
    QT_TRANSLATE_NOOP("vantelo::pages::CallLogPlayer", "스피커 설정");
constexpr const char* kTipSpeakerOutput =
    QT_TRANSLATE_NOOP("vantelo::pages::CallLogPlayer", "헤드셋 설정");

// Status word bits: the adapter plays or records.
constexpr unsigned kAdapterBusyBits = 0x20 | 0x40;
constexpr int kRouteTelephone = 1;
constexpr int kRouteDsp = 2;

std::string LastThreeLower(const std::string& path) {
    std::string tail = path.size() >= 3 ? path.substr(path.size() - 3) : path;
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail;
}

}  // namespace

CallLogPlayer::CallLogPlayer(PlaybackHost& host, Controls& controls, QObject* parent)
    : QObject(parent), host_(host), controls_(controls), messages_(this) {
    ownTimers_ = std::make_unique<vt::widgets::QtTimerHost>(this);
    timers_ = ownTimers_.get();
}

CallLogPlayer::~CallLogPlayer() {
    Stop();
    timers_->Stop(kPositionTimer);
    graph_.Release();
    messages_.Close();
}

bool CallLogPlayer::Setup() {
    if (setUp_)
        return speaker_;
    setUp_ = true;
    if (Failed(graph_.Create())) {
        graph_.Release();
        speaker_ = false;
    } else {
        speaker_ = true;
    }
    // The looks only: the page's first tool tips stay until playback begins.
    controls_.ShowPlayLook(Controls::PlayLook::Play, QString());
    controls_.ShowOutputLook(speaker_, QString());
    return speaker_;
}

void CallLogPlayer::PlayButton(const std::optional<CallRecord>& selected) {
    Setup();
    if (host_.IsRecording()) {
        host_.SetStatusText(tr(kRecordingText).toStdString());
        return;
    }
    if (host_.IsPlaying() && state_ == PlayState::Stopped) {
        host_.SetStatusText(tr(kAlreadyPlayingText).toStdString());
        return;
    }
    if (host_.IsAbsenceMode()) {
        host_.SetStatusText(tr(kAbsenceText).toStdString());
        return;
    }
    switch (state_) {
        case PlayState::Stopped:
            Start(selected);
            break;
        case PlayState::Running:
            timers_->Stop(kPositionTimer);
            Pause();
            break;
        case PlayState::Paused:
            Resume();
            break;
    }
}

void CallLogPlayer::Start(const std::optional<CallRecord>& call) {
    Setup();
    // A second decoding would overwrite the file the first one writes.
    if (decoding_ || !call || !call->CallRec)
        return;
    // Another desk's call plays from a copy fetched from the shared database.
    const fs::path database = DatabaseIn(host_.ApplicationFolder());
    const PlayableRecording playable = FindPlayableRecording(*call, database);
    if (!playable.ok()) {
        host_.SetStatusText(IsSharedDatabase(database) ? playable.error
                                                       : tr(kBadFileText).toStdString());
        return;
    }
    const std::string path = playable.file.string();
    host_.SetPlaying(true);
    path_ = path;
    recording_ = path;
    if (LastThreeLower(path) == "wav")
        PlayFile();
    else
        StartDecoding();
}

void CallLogPlayer::StartDecoding() {
    const fs::path folder = host_.ApplicationFolder();
    const std::string source = path_;
    controls_.ShowPlayLook(Controls::PlayLook::Decoding, tr(kTipDecoding));
    decoding_ = true;
    host_.WriteLog("Current Directory... ");
    host_.WriteLog((folder / "").string());
    host_.WriteLog("TY_Decoder1... strTempName... ");
    host_.WriteLog(source);
    // Named in full, so the decoded file lands in the application folder
    // whatever the process's current folder is.
    path_ = (folder / kDecodedName).string();
    if (!host_.Line().Decoder1(source, path_, 1024, 100))
        DecodingDone(false);  // no decoding runs, so no end will be reported
}

void CallLogPlayer::DecodingDone(bool succeeded) {
    if (!decoding_)
        return;
    decoding_ = false;
    if (succeeded)
        PlayFile();
    else
        NotStarted(kDecodeFailedText);
}

void CallLogPlayer::PlayFile() {
    if (speaker_)
        PlayOnSpeaker();
    else
        PlayOnDevice();
}

void CallLogPlayer::PlayOnSpeaker() {
    graph_.Rebuild();
    const HRESULT rendered = graph_.RenderFile(path_);
    graph_.SetNotifyWindow(&messages_, kGraphNotify, 0);
    if (Failed(graph_.GetDuration(&duration_)))
        duration_ = 0;
    controls_.EnableSlider(false);
    controls_.SetSliderPosition(0);
    if (duration_ > 0)
        controls_.EnableSlider(true);
    if (Failed(rendered) || Failed(graph_.Run())) {
        NotStarted(kCannotPlayText);
        return;
    }
    ShowRunning();
    host_.ShowPlaying(true);
    timers_->Start(kPositionTimer, kPositionMs);
    host_.RecordingPlayed(recording_);
}

void CallLogPlayer::PlayOnDevice() {
    std::error_code ec;
    const auto size = fs::file_size(path_, ec);
    length_ = ec ? 0 : static_cast<std::int64_t>(size);
    controls_.SetSliderPosition(0);
    PhoneLine& line = host_.Line();
    if (length_ == 0) {
        NotStarted(kCannotPlayText);
        return;
    }
    line.SetHeadSet(line.IsLineBusy() == 1 ? kRouteTelephone : kRouteDsp);
    // Refused while the adapter still plays, records or prompts.
    if (line.WaveOutSub(path_, 0, 0) == 0) {
        NotStarted(kDeviceBusyText);
        return;
    }
    host_.ShowPlaying(true);
    ShowRunning();
    host_.RecordingPlayed(recording_);
}

void CallLogPlayer::Pause() {
    if (speaker_) {
        if (state_ == PlayState::Running)
            graph_.Pause();
    } else {
        host_.Line().PauseWaveOut();
    }
    controls_.ShowPlayLook(Controls::PlayLook::Play, tr(kTipStopped));
    state_ = PlayState::Paused;
    host_.SetPlaying(false);
    host_.ShowPlaying(false);
}

void CallLogPlayer::Resume() {
    const std::int64_t p = controls_.SliderPosition();
    if (speaker_) {
        if (!resumedOnce_) {
            resumedOnce_ = true;
            PlayState ignored = PlayState::Stopped;
            graph_.GetState(10, &ignored);
            graph_.Pause();
        }
        graph_.SetPositions(duration_ * p / 100);
        graph_.Run();
        timers_->Start(kPositionTimer, kPositionMs);
    } else if (host_.Line().WaveOutSub(path_, static_cast<int>(length_ * p / 100), 0) == 0) {
        // The adapter may still be playing out what it had before the pause:
        // the playback stays paused, to be resumed again.
        host_.SetStatusText(tr(kDeviceBusyText).toStdString());
        return;
    }
    ShowRunning();
    host_.SetPlaying(true);
    host_.ShowPlaying(true);
}

void CallLogPlayer::Stop() {
    if (decoding_ || state_ == PlayState::Stopped)
        return;
    PhoneLine& line = host_.Line();
    if (speaker_) {
        timers_->Stop(kPositionTimer);
        graph_.Stop();
        // Stopped before the waits below, which may deliver the graph's own
        // events to this player again.
        state_ = PlayState::Stopped;
        PlayState ignored = PlayState::Stopped;
        graph_.GetState(500, &ignored);
        graph_.SetPositions(0);
        graph_.StopWhenReady();
        graph_.Rebuild();
    } else {
        line.StopWaveOut();
    }
    if (line.GetHeadsetLoc() == kRouteDsp)
        line.SetHeadSet(kRouteTelephone);
    host_.SetPlaying(false);
    host_.ShowPlaying(false);
    state_ = PlayState::Stopped;
    controls_.ShowPlayLook(Controls::PlayLook::Play, tr(kTipStopped));
}

void CallLogPlayer::OutputButton() {
    Setup();
    if ((host_.Line().GetTYplusState() & kAdapterBusyBits) || decoding_)
        return;
    if (state_ == PlayState::Running)
        return;
    if (state_ == PlayState::Paused)
        Stop();
    speaker_ = !speaker_;
    controls_.ShowOutputLook(speaker_, tr(speaker_ ? kTipSpeakerOutput : kTipDeviceOutput));
}

void CallLogPlayer::PlayProgress(long bytes) {
    if (length_ > 0 && !speaker_)
        controls_.SetSliderPosition(static_cast<int>(bytes * std::int64_t{100} / length_));
}

void CallLogPlayer::OnTimer(int id) {
    if (id != kPositionTimer)
        return;
    std::int64_t position = 0;
    if (Failed(graph_.GetCurrentPosition(&position)))
        position = 0;
    controls_.SetSliderPosition(duration_ > 0 ? static_cast<int>(position * 100 / duration_) : 0);
}

void CallLogPlayer::OnGraphEvents() {
    long code = 0;
    vt::LPARAM param1 = 0, param2 = 0;
    while (graph_.GetEvent(&code, &param1, &param2, 0) == S_OK) {
        const bool freed = Succeeded(graph_.FreeEventParams(code, param1, param2));
        // An error abort ends the stream as surely as its end does.
        if (code == EC_COMPLETE || code == EC_ERRORABORT || !freed)
            Stop();
    }
}

bool CallLogPlayer::event(QEvent* e) {
    if (e->type() == vt::widgets::WindowMessageEvent::EventType()) {
        if (static_cast<vt::widgets::WindowMessageEvent*>(e)->message == kGraphNotify)
            OnGraphEvents();
        return true;
    }
    return QObject::event(e);
}

void CallLogPlayer::ShowRunning() {
    state_ = PlayState::Running;
    controls_.ShowPlayLook(Controls::PlayLook::Pause, tr(kTipRunning));
}

void CallLogPlayer::NotStarted(const char* text) {
    state_ = PlayState::Stopped;
    host_.SetPlaying(false);
    host_.ShowPlaying(false);
    controls_.ShowPlayLook(Controls::PlayLook::Play, tr(kTipStopped));
    host_.SetStatusText(tr(text).toStdString());
}

}  // namespace vantelo::pages
